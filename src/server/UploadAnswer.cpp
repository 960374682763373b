#include "server/UploadAnswer.h"

#include <nlohmann/json.hpp>

#include "site/SitePaths.h"

namespace zefa::server {

namespace {

constexpr unsigned kCreated = 201;
constexpr unsigned kOk = 200;

}  // namespace

std::string UploadAnswer::url() const {
    return outcome == "refused" ? std::string() : site::matchPagePath(match);
}

std::string UploadAnswer::json() const {
    nlohmann::json body{{"outcome", outcome}};
    if (outcome == "refused") {
        body["reason"] = reason;
    } else {
        body["match"] = match;
        body["recording"] = recording;
        body["url"] = url();
    }
    return body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string UploadAnswer::words() const {
    const std::string id = std::to_string(match);
    if (outcome == "stored") return "Stored as match " + id + ".";
    if (outcome == "recording")
        return "Stored as recording " + std::to_string(recording) + " of match " + id + ".";
    if (outcome == "already") return "Already stored as match " + id + ".";
    return "Not stored: " + reason + ".";
}

UploadAnswer answerOf(const season::ImportResult& result) {
    using Outcome = season::ImportResult::Outcome;
    UploadAnswer answer;
    answer.match = result.matchId;
    answer.recording = result.recordings;
    switch (result.outcome) {
        case Outcome::Stored:
            answer.status = kCreated;
            answer.outcome = "stored";
            break;
        case Outcome::SameMatch:
            answer.status = kOk;
            answer.outcome = "recording";
            break;
        case Outcome::SameBytes:
            answer.status = kOk;
            answer.outcome = "already";
            break;
    }
    return answer;
}

UploadAnswer refusal(unsigned status, std::string_view reason, std::int64_t retryAfter) {
    UploadAnswer answer;
    answer.status = status;
    answer.outcome = "refused";
    answer.reason = reason;
    answer.retryAfter = retryAfter;
    return answer;
}

}  // namespace zefa::server
