#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/ScratchDir.h"

namespace zefa::test {

struct CommandResult {
    int exitCode = -1;
    std::string out, err;
};

inline std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs the program with the arguments and the environment changes: "NAME=value"
// sets a variable, "-NAME" removes it.
inline CommandResult runProgram(const std::string& program, const std::vector<std::string>& args,
                                const std::vector<std::string>& environment = {}) {
    const ScratchDir streams;
    std::string command = "env";
    for (const std::string& change : environment)
        command += change.starts_with('-') ? " -u " + shellQuote(change.substr(1))
                                           : " " + shellQuote(change);
    command += " " + shellQuote(program);
    for (const std::string& arg : args) command += " " + shellQuote(arg);
    command += " >" + shellQuote((streams / "out").string()) + " 2>" +
               shellQuote((streams / "err").string()) + " </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(streams / "out"),
            readFile(streams / "err")};
}

}  // namespace zefa::test
