#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zefa::desktop {

// A message for the user: a message box where there is a display, a line on
// standard error where there is none.
struct UserMessage {
    std::string_view caption;
    std::string text;
    bool problem = true;  // false for news the user may simply acknowledge
    bool aside = false;   // a remark for standard error, never a message box
};
using MessageSink = std::function<void(const UserMessage&)>;

// The message as one line on standard error, after the program's name.
void tellOnStandardError(const UserMessage& message);

}  // namespace zefa::desktop
