#include "cli/CommandLine.h"
#include "cli/RunCommand.h"

int main(int argc, char** argv) {
    using namespace zefa::cli;
    const ParsedCommandLine parsed = parseCommandLine(argc, argv);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const Options& options = std::get<Options>(parsed);
    return options.listAwards ? listAwards() : runCommand(options);
}
