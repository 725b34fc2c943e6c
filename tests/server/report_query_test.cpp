#include "intake/report_query.h"

#include <gtest/gtest.h>

#include "fetch/report.h"
#include "server_test_support.h"

namespace cd::server::intake {
namespace {

std::string queryOf(const std::string& item, const std::string& type, const std::string& value) {
    const std::string target = test::reportTarget(item, type, value);
    return target.substr(target.find('?') + 1);
}

// Catches a decoder that is not the exact inverse of what the program sends:
// bracket words undone in the wrong order, percent-decoding done after them,
// a byte lost or changed anywhere in the code page.
TEST(ReportQuery, ReadsBackEveryItemTheProgramCanSend) {
    std::string everyByte;
    for (int c = 0x20; c <= 0xFF; ++c)
        if (c != 0x7F) everyByte += static_cast<char>(c);
    const std::vector<std::string> items = {
        "http://tv.example/live?id=7&x=y#top",
        "mms://radio.example:8080/a b/c?d=e%20f",
        "Rock & Roll #1 [live] +5 = 100%",
        "a::b//c??",
        "[colon][slash]",  // typed by someone: comes back as the characters (the words cannot be told apart)
        "T\xe9l\xe9 Qu\xe9"
        "bec",
        everyByte,
    };
    for (const auto& item : items) {
        for (const auto& [type, value] : std::vector<std::pair<std::string, std::string>>{
                 {"OFFLINE", ""}, {"OFFLINE", "\""}, {"FAVORITE", ""}, {"Rate", "5"}}) {
            const auto parsed = parseReportQuery(queryOf(item, type, value));
            ASSERT_TRUE(parsed.report) << item << ": " << parsed.error;
            const std::string expected = item == "[colon][slash]" ? ":/" : item;
            EXPECT_EQ(parsed.report->item, expected);
            EXPECT_EQ(parsed.report->type, type);
            EXPECT_EQ(parsed.report->value, value);
        }
    }
}

// Catches reports stored although the program would never send them: a cut
// item (a raw "&"), a key twice, an unknown type or value, broken
// percent-encoding, control characters, an empty or over-long item.
TEST(ReportQuery, RefusesWhatTheProgramWouldNotSend) {
    const std::string ok = "strType=Rate&strValue=3&strItem=Fox%20TV";
    ASSERT_TRUE(parseReportQuery(ok).report);
    const std::vector<std::string> refused = {
        "",
        "strType=Rate&strValue=3",
        "strType=Rate&strValue=3&strItem=Tom & Jerry",
        "strType=Rate&strValue=3&strItem=a&strItem=b",
        "strType=Rate&strValue=3&strItem=a&extra=1",
        "strType=Rate&strValue=3&strItem=a&",
        "strType=rate&strValue=3&strItem=a",
        "strType=DELETE&strValue=&strItem=a",
        "strType=Rate&strValue=6&strItem=a",
        "strType=Rate&strValue=&strItem=a",
        "strType=FAVORITE&strValue=1&strItem=a",
        "strType=OFFLINE&strValue=x&strItem=a",
        "strType=Rate&strValue=3&strItem=%zz",
        "strType=Rate&strValue=3&strItem=abc%4",
        "strType=Rate&strValue=3&strItem=%",
        "strType=Rate&strValue=3&strItem=",
        "strType=Rate&strValue=3&strItem=a%00b",
        "strType=Rate&strValue=3&strItem=a%0Ab",
        "strType=Rate&strValue=3&strItem=a%7Fb",
    };
    for (const auto& q : refused) {
        const auto parsed = parseReportQuery(q);
        EXPECT_FALSE(parsed.report) << q;
        EXPECT_FALSE(parsed.error.empty()) << q;
    }
}

// Catches an off-by-one at the 2 KiB bound, or a bound taken on the encoded
// text (a 2 KiB address of slashes is 14 KiB on the wire and still allowed).
TEST(ReportQuery, ItemsUpTo2KiBAreAllowed) {
    EXPECT_TRUE(parseReportQuery(queryOf(std::string(2048, 'a'), "FAVORITE", "")).report);
    EXPECT_TRUE(parseReportQuery(queryOf(std::string(2048, '/'), "OFFLINE", "")).report);
    EXPECT_TRUE(parseReportQuery(queryOf(std::string(2048, '\xe9'), "FAVORITE", "")).report);
    const auto over = parseReportQuery(queryOf(std::string(2049, 'a'), "FAVORITE", ""));
    EXPECT_FALSE(over.report);
    EXPECT_NE(over.error.find("2048"), std::string::npos);
    EXPECT_FALSE(parseReportQuery(queryOf(std::string(2049, '/'), "OFFLINE", "")).report);
}

}  // namespace
}  // namespace cd::server::intake
