// Playlist commands: bringing the channels of an M3U or PLS playlist into a
// channel file, and writing what a category view lists as an M3U8 playlist.
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/category_filter.h"
#include "formats/playlist_channels.h"
#include "formats/playlist_export.h"
#include "formats/playlist_import.h"
#include "tool/command.h"
#include "util/files.h"
#include "util/text.h"

namespace cd::tool {
namespace {

constexpr const char* kImportUsage =
    "import-playlist PLAYLIST DATA.TXT [--category TV|Radio|Video|XXX] [--already-in FILE]";
constexpr const char* kExportUsage =
    "export-playlist DATA.TXT OUT.m3u [--category CATEGORY] [--language LANGUAGE] [--search TEXT]";

// The words of a command: "--name VALUE" or "--name=VALUE" options among
// plain arguments.
struct Words {
    std::vector<std::string> plain;
    std::vector<std::pair<std::string, std::string>> options;
    std::string problem;
};

Words readWords(const std::vector<std::string>& args, std::initializer_list<std::string_view> names) {
    Words words;
    for (std::size_t i = 0; i < args.size() && words.problem.empty(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0 || a == "-") {
            words.plain.push_back(a);
            continue;
        }
        const std::size_t eq = a.find('=');
        const std::string name = a.substr(0, eq);
        bool known = false;
        for (const std::string_view n : names) known = known || n == name;
        if (!known) {
            words.problem = "unknown option '" + a + "'";
        } else if (eq != std::string::npos) {
            words.options.emplace_back(name, a.substr(eq + 1));
        } else if (i + 1 < args.size()) {
            words.options.emplace_back(name, args[++i]);
        } else {
            words.problem = name + " needs a value";
        }
    }
    return words;
}

bool readPlaylist(ToolContext& ctx, const std::string& name, std::string& bytes) {
    if (name == "-") {
        bytes.assign(std::istreambuf_iterator<char>(ctx.in), std::istreambuf_iterator<char>());
        return !ctx.in.bad();
    }
    auto data = util::readFile(name);
    if (!data) return false;
    bytes = std::move(*data);
    return true;
}

int runImport(ToolContext& ctx) {
    Words words = readWords(ctx.args, {"--category", "--already-in"});
    formats::ImportOptions options;
    for (const auto& [name, value] : words.options) {
        if (name == "--already-in") {
            options.alreadyThere = value;
            continue;
        }
        options.category = formats::categoryOfGroup(value);
        if (options.category.empty() || util::iequals(value, "Adult"))
            words.problem = "--category is one of TV, Radio, Video, XXX";
    }
    if (words.problem.empty() && words.plain.size() < 2) words.problem = "missing PLAYLIST or DATA.TXT";
    if (words.problem.empty() && words.plain.size() > 2) words.problem = "unexpected argument '" + words.plain[2] + "'";
    if (!words.problem.empty()) return usageError(ctx, kImportUsage, words.problem);

    std::string playlist;
    if (!readPlaylist(ctx, words.plain[0], playlist)) {
        ctx.err << "channeldeck-tool: " << words.plain[0] << " cannot be read\n";
        return kFailed;
    }
    const formats::ImportResult result = formats::importPlaylist(playlist, words.plain[1], options);
    if (!result.ok) {
        ctx.err << "channeldeck-tool: nothing imported: " << result.error << "\n";
        return kFailed;
    }
    ctx.out << formats::describe(result) << "\n";
    ctx.out.flush();
    return ctx.out ? kOk : kFailed;
}

int runExport(ToolContext& ctx) {
    Words words = readWords(ctx.args, {"--category", "--language", "--search"});
    std::string category, language, search;
    for (const auto& [name, value] : words.options) {
        if (name == "--category") category = value;
        if (name == "--language") language = value;
        if (name == "--search") search = value;
    }
    if (words.problem.empty() && words.plain.size() < 2) words.problem = "missing DATA.TXT or OUT.m3u";
    if (words.problem.empty() && words.plain.size() > 2) words.problem = "unexpected argument '" + words.plain[2] + "'";
    if (!words.problem.empty()) return usageError(ctx, kExportUsage, words.problem);

    const formats::ExportResult result =
        formats::exportPlaylist(words.plain[0], words.plain[1], formats::CategoryFilter(category, language), search);
    if (!result.ok) {
        ctx.err << "channeldeck-tool: nothing exported: " << result.error << "\n";
        return kFailed;
    }
    ctx.out << "exported " << result.channels << (result.channels == 1 ? " channel\n" : " channels\n");
    ctx.out.flush();
    return ctx.out ? kOk : kFailed;
}

const ToolCommandRegistration importCommand(
    {"import-playlist", kImportUsage,
     "add the channels of an M3U, M3U8 or PLS playlist (a file, or - for standard input) to a channel file in "
     "the catalogue's format (created when missing): http, https, rtsp(s), rtmp(s) and mms(h/t) addresses that "
     "neither DATA.TXT nor FILE holds yet; a group-title of TV, Radio, Video, XXX or Adult gives the category, "
     "else --category (default TV); prints 'imported N, skipped M (not http/https A, duplicates B, "
     "unreadable C)'",
     &runImport});
const ToolCommandRegistration exportCommand(
    {"export-playlist", kExportUsage,
     "write the channels a category view lists (category default TV, language default All; --search narrows "
     "them by name, ignoring case and accents) to an M3U8 playlist, UTF-8 with LF line ends",
     &runExport});

}  // namespace
}  // namespace cd::tool
