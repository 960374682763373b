#include "theme/StatisticsLoops.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "awards/SortPlayers.h"
#include "model/DefenseKinds.h"
#include "theme/HtmlText.h"

namespace zefa {

namespace {

// Deeper nesting serves no theme and would let one exhaust the stack.
constexpr std::int32_t kMaxRunningLoops = 64;
constexpr std::string_view kEndLoop = "<= ENDLOOP =>";

// The item of one pass over a loop body, which its tags read.
struct Item {
    Page& page;
    const PlayerRecord* owner;   // the player loop's current player, in the loops nested in it
    const PlayerRecord* player;  // in a walk over the player list
    std::size_t index;           // weapon, defense kind, chat message or award
    std::int32_t counter;        // "<= COUNTER =>"
};

struct ItemTag {
    std::string_view tag;
    void (*write)(const Item& item);  // null: the line is handed on like text
};

void ExpandKillCountLoop(Page& page, const PlayerRecord& player);
void ExpandWeaponKillLoop(Page& page, const PlayerRecord& player);
void ExpandWeaponDeathLoop(Page& page, const PlayerRecord& player);

void writeCounter(const Item& item) { EmitInt(item.page.sink, item.counter); }

// Field: a number of PlayerRecord or of its PlayerCounters.
template <auto Field>
void writeNumber(const Item& item) {
    EmitInt(item.page.sink, item.player->*Field);
}

template <std::string PlayerRecord::*Field>
void writeName(const Item& item) {
    EmitText(item.page.sink, item.player->*Field, true);
}

void writeTotalDeaths(const Item& item) {
    // Wraps like the 32-bit counters it adds instead of overflowing.
    const std::int64_t total = std::int64_t{item.player->tkDeaths} + item.player->deaths;
    EmitInt(item.page.sink, static_cast<std::int32_t>(total));
}

constexpr ItemTag kPlayerTags[] = {
    {"<= NAME =>", writeName<&PlayerRecord::name>},
    {"<= ID =>", writeNumber<&PlayerRecord::id>},
    {"<= RANK =>", writeNumber<&PlayerRecord::rank>},
    {"<= MM1 =>", writeNumber<&PlayerRecord::mm1>},
    {"<= SELFGREN =>", writeNumber<&PlayerRecord::selfGren>},
    {"<= GRENRATIO =>", writeNumber<&PlayerRecord::grenRatio>},
    {"<= TKS =>", writeNumber<&PlayerRecord::tks>},
    {"<= TKDEATHS =>", writeNumber<&PlayerRecord::tkDeaths>},
    {"<= SUICIDES =>", writeNumber<&PlayerRecord::suicides>},
    {"<= KILLS =>", writeNumber<&PlayerRecord::kills>},
    {"<= DEATHS =>", writeNumber<&PlayerRecord::deaths>},
    {"<= TOUCHES =>", writeNumber<&PlayerRecord::touches>},
    {"<= CAPS =>", writeNumber<&PlayerRecord::caps>},
    {"<= DROPS =>", writeNumber<&PlayerRecord::drops>},
    {"<= C2CS =>", writeNumber<&PlayerRecord::c2cs>},
    {"<= FLAGSAVES =>", writeNumber<&PlayerRecord::flagSaves>},
    {"<= KILLCNTLOOP =>", [](const Item& item) { ExpandKillCountLoop(item.page, *item.player); }},
    {"<= WEAPKILLLOOP =>", [](const Item& item) { ExpandWeaponKillLoop(item.page, *item.player); }},
    {"<= WEAPDEATHLOOP =>",
     [](const Item& item) { ExpandWeaponDeathLoop(item.page, *item.player); }},
    {"<= DEFENSESLOOP =>", [](const Item& item) { ExpandDefensesLoop(item.page, item.player); }},
    {"<= TOTALDEATHS =>", writeTotalDeaths},
    {"<= COUNTER =>", writeCounter},
    {"<= STRIPPEDNAME =>", writeName<&PlayerRecord::strippedName>},
};

// How often the current player killed this one; the diagonal holds suicides.
void writeKillCount(const Item& item) {
    const bool suicides = item.player->id == item.owner->id;
    if (suicides) EmitText(item.page.sink, "<font class=\"suicide\">", false);
    EmitInt(item.page.sink, item.owner->killsOf(item.player->id));
    if (suicides) EmitText(item.page.sink, "</font>", false);
}

constexpr ItemTag kKillCountTags[] = {
    {"<= COUNT =>", writeKillCount},
    {"<= COUNTER =>", writeCounter},
};

// The share of a player's kills (or deaths) made with one weapon, in percent.
// A lost sentry counts as a weapon death but not as a death, so the total can
// be 0 where a count is not; that share shows as 0.
float weaponPercentage(std::int32_t count, std::int32_t total) {
    if (total == 0) return 0.0F;
    return static_cast<float>(static_cast<double>(count) / total * 100.0);
}

void writeWeaponName(const Item& item) {
    EmitText(item.page.sink, item.page.weaponNames[item.index], true);
}

// One side of the current player's weapon table: counts per weapon and the
// total they are a share of.
template <auto Counts, auto Total>
struct WeaponColumn {
    static std::int32_t count(const Item& item) { return (item.owner->*Counts)[item.index]; }
    static bool shown(const Item& item) { return count(item) != 0; }
    static void writeCount(const Item& item) { EmitInt(item.page.sink, count(item)); }
    static void writeShare(const Item& item) {
        EmitDecimal(item.page.sink, weaponPercentage(count(item), item.owner->*Total));
    }

