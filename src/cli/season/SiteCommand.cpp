#include <cstdlib>
#include <iostream>

#include "files/SourceDateEpoch.h"
#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"
#include "site/SiteFromStore.h"
#include "theme/ThemeFile.h"

namespace zefa {
extern const std::string_view kBuiltInTheme;
}

namespace zefa::cli {

namespace {

class SiteCommand final : public StoreCommand {
public:
    explicit SiteCommand(CLI::App& season)
        : StoreCommand(season, "site", "Writes the season's web pages into a folder",
                       OpenMode::ReadOnly) {
        m_awards.fill(true);
        app()
            .add_option("-o,--output", m_folder, "Folder of the site; made when missing")
            ->required()
            ->check(CLI::Validator(
                [](const std::string& folder) { return site::unfitFolder(folder); }, "DIR"));
        app().add_flag("--allow-other-files", m_pages.allowOtherFiles,
                       "Write the site into a folder that holds other files; they are left as "
                       "they are");
        addSinceOption(m_pages.since);
        app().add_flag("--gzip-match-pages", m_pages.gzipMatchPages,
                       "Keep the match pages gzip-compressed (ID.html.gz), for a web server "
                       "that serves them so; a browser opening the folder needs them plain");
        app().add_flag("--full", m_pages.full,
                       "Make every page again, not only those the store's changes since the "
                       "last build reach (the same pages either way)");
        addJobsOption(m_pages.threads, "Pages made at once");
        app()
            .add_option("--min-matches", m_minMatches,
                        "Players with fewer matches are left off the leaderboard")
            ->check(CLI::NonNegativeNumber);
        app().add_option("--title", m_title, "Title of the season's pages");
        app().add_option("-t,--theme", m_theme, "Theme of the match pages (default: built-in)");
        app()
            .add_option_function<std::string>(
                "-a,--awards",
                [this](const std::string& list) {
                    const auto chosen = parseAwardList(list);
                    if (!chosen)
                        throw CLI::ValidationError(
                            "--awards", "takes all, none or indexes 0-17 separated by commas");
                    m_awards = *chosen;
                },
                "Awards on the match pages: all, none, or comma-separated indexes 0-17")
            ->type_name("LIST");
    }

private:
    // The theme and the clock of the match pages, before the store is opened.
    std::optional<int> prepare() override {
        m_pages.look = {m_title, m_minMatches};
        m_pages.builtInTheme = std::string(kBuiltInTheme);
        m_pages.matchTheme = m_pages.builtInTheme;
        m_pages.awards = m_awards;
        if (m_pages.threads == 0) m_pages.threads = usableCores();
        if (m_theme) {
            std::error_code error;
            auto theme = readThemeFile(*m_theme, error);
            if (!theme)
                return seasonFailure("cannot read theme '" + *m_theme + "': " + error.message());
            m_pages.matchTheme = std::move(*theme);
        }
        if (!parseSourceDateEpoch(std::getenv("SOURCE_DATE_EPOCH"), m_pages.clock)) {
            std::cerr << "zefastats: SOURCE_DATE_EPOCH must be a whole number of seconds\n";
            return kExitUsage;
        }
        return std::nullopt;
    }

    int run(season::SeasonStore& store) override {
        const site::SiteReport report =
            site::updateSiteFromStore(store, m_folder, m_pages);
        if (!report.refused.empty())
            return seasonFailure(
                "cannot write the site into '" + m_folder + "': " + report.refused +
                (m_pages.allowOtherFiles ? "" : "; --allow-other-files writes it beside them"));
        for (const std::string& problem : report.problems) seasonFailure(problem);
        if (report.written + report.kept == 0 && !report.ok()) return kExitFailure;
        std::cout << report.written << " pages written, " << report.kept << " kept, "
                  << report.removed
                  << " removed: " << (std::filesystem::path(m_folder) / "index.html").string()
                  << "\n";
        return report.ok() ? kExitOk : kExitFailure;
    }

    std::string m_folder;
    std::int32_t m_minMatches = 5;
    std::string m_title = "Season";
    std::optional<std::string> m_theme;
    std::array<bool, kAwardCount> m_awards{};
    site::SiteOptions m_pages;
};

}  // namespace

std::unique_ptr<StoreCommand> makeSiteCommand(CLI::App& season) {
    return std::make_unique<SiteCommand>(season);
}

}  // namespace zefa::cli
