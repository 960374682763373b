#include "desktop/core/UserMessage.h"

#include <iostream>

#include "desktop/core/MessageText.h"

namespace zefa::desktop {

void tellOnStandardError(const UserMessage& message) {
    std::cerr << kProgramName << ": " << message.text << "\n";
}

}  // namespace zefa::desktop
