#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "parser/match/MatchEngine.h"

namespace zefa::cli {

namespace {

constexpr std::string_view kVersionText = "zefastats 2.1.5";

std::optional<std::int32_t> parseInteger(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

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

namespace {

// "auto" leaves the version unset. Any integer selects a message set the way
// a stored setting does: 2 the newer one, every other value the older one.
bool parseGameVersion(std::string_view text, std::optional<std::int32_t>& version) {
    version.reset();
    if (text == "auto") return true;
    const bool negative = text.starts_with('-');
    std::string_view digits = text.substr(negative || text.starts_with('+') ? 1 : 0);
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (digits.empty() || !std::ranges::all_of(digits, isDigit)) return false;
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
    version = digits == "2" && !negative ? kGameVersionBeta2 : kGameVersionBeta1H;
    return true;
}

// Two names of one file, which would receive both outputs.
bool sameFile(const std::string& a, const std::string& b) {
    const auto resolved = [](const std::string& name) {
        std::error_code ignored;
        return std::filesystem::weakly_canonical(std::filesystem::absolute(name, ignored), ignored);
    };
    return resolved(a) == resolved(b);
}

// The checks that need more than one option.
std::optional<std::string> conflict(const Options& options) {
    if (options.logFile.empty()) return "a LOGFILE is required";
    if (!options.jsonFile) return std::nullopt;
    if (*options.jsonFile == kStandardOutput && options.outputFile == kStandardOutput)
        return "the page and the JSON cannot both go to standard output";
    if (*options.jsonFile != kStandardOutput && sameFile(*options.jsonFile, options.outputFile))
        return "the page and the JSON cannot be written to the same file";
    return std::nullopt;
}

// LOGFILE is needed by everything but --list-awards, which CLI11 cannot
// express, so the usage line marks it as required by hand.
class UsageFormatter : public CLI::Formatter {
public:
    std::string make_option_usage(const CLI::Option* option) const override {
        if (option->get_name() == "LOGFILE") return option->get_name();
        return CLI::Formatter::make_option_usage(option);
    }
};

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
    app.formatter(std::make_shared<UsageFormatter>());
#if ZEFA_SEASONS
    app.footer(std::string(kMatchEngineDescription) +
               "\nSeasons of many matches: zefastats season --help; every session recorded as "
               "the game writes it: zefastats record --help (logs named \"season\" or "
               "\"record\" are given as ./season and ./record).");
#else
    app.footer(std::string(kMatchEngineDescription));
#endif
    app.add_option("LOGFILE", options.logFile, "Console log of the match (written by /logfile 1)");
    const CLI::Option* themeOption =
        app.add_option("-t,--theme", theme, "Theme file (default: the built-in theme)");
    app.add_option("-o,--output", options.outputFile, "Page to write; - is standard output")
        ->capture_default_str();
    app.add_option("-g,--game-version", gameVersion,
                   "1 (Beta1H or older), 2 (Beta2 or newer) or auto; any other integer "
                   "reads as 1")
        ->capture_default_str();
    app.add_option("-a,--awards", awards, "all, none, or comma-separated award indexes 0-17")
        ->capture_default_str();
    const CLI::Option* jsonOption =
        app.add_option("--json", json, "Also write the statistics as JSON; - is standard output");
    app.add_flag("--list-awards", options.listAwards,
                 "Print the award indexes and names, then exit");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help and --version end here too, with their own text.
        if (error.get_exit_code() != 0) return usageError(app, error.what());
        app.exit(error);
        return kExitOk;
    }
    if (options.listAwards) return options;

    if (!parseGameVersion(gameVersion, options.gameVersion))
        return usageError(app, "--game-version takes 1, 2, another integer or auto");
    const auto chosen = parseAwardList(awards);
    if (!chosen)
        return usageError(app, "--awards takes all, none or indexes 0-17 separated by commas");
    options.awards = *chosen;
    if (themeOption->count() > 0) options.themeFile = theme;
    if (jsonOption->count() > 0) options.jsonFile = json;
    if (const auto problem = conflict(options)) return usageError(app, *problem);
    return options;
}

}  // namespace zefa::cli
