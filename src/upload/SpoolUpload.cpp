#include "upload/SpoolUpload.h"

#include <algorithm>
#include <array>

namespace zefa::upload {

namespace {

using Kind = record::ImportOutcome::Kind;

struct StatusKind {
    long status;
    Kind kind;
};

// The answers that are not "try again later".
constexpr std::array kStatusKinds = {
    StatusKind{201, Kind::Imported}, StatusKind{200, Kind::Imported},
    StatusKind{400, Kind::Refused},  StatusKind{411, Kind::Refused},
    StatusKind{413, Kind::Refused},  StatusKind{415, Kind::Refused},
    StatusKind{422, Kind::Refused},  StatusKind{401, Kind::Denied},
    StatusKind{403, Kind::Denied},   StatusKind{404, Kind::Denied},
    StatusKind{405, Kind::Denied},
};

struct OutcomeWords {
    const char* outcome;
    const char* words;
};

constexpr std::array kOutcomeWords = {
    OutcomeWords{"stored", "stored as match "},
    OutcomeWords{"recording", "a recording of match "},
    OutcomeWords{"already", "already stored as match "},
};

// The server's words, kept to one short line of text.
std::string printable(std::string text) {
    constexpr std::size_t kLongest = 300;
    if (text.size() > kLongest) text.resize(kLongest);
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    return text.empty() ? "no reason given" : text;
}

std::string acknowledged(const UploadTarget& target, const UploadAnswer& answer) {
    const auto words = std::find_if(
        kOutcomeWords.begin(), kOutcomeWords.end(),
        [&answer](const OutcomeWords& entry) { return answer.outcome == entry.outcome; });
    if (words == kOutcomeWords.end() || !answer.match)
        return "sent to " + target.server + " (" + std::to_string(answer.status) + ")";
    return "sent to " + target.server + ": " + words->words + std::to_string(*answer.match);
}

}  // namespace

record::ImportOutcome uploadSpool(const UploadTarget& target, const std::filesystem::path& spool) {
    const UploadAnswer answer = postRecording(target, spool);
    // A spool removed from the archive would otherwise hold back the outbox for good.
    if (answer.unreadable) return {Kind::Refused, answer.failure};
    if (answer.status == 0)
        return {Kind::Failed, target.server + " cannot be reached: " + answer.failure};
    const auto known =
        std::find_if(kStatusKinds.begin(), kStatusKinds.end(),
                     [&answer](const StatusKind& entry) { return entry.status == answer.status; });
    const Kind kind = known == kStatusKinds.end() ? Kind::Failed : known->kind;
    if (kind == Kind::Imported) return {kind, acknowledged(target, answer)};
    return {kind,
            target.server + " answered " + std::to_string(answer.status) + ": " +
                printable(answer.reason),
            answer.retryAfter};
}

}  // namespace zefa::upload
