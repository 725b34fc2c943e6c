#include "server_options.h"

#include <charconv>

namespace cd::server {

namespace {

bool number(const std::string& text, long long low, long long high, long long& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && out >= low && out <= high;
}

}  // namespace

std::string serverUsage() {
    return "usage:\n"
           "  channeldeck-server --listen ADDR:PORT --data DIR [--database URL] [OPTIONS]\n"
           "  channeldeck-server publish DATA.HTM --data DIR [--database URL]\n"
           "  channeldeck-server token --data DIR [--database URL] [--new]\n"
           "\n"
           "Serves the catalogue: receives the program's reports (/webtv/getData.asp), serves the\n"
           "published catalogue (/webtv/Data.htm), /banner.html and /Languages/<product>/Localization.txt\n"
           "from the data folder, and the owner's page (/owner).\n"
           "\n"
           "  --listen ADDR:PORT     address to listen on ([::1]:PORT for IPv6; port 0 picks a free one)\n"
           "  --data DIR             data folder: served files, and the SQLite store unless --database\n"
           "  --database URL         keep everything in PostgreSQL (postgresql://...) instead of SQLite\n"
           "  --rate-limit N         reports a second per client address, bursts of 10 N (default 20; 0: off)\n"
           "  --sync full|normal     SQLite: wait for the disk on every commit (full, default) or survive\n"
           "                         a killed process but not a power cut (normal)\n"
           "  --workers N            threads for owner pages, publishing and files (default 2)\n"
           "  --max-connections N    open connections at most (default 10000)\n"
           "\n"
           "publish  checks DATA.HTM (\"<data>\", records encoded or plain, \"</data>\") and publishes it;\n"
           "         servers on the same store serve it within a second.\n"
           "token    prints the owner's token (made on first use); --new replaces it.\n";
}

std::optional<ServerOptions> parseServerOptions(const std::vector<std::string>& args, std::string* error) {
    ServerOptions o;
    std::size_t i = 0;
    auto fail = [&](std::string why) -> std::optional<ServerOptions> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    if (!args.empty()) {
        if (args[0] == "publish") {
            o.command = ServerOptions::Command::Publish;
            if (args.size() < 2 || args[1].rfind("--", 0) == 0) return fail("publish needs the file to publish");
            o.publishFile = args[1];
            i = 2;
        } else if (args[0] == "token") {
            o.command = ServerOptions::Command::Token;
            i = 1;
        } else if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
            o.command = ServerOptions::Command::Help;
            return o;
        } else if (args[0] == "--version") {
            o.command = ServerOptions::Command::Version;
            return o;
        }
    }
    bool sawListen = false, sawData = false;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--new" && o.command == ServerOptions::Command::Token) {
            o.newToken = true;
            continue;
        }
        if (i + 1 >= args.size()) return fail("unknown option or missing value: " + a);
        const std::string& v = args[++i];
        long long n = 0;
        if (a == "--listen" && o.command == ServerOptions::Command::Serve) {
            o.config.listen = v;
            sawListen = true;
        } else if (a == "--data") {
            o.config.dataDir = v;
            sawData = true;
        } else if (a == "--database") {
            o.config.databaseUrl = v;
        } else if (a == "--rate-limit" && number(v, 0, 1000000, n)) {
            o.config.rateLimit = static_cast<double>(n);
        } else if (a == "--sync" && (v == "full" || v == "normal")) {
            o.config.fullSync = v == "full";
        } else if (a == "--workers" && number(v, 1, 64, n)) {
            o.config.workers = static_cast<std::size_t>(n);
        } else if (a == "--max-connections" && number(v, 1, 1000000, n)) {
            o.config.limits.maxConnections = static_cast<std::size_t>(n);
        } else {
            return fail("bad option: " + a + " " + v);
        }
    }
    if (!sawData) return fail("--data DIR is needed");
    if (o.command == ServerOptions::Command::Serve && !sawListen) return fail("--listen ADDR:PORT is needed");
    return o;
}

}  // namespace cd::server
