#include "fetch/stream_probe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "support/fetch_runner.h"
#include "support/loopback_server.h"
#include "support/script_server.h"
#include "support/temp_dir.h"

namespace cd::fetch {
namespace {

using std::chrono::milliseconds;
using test::httpHead;
using test::Script;

ProbeVerdict probe(test::FetchRunner& run, const std::string& address) {
    auto task = probeStream(run.client, address);
    task.start();
    run.loop.runUntil([&task] { return task.done(); }, std::chrono::seconds(20));
    EXPECT_TRUE(task.done()) << address;
    return task.done() ? task.result() : ProbeVerdict{false, ProbeReason::NoAnswer, 0};
}

// A literal's bytes, NULs included.
template <std::size_t N>
std::string raw(const char (&s)[N]) {
    return std::string(s, N - 1);
}

// An MPEG audio frame header, then bytes that happen to read "404" and "Error".
std::string mpegAudio() {
    std::string b("\xFF\xFB\x90\x64", 4);
    b += "xx404xxErrorxxNot Found";
    b.append(200, '\0');
    return b;
}

// A live HLS playlist whose numbers pass through 404, as every live one does.
std::string livePlaylist() {
    return "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:6\n#EXT-X-MEDIA-SEQUENCE:1733404\n"
           "#EXTINF:6.0,\nseg_1733404.ts\n#EXTINF:6.0,\nseg_1733405.ts\n";
}

// --- The judgement, fed by hand ---

// Catches a working stream judged offline because its bytes or numbers
// happen to spell a failure word.
TEST(StreamJudgeTest, MediaAndPlaylistsAreNeverSearchedForFailureWords) {
    ResponseHead plain;
    plain.status = 200;
    plain.headers = {{"Content-Type", "text/plain"}};
    StreamJudge mp3;
    EXPECT_EQ(mp3.onHead(plain), StreamJudge::Decision::Undecided);
    EXPECT_EQ(mp3.onBody(mpegAudio()), StreamJudge::Decision::Online) << "sniffed by its frame sync";

    StreamJudge hls;
    hls.onHead(plain);
    EXPECT_EQ(hls.onBody(livePlaylist()), StreamJudge::Decision::Online);

    ResponseHead hlsType = plain;
    hlsType.headers = {{"content-type", "application/vnd.apple.mpegurl; charset=utf-8"}};
    StreamJudge typed;
    typed.onHead(hlsType);
    EXPECT_EQ(typed.onBody("#EXTM3U\n# Error 404 Not Found\n"), StreamJudge::Decision::Online)
        << "a media type decides at the first bytes";

    ResponseHead icy;
    icy.status = 200;
    icy.headers = {{"icy-name", "Radio 404"}};
    StreamJudge radio;
    EXPECT_EQ(radio.onHead(icy), StreamJudge::Decision::Online) << "icy headers decide at the head";
}

// Catches byte signatures missed, or text taken for media.
TEST(StreamJudgeTest, SniffingKnowsContainersAndWaitsForEnoughBytes) {
    EXPECT_EQ(sniffMedia(raw("OggS\0\x02xxxxxxxxxx")), Sniff::Media);
    EXPECT_EQ(sniffMedia(raw("fLaC\0\0\0\x22xxxxxxxx")), Sniff::Media);
    EXPECT_EQ(sniffMedia(raw("\0\0\0\x20"
                             "ftypisom\0\0")),
              Sniff::Media);
    EXPECT_EQ(sniffMedia("\x1A\x45\xDF\xA3\x9F\x42\x86\x81\x01\x42\xF7\x81"), Sniff::Media);
    EXPECT_EQ(sniffMedia(raw("FLV\x01\x05\0\0\0\x09\0\0\0")), Sniff::Media);
    EXPECT_EQ(sniffMedia(raw("ID3\x04\0\0\0\0\0\0xx")), Sniff::Media);
    EXPECT_EQ(sniffMedia(std::string("\xFF\xF1\x50\x80", 4)), Sniff::Media) << "ADTS";
    std::string ts(400, '\0');
    ts[0] = ts[188] = ts[376] = 0x47;
    EXPECT_EQ(sniffMedia(ts), Sniff::Media);
    EXPECT_EQ(sniffMedia(ts.substr(0, 200)), Sniff::TooShort) << "one sync byte is not enough";
    EXPECT_EQ(sniffMedia("Good evening, this page is gone." + std::string(400, ' ')), Sniff::NotMedia);
    EXPECT_EQ(sniffMedia("<html><body>"), Sniff::NotMedia);
    EXPECT_EQ(sniffMedia("O"), Sniff::TooShort);

    EXPECT_EQ(sniffPlaylist("\xEF\xBB\xBF#EXTM3U\n"), Sniff::Media);
    EXPECT_EQ(sniffPlaylist("#EXT"), Sniff::TooShort);
    EXPECT_EQ(sniffPlaylist("#EXTINF"), Sniff::NotMedia);
    EXPECT_FALSE(playlistHasEntry("#EXTM3U\n#EXTINF:-1,Name\n", true));
    EXPECT_FALSE(playlistHasEntry("#EXTM3U\nhttp://x/a", false)) << "a line still arriving is not an entry yet";
    EXPECT_TRUE(playlistHasEntry("#EXTM3U\nhttp://x/a", true));
    EXPECT_TRUE(playlistHasEntry("#EXTM3U\r\n\r\n  seg.ts  \r\n", false));
}

// Catches error statuses and pages judged online, or a failed connection
// given the wrong reason.
TEST(StreamJudgeTest, ErrorsAndPagesAreOfflineWithTheirReason) {
    ResponseHead gone;
    gone.status = 404;
    StreamJudge notFound;
    EXPECT_EQ(notFound.onHead(gone), StreamJudge::Decision::Offline);
    FetchResult nothing;
    EXPECT_EQ(notFound.finish(nothing).reason, ProbeReason::NotFound);

    ResponseHead broken;
    broken.status = 503;
    StreamJudge unavailable;
    unavailable.onHead(broken);
    const ProbeVerdict v = unavailable.finish(nothing);
    EXPECT_EQ(v.reason, ProbeReason::HttpError);
    EXPECT_EQ(v.status, 503);

    FetchResult page;
    page.gotHead = true;
    page.head.status = 200;
    page.body = "<html><h1>Not Found</h1></html>";
    StreamJudge text;
    text.onHead(page.head);
    EXPECT_EQ(text.onBody(page.body), StreamJudge::Decision::Undecided) << "a page is read to its end";
    EXPECT_EQ(text.finish(page).reason, ProbeReason::NotAStream);

    FetchResult refused;
    refused.error = FetchError::Refused;
    EXPECT_EQ(StreamJudge().finish(refused).reason, ProbeReason::Refused);
    FetchResult certificate;
    certificate.error = FetchError::Certificate;
    EXPECT_EQ(StreamJudge().finish(certificate).reason, ProbeReason::Certificate);
}

// --- The probe against real servers ---

class StreamProbeTest : public ::testing::Test {
protected:
    test::ScriptServer server;
    test::FetchRunner run;
};

// Catches a probe that waits for 64 KiB of a stream served at its real
// bitrate (the zap took four seconds), and one that calls a working live
// stream dead because of its bytes.
TEST_F(StreamProbeTest, StreamsAreOnlineAtTheirFirstBytes) {
    Script radio;  // 16 kB/s, no start burst: 1 KiB every 64 ms, forever
    radio.steps = {{milliseconds(0), httpHead(200, "audio/mpeg")}};
    for (int i = 0; i < 40; ++i) radio.steps.push_back({milliseconds(64), std::string(1024, 'x')});
    server.on("/radio", radio);
    const ProbeVerdict r = probe(run, server.url("/radio"));
    EXPECT_TRUE(r.online);
    EXPECT_LT(server.requests("/radio"), 2);

    server.on("/mp3", Script{{{milliseconds(0), httpHead(200, "") + mpegAudio()}}, false, true});
    EXPECT_TRUE(probe(run, server.url("/mp3")).online) << "no type, sniffed; the connection is still open";

    server.on("/live.m3u8", Script{{{milliseconds(0), httpHead(200, "text/plain") + livePlaylist()}}, false, false});
    EXPECT_TRUE(probe(run, server.url("/live.m3u8")).online);

    server.on("/icy",
              Script{{{milliseconds(0), "ICY 200 OK\r\nicy-name: Test\r\nicy-metaint: 8192\r\n\r\n"}}, false, true});
    EXPECT_TRUE(probe(run, server.url("/icy")).online) << "an icy head is enough";
}

// Catches pages, errors and silence judged online, or offline for the wrong reason.
TEST_F(StreamProbeTest, PagesErrorsAndSilenceAreOffline) {
    server.on("/page", Script{{{milliseconds(0), httpHead(200, "text/html") + "<h1>Not Found</h1>"}}, false, false});
    EXPECT_EQ(probe(run, server.url("/page")).reason, ProbeReason::NotAStream);
    server.on("/welcome",
              Script{{{milliseconds(0), httpHead(200, "text/html") + "Welcome, all is fine"}}, false, false});
    EXPECT_TRUE(probe(run, server.url("/welcome")).online) << "a page without failure words stays online";
    server.on("/404", Script{{{milliseconds(0), httpHead(404, "text/plain")}}, false, false});
    EXPECT_EQ(probe(run, server.url("/404")).reason, ProbeReason::NotFound);
    server.on("/empty.m3u",
              Script{{{milliseconds(0), httpHead(200, "text/plain") + "#EXTM3U\n#EXTINF:-1,x\n"}}, false, false});
    EXPECT_EQ(probe(run, server.url("/empty.m3u")).reason, ProbeReason::NotAStream);

    const auto start = std::chrono::steady_clock::now();
    server.on("/silent", Script{{}, false, true});
    EXPECT_EQ(probe(run, server.url("/silent")).reason, ProbeReason::NoAnswer);
    Script drip{{{milliseconds(0), "HTTP/1.1 200 OK\r\n"}}, false, true};
    for (int i = 0; i < 20; ++i) drip.steps.push_back({milliseconds(1000), "X-Line: " + std::to_string(i) + "\r\n"});
    server.on("/drip", drip);
    EXPECT_EQ(probe(run, server.url("/drip")).reason, ProbeReason::NoAnswer);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15)) << "each within its 5 s";
}

