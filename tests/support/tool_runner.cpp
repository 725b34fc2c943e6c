#include "support/tool_runner.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

namespace cd::test {

std::string shellQuoted(const std::string& s) {
    std::string q = "'";
    for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

ToolRun runShell(const TempDir& dir, const std::string& commandLine) {
    const std::string in = std::filesystem::exists(dir / "stdin") ? " < stdin" : " < /dev/null";
    // Braces, so that every command of the line shares the redirections.
    const std::string cmd =
        "cd " + shellQuoted(dir.path().string()) + " && { " + commandLine + "\n}" + in + " > stdout 2> stderr";
    ToolRun r;
    const int raw = std::system(cmd.c_str());
    r.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = dir.read("stdout");
    r.err = dir.read("stderr");
    return r;
}

ToolRun runProgram(const TempDir& dir, const std::string& program, const std::string& args) {
    return runShell(dir, shellQuoted(program) + " " + args);
}

}  // namespace cd::test
