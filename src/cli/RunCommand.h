#pragma once

#include "cli/CommandLine.h"

namespace zefa::cli {

// Prints the award catalogue, one "INDEX<TAB>NAME" line per award.
int listAwards();

// Generates the page (and the JSON, if asked for) and returns the exit status.
// Errors are reported on standard error as one line naming the file.
int runCommand(const Options& options);

}  // namespace zefa::cli
