#pragma once

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace zefa::test {

// A game client writing its console log as the game does: each start empties
// the file (one start in three replaces it with a new file by a rename, one
// in three removes it first); lines come one at a time at a human pace and in
// bursts, among them a line of binary bytes, and every other session pauses
// for a while (the quiet hour, shortened). Each session is a match of its own
// players, so the season tells them apart. What every session wrote is kept,
// to be compared with the recorder's spools.
class SimulatedGame {
public:
    struct Pace {
        int lines = 200;                             // kill and chat lines of a session
        std::chrono::milliseconds linePause{3};      // longest pause between two lines
        std::chrono::milliseconds quietSpell{0};     // 0: none
    };

    SimulatedGame(std::filesystem::path log, unsigned seed, Pace pace);
    ~SimulatedGame();
    SimulatedGame(const SimulatedGame&) = delete;
    SimulatedGame& operator=(const SimulatedGame&) = delete;

    // The game starts: the log is emptied, replaced or made anew.
    void begin();
    // The session's lines, at the session's pace.
    void play();

    [[nodiscard]] const std::filesystem::path& log() const { return m_log; }
    // What each session wrote, the current one last.
    [[nodiscard]] const std::vector<std::string>& sessions() const { return m_sessions; }

private:
    void write(const std::string& bytes);
    [[nodiscard]] std::string line(const std::string& players);

    std::filesystem::path m_log;
    unsigned m_seed;
    Pace m_pace;
    std::mt19937 m_random;
    int m_file = -1;
    std::vector<std::string> m_sessions;
};

}  // namespace zefa::test
