// Export then import into a fresh store: every value the store's reads give
// back whole must come back byte for byte, whatever bytes its name and data
// hold, and nothing in a value may become a line of its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "registry/cls_registry_access.h"
#include "support/temp_dir.h"
#include "util/text.h"

namespace cd::registry {
namespace {

using Values = std::map<std::string, std::pair<std::uint32_t, std::string>>;

// Every value of a key as stored: name -> type and raw bytes.
Values storedValues(RegistryStore& store, const std::string& path) {
    const auto p = splitRegistryPath(path);
    Values out;
    if (const auto values = store.values(p.root, p.subkey))
        for (const auto& v : *values) out[v.name] = {v.type, v.data};
    return out;
}

std::string printable(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c >= 32 && c < 127 && c != '\\') {
            out.push_back(static_cast<char>(c));
        } else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        }
    }
    return out;
}

class RegRoundTrip : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string file(const std::string& name) const { return (dir / name).string(); }
};

// Catches the corruptions of unescaped quoting: a value cut at "=", quotes
// dropped, a backslash at the end swallowing the closing quote, and a value
// holding CR LF and a section line creating that key on import (with the
// values after it landing there).
TEST_F(RegRoundTrip, ValuesTheUnescapedFormatCorruptedComeBackWhole) {
    RegistryStore store(dir / "a");
    ClsRegistryAccess reg(store);
    const std::string k = "HKCU\\Software\\RT";
    const std::string injected = "line one\r\n[HKEY_CURRENT_USER\\Software\\Injected]\r\n\"evil\"=\"1\"";
    ASSERT_NE(reg.WriteString(k, "url", "http://x/?a=b&c=d"), 0);
    ASSERT_NE(reg.WriteString(k, "q", "say \"hi\""), 0);
    ASSERT_NE(reg.WriteString(k, "dir", "C:\\Program Files\\App\\"), 0);
    ASSERT_NE(reg.WriteString(k, "multi", injected), 0);
    ASSERT_NE(reg.WriteString(k, "after", "still here"), 0);
    ASSERT_NE(reg.WriteString(k, "na\"me=\\", "v"), 0);
    ASSERT_NE(reg.WriteBinary(k, "b\"in", "01 02"), 0);
    ASSERT_NE(reg.WriteString(k, "@", "lf\nonly"), 0);
    ASSERT_EQ(reg.ExportToReg(k, file("rt.reg"), false), 1);
    EXPECT_EQ(dir.read("rt.reg"),
              "REGEDIT4\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\RT]\r\n"
              "@=hex(1):6C,66,0A,6F,6E,6C,79,00\r\n"
              "\"url\"=\"http://x/?a=b&c=d\"\r\n"
              "\"q\"=\"say \\\"hi\\\"\"\r\n"
              "\"dir\"=\"C:\\\\Program Files\\\\App\\\\\"\r\n"
              "\"multi\"=hex(1):6C,69,6E,65,20,6F,6E,65,0D,0A,5B,48,4B,45,59,5F,43,55,52,52,45,4E,54,5F,55,53,45,52,"
              "5C,53,6F,66,74,77,61,72,65,5C,49,6E,6A,65,63,74,65,64,5D,0D,0A,22,65,76,69,6C,22,3D,22,31,22,00\r\n"
              "\"after\"=\"still here\"\r\n"
              "\"na\\\"me=\\\\\"=\"v\"\r\n"
              "\"b\\\"in\"=hex:01,02\r\n"
              "\r\n");

    RegistryStore fresh(dir / "b");
    ClsRegistryAccess again(fresh);
    ASSERT_EQ(again.ImportFromReg(file("rt.reg")), 1);
    EXPECT_EQ(storedValues(fresh, k), storedValues(store, k));
    EXPECT_EQ(again.ReadString(k, "url", "?"), "http://x/?a=b&c=d");
    EXPECT_EQ(again.ReadString(k, "q", "?"), "say \"hi\"");
    EXPECT_EQ(again.ReadString(k, "after", "?"), "still here");
    EXPECT_FALSE(again.KeyExists("HKCU\\Software\\Injected"));
    std::vector<std::string> subkeys;
    EXPECT_EQ(again.EnumKeys("HKCU\\Software", subkeys), 1);
}

