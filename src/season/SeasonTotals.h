#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "season/SeasonSnapshot.h"

namespace zefa::season {

// The season players' totals over matches added in played order, in memory
// that grows with the players and whom they killed, not with the matches:
// a league's players each kill hundreds of others, so kills by victim are
// kept by the victim's number rather than its key.
class SeasonTotals {
public:
    // Counts the match for each of its players; its latest name and rating
    // are theirs until a later match.
    void add(const SeasonMatch& match);

    // Counts one match of the player in its total, the kills by victim
    // aside: its latest name and rating become the total's.
    static void count(SeasonPlayer& total, const MatchPlayer& played);

    // The total of the player of that key, null when it played no match
    // added. Its killsByVictim stays empty until emit().
    [[nodiscard]] SeasonPlayer* find(std::string_view key);

    // Hands `each` every player, by key (bytewise), with its kills by victim,
    // and forgets them.
    template <typename Each>
    void emit(Each&& each) {
        for (const std::uint32_t number : sortByKey()) each(takePlayer(number));
        *this = {};
    }

private:
    // Kills of the victim of that number.
    using VictimKills = std::pair<std::uint32_t, std::int32_t>;

    struct Total {
        SeasonPlayer player;
        std::vector<VictimKills> kills;  // summed by victim up to `summed`, added after
        std::size_t summed = 0;
    };

    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const {
            return std::hash<std::string_view>{}(key);
        }
    };

    // The number of the key, a new one (and a total) for a key not seen yet.
    std::uint32_t numberOf(std::string_view key);
    void addKills(std::uint32_t killer, std::uint32_t victim, std::int32_t count);
    // Sums the kills of each victim into one entry, by victim number.
    static void sumKills(Total& total);
    // The numbers in the order of their keys; notes each one's place in it.
    [[nodiscard]] std::vector<std::uint32_t> sortByKey();
    // Fills in the player's kills by victim key and moves the player out.
    SeasonPlayer takePlayer(std::uint32_t number);

    std::unordered_map<std::string, std::uint32_t, KeyHash, std::equal_to<>> m_numbers;
    std::vector<const std::string*> m_keys;  // by number, in m_numbers
    std::vector<Total> m_totals;             // by number
    std::vector<std::uint32_t> m_places;     // by number: its place in key order
};

}  // namespace zefa::season
