#pragma once

namespace zefa::cli {

// `zefastats record LOG... [--season DB] [--archive DIR] [--quiet MINUTES]
// [--poll SECONDS]`; argv[0] is "record". Returns the exit status.
int runRecordCommand(int argc, const char* const* argv);

}  // namespace zefa::cli
