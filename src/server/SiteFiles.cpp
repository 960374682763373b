#include "server/SiteFiles.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <ctime>

#include "site/SitePaths.h"

namespace zefa::server {

namespace {

struct ContentType {
    std::string_view extension;
    std::string_view type;
};
// The site's pages are ISO-8859-1, as the match pages are.
constexpr std::array<ContentType, 4> kContentTypes = {{
    {".html", "text/html; charset=iso-8859-1"},
    {".css", "text/css; charset=iso-8859-1"},
    {".json", "application/json"},
    {".svg", "image/svg+xml"},
}};

// openat2() beneath the folder: no "..", no absolute or magic link, no
// symbolic link leading out of it.
int openBeneath(int folder, const std::string& relative) {
    open_how how{};
    how.flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    return static_cast<int>(::syscall(SYS_openat2, folder, relative.c_str(), &how, sizeof how));
}

std::string httpDate(std::time_t time) {
    std::tm utc{};
    ::gmtime_r(&time, &utc);
    std::array<char, 40> text{};
    const std::size_t length =
        std::strftime(text.data(), text.size(), "%a, %d %b %Y %H:%M:%S GMT", &utc);
    return std::string(text.data(), length);
}

}  // namespace

std::string_view contentTypeOf(std::string_view path) {
    for (const ContentType& known : kContentTypes)
        if (path.ends_with(known.extension)) return known.type;
    return "application/octet-stream";
}

std::optional<SiteFiles> SiteFiles::open(const std::filesystem::path& folder) {
    record::FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) return std::nullopt;
    return SiteFiles(std::move(fd));
}

std::optional<SiteFile> SiteFiles::page(const std::string& relative) const {
    if (!site::isSitePage(relative)) return std::nullopt;
    record::FileDescriptor fd(openBeneath(m_folder.get(), relative));
    const bool gzipped = !fd && errno == ENOENT;
    if (gzipped) fd = record::FileDescriptor(openBeneath(m_folder.get(), relative + std::string(site::kGzipSuffix)));
    struct stat status {};
    if (!fd || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    SiteFile file;
    file.gzipped = gzipped;
    file.fd = std::move(fd);
    file.size = static_cast<std::uint64_t>(status.st_size);
    file.contentType = contentTypeOf(relative);
    file.etag = "\"" + std::to_string(status.st_ino) + "-" + std::to_string(status.st_size) + "-" +
                std::to_string(status.st_mtim.tv_sec) + "." +
                std::to_string(status.st_mtim.tv_nsec) + "\"";
    file.lastModified = httpDate(status.st_mtim.tv_sec);
    return file;
}

}  // namespace zefa::server
