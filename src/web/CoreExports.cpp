// The functions the browser page's worker calls. Requests and results cross
// the boundary as pointers the caller owns: a request until zefa_generate
// takes it, a result until zefa_result_free. The log and theme are written by
// the caller straight into the request's own buffers, so a large log is held
// once in the module's memory.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "web/GeneratedPage.h"

namespace zefa {
extern const std::string_view kBuiltInTheme;
extern const std::string_view kClassicTheme;
}  // namespace zefa

using zefa::GenerationRequest;
using zefa::web::GeneratedPage;

extern "C" {

EMSCRIPTEN_KEEPALIVE GenerationRequest* zefa_request_new() { return new GenerationRequest; }

// A buffer of `size` bytes for the log, to be filled by the caller.
EMSCRIPTEN_KEEPALIVE char* zefa_request_log(GenerationRequest* request, std::size_t size) {
    return request->logText.emplace(size, '\0').data();
}

EMSCRIPTEN_KEEPALIVE char* zefa_request_theme(GenerationRequest* request, std::size_t size) {
    return request->themeText.emplace(size, '\0').data();
}

// 0 the built-in theme, 1 the classic one.
EMSCRIPTEN_KEEPALIVE void zefa_request_built_in_theme(GenerationRequest* request, int which) {
    request->themeText = std::string(which == 1 ? zefa::kClassicTheme : zefa::kBuiltInTheme);
}

EMSCRIPTEN_KEEPALIVE void zefa_request_award(GenerationRequest* request, int index, int shown) {
    if (index >= 0 && index < zefa::kAwardCount)
        request->awards[static_cast<std::size_t>(index)] = shown != 0;
}

EMSCRIPTEN_KEEPALIVE void zefa_request_game_version(GenerationRequest* request, int version) {
    // 0 asks for the message set that fits the log.
    request->gameVersion = version == 0 ? std::nullopt : std::optional<std::int32_t>(version);
}

EMSCRIPTEN_KEEPALIVE void zefa_request_clock(GenerationRequest* request, double seconds) {
    request->fixedTime = static_cast<zefa::PageSeconds>(seconds);
}

EMSCRIPTEN_KEEPALIVE GeneratedPage* zefa_generate(GenerationRequest* request) {
    auto* result = new GeneratedPage(zefa::web::generatePage(std::move(*request)));
    delete request;
    return result;
}

EMSCRIPTEN_KEEPALIVE const char* zefa_result_error(const GeneratedPage* result) {
    return result->error.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* zefa_result_page(const GeneratedPage* result) {
    return result->page.data();
}
EMSCRIPTEN_KEEPALIVE std::size_t zefa_result_page_size(const GeneratedPage* result) {
    return result->page.size();
}
EMSCRIPTEN_KEEPALIVE const char* zefa_result_json(const GeneratedPage* result) {
    return result->json.data();
}
EMSCRIPTEN_KEEPALIVE std::size_t zefa_result_json_size(const GeneratedPage* result) {
    return result->json.size();
}
EMSCRIPTEN_KEEPALIVE int zefa_result_game_version(const GeneratedPage* result) {
    return result->gameVersion;
}
EMSCRIPTEN_KEEPALIVE void zefa_result_free(GeneratedPage* result) { delete result; }

// The catalogue's award names in order, one a line.
EMSCRIPTEN_KEEPALIVE const char* zefa_award_names() {
    static const std::string names = [] {
        std::string text;
        for (const zefa::AwardDefinition& award : zefa::awardCatalogue())
            text.append(award.awardName).append("\n");
        return text;
    }();
    return names.c_str();
}

}  // extern "C"
