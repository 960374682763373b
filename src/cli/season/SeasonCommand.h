#pragma once

namespace zefa::cli {

// `zefastats season SUBCOMMAND ...`; argv[0] is "season". Returns the exit status.
int runSeasonCommand(int argc, const char* const* argv);

}  // namespace zefa::cli
