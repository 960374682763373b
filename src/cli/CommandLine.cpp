#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <iostream>
#include <string_view>

namespace zefa::cli {

namespace {

constexpr std::string_view kVersionText = "zefastats 2.1.5";

std::optional<std::int32_t> parseInteger(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// "all", "none" or comma-separated award indexes.
std::optional<std::array<bool, kAwardCount>> parseAwardList(std::string_view list) {
    std::array<bool, kAwardCount> chosen{};
    if (list == "all") chosen.fill(true);
    if (list == "all" || list == "none") return chosen;
    while (true) {
        const std::size_t comma = list.find(',');
        const auto index = parseInteger(list.substr(0, comma));
        if (!index || *index < 0 || *index >= kAwardCount) return std::nullopt;
        chosen[static_cast<std::size_t>(*index)] = true;
        if (comma == std::string_view::npos) return chosen;
        list.remove_prefix(comma + 1);
    }
}

// "auto" leaves the version unset; false for anything but "auto" or an integer.
bool parseGameVersion(std::string_view text, std::optional<std::int32_t>& version) {
    version = text == "auto" ? std::nullopt : parseInteger(text);
    return text == "auto" || version.has_value();
}

int usageError(const CLI::App& app, const std::string& message) {
    std::cerr << app.get_name() << ": " << message << "\n"
              << "Run with --help for more information.\n";
    return kExitUsage;
}

}  // namespace

ParsedCommandLine parseCommandLine(int argc, const char* const* argv) {
    Options options;
    std::string gameVersion = "auto";
    std::string awards = "all";
    std::string theme;
    std::string json;

    CLI::App app{"Writes the statistics page of a Zefa match from its console log.", "zefastats"};
    app.set_version_flag("-V,--version", std::string(kVersionText));
    app.add_option("LOGFILE", options.logFile, "Console log of the match (written by /logfile 1)");
    app.add_option("-t,--theme", theme, "Theme file (default: the built-in theme)");
    app.add_option("-o,--output", options.outputFile, "Page to write; - is standard output")
        ->capture_default_str();
    app.add_option("-g,--game-version", gameVersion,
                   "1 (Beta1H or older), 2 (Beta2 or newer) or auto")
        ->capture_default_str();
    app.add_option("-a,--awards", awards, "all, none, or comma-separated award indexes 0-17")
        ->capture_default_str();
    app.add_option("--json", json, "Also write the statistics as JSON; - is standard output");
    app.add_flag("--list-awards", options.listAwards,
                 "Print the award indexes and names, then exit");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? kExitOk : kExitUsage;
    }
    if (options.listAwards) return options;

    if (!parseGameVersion(gameVersion, options.gameVersion))
        return usageError(app, "--game-version takes 1, 2, another integer or auto");
    const auto chosen = parseAwardList(awards);
    if (!chosen)
        return usageError(app, "--awards takes all, none or indexes 0-17 separated by commas");
    options.awards = *chosen;
    if (options.logFile.empty()) return usageError(app, "a LOGFILE is required");
    if (!theme.empty()) options.themeFile = theme;
    if (!json.empty()) options.jsonFile = json;
    if (options.jsonFile == kStandardOutput && options.outputFile == kStandardOutput)
        return usageError(app, "the page and the JSON cannot both go to standard output");
    return options;
}

}  // namespace zefa::cli
