// channeldeck-tool: the core's file and network operations on the command
// line, for catalogue owners and scripts.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "tool/command.h"

namespace {

void printHelp(std::ostream& out) {
    auto cmds = cd::tool::commands();
    std::sort(cmds.begin(), cmds.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    out << "usage: channeldeck-tool [OPTIONS] COMMAND [ARGS]\n\nCommands:\n";
    for (const auto& c : cmds) out << "  " << c.usage << "\n      " << c.summary << "\n";
    out << "\nOptions (any command):\n" << cd::platform::Configuration::optionsHelp();
    out << "\nExit status: 0 on success, 1 when the operation failed, 2 on a usage error.\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    auto config = cd::platform::Configuration::defaults();
    config.applyEnvironment();
    std::string error;
    args = config.applyArguments(args, &error);
    if (!error.empty()) {
        std::cerr << "channeldeck-tool: " << error << "\n";
        return cd::tool::kUsage;
    }
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(args.empty() ? std::cerr : std::cout);
        return args.empty() ? cd::tool::kUsage : cd::tool::kOk;
    }
    for (const auto& c : cd::tool::commands()) {
        if (c.name != args[0]) continue;
        cd::tool::ToolContext ctx{std::vector<std::string>(args.begin() + 1, args.end()), config, std::cin, std::cout,
                                  std::cerr};
        return c.run(ctx);
    }
    std::cerr << "channeldeck-tool: unknown command '" << args[0] << "' (see channeldeck-tool --help)\n";
    return cd::tool::kUsage;
}
