#pragma once
// Runs a command-line program the way a user's shell would, in a test's
// temporary folder, and collects its exit status and both outputs.
#include <string>

#include "support/temp_dir.h"

namespace cd::test {

struct ToolRun {
    int status = -1;  // the exit status (128 + N when signal N ended it); -1 when the shell did not run
    std::string out;
    std::string err;
};

/// s in single quotes for the shell, inner quotes escaped.
std::string shellQuoted(const std::string& s);

/// Runs a shell command line in dir; stdin is dir/stdin when that file
/// exists, else empty. The outputs pass through dir/stdout and dir/stderr.
ToolRun runShell(const TempDir& dir, const std::string& commandLine);
/// Runs program (a path) with args (already quoted where needed), as runShell.
ToolRun runProgram(const TempDir& dir, const std::string& program, const std::string& args);

#ifdef CD_TOOL_PATH
/// channeldeck-tool, as runProgram runs it.
inline ToolRun runTool(const TempDir& dir, const std::string& args) { return runProgram(dir, CD_TOOL_PATH, args); }
#endif

}  // namespace cd::test
