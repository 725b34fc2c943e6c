#pragma once
// A live radio stream for the loopback server: silent MP3 at 128 kbit/s,
// sent at the rate it plays, with no length (chunked), optionally in the
// icecast style (icy-metaint and StreamTitle blocks) for a player that asks
// for it with "Icy-MetaData: 1".
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace cd::app {

/// Bytes of sound between two metadata blocks.
inline constexpr std::size_t kIcyMetaInt = 8192;

/// One silent MPEG-1 Layer III frame, 128 kbit/s, 44.1 kHz, mono: the side
/// information of zeros decodes to silence. 417 bytes, 26 ms of sound.
inline std::string silentMp3Frame() {
    std::string frame(417, '\0');
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(0xFB);
    frame[2] = static_cast<char>(0x90);
    frame[3] = static_cast<char>(0xC0);
    return frame;
}

/// seconds of sound, with a StreamTitle block after every kIcyMetaInt bytes
/// of it when title is given (the first block carries the title, the others
/// say "no change" with a zero length byte).
inline std::string liveBody(double seconds, const std::string& title = {}) {
    const std::string frame = silentMp3Frame();
    std::string sound;
    const int frames = static_cast<int>(seconds * 44100 / 1152);
    for (int i = 0; i < frames; ++i) sound += frame;
    if (title.empty()) return sound;
    std::string meta = "StreamTitle='" + title + "';";
    meta.resize((meta.size() + 15) / 16 * 16, '\0');
    std::string body;
    bool first = true;
    for (std::size_t at = 0; at < sound.size(); at += kIcyMetaInt) {
        body += sound.substr(at, kIcyMetaInt);
        if (first) {
            body += static_cast<char>(meta.size() / 16);
            body += meta;
            first = false;
        } else {
            body += '\0';
        }
    }
    return body;
}

/// Serves body chunked at 16 kB/s (the sound's own rate) and ends it; stops
/// early when stopping becomes true.
inline void serveLive(httplib::Response& res, std::shared_ptr<const std::string> body,
                      std::shared_ptr<std::atomic<bool>> stopping) {
    res.set_chunked_content_provider("audio/mpeg", [body, stopping](size_t offset, httplib::DataSink& sink) {
        if (*stopping) return false;
        if (offset >= body->size()) {
            sink.done();
            return true;
        }
        // A head start, as a radio server gives, then the playing rate.
        if (offset > 16 * 1024) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::size_t piece = std::min<std::size_t>(body->size() - offset, 1600);
        return sink.write(body->data() + offset, piece);
    });
}

}  // namespace cd::app