// Catches the player's own protocols probed over http (they would all be
// offline), and other schemes handed to the player.
TEST_F(StreamProbeTest, SchemesOutsideTheWeb) {
    for (const char* a : {"rtsp://cam.example/live", "RTMP://x/y", "mmsh://x/y", "rtmps://x/y", "mms://x/y"}) {
        const ProbeVerdict v = probe(run, a);
        EXPECT_TRUE(v.online) << a;
        EXPECT_EQ(v.reason, ProbeReason::PlayerOpens) << a;
    }
    for (const char* a : {"file:///etc/passwd", "ftp://x/y", "av://lavfi:sine", "/etc/passwd"}) {
        const ProbeVerdict v = probe(run, a);
        EXPECT_FALSE(v.online) << a;
        EXPECT_EQ(v.reason, ProbeReason::BadAddress) << a;
    }
    EXPECT_EQ(probe(run, "http://127.0.0.1:1/").reason, ProbeReason::Refused);
}

// Catches an https channel with a certificate this machine does not trust
// taken for a dead channel (or played without a word).
TEST(StreamProbeTls, UntrustedCertificateIsItsOwnReason) {
    test::TempDir dir;
    const std::string key = (dir.path() / "key.pem").string();
    const std::string cert = (dir.path() / "cert.pem").string();
    const std::string cmd = "openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=127.0.0.1 -days 1 -keyout " + key +
                            " -out " + cert + " >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "openssl could not make a certificate";
    httplib::SSLServer tls(cert.c_str(), key.c_str());
    ASSERT_TRUE(tls.is_valid());
    tls.Get("/stream", [](const httplib::Request&, httplib::Response& r) { r.set_content("x", "audio/mpeg"); });
    const int port = tls.bind_to_any_port("127.0.0.1");
    std::thread serving([&tls] { tls.listen_after_bind(); });
    while (!tls.is_running()) std::this_thread::sleep_for(milliseconds(5));
    test::FetchRunner run;
    const ProbeVerdict v = probe(run, "https://127.0.0.1:" + std::to_string(port) + "/stream");
    tls.stop();
    serving.join();
    EXPECT_FALSE(v.online);
    EXPECT_EQ(v.reason, ProbeReason::Certificate);
}

}  // namespace
}  // namespace cd::fetch
