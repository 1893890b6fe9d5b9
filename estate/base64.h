#pragma once
// Base64 (RFC 4648, standard alphabet, padded) for the values of LDIF files.
#include <optional>
#include <string>
#include <string_view>

namespace tabulon::estate {

// None when the text is not valid base64; white space is not allowed.
std::optional<std::string> DecodeBase64(std::string_view text);
std::string EncodeBase64(std::string_view bytes);

}  // namespace tabulon::estate
