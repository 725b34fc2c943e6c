// Catalogue commands: the line cipher over stdin and stdout, an export of a
// catalogue as Data.htm, and the sectioned import into a catalogue. The file
// commands run the same code as the editor's buttons, on a window model that
// is never shown; message boxes become lines on stderr.
#include <filesystem>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/catalogue_export.h"
#include "catalogue/catalogue_file.h"
#include "catalogue/line_cipher.h"
#include "platform/dialogs.h"
#include "tool/command.h"
#include "tool/stderr_dialogs.h"
#include "ui/main_window.h"
#include "util/files.h"
#include "util/lines.h"

namespace cd::tool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kToolTitle = "channeldeck-tool";

bool readAll(std::istream& in, std::string& out) {
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

fs::path currentFolder() {
    std::error_code ec;
    fs::path p = fs::current_path(ec);
    return ec ? fs::path(".") : p;
}

// The cipher commands: each line of stdin (ended by CR, CR LF counting as
// one end, a lone LF staying inside the line) to stdout ended by CR LF.
int runCipher(ToolContext& ctx, const std::string& usage, bool encode) {
    if (!ctx.args.empty()) return usageError(ctx, usage, "unexpected argument '" + ctx.args[0] + "'");
    std::string input;
    if (!readAll(ctx.in, input)) {
        ctx.err << "channeldeck-tool: could not read standard input\n";
        return kFailed;
    }
    std::string out;
    out.reserve(input.size() + input.size() / 16);
    std::string line;
    long long number = 0;
    util::forEachLine(input, [&](std::string_view plainOrCoded) {
        ++number;
        if (encode) {
            if (!catalogue::EncodesIntact(plainOrCoded))
                ctx.err << "channeldeck-tool: warning: line " << number
                        << " holds byte 204 or 255 and will not decode back as it was\n";
            if (plainOrCoded.size() > catalogue::kCipherLineLimit)
                ctx.err << "channeldeck-tool: warning: line " << number << " is longer than "
                        << catalogue::kCipherLineLimit << " bytes, which catalogue readers refuse\n";
            out += catalogue::EncodeLine(plainOrCoded);
        } else {
            catalogue::DecodeLineInto(plainOrCoded, line);
            out += line;
        }
        out += "\r\n";
        return true;
    });
    ctx.out.write(out.data(), static_cast<std::streamsize>(out.size()));
    ctx.out.flush();
    if (!ctx.out) {
        ctx.err << "channeldeck-tool: could not write standard output\n";
        return kFailed;
    }
    return kOk;
}

constexpr const char* kEncodeUsage = "encode < PLAIN > ENCODED";
constexpr const char* kDecodeUsage = "decode < ENCODED > PLAIN";

int runEncode(ToolContext& ctx) { return runCipher(ctx, kEncodeUsage, true); }
int runDecode(ToolContext& ctx) { return runCipher(ctx, kDecodeUsage, false); }

constexpr const char* kExportUsage = "export DATA.TXT DATA.HTM [--plain]";

int runExport(ToolContext& ctx) {
    std::vector<std::string> files;
    bool plain = false;
    for (const auto& a : ctx.args) {
        if (a == "--plain") {
            plain = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return usageError(ctx, kExportUsage, "unknown option '" + a + "'");
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) return usageError(ctx, kExportUsage, "expected a catalogue file and an export file");

    ui::MainWindow form;
    StderrDialogs dialogs(ctx.err);
    catalogue::CatalogueFile file(form, dialogs, currentFolder(), kToolTitle);
    if (plain) form.keyText->setText(catalogue::CatalogueFile::kExportKey);
    const auto loaded = file.DecryptAndLoadFrom(files[0]);
    if (!loaded.fileRead) return kFailed;
    const auto saved = file.EncryptAndSaveTo(files[1]);
    if (!saved.written) return kFailed;
    ctx.out << "exported " << saved.rowsWritten << " channel" << (saved.rowsWritten == 1 ? "" : "s") << " to "
            << files[1] << (plain ? " (plain)" : "") << "\n";
    return saved.rowsLeftOut > 0 ? kFailed : kOk;
}

constexpr const char* kImportUsage = "import-sectioned FILE DATA.TXT [--type TYPE]";

int runImportSectioned(ToolContext& ctx) {
    std::vector<std::string> files;
    std::string type = "TV";
    for (std::size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& a = ctx.args[i];
        if (a == "--type") {
            if (i + 1 >= ctx.args.size()) return usageError(ctx, kImportUsage, "--type needs a value");
            type = ctx.args[++i];
        } else if (a.rfind("--type=", 0) == 0) {
            type = a.substr(7);
        } else if (a.size() > 1 && a[0] == '-') {
            return usageError(ctx, kImportUsage, "unknown option '" + a + "'");
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) return usageError(ctx, kImportUsage, "expected an import file and a catalogue file");

    ui::MainWindow form;
    StderrDialogs dialogs(ctx.err);
    catalogue::CatalogueFile file(form, dialogs, currentFolder(), kToolTitle);
    form.importFileText->setText(files[0]);
    form.importCategoryText->setText(type);
    if (!file.Load2().fileRead) return kFailed;

    const auto lines = catalogue::BuildRecordLines(*form.channelList, false);
    std::string error;
    if (!util::writeFileAtomic(files[1], lines.text, &error)) {
        ctx.err << "channeldeck-tool: could not write " << files[1] << ": " << error << "\n";
        return kFailed;
    }
    if (lines.hasProblems())
        ctx.err << "channeldeck-tool: "
                << catalogue::DescribeRowProblems(*form.channelList, lines, fs::path(files[1]).filename().string())
                << "\n";
    ctx.out << "imported " << lines.rowsWritten << " channel" << (lines.rowsWritten == 1 ? "" : "s") << " into "
            << files[1] << "\n";
    return lines.overlongRows.empty() ? kOk : kFailed;
}

const ToolCommandRegistration encodeCommand({"encode", kEncodeUsage,
                                             "encode each line with the catalogue's line cipher (lines end at CR; "
                                             "output lines end with CR LF)",
                                             runEncode});
const ToolCommandRegistration decodeCommand({"decode", kDecodeUsage,
                                             "decode each line of a catalogue (lines end at CR; output lines end "
                                             "with CR LF)",
                                             runDecode});
const ToolCommandRegistration exportCommand(
    {"export", kExportUsage,
     "export a catalogue as Data.htm, as the editor's Encrypt and Save does (plain with --plain)", runExport});
const ToolCommandRegistration importCommand(
    {"import-sectioned", kImportUsage,
     "import a sectioned text file as Load2 does into an encoded catalogue (TYPE defaults to TV)", runImportSectioned});

}  // namespace
}  // namespace cd::tool
