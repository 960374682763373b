#pragma once

#include <string>
#include <string_view>

#include "server/UploadAnswer.h"

namespace zefa::server {

// GET /upload: the form that sends a log with a token (a multipart POST to
// /upload without JavaScript, the upload API with it); after a form's POST,
// the same page with its outcome in words.
[[nodiscard]] std::string uploadPage(const UploadAnswer* answer = nullptr);

// The page's script and style, served beside it.
[[nodiscard]] std::string_view uploadScript();
[[nodiscard]] std::string_view uploadStyle();

}  // namespace zefa::server
