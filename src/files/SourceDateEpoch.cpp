#include "files/SourceDateEpoch.h"

#include <cerrno>
#include <cstdlib>

namespace zefa {

bool parseSourceDateEpoch(const char* value, std::optional<std::time_t>& clock) {
    if (value == nullptr || *value == '\0') return true;
    char* end = nullptr;
    errno = 0;
    const long long seconds = std::strtoll(value, &end, 10);
    std::tm calendar{};
    const auto time = static_cast<std::time_t>(seconds);
    if (*end != '\0' || errno != 0 || ::gmtime_r(&time, &calendar) == nullptr) return false;
    clock = time;
    return true;
}

}  // namespace zefa
