// make-localization: writes the English Localization.txt from the built-in
// captions of every window and the default messages, the file translators
// start from; stored-names: the table of the names that file uses.
#include <filesystem>
#include <ostream>
#include <system_error>

#include "localization/cls_languages.h"
#include "localization/message_table.h"
#include "tool/command.h"
#include "ui/stored_names.h"
#include "ui/windows.h"
#include "util/files.h"

namespace cd::tool {

namespace {

constexpr const char* kUsage = "make-localization DIR";

int makeLocalization(ToolContext& ctx) {
    if (ctx.args.size() != 1) return usageError(ctx, kUsage, "make-localization takes one folder");
    const std::filesystem::path dir = ctx.args[0];
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        ctx.err << "channeldeck-tool: " << dir.string() << " is not a folder\n";
        return kFailed;
    }

    ui::Windows windows;
    windows.loadAll();
    localization::ClsLanguages languages(ctx.config.version, dir, windows);
    localization::addDefaultMessages(languages.messages());
    languages.makeLocalizationFile();

    // The operation itself reports nothing, and an old file may still be
    // there after a failed write: only the new text on disk counts.
    const auto path = languages.localizationFile();
    const auto written = util::readFile(path);
    if (!written || *written != languages.localizationFileText()) {
        ctx.err << "channeldeck-tool: could not write " << path.string() << "\n";
        return kFailed;
    }
    ctx.out << "wrote " << path.string() << "\n";
    return kOk;
}

int printStoredNames(ToolContext& ctx) {
    if (!ctx.args.empty()) return usageError(ctx, "stored-names", "stored-names takes no arguments");
    ctx.out << ui::storedNamesMarkdown();
    return ctx.out ? kOk : kFailed;
}

const ToolCommandRegistration kStoredNames{
    {"stored-names", "stored-names",
     "print the table of the windows' and controls' stored names (the names Localization.txt keys use), their "
     "roles and meanings, as Markdown",
     &printStoredNames}};

const ToolCommandRegistration kMakeLocalization{
    {"make-localization", kUsage,
     "write the English Localization.txt (every window's built-in captions and the default messages) into DIR",
     &makeLocalization}};

}  // namespace

}  // namespace cd::tool
