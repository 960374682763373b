#pragma once

#include <string>
#include <string_view>

// The desktop program's fixed texts: titles, captions and messages.
namespace zefa::ui {

inline constexpr std::string_view kAppTitle = "Zefa Stats 2";
inline constexpr std::string_view kAppVersion = "2.1.5";
inline constexpr std::string_view kProgramName = "zefastats2";

// The settings store: organisation and application, as the platform names them.
inline constexpr std::string_view kStoreOrganisation = "Zefa Stats";
inline constexpr std::string_view kStoreApplication = "Zefa Stats 2";

inline constexpr std::string_view kErrorCaption = "Error";
inline constexpr std::string_view kNeedsInteractiveRun =
    "You must first run this program in an interactive mode before you can specify files on "
    "the commandline.  Run the program with no commandline options and save one stats file.";

// "%1" is the file, "%2" the reason.
inline constexpr std::string_view kLogUnreadable = "The console log %1 could not be read: %2.";
inline constexpr std::string_view kThemeUnreadable = "The theme file %1 could not be read: %2.";
inline constexpr std::string_view kPageUnwritable = "The stats page %1 could not be written: %2.";
inline constexpr std::string_view kPageUnreadable =
    "The generated page %1 could not be read: %2.";

// The text with "%1" and "%2" replaced by the two values.
inline std::string fillIn(std::string_view text, std::string_view first,
                          std::string_view second = {}) {
    std::string filled;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            filled += text[++i] == '1' ? first : second;
        } else {
            filled += text[i];
        }
    }
    return filled;
}

}  // namespace zefa::ui
