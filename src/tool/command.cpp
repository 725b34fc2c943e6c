#include "tool/command.h"

#include <ostream>

namespace cd::tool {

std::vector<ToolCommand>& commands() {
    static std::vector<ToolCommand> table;
    return table;
}

ToolCommandRegistration::ToolCommandRegistration(ToolCommand command) { commands().push_back(std::move(command)); }

int usageError(ToolContext& ctx, const std::string& usage, const std::string& problem) {
    if (!problem.empty()) ctx.err << "channeldeck-tool: " << problem << "\n";
    ctx.err << "usage: channeldeck-tool " << usage << "\n";
    return kUsage;
}

}  // namespace cd::tool
