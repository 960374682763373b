#include "CommandRunner.h"

#include <sys/wait.h>

#include <cstdlib>

namespace zefa::test {

namespace {

std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

CommandResult runZefastats(const std::vector<std::string>& args,
                           const std::vector<std::string>& environment) {
    const ScratchDir streams;
    std::string command = "env";
    for (const std::string& assignment : environment) command += " " + shellQuote(assignment);
    command += " " + shellQuote(ZEFASTATS_BINARY);
    for (const std::string& arg : args) command += " " + shellQuote(arg);
    command += " >" + shellQuote((streams / "out").string());
    command += " 2>" + shellQuote((streams / "err").string());

    CommandResult result;
    const int status = std::system(command.c_str());
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(streams / "out");
    result.err = readFile(streams / "err");
    return result;
}

}  // namespace zefa::test
