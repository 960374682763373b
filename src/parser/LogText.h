#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zefa {

// Why a log gave no player, in the words the browser page and the command
// both use.
inline constexpr std::string_view kLogEmpty = "The log is empty.";
inline constexpr std::string_view kLogNotText = "The log is not a text file.";
inline constexpr std::string_view kLogWithoutPlayers = "No line of the log names a player.";

// How much of a file's start tells text from other files.
inline constexpr std::size_t kTextSniffBytes = 4096;

// A console log or a theme is text in a one-byte character set; a zero byte
// near the start means a picture, an archive or a program was picked. Zero
// bytes further on are left to the reader: a log cut short by a crash may end
// in them.
[[nodiscard]] bool looksLikeText(std::string_view bytes);

// Why a log of `lineCount` lines beginning with `start` gave no player.
[[nodiscard]] std::string_view whyNoPlayer(std::int32_t lineCount, std::string_view start);

}  // namespace zefa
