#include "server/Upload.h"

#include "model/Weapons.h"
#include "season/IsoTime.h"

namespace zefa::server {

namespace {

constexpr std::size_t kMaxFileName = 255;

std::optional<std::string> unfitFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return "file must name a file";
    if (name.size() > kMaxFileName) return "file is longer than a file name may be";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '/' || c == '\\')
            return "file must be a file name without folders or control characters";
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> applyParameters(const UploadParameters& parameters, std::int64_t now,
                                           Upload& upload) {
    upload.file = parameters.file.value_or(std::string(kUnnamedUpload));
    if (const auto why = unfitFileName(upload.file)) return why;
    upload.playedAt = now;
    if (parameters.playedAt) {
        const auto time = season::parseIsoTime(*parameters.playedAt);
        if (!time) return "played-at must be a time such as 2026-03-01T20:15:00Z";
        upload.playedAt = *time;
    }
    const std::string version = parameters.gameVersion.value_or("auto");
    if (version == "1" || version == "2") {
        upload.gameVersion = version == "2" ? kGameVersionBeta2 : kGameVersionBeta1H;
    } else if (version != "auto") {
        return "game-version must be 1, 2 or auto";
    }
    return std::nullopt;
}

}  // namespace zefa::server
