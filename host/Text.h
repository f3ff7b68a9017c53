// Text for people and for file formats: counts in words, and paths and
// names, which are bytes, made fit for JSON and XML.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cli {

// "1 edge", "2 edges".
std::string Plural(std::uint64_t n, const char* one, const char* many);

// The text as UTF-8: valid sequences kept, every other byte (and control
// characters but tab, LF and CR) replaced by U+FFFD.
std::string ValidText(std::string_view bytes);

// A JSON string literal, quotes included.
std::string JsonString(std::string_view bytes);

// Text for an XML element or attribute: valid, with & < > " escaped.
std::string XmlText(std::string_view bytes);

// The last part of a path ("/" and "\" both separate).
std::string_view BaseName(std::string_view path);

}  // namespace cli
