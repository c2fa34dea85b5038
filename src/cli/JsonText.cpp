#include "JsonText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace fiscora::cli {

std::string JsonString(std::string_view text) {
    std::string json;
    json.reserve(text.size() + 2);
    json += '"';
    for (const char c : text) {
        switch (c) {
        case '"': json += "\\\""; break;
        case '\\': json += "\\\\"; break;
        case '\n': json += "\\n"; break;
        case '\r': json += "\\r"; break;
        case '\t': json += "\\t"; break;
        case '\b': json += "\\b"; break;
        case '\f': json += "\\f"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[7];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                json += escaped;
            } else {
                json += c;
            }
        }
    }
    json += '"';
    return json;
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value))
        return "null"; // JSON has no infinities or NaN
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace fiscora::cli
