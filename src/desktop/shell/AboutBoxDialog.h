#pragma once

#include <string_view>

// The About box: its dialog layout and its texts.
namespace zefa::desktop {

// A place in dialog units: left, top, width, height.
struct DialogRect {
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int kAboutWidth = 405;
inline constexpr int kAboutHeight = 210;
inline constexpr DialogRect kAboutIconRect{362, 175, 20, 20};
inline constexpr DialogRect kAboutCreditsRect{14, 13, 326, 183};
inline constexpr DialogRect kAboutOkRect{348, 7, 50, 14};

inline constexpr std::string_view kAboutTitle = "About Zefa Stats 2";
inline constexpr std::string_view kAboutOk = "OK";
// The credits are lines separated by "|"; a line's last character chooses its
// style: a tab a title, a line feed a heading, a carriage return a list entry,
// anything else a normal line. "%s" is the program's version.
inline constexpr std::string_view kCreditsPattern =
    "Zefa Stats %s\t|"
    "by The Zefa Stats Crew\n|"
    "2004 - 2006|"
    "||"
    "Inspired by the first Zefa Stats|"
    "||"
    "Supported Games:|Zefa Beta1H|Zefa 2|"
    "||"
    "Special Thanks:|"
    "Quillfire\r|Bramblejack\r|Tessellate\r|Sir Frags-a-Lot\r|Orbweaver\r|Lumen\r|"
    "Kettle\r|Nightjar\r|Pixelmonk\r|Dustdevil\r|Halfpipe\r|"
    "||"
    "https://zefastats.example|"
    "|||||||||||||||||";

}  // namespace zefa::desktop
