#pragma once

#include <cstdint>
#include <string_view>

#include "theme/PageSink.h"

namespace zefa {

// The only ways anything reaches a page.

// Writes the text with its colour codes ("^" and a digit or "*") turned into
// font elements of the classes color0 to color9 and colorstar. With `escape`
// set, the game's console characters and the characters that are special in
// HTML are written as safe HTML; that is for text that comes from the log or
// the game (names, chat, weapon and award texts), never for theme markup.
void EmitText(PageSink& page, std::string_view text, bool escape);

// Whether EmitText() writes the text as it is: it holds no colour code and,
// with `escape` set, nothing to escape.
[[nodiscard]] bool IsPlainText(std::string_view text, bool escape);

// "%d": decimal, a minus sign when negative, no padding.
void EmitInt(PageSink& page, std::int32_t value);

// "%.2f" of the value widened to double: fixed point, two decimals.
void EmitDecimal(PageSink& page, float value);

}  // namespace zefa