// Catches an export that writes a name or key path holding CR LF: the
// import would read the rest as lines of their own (a section, a value).
TEST_F(RegRoundTrip, NameOrKeyHoldingCrLfIsRefusedNotWritten) {
    RegistryStore store(dir / "a");
    ClsRegistryAccess reg(store);
    ASSERT_NE(reg.WriteString("HKCU\\N", "x\r\n[HKEY_CURRENT_USER\\Software\\Injected]", "1"), 0);
    EXPECT_EQ(reg.ExportToReg("HKCU\\N", file("n.reg"), false), 0);
    EXPECT_EQ(dir.read("n.reg").find("\r\n[HKEY_CURRENT_USER\\Software\\Injected]"), std::string::npos);

    ASSERT_NE(reg.CreateKey("HKCU\\K\\a\r\n[Injected]"), 0);
    EXPECT_EQ(reg.ExportToReg("HKCU\\K", file("k.reg"), true), 0);
    EXPECT_EQ(dir.read("k.reg").find("\r\n[Injected]"), std::string::npos);

    // A lone CR or LF does not end a line of the format; those names go through.
    ASSERT_NE(reg.WriteString("HKCU\\L\\lone\rcr", "lone\nlf", "v"), 0);
    ASSERT_EQ(reg.ExportToReg("HKCU\\L", file("l.reg"), true), 1);
    RegistryStore fresh(dir / "b");
    ClsRegistryAccess again(fresh);
    ASSERT_EQ(again.ImportFromReg(file("l.reg")), 1);
    EXPECT_EQ(again.ReadString("HKCU\\L\\lone\rcr", "lone\nlf", "?"), "v");
}

// Random names and values of every kind the format must carry.
class Generator {
public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    // Text from the bytes that break naive quoting, with runs of plain text.
    std::string text(int maxLength) {
        static const std::vector<std::string> kPieces = {
            "\"",     "\\", "=",    "\r", "\n",   "\r\n", "[",    "]",
            "@",      ";",  "-",    " ",  "\xE9", "\xFF", "\x80", "\x01",
            "hex:",   "a",  "Name", "\t", "\\\"", "\"\\", "%1",   "\r\n[HKEY_CURRENT_USER\\Software\\Injected]\r\n",
            "dword:1"};
        std::string out;
        const int length = below(maxLength + 1);
        while (static_cast<int>(out.size()) < length)
            out += kPieces[static_cast<std::size_t>(below(static_cast<int>(kPieces.size())))];
        return out;
    }
    // A string value the reads give back whole: no NUL, no leading space.
    std::string stringValue() {
        std::string v = below(8) == 0 ? text(2000) : text(60);
        if (below(6) == 0) v = "[" + v;  // "[" at the start of the value
        if (below(6) == 0) v += "\\";    // a backslash before the closing quote
        while (!v.empty() && v.front() == ' ') v.erase(0, 1);
        return v;
    }
    // A value name: no NUL, no CR LF pair, no leading or trailing space, not empty.
    std::string name() {
        std::string n = below(10) == 0 ? "@" : text(16);
        n = util::replaceAll(n, "\r\n", "\n\r");
        while (!n.empty() && n.front() == ' ') n.erase(0, 1);
        while (!n.empty() && n.back() == ' ') n.pop_back();
        if (n.find("\r\n") != std::string::npos || n.empty()) return "n" + std::to_string(below(1000));
        return n;
    }
    // A key name: as a value name, without the backslash that separates
    // keys and without the letters of the short root names, which the
    // export writes long wherever they stand.
    std::string keyName() {
        std::string k;
        for (char c : name()) {
            if (c == '\\' || c == 'H' || c == 'h' || c == 'K' || c == 'k') continue;
            k.push_back(c);
        }
        while (!k.empty() && (k.front() == ' ' || k.front() == '-')) k.erase(0, 1);
        while (!k.empty() && k.back() == ' ') k.pop_back();
        if (k.find("\r\n") != std::string::npos || k.empty()) return "key" + std::to_string(below(1000));
        return k.substr(0, 200);
    }
    std::string bytes() {
        std::string b;
        for (int i = below(40); i > 0; --i) b.push_back(static_cast<char>(below(256)));
        return b;
    }
    std::int32_t number() { return static_cast<std::int32_t>(std::uniform_int_distribution<std::uint32_t>()(rng_)); }

private:
    std::mt19937 rng_;
};

