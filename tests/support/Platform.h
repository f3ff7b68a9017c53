// What differs between the Windows and the POSIX build, written once.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace platform {

#ifdef _WIN32
inline constexpr bool kWindowsRules = true;
inline constexpr float kVersion = 3;
inline constexpr std::string_view kNewline = "\r\n";
inline constexpr char kSeparator = '\\';
#else
inline constexpr bool kWindowsRules = false;
inline constexpr float kVersion = 20;
inline constexpr std::string_view kNewline = "\n";
inline constexpr char kSeparator = '/';
#endif

// The bytes of a file of these lines, each ended as the library ends the
// lines it writes.
inline std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string bytes;
    for (std::string_view line : lines) {
        bytes += line;
        bytes += kNewline;
    }
    return bytes;
}

// Text written with LF line ends, as the library writes it back: each LF
// becomes the platform's line end.
inline std::string Native(std::string_view text) {
    std::string bytes;
    for (char c : text) {
        if (c == '\n') bytes += kNewline;
        else bytes += c;
    }
    return bytes;
}

// The C runtime's remove(): POSIX systems delete an empty folder with it,
// Windows refuses every folder.
inline constexpr bool kRemoveDeletesEmptyFolders = !kWindowsRules;

// Windows drops a "." at the end of a file name; POSIX systems keep it.
inline constexpr bool kNamesMayEndInADot = !kWindowsRules;

}  // namespace platform
