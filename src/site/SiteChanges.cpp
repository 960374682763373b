#include "site/SiteChanges.h"

#include <algorithm>

#include "site/SitePages.h"
#include "site/SitePaths.h"

// The season pages' own style, compiled in.
namespace zefa {
extern const std::string_view kSiteStyle;
}

namespace zefa::site {

namespace {

std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash = 14695981039346656037ULL) {
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string awardList(const std::array<bool, kAwardCount>& awards) {
    std::string list;
    for (const bool selected : awards) list += selected ? '1' : '0';
    return list;
}

// What every match page depends on besides its own log: the same for all of
// them, so the theme is hashed once.
std::string sharedMatchInputs(const SiteOptions& options) {
    return std::to_string(fnv1a(options.matchTheme)) + "\n" + awardList(options.awards) + "\n" +
           (options.clock ? std::to_string(*options.clock) : std::string("now"));
}

// Raised when the site comes to hold other files, or files of another form:
// a site made before is then made again as a whole.
constexpr std::string_view kSiteForm = "2 data";

// Every option any page depends on, and the site's form, in one number.
std::string optionsInputs(const SiteOptions& options, std::string_view sharedMatch) {
    const std::string inputs =
        std::string(kSiteForm) + "\n" + options.look.title + "\n" + std::to_string(options.look.minMatches) + "\n" +
        std::to_string(fnv1a(options.builtInTheme)) + "\n" +
        (options.since ? std::to_string(*options.since) : std::string("all")) + "\n" +
        std::string(sharedMatch);
    return std::to_string(fnv1a(inputs));
}

// What pages all over the season show of it: every player's key, name and
// aliases, and whether the foot leads to season.json, in one number.
std::string namesInputs(const SiteSeason& season) {
    std::uint64_t hash = fnv1a(keepsSeasonJson(season.matches.size()) ? "whole" : "data");
    for (const season::SeasonPlayer& player : season.players) {
        hash = fnv1a(player.key + '\n' + player.name + '\n', hash);
        for (const std::string& alias : player.aliases) hash = fnv1a(alias + '\n', hash);
    }
    return std::to_string(hash);
}

// The index's inputs: the change number, the options, the names.
struct SeasonInputs {
    std::string changeSeq, options, names;

    [[nodiscard]] std::string text() const { return changeSeq + " " + options + " " + names; }

    static SeasonInputs parse(std::string_view text) {
        SeasonInputs inputs;
        const std::size_t first = text.find(' ');
        const std::size_t second = text.find(' ', first == text.npos ? first : first + 1);
        if (second == text.npos) return inputs;
        return {std::string(text.substr(0, first)),
                std::string(text.substr(first + 1, second - first - 1)),
                std::string(text.substr(second + 1))};
    }
};

}  // namespace

SiteChanges::SiteChanges(const std::optional<SiteRecord>& earlier, const SiteSeason& season,
                         const SiteOptions& options)
    : m_earlier(earlier), m_season(season) {
    const SeasonInputs now{std::to_string(season.changeSeq),
                           optionsInputs(options, sharedMatchInputs(options)), namesInputs(season)};
    m_seasonInputs = now.text();
    m_listInputs = now.options + " " + now.names;
    m_styleInputs = std::to_string(fnv1a(kSiteStyle, fnv1a(options.builtInTheme)));
    const SeasonInputs before =
        SeasonInputs::parse(earlier ? earlier->fingerprint(kIndexPage) : std::string_view());
    m_all = options.full || !earlier || season.changeSeq == 0 || before.options != now.options ||
            before.names != now.names;
}

bool SiteChanges::current(const SiteRecord& earlier, std::int64_t changeSeq,
                          const SiteOptions& options) {
    const SeasonInputs before = SeasonInputs::parse(earlier.fingerprint(kIndexPage));
    return !options.full && changeSeq != 0 && before.changeSeq == std::to_string(changeSeq) &&
           before.options == optionsInputs(options, sharedMatchInputs(options));
}

std::string SiteChanges::matchSeasonPage(std::size_t index) const {
    const auto& matches = m_season.matches;
    const auto idAt = [&](std::size_t at) {
        return at < matches.size() ? std::to_string(matches[at].id) : std::string("-");
    };
    return std::to_string(matches[index].changeSeq) + " " + idAt(index - 1) + " " +
           idAt(index + 1);
}

std::string SiteChanges::matchListPage(std::size_t number) const {
    const auto& matches = m_season.matches;
    const std::size_t end = std::min(number * kListPageRows, matches.size());
    std::uint64_t hash = fnv1a(end < matches.size() ? "newer" : "last");
    for (std::size_t at = (number - 1) * kListPageRows; at < end; ++at)
        hash = fnv1a(std::to_string(matches[at].id) + " " + std::to_string(matches[at].changeSeq) +
                         "\n",
                     hash);
    return std::to_string(hash);
}

namespace {

// A page of a list of `count` players, `at(i)` the i-th of them.
template <typename PlayerAt>
std::string listedPlayers(std::string_view shared, std::size_t number, std::size_t count,
                          PlayerAt at) {
    std::uint64_t hash = fnv1a(std::to_string(listPages(count)) + " ", fnv1a(shared));
    const std::size_t end = std::min(number * kListPageRows, count);
    for (std::size_t i = (number - 1) * kListPageRows; i < end; ++i) {
        const season::SeasonPlayer& player = at(i);
        hash = fnv1a(player.key + " " + std::to_string(player.changeSeq) + "\n", hash);
    }
    return std::to_string(hash);
}

}  // namespace

std::string SiteChanges::leaderboardPage(const std::vector<const season::SeasonPlayer*>& leaders,
                                         std::size_t number) const {
    return listedPlayers(m_listInputs, number, leaders.size(),
                         [&](std::size_t i) -> const season::SeasonPlayer& { return *leaders[i]; });
}

std::string SiteChanges::playerListPage(std::size_t number) const {
    return listedPlayers(
        m_listInputs, number, m_season.players.size(),
        [&](std::size_t i) -> const season::SeasonPlayer& { return m_season.players[i]; });
}

std::string SiteChanges::playerPage(const season::SeasonPlayer& player) {
    return std::to_string(player.changeSeq);
}

namespace {

// Ratings computed again change a match's players' rows, not its number.
template <typename Match>
std::string ratedMatchInputs(const Match& match) {
    std::uint64_t hash = fnv1a(std::to_string(match.changeSeq));
    for (const auto& player : match.players) {
        const double rating[] = {player.rating.mu, player.rating.sigma};
        hash = fnv1a(std::string_view(reinterpret_cast<const char*>(rating), sizeof rating), hash);
    }
    return std::to_string(hash);
}

}  // namespace

std::string SiteChanges::matchData(const season::SeasonMatch& match) {
    return ratedMatchInputs(match);
}

std::string SiteChanges::matchData(const SiteMatch& match) { return ratedMatchInputs(match); }

MatchPageInputs::MatchPageInputs(const SiteOptions& options)
    : m_shared(sharedMatchInputs(options)) {}

std::string MatchPageInputs::of(std::string_view sha256, std::int32_t gameVersion) const {
    const std::string inputs =
        std::string(sha256) + "\n" + std::to_string(gameVersion) + "\n" + m_shared;
    return std::to_string(fnv1a(inputs));
}

bool SiteChanges::reaches(std::string_view page, std::string_view inputs) const {
    return m_all || m_earlier->fingerprint(page) != inputs;
}

}  // namespace zefa::site
