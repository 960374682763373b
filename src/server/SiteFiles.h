#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "record/FileDescriptor.h"

namespace zefa::server {

// A file of the site, open for serving.
struct SiteFile {
    record::FileDescriptor fd;
    std::uint64_t size = 0;
    std::string contentType;
    std::string etag;          // changes whenever the file is replaced or written
    std::string lastModified;  // as HTTP dates are written
    bool gzipped = false;      // kept compressed: its bytes are the page's gzip stream
};

// The site's folder, from which only its pages are served.
class SiteFiles {
public:
    // Opens the folder; nullopt when it is none.
    static std::optional<SiteFiles> open(const std::filesystem::path& folder);

    // The page at `relative` (from sitePath(), so no "..", no hidden name):
    // a page of the site's own (site::isSitePage), a regular file reached
    // without leaving the folder, not even through a symbolic link. Nullopt
    // otherwise. A page the site keeps compressed (PAGE.gz) is found by its
    // own name, gzipped.
    [[nodiscard]] std::optional<SiteFile> page(const std::string& relative) const;

private:
    explicit SiteFiles(record::FileDescriptor folder) : m_folder(std::move(folder)) {}
    record::FileDescriptor m_folder;
};

// The content type a page is served with, from its name.
[[nodiscard]] std::string_view contentTypeOf(std::string_view path);

}  // namespace zefa::server
