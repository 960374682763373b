#pragma once

// The About box's layout in dialog units: left, top, width, height.
namespace zefa::layout {

struct DialogRect {
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int kAboutWidth = 405;
inline constexpr int kAboutHeight = 210;
inline constexpr DialogRect kAboutIcon{362, 175, 20, 20};
inline constexpr DialogRect kAboutCredits{14, 13, 326, 183};
inline constexpr DialogRect kAboutOk{348, 7, 50, 14};

}  // namespace zefa::layout
