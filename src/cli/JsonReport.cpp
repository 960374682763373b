#include "cli/JsonReport.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string_view>
#include <vector>

#include "model/Latin1Text.h"

namespace zefa::cli {

namespace {

using Json = nlohmann::ordered_json;

Json playerJson(const PlayerRecord& p, std::size_t playerCount) {
    Json killCount = Json::array();
    for (std::size_t victim = 0; victim < playerCount; ++victim)
        killCount.push_back(p.killsOf(static_cast<std::int32_t>(victim)));
    return Json{
        {"id", p.id},
        {"name", latin1ToUtf8(p.name)},
        {"strippedName", latin1ToUtf8(p.strippedName)},
        {"rank", p.rank},
        {"mm1", p.mm1},
        {"selfGren", p.selfGren},
        {"grenRatio", p.grenRatio},
        {"kills", p.kills},
        {"deaths", p.deaths},
        {"suicides", p.suicides},
        {"tks", p.tks},
        {"tkDeaths", p.tkDeaths},
        {"touches", p.touches},
        {"caps", p.caps},
        {"drops", p.drops},
        {"c2cs", p.c2cs},
        {"flagSaves", p.flagSaves},
        {"killCount", std::move(killCount)},
        {"weapKills", p.weapKills},
        {"weapDeaths", p.weapDeaths},
        {"defenses", p.defenses},
    };
}

Json playersJson(const MatchStats& stats) {
    std::vector<const PlayerRecord*> byId;
    for (const PlayerRecord& p : stats.players) byId.push_back(&p);
    std::ranges::sort(byId, {}, &PlayerRecord::id);
    Json players = Json::array();
    for (const PlayerRecord* p : byId) players.push_back(playerJson(*p, byId.size()));
    return players;
}

Json chatJson(const MatchStats& stats) {
    Json chat = Json::array();
    for (std::size_t i = 0; i < stats.chatSpeakers.size(); ++i)
        chat.push_back({{"speaker", latin1ToUtf8(stats.chatSpeakers[i])},
                        {"text", latin1ToUtf8(stats.chatTexts[i])}});
    return chat;
}

Json awardsJson(const AwardTable& awards) {
    Json shown = Json::array();
    for (std::int32_t i = 0; i < kAwardCount; ++i) {
        if (!awards.shown(i)) continue;
        shown.push_back({{"index", i},
                         {"name", latin1ToUtf8(awards.awardName(i))},
                         {"result", latin1ToUtf8(awards.result(i))}});
    }
    return shown;
}

}  // namespace

std::string jsonReport(const MatchStats& stats, const AwardTable& awards,
                       std::int32_t gameVersion) {
    const Json report{
        {"gameVersion", gameVersion},     {"lineCount", stats.lineCount},
        {"teamScores", stats.teamScores}, {"players", playersJson(stats)},
        {"chat", chatJson(stats)},        {"awards", awardsJson(awards)},
    };
    return report.dump(2) + "\n";
}

}  // namespace zefa::cli
