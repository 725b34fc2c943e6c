#pragma once
// The command table of channeldeck-tool. Each cmd_*.cpp registers its
// commands with a static ToolCommandRegistration, so adding a command never
// touches main.cpp.
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/configuration.h"

namespace cd::tool {

struct ToolContext {
    std::vector<std::string> args;  // the words after the command name (options of the configuration removed)
    platform::Configuration config;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

struct ToolCommand {
    std::string name;
    std::string usage;    // e.g. "encode < PLAIN > ENCODED"
    std::string summary;  // one line
    int (*run)(ToolContext& ctx);
};

/// Exit codes shared by every command.
enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

std::vector<ToolCommand>& commands();

struct ToolCommandRegistration {
    explicit ToolCommandRegistration(ToolCommand command);
};

/// Prints "usage: channeldeck-tool USAGE" for the command to err and returns kUsage.
int usageError(ToolContext& ctx, const std::string& usage, const std::string& problem = {});

}  // namespace cd::tool