std::string hexText(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 15]);
        out.push_back(' ');
    }
    return out;
}

// Catches any name or value that an export then import changes, drops,
// moves to another key or splits into lines of its own.
TEST_F(RegRoundTrip, RandomNamesAndValuesSurviveExportThenImport) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("random seed " + std::to_string(seed));
    Generator gen(seed);
    constexpr int kRounds = 40;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string tag = std::to_string(round);
        RegistryStore store(dir / ("a" + tag));
        ClsRegistryAccess reg(store);
        std::vector<std::string> keys = {"HKCU\\Software\\RT"};
        for (int k = gen.below(4); k > 0; --k) {
            const std::string parent = keys[static_cast<std::size_t>(gen.below(static_cast<int>(keys.size())))];
            const std::string child = parent + "\\" + gen.keyName();
            if (reg.KeyExists(child)) continue;
            ASSERT_NE(reg.CreateKey(child), 0) << printable(child);
            keys.push_back(child);
        }
        for (const auto& key : keys) {
            if (gen.below(2) == 0) {
                ASSERT_NE(reg.WriteString(key, "@", "default " + gen.stringValue()), 0);
            }
            std::set<std::string> folded;
            for (int v = gen.below(7); v > 0; --v) {
                const std::string name = gen.name();
                if (!folded.insert(util::toLower(name)).second) continue;
                switch (gen.below(4)) {
                    case 0:
                        ASSERT_NE(reg.WriteBinary(key, name, hexText(gen.bytes())), 0);
                        break;
                    case 1:
                        ASSERT_NE(reg.WriteDWORD(key, name, gen.number()), 0);
                        break;
                    default: {
                        // "@" as a name of its own: stored without WriteString's default rule.
                        const auto p = splitRegistryPath(key);
                        ASSERT_NE(store.setValue(p.root, p.subkey, {name, kRegString, gen.stringValue() + '\0'}, true),
                                  0);
                    }
                }
            }
        }

        const std::string reg1 = file("round" + tag + ".reg");
        ASSERT_EQ(reg.ExportToReg("HKCU\\Software\\RT", reg1, true), 1);
        // One line per value: every line is empty, a section or a value line.
        std::size_t valueLines = 0;
        // The import's line rule: lines end at CR LF only.
        for (const auto& line : util::split(dir.read("round" + tag + ".reg"), "\r\n")) {
            if (line.empty() || line == "REGEDIT4") continue;
            if (line.front() == '[') {
                ASSERT_EQ(line.back(), ']') << printable(line);
                continue;
            }
            ASSERT_TRUE(line.front() == '"' || line.front() == '@') << printable(line);
            ++valueLines;
        }

        RegistryStore fresh(dir / ("b" + tag));
        ClsRegistryAccess again(fresh);
        ASSERT_EQ(again.ImportFromReg(reg1), 1) << again.lastError();
        std::size_t values = 0;
        for (const auto& key : keys) {
            const Values before = storedValues(store, key);
            const Values after = storedValues(fresh, key);
            values += before.size();
            EXPECT_EQ(after.size(), before.size()) << printable(key);
            for (const auto& [name, value] : before) {
                const auto found = after.find(name);
                ASSERT_NE(found, after.end()) << printable(key) << " lost " << printable(name);
                EXPECT_EQ(found->second.first, value.first) << printable(name);
                EXPECT_EQ(printable(found->second.second), printable(value.second)) << printable(name);
            }
        }
        EXPECT_EQ(valueLines, values);
        // (A key without values has no line that creates it on import.)
        std::vector<std::string> topKeys;
        again.EnumKeys("HKCU\\Software", topKeys);
        for (const auto& name : topKeys) EXPECT_EQ(name, "RT") << "a value made a key of its own";
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace cd::registry
