#include "upload/RecordingUpload.h"

#include <curl/curl.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <nlohmann/json.hpp>

namespace zefa::upload {

namespace {

using Json = nlohmann::json;

// An answer longer than this is not the API's: its beginning is enough.
constexpr std::size_t kLongestAnswer = 64 * 1024;
// A connection that moves less than a byte a second for a minute is given up.
constexpr long kSlowestBytes = 1;
constexpr long kSlowSeconds = 60;
constexpr long kConnectSeconds = 30;

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::size_t readBody(char* buffer, std::size_t size, std::size_t count, void* file) {
    return std::fread(buffer, size, count, static_cast<std::FILE*>(file));
}

std::size_t keepAnswer(char* data, std::size_t size, std::size_t count, void* answer) {
    auto& text = *static_cast<std::string*>(answer);
    text.append(data,
                std::min(size * count, kLongestAnswer - std::min(kLongestAnswer, text.size())));
    return size * count;
}

std::string escaped(CURL* curl, const std::string& text) {
    const std::unique_ptr<char, decltype(&curl_free)> escaped(
        curl_easy_escape(curl, text.data(), static_cast<int>(text.size())), curl_free);
    return escaped ? escaped.get() : "";
}

// "2026-03-01T20:15:03Z"
std::string utcTime(std::time_t time) {
    std::tm utc{};
    gmtime_r(&time, &utc);
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text.data();
}

std::string endpoint(std::string server) {
    while (!server.empty() && server.back() == '/') server.pop_back();
    return server + "/api/v1/recordings";
}

void readAnswer(const std::string& body, UploadAnswer& answer) {
    const Json json = Json::parse(body, nullptr, false);
    if (!json.is_object()) return;
    const auto text = [&json](const char* key) {
        const auto field = json.find(key);
        return field != json.end() && field->is_string() ? field->get<std::string>() : "";
    };
    answer.outcome = text("outcome");
    answer.reason = text("reason");
    if (const auto match = json.find("match"); match != json.end() && match->is_number_integer())
        answer.match = match->get<long long>();
}

}  // namespace

UploadAnswer postRecording(const UploadTarget& target, const std::filesystem::path& log) {
    UploadAnswer answer;
    const std::unique_ptr<std::FILE, CurlDeleter> file(std::fopen(log.c_str(), "rb"));
    struct stat status {};
    if (!file || ::fstat(fileno(file.get()), &status) != 0) {
        answer.failure = "cannot read '" + log.string() + "': " + std::strerror(errno);
        answer.unreadable = true;
        return answer;
    }
    const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        answer.failure = "cannot start an HTTP client";
        return answer;
    }
    CURL* const handle = curl.get();
    const std::string url = endpoint(target.server) + "?played-at=" + utcTime(status.st_mtime) +
                            "&game-version=auto&file=" + escaped(handle, log.filename().string());
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/octet-stream");
    headers = curl_slist_append(headers, ("Authorization: Bearer " + target.token).c_str());
    const std::unique_ptr<curl_slist, CurlDeleter> headerList(headers);
    std::string body;
    std::array<char, CURL_ERROR_SIZE> error{};
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_POST, 1L);
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(status.st_size));
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, readBody);
    curl_easy_setopt(handle, CURLOPT_READDATA, file.get());
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "zefastats");
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, keepAnswer);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, error.data());
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, kSlowestBytes);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, kSlowSeconds);
    const CURLcode result = curl_easy_perform(handle);
    if (result != CURLE_OK) {
        answer.failure = error[0] ? error.data() : curl_easy_strerror(result);
        return answer;
    }
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &answer.status);
    curl_off_t retryAfter = 0;
    if (curl_easy_getinfo(handle, CURLINFO_RETRY_AFTER, &retryAfter) == CURLE_OK && retryAfter > 0)
        answer.retryAfter = std::chrono::seconds(retryAfter);
    readAnswer(body, answer);
    return answer;
}

}  // namespace zefa::upload
