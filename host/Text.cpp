#include "Text.h"

namespace cli {

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";

// Bytes of the valid UTF-8 sequence at `p` (up to `end`), or 0.
std::size_t SequenceLength(const unsigned char* p, const unsigned char* end) {
    auto continuation = [&](std::size_t i) { return p + i < end && (p[i] & 0xC0) == 0x80; };
    if (p[0] < 0x80) return 1;
    if (p[0] >= 0xC2 && p[0] <= 0xDF) return continuation(1) ? 2 : 0;
    if (p[0] >= 0xE0 && p[0] <= 0xEF) {
        if (!continuation(1) || !continuation(2)) return 0;
        if (p[0] == 0xE0 && p[1] < 0xA0) return 0;  // overlong
        if (p[0] == 0xED && p[1] >= 0xA0) return 0;  // surrogate
        return 3;
    }
    if (p[0] >= 0xF0 && p[0] <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
        if (p[0] == 0xF0 && p[1] < 0x90) return 0;  // overlong
        if (p[0] == 0xF4 && p[1] >= 0x90) return 0;  // beyond U+10FFFF
        return 4;
    }
    return 0;
}

}  // namespace

std::string Plural(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string ValidText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        std::size_t n = SequenceLength(p, end);
        if (n == 0 || (*p < 0x20 && *p != '\t' && *p != '\n' && *p != '\r') || *p == 0x7F) {
            text += kReplacement;
            ++p;
        } else {
            text.append(reinterpret_cast<const char*>(p), n);
            p += n;
        }
    }
    return text;
}

std::string JsonString(std::string_view bytes) {
    std::string json = "\"";
    for (char c : ValidText(bytes)) {
        switch (c) {
        case '"': json += "\\\""; break;
        case '\\': json += "\\\\"; break;
        case '\t': json += "\\t"; break;
        case '\n': json += "\\n"; break;
        case '\r': json += "\\r"; break;
        default: json += c; break;
        }
    }
    return json + "\"";
}

std::string XmlText(std::string_view bytes) {
    std::string xml;
    for (char c : ValidText(bytes)) {
        switch (c) {
        case '&': xml += "&amp;"; break;
        case '<': xml += "&lt;"; break;
        case '>': xml += "&gt;"; break;
        case '"': xml += "&quot;"; break;
        default: xml += c; break;
        }
    }
    return xml;
}

std::string_view BaseName(std::string_view path) {
    std::size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

}  // namespace cli
