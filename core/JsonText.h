#pragma once
// JSON string literals for the reports scripts read.

#include <cstdio>
#include <string>
#include <string_view>

namespace core {

// A JSON string literal, quotes included: quotes and backslashes escaped, control characters
// as \u00XX; other bytes pass unchanged (the texts are UTF-8).
inline std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

}  // namespace core
