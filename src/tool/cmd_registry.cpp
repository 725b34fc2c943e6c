// reg: the registry layer on the command line: export and import registry
// scripts, read and write string values.
#include <ostream>
#include <string>
#include <vector>

#include "registry/cls_registry_access.h"
#include "registry/machine_settings.h"
#include "registry/registry_store.h"
#include "tool/command.h"

namespace cd::tool {

namespace {

constexpr const char* kUsage =
    "reg {export KEY FILE [--subkeys] | import FILE | get KEY NAME | set KEY NAME VALUE} [--registry-dir DIR]";
constexpr const char* kSummary =
    "registry keys: export to and import from REGEDIT4 files, read a value, write a string value "
    "(KEY: HKCU\\Software\\X or HKEY_CURRENT_USER\\Software\\X; NAME \"\" is the default value, and "
    "\"@\" too for set; DIR defaults to $CHANNELDECK_REGISTRY_DIR or ~/.local/share/channeldeck/registry). "
    "Export writes \\ and \" in names and strings as \\\\ and \\\", and a string holding CR or LF as hex(1) "
    "bytes, so every value survives an import; import also reads hex(2) and hex(7) strings and "
    "lines continued with a trailing \\";

struct RegArgs {
    std::vector<std::string> words;
    std::string registryDir;
    bool subkeys = false;
};

/// Takes the options out of args; false (with problem set) for a bad one.
bool parseArgs(const std::vector<std::string>& args, RegArgs& out, std::string& problem) {
    const std::string dirFlag = "--registry-dir";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == dirFlag) {
            if (i + 1 >= args.size()) {
                problem = dirFlag + " needs a value";
                return false;
            }
            out.registryDir = args[++i];
        } else if (a.rfind(dirFlag + "=", 0) == 0) {
            out.registryDir = a.substr(dirFlag.size() + 1);
        } else if (a == "--subkeys") {
            out.subkeys = true;
        } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
            problem = "unknown option " + a;
            return false;
        } else {
            out.words.push_back(a);
        }
    }
    if (out.registryDir.empty()) out.registryDir = registry::defaultRegistryDir().string();
    if (out.registryDir.empty()) {
        problem = "no registry folder: set --registry-dir, CHANNELDECK_REGISTRY_DIR or HOME";
        return false;
    }
    return true;
}

int fail(ToolContext& ctx, const std::string& what, const registry::ClsRegistryAccess& reg) {
    ctx.err << "channeldeck-tool: " << what;
    if (!reg.lastError().empty()) ctx.err << " (" << reg.lastError() << ")";
    ctx.err << "\n";
    return kFailed;
}

int runReg(ToolContext& ctx) {
    RegArgs a;
    std::string problem;
    if (!parseArgs(ctx.args, a, problem)) return usageError(ctx, kUsage, problem);
    const auto& w = a.words;
    if (w.empty()) return usageError(ctx, kUsage, "reg needs an action");
    const std::string& action = w[0];
    const std::size_t wanted = action == "export"   ? 3
                               : action == "import" ? 2
                               : action == "get"    ? 3
                               : action == "set"    ? 4
                                                    : 0;
    if (wanted == 0) return usageError(ctx, kUsage, "unknown reg action '" + action + "'");
    if (w.size() != wanted) return usageError(ctx, kUsage, "wrong number of arguments for reg " + action);
    if (a.subkeys && action != "export") return usageError(ctx, kUsage, "--subkeys belongs to reg export");

    registry::RegistryStore store(a.registryDir);
    registry::ClsRegistryAccess reg(store);
    if (action == "export") {
        if (reg.ExportToReg(w[1], w[2], a.subkeys) != 1)
            return fail(ctx,
                        "could not export " + w[1] + " to " + w[2] +
                            " (does the file exist already, or does a key or value name hold CR LF?)",
                        reg);
        return kOk;
    }
    if (action == "import") {
        if (reg.ImportFromReg(w[1]) != 1)
            return fail(ctx, "could not import " + w[1] + " (missing, not REGEDIT4, or not all of it applied)", reg);
        return kOk;
    }
    if (action == "get") {
        const auto v = reg.QueryValue(w[1], w[2]);
        if (!v) return fail(ctx, "no value '" + w[2] + "' in " + w[1], reg);
        if (v->type == registry::kRegDword)
            ctx.out << reg.ReadDWORD(w[1], w[2], 0) << "\n";
        else if (v->type == registry::kRegBinary)
            ctx.out << reg.ReadBinary(w[1], w[2], "") << "\n";
        else
            ctx.out << v->data.substr(0, v->data.find('\0')) << "\n";
        return kOk;
    }
    if (reg.WriteString(w[1], w[2], w[3]) == 0) return fail(ctx, "could not write '" + w[2] + "' in " + w[1], reg);
    return kOk;
}

const ToolCommandRegistration kRegistration{{"reg", kUsage, kSummary, &runReg}};

}  // namespace

}  // namespace cd::tool
