#include <string_view>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "cli/CommandLine.h"
#include "cli/RunCommand.h"
#if ZEFA_SEASONS
#include "cli/RecordCommand.h"
#include "cli/season/SeasonCommand.h"
#endif

int main(int argc, char** argv) {
    using namespace zefa::cli;
#if defined(__GLIBC__)
    // Season pages are made on several threads from many small pieces of
    // memory: each thread's heap grows 8 MB at a time rather than 128 KB,
    // which took a site brought up to date after one match a sixth of its
    // time. Memory not yet used is not taken from the system.
    mallopt(M_TOP_PAD, 8 << 20);
#endif
#if ZEFA_SEASONS
    // Logs named "season" or "record" are reached as ./season and ./record.
    if (argc > 1 && std::string_view(argv[1]) == "season")
        return runSeasonCommand(argc - 1, argv + 1);
    if (argc > 1 && std::string_view(argv[1]) == "record")
        return runRecordCommand(argc - 1, argv + 1);
#endif
    const ParsedCommandLine parsed = parseCommandLine(argc, argv);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const Options& options = std::get<Options>(parsed);
    return options.listAwards ? listAwards() : runCommand(options);
}
