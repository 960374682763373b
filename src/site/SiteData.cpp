#include "site/SiteData.h"

#include "season/IsoTime.h"
#include "season/SeasonJsonObjects.h"
#include "site/SitePages.h"
#include "site/SitePaths.h"

namespace zefa::site {

namespace {

using season::JsonWriter;

constexpr std::int32_t kFormatVersion = 1;

// A data file's path as the other data files name it: from the data folder.
std::string fromData(std::string_view path) {
    return std::string(path.substr(kDataFolder.size() + 1));
}

// The document `put` writes, as a file holds it.
template <typename Put>
std::string document(Put put) {
    std::string text;
    JsonWriter json(text);
    put(json);
    text += '\n';
    return text;
}

}  // namespace

std::size_t dataPages(std::size_t matches) { return (matches + kListPageRows - 1) / kListPageRows; }

SiteData::SiteData(const SiteSeason& season)
    : m_season(season), m_keyNumbers(keyNumbers(season)), m_matchIds(season.keys.size()) {
    const std::vector<std::uint32_t> counts = matchCounts(season);
    for (std::size_t key = 0; key < counts.size(); ++key) m_matchIds[key].reserve(counts[key]);
    for (const SiteMatch& match : season.matches)
        for (const SitePlay& player : match.players) m_matchIds[player.key].push_back(match.id);
}

std::string SiteData::index() const {
    return document([this](JsonWriter& json) {
        const auto& matches = m_season.matches;
        json.beginObject();
        json.member("formatVersion", kFormatVersion);
        json.member("matchCount", std::int64_t(matches.size()));
        json.member("playerCount", std::int64_t(m_season.players.size()));
        if (!matches.empty()) {
            json.member("firstPlayedAt", season::formatUtc(matches.front().playedAt));
            json.member("lastPlayedAt", season::formatUtc(matches.back().playedAt));
        }
        json.member("players", fromData(kPlayerListData));
        json.member("matchPageRows", std::int64_t(kListPageRows));
        const std::size_t pages = dataPages(matches.size());
        json.member("matchPageCount", std::int64_t(pages));
        json.key("matchPages");
        json.beginArray();
        for (std::size_t n = 1; n <= pages; ++n) json.text(fromData(matchListDataPath(n)));
        json.endArray();
        json.endObject();
    });
}

std::string SiteData::players() const {
    return document([this](JsonWriter& json) {
        json.beginObject();
        json.key("players");
        json.beginArray();
        for (const season::SeasonPlayer& player : m_season.players) {
            json.beginObject();
            json.member("key", player.key);
            json.member("name", player.name);
            json.member("matches", player.matches);
            season::putPlayerRating(json, player.rating);
            json.member("file", fromData(playerDataPath(player.key)));
            json.endObject();
        }
        json.endArray();
        json.endObject();
    });
}

std::string SiteData::matchListPage(std::size_t number) const {
    return document([this, number](JsonWriter& json) {
        const auto& matches = m_season.matches;
        json.beginObject();
        json.member("page", std::int64_t(number));
        json.key("matches");
        json.beginArray();
        const std::size_t end = std::min(number * kListPageRows, matches.size());
        for (std::size_t at = (number - 1) * kListPageRows; at < end; ++at) {
            json.beginObject();
            json.member("id", matches[at].id);
            json.member("playedAt", season::formatUtc(matches[at].playedAt));
            json.member("file", fromData(matchDataPath(matches[at].id)));
            json.endObject();
        }
        json.endArray();
        json.endObject();
    });
}

std::string SiteData::match(const season::SeasonMatch& match) {
    return document([&match](JsonWriter& json) { season::putMatch(json, match); });
}

std::string SiteData::player(std::size_t index) const {
    const season::SeasonPlayer player = m_season.wholePlayer(index);
    return document([this, &player](JsonWriter& json) {
        json.beginObject();
        season::putSeasonPlayerMembers(json, player);
        const auto number = m_keyNumbers.find(player.key);
        json.member("matchIds", number == m_keyNumbers.end() ? std::vector<std::int64_t>()
                                                             : m_matchIds[number->second]);
        json.endObject();
    });
}

}  // namespace zefa::site
