#include "cli/SimulatedGame.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <thread>

namespace zefa::test {

namespace {

constexpr std::string_view kBanner =
    "------ Server Initialization ------\nServer: zf_2forts\nHunk_Clear: reset the hunk ok\n";
// Kill lines both message sets read, victim first.
constexpr std::array<std::string_view, 3> kKills = {" was nailed by ", " was gunned down by ",
                                                    " is sniped by "};
constexpr int kPlayers = 6;

}  // namespace

SimulatedGame::SimulatedGame(std::filesystem::path log, unsigned seed, Pace pace)
    : m_log(std::move(log)), m_seed(seed), m_pace(pace), m_random(seed) {}

SimulatedGame::~SimulatedGame() {
    if (m_file >= 0) ::close(m_file);
}

void SimulatedGame::begin() {
    const int way = static_cast<int>(m_sessions.size() % 3);
    if (m_file >= 0) ::close(m_file);
    m_sessions.emplace_back();
    const std::filesystem::path next = m_log.string() + ".new";
    if (way == 2) ::unlink(m_log.c_str());
    // As the game opens its log at start: made when missing, emptied when there.
    m_file = ::open((way == 1 ? next : m_log).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    write(std::string(kBanner));
    if (way == 1) ::rename(next.c_str(), m_log.c_str());
}

void SimulatedGame::play() {
    const std::size_t session = m_sessions.size();
    // Players of this game and session only: every session is a match of its own.
    const std::string players = "G" + std::to_string(m_seed) + "S" + std::to_string(session) + "p";
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<long> pause(0, m_pace.linePause.count());
    const bool spell = session % 2 == 0 && m_pace.quietSpell.count() > 0;
    for (int written = 0; written < m_pace.lines;) {
        const int before = written;
        const int burst = percent(m_random) < 20 ? 5 + percent(m_random) / 4 : 1;
        std::string lines;
        for (int i = 0; i < burst && written < m_pace.lines; ++i, ++written) lines += line(players);
        write(lines);
        const auto reached = [&](int mark) { return before < mark && written >= mark; };
        if (reached(m_pace.lines / 2)) write(std::string("\x01\xff\0 noise\r\n", 11));
        if (spell && reached(m_pace.lines * 2 / 3)) std::this_thread::sleep_for(m_pace.quietSpell);
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(m_random)));
    }
}

void SimulatedGame::write(const std::string& bytes) {
    (void)::write(m_file, bytes.data(), bytes.size());
    m_sessions.back() += bytes;
}

std::string SimulatedGame::line(const std::string& players) {
    std::uniform_int_distribution<int> player(0, kPlayers - 1);
    const int victim = player(m_random);
    const int killer = (victim + 1 + player(m_random) % (kPlayers - 1)) % kPlayers;
    const auto name = [&players](int p) { return players + std::to_string(p); };
    if (player(m_random) == 0) return name(killer) + "^7: ^2gg\n";
    return name(victim) + std::string(kKills[m_random() % kKills.size()]) + name(killer) + "\n";
}

}  // namespace zefa::test
