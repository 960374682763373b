#include "site/SitePolicy.h"

#include <openssl/evp.h>

#include <array>
#include <string_view>

namespace zefa {
extern const std::string_view kSiteSortScriptTemplate;
}

namespace zefa::site {

namespace {

// The CSP source of an inline script: 'sha256-' and its digest in base64.
std::string scriptSource(std::string_view script) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    EVP_Digest(script.data(), script.size(), digest.data(), &length, EVP_sha256(), nullptr);
    std::array<unsigned char, 4 * EVP_MAX_MD_SIZE / 3 + 4> base64{};
    const int written = EVP_EncodeBlock(base64.data(), digest.data(), static_cast<int>(length));
    return "'sha256-" + std::string(reinterpret_cast<const char*>(base64.data()),
                                    static_cast<std::size_t>(written)) + "'";
}

// The text of the leaderboard's script, as the pages hold it.
std::string_view indexScript() {
    constexpr std::string_view kOpen = "<script>";
    const std::string_view page = kSiteSortScriptTemplate;
    const std::size_t begin = page.find(kOpen) + kOpen.size();
    return page.substr(begin, page.find("</script>", begin) - begin);
}

}  // namespace

std::string sitePagePolicy() {
    return "default-src 'none'; script-src " + scriptSource(indexScript()) +
           "; style-src 'self' 'unsafe-inline'; img-src 'self' data:; frame-src 'self'; "
           "frame-ancestors 'self'; base-uri 'none'; form-action 'none'";
}

}  // namespace zefa::site