    static constexpr ItemTag kTags[] = {
        {"<= WEAPON =>", writeWeaponName},
        {"<= COUNT =>", writeCount},
        {"<= COUNTER =>", writeCounter},
        {"<= EFFICIENCY =>", writeShare},
    };
};

using WeaponKills = WeaponColumn<&PlayerRecord::weapKills, &PlayerRecord::kills>;
using WeaponDeaths = WeaponColumn<&PlayerRecord::weapDeaths, &PlayerRecord::deaths>;

void writeDefenseName(const Item& item) {
    EmitText(item.page.sink, kDefenseKindNames[item.index], true);
}

constexpr ItemTag kPlayerDefenseTags[] = {
    {"<= NAME =>", writeDefenseName},
    {"<= COUNT =>",
     [](const Item& item) { EmitInt(item.page.sink, item.owner->defenses[item.index]); }},
    {"<= COUNTER =>", writeCounter},
};

// Without a current player there is nothing to count: that line is text.
constexpr ItemTag kMatchDefenseTags[] = {
    {"<= NAME =>", writeDefenseName},
    {"<= COUNT =>", nullptr},
    {"<= COUNTER =>", writeCounter},
};

constexpr ItemTag kFlagTouchTags[] = {
    {"<= NAME =>", writeName<&PlayerRecord::name>},
    {"<= TOUCHES =>", writeNumber<&PlayerRecord::touches>},
    {"<= ID =>", writeNumber<&PlayerRecord::id>},
};

constexpr ItemTag kFlagCapTags[] = {
    {"<= NAME =>", writeName<&PlayerRecord::name>},
    {"<= CAPS =>", writeNumber<&PlayerRecord::caps>},
    {"<= ID =>", writeNumber<&PlayerRecord::id>},
};

// An absent entry writes nothing.
std::string_view entry(const std::vector<std::string>& texts, std::size_t index) {
    return index < texts.size() ? std::string_view(texts[index]) : std::string_view();
}

constexpr ItemTag kChatTags[] = {
    {"<= NAME =>",
     [](const Item& item) {
         EmitText(item.page.sink, entry(item.page.stats.chatSpeakers, item.index), true);
     }},
    {"<= MESSAGE =>",
     [](const Item& item) {
         EmitText(item.page.sink, entry(item.page.stats.chatTexts, item.index), true);
     }},
    {"<= COUNTER =>", writeCounter},
};

// The chat loop's body, once more, for a match without chat.
constexpr ItemTag kNoChatTags[] = {
    {"<= NAME =>", [](const Item&) {}},
    {"<= MESSAGE =>",
     [](const Item& item) { EmitText(item.page.sink, "There were no MM1 messages.", false); }},
    {"<= COUNTER =>", [](const Item& item) { EmitInt(item.page.sink, 1); }},
};

std::int32_t awardOf(const Item& item) { return static_cast<std::int32_t>(item.index); }

constexpr ItemTag kAwardTags[] = {
    {"<= AWARDNAME =>",
     [](const Item& item) {
         EmitText(item.page.sink, item.page.awards.awardName(awardOf(item)), true);
     }},
    {"<= WINNER =>",
     [](const Item& item) {
         EmitText(item.page.sink, item.page.awards.result(awardOf(item)), true);
     }},
    {"<= COUNTER =>", writeCounter},
};

// What "<= COUNTER =>" counts.
enum class Counter { EveryItem, ShownItem, ItemNumber };
// When the body is read once more after the items, without an item.
enum class EmptyPass { Never, NoItem, NoItemShown, NoPlayerInMatch };

struct LoopKind {
    std::size_t (*itemCount)(const Page& page);  // null: the players, in the loop's order
    std::int32_t sortKey;                        // the players' order; other items have theirs
    bool descending;
    bool (*shown)(const Item& item);
    Counter counter;
    EmptyPass emptyPass;
    std::span<const ItemTag> tags;
    std::span<const ItemTag> emptyPassTags;  // other lines of the empty pass go to ExpandLine
};

bool everyItem(const Item&) { return true; }
std::size_t weapons(const Page&) { return kWeaponCount; }
std::size_t defenseKinds(const Page&) { return kDefenseKindCount; }
std::size_t awards(const Page&) { return kAwardCount; }
std::size_t chatMessages(const Page& page) {
    return std::max(page.stats.chatSpeakers.size(), page.stats.chatTexts.size());
}

// clang-format off
//                          items, sort key, descending, shown,
//                          counter, empty pass, tags, empty pass tags
constexpr LoopKind kPlayerLoop{nullptr, kSortByName, false, everyItem,
    Counter::EveryItem, EmptyPass::NoItem, kPlayerTags, {}};
constexpr LoopKind kKillCountLoop{nullptr, kSortByName, false, everyItem,
    Counter::EveryItem, EmptyPass::NoItem, kKillCountTags, {}};
constexpr LoopKind kWeaponKillLoop{weapons, kSortByName, false, WeaponKills::shown,
    Counter::ItemNumber, EmptyPass::Never, WeaponKills::kTags, {}};
constexpr LoopKind kWeaponDeathLoop{weapons, kSortByName, false, WeaponDeaths::shown,
    Counter::ItemNumber, EmptyPass::Never, WeaponDeaths::kTags, {}};
constexpr LoopKind kPlayerDefensesLoop{defenseKinds, kSortByName, false, everyItem,
    Counter::ItemNumber, EmptyPass::Never, kPlayerDefenseTags, {}};
constexpr LoopKind kMatchDefensesLoop{defenseKinds, kSortByName, false, everyItem,
    Counter::ItemNumber, EmptyPass::NoPlayerInMatch, kMatchDefenseTags, {}};
constexpr LoopKind kFlagTouchLoop{nullptr, kSortByTouches, true,
    [](const Item& item) { return item.player->touches != 0; },
    Counter::ShownItem, EmptyPass::NoItemShown, kFlagTouchTags, {}};
constexpr LoopKind kFlagCapLoop{nullptr, kSortByCaps, true,
    [](const Item& item) { return item.player->caps != 0; },
    Counter::ShownItem, EmptyPass::NoItemShown, kFlagCapTags, {}};
constexpr LoopKind kChatLoop{chatMessages, kSortByName, false, everyItem,
    Counter::EveryItem, EmptyPass::NoItem, kChatTags, kNoChatTags};
constexpr LoopKind kAwardsLoop{awards, kSortByName, false,
    [](const Item& item) {
        return item.page.awards.selected(awardOf(item)) &&
               !item.page.awards.result(awardOf(item)).empty();
    },
    Counter::ShownItem, EmptyPass::NoItemShown, kAwardTags, {}};
// clang-format on

// std::all_of rather than its ranges form, which the browser build's
// standard library lacks.
constexpr bool tagsBeginWithTagStart(const LoopKind& kind) {
    const auto begins = [](const ItemTag& tag) { return tag.tag.starts_with(kTagStart); };
    return kEndLoop.starts_with(kTagStart) &&
           std::all_of(kind.tags.begin(), kind.tags.end(), begins) &&
           std::all_of(kind.emptyPassTags.begin(), kind.emptyPassTags.end(), begins);
}
constexpr std::array kEveryLoop{
    &kPlayerLoop,        &kKillCountLoop, &kWeaponKillLoop, &kWeaponDeathLoop, &kPlayerDefensesLoop,
    &kMatchDefensesLoop, &kFlagTouchLoop, &kFlagCapLoop,    &kChatLoop,        &kAwardsLoop};
static_assert(std::all_of(kEveryLoop.begin(), kEveryLoop.end(),
                          [](const LoopKind* kind) { return tagsBeginWithTagStart(*kind); }));

// Where a pass that shows nothing ends, and what its reading costs.
struct QuietPass {
    std::size_t end;
    std::size_t cost;
};

struct Loop {
    Page& page;
    const LoopKind& kind;
    const PlayerRecord* owner;
    std::size_t bodyStart;
    std::int32_t items = 0;
    std::int32_t shownItems = 0;
    std::optional<QuietPass> quietPass;  // once one was read to its end
};

// Whether the line holds `tag` (which begins with kTagStart) at one of the
// places `starts` where the line holds kTagStart.
bool holdsTag(std::string_view line, std::span<const std::size_t> starts, std::string_view tag) {
    return std::any_of(starts.begin(), starts.end(),
                       [&](std::size_t at) { return line.substr(at).starts_with(tag); });
}

// The first tag the line contains stands for the whole line; a line without
// one is a line like any other. The tags are looked for where a tag may begin
// only: a line of a loop's body is looked at for every item.
void treatLine(Page& page, std::span<const ItemTag> tags, const Item& item, std::string_view line,
               bool mayHoldTags) {
    std::array<std::size_t, 8> starts{};
    std::size_t count = 0;
    for (std::size_t at = mayHoldTags ? line.find(kTagStart) : std::string_view::npos;
         at != std::string_view::npos && count < starts.size(); at = line.find(kTagStart, at + 1))
        starts[count++] = at;
    const auto holds = [&](const ItemTag& t) {
        return count < starts.size() ? holdsTag(line, std::span(starts).first(count), t.tag)
                                     : line.find(t.tag) != std::string_view::npos;
    };
    const auto tag = count == 0 ? tags.end() : std::find_if(tags.begin(), tags.end(), holds);
    if (tag != tags.end() && tag->write != nullptr) {
        tag->write(item);
    } else {
        page.expander.ExpandLine(page, line);
    }
}

// One pass from the body start up to the first line holding "<= ENDLOOP =>".
// A pass that reaches the end of the theme ends there without using the last
// line read; the end stays set, so later passes read nothing.
// A pass that shows nothing reads the same lines every time (weapons nobody
// used, most of them): after the first, it moves over them at once.
void readBody(Loop& loop, std::span<const ItemTag> tags, const Item& item, bool treat) {
    Page& page = loop.page;
    if (!treat && loop.quietPass && !page.sink.overflowed() &&
        page.theme.skip(loop.bodyStart, loop.quietPass->end, loop.quietPass->cost))
        return;
    page.theme.seek(loop.bodyStart);
    const std::size_t budget = page.theme.budgetLeft();
    for (std::string_view line = page.readLine();; line = page.readLine()) {
        const bool mayHoldTags = page.theme.lineMayHoldTags();
        if (mayHoldTags && line.find(kEndLoop) != std::string_view::npos) {
            if (!treat && !page.theme.eof())
                loop.quietPass = QuietPass{page.theme.tell(), budget - page.theme.budgetLeft()};
            return;
        }
        if (page.theme.eof()) return;
        if (treat) treatLine(page, tags, item, line, mayHoldTags);
    }
}

void passItem(Loop& loop, const PlayerRecord* player, std::size_t index) {
    Item item{loop.page, loop.owner, player, index, 0};
    const bool shown = loop.kind.shown(item);
    ++loop.items;
    if (shown) ++loop.shownItems;
    switch (loop.kind.counter) {
        case Counter::EveryItem:
            item.counter = loop.items;
            break;
        case Counter::ShownItem:
            item.counter = loop.shownItems;
            break;
        case Counter::ItemNumber:
            item.counter = static_cast<std::int32_t>(index) + 1;
            break;
    }
    readBody(loop, loop.kind.tags, item, shown);
}

// Loops in the body may re-sort the list under the walk. The walk visits
// each player at most once: it goes on with the first player after the
// current one, in the list as it now stands, that it has not visited yet.
void walkPlayers(Loop& loop) {
    std::list<PlayerRecord>& players = loop.page.stats.players;
    SortPlayers(players, loop.kind.sortKey, 0, loop.kind.descending);
    // A set, not a list: a kill count loop walks every player once per player.
    std::unordered_set<const PlayerRecord*> visited;
    const auto unvisited = [&visited](const PlayerRecord& player) {
        return !visited.contains(&player);
    };
    for (auto it = players.begin(); it != players.end();
         it = std::find_if(std::next(it), players.end(), unvisited)) {
        visited.insert(&*it);
        passItem(loop, &*it, 0);
    }
}

bool emptyPassDue(const Loop& loop) {
    switch (loop.kind.emptyPass) {
        case EmptyPass::Never:
            return false;
        case EmptyPass::NoItem:
            return loop.items == 0;
        case EmptyPass::NoItemShown:
            return loop.shownItems == 0;
        case EmptyPass::NoPlayerInMatch:
            return loop.page.stats.players.empty();
    }
    return false;
}

void runLoop(Page& page, const LoopKind& kind, const PlayerRecord* owner) {
    if (page.runningLoops == kMaxRunningLoops) return;
    ++page.runningLoops;
    Loop loop{.page = page,
              .kind = kind,
              .owner = owner,
              .bodyStart = page.theme.tell(),
              .quietPass = {}};
    if (kind.itemCount == nullptr) {
        walkPlayers(loop);
    } else {
        for (std::size_t i = 0; i < kind.itemCount(page); ++i) passItem(loop, nullptr, i);
    }
    if (emptyPassDue(loop)) {
        readBody(loop, kind.emptyPassTags, Item{page, owner, nullptr, 0, 0}, true);
    }
    --page.runningLoops;
}

void ExpandKillCountLoop(Page& page, const PlayerRecord& player) {
    runLoop(page, kKillCountLoop, &player);
}

void ExpandWeaponKillLoop(Page& page, const PlayerRecord& player) {
    runLoop(page, kWeaponKillLoop, &player);
}

void ExpandWeaponDeathLoop(Page& page, const PlayerRecord& player) {
    runLoop(page, kWeaponDeathLoop, &player);
}

}  // namespace

void ExpandPlayerLoop(Page& page) { runLoop(page, kPlayerLoop, nullptr); }

void ExpandDefensesLoop(Page& page, const PlayerRecord* player) {
    runLoop(page, player != nullptr ? kPlayerDefensesLoop : kMatchDefensesLoop, player);
}

void ExpandFlagTouchLoop(Page& page) { runLoop(page, kFlagTouchLoop, nullptr); }

void ExpandFlagCapLoop(Page& page) { runLoop(page, kFlagCapLoop, nullptr); }

void ExpandChatLoop(Page& page) { runLoop(page, kChatLoop, nullptr); }

void ExpandAwardsLoop(Page& page) { runLoop(page, kAwardsLoop, nullptr); }

}  // namespace zefa
