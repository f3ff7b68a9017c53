// Paths and names, which are bytes, made fit for JSON and XML text.
#pragma once

#include <string>
#include <string_view>

namespace cli {

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
