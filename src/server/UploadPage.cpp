#include "server/UploadPage.h"

#include <kainjow/mustache.hpp>

namespace zefa {
extern const std::string_view kUploadPageTemplate;
extern const std::string_view kUploadScript;
extern const std::string_view kUploadStyle;
}  // namespace zefa

namespace zefa::server {

std::string uploadPage(const UploadAnswer* answer) {
    kainjow::mustache::data values;
    if (answer) {
        values.set("words", answer->words());
        values.set("kind", answer->outcome == "refused" ? "refused" : "stored");
        if (const std::string url = answer->url(); !url.empty()) values.set("url", url);
    }
    kainjow::mustache::mustache page{std::string(kUploadPageTemplate)};
    return page.render(values);
}

std::string_view uploadScript() { return kUploadScript; }

std::string_view uploadStyle() { return kUploadStyle; }

}  // namespace zefa::server
