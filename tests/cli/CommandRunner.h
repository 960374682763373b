#pragma once

#include <string>
#include <vector>

#include "support/ScratchDir.h"

namespace zefa::test {

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the zefastats binary with the given arguments and environment
// assignments ("NAME=value"), capturing both output streams.
CommandResult runZefastats(const std::vector<std::string>& args,
                           const std::vector<std::string>& environment = {});

}  // namespace zefa::test
