// Line-by-line reading of a text file, in large binary chunks.
//
// The library reads every file as its platform's C runtime reads text:
// - on Windows a CR LF pair reads as LF (a CR not followed by LF stays in
//   the line), and a byte 0x1A ends the input;
// - elsewhere nothing is translated: a CR before LF stays in the line.
// Only LF ends a line. A last line without LF is still a line; an empty file
// has no lines. Reading in binary and applying these rules here is faster than
// the runtime's text mode and lets the reader see what follows a 0x1A.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace textio {

// Whether this platform's C runtime reads text by the Windows rules above.
#ifdef _WIN32
inline constexpr bool kWindowsTextRules = true;
#else
inline constexpr bool kWindowsTextRules = false;
#endif

class TextReader {
public:
    TextReader() = default;
    ~TextReader();
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;

    // Opens the file and reads its first chunk. False when it cannot be
    // opened or that first read fails.
    bool open(const char* path);

    // The same for the bytes [from, to) of the file alone, read as a whole
    // file of their own (for reading a large file in parts at once).
    bool open(const char* path, std::uint64_t from, std::uint64_t to);

    // Closes the file early. Windows cannot replace a file that is open, so
    // a rewrite closes its input before it commits its output.
    void close();

    // The next line, without its line end. The view stays valid until the
    // next call. False at the end of the input, and after a failure.
    bool next(std::string_view& line);

    // The next run of whole lines, as the file holds them: each with its LF
    // (and, under the Windows rules, the CR before it), but the last line of
    // the input, which may have none. Never empty. For readers that walk
    // many lines at once; the view stays valid until the next call. False at
    // the end of the input, and after a failure.
    bool nextLines(std::string_view& lines);

    // True when the input could not be read whole: a read error, or (Windows
    // rules) a 0x1A byte followed by anything but more 0x1A bytes, which
    // means the rest of the file would be silently dropped.
    bool failed() const { return failed_; }

private:
    bool fill();  // false on a read error
    void endAtCtrlZ(std::size_t at);

    std::FILE* file_ = nullptr;
    struct FreeMemory {
        void operator()(char* p) const { std::free(p); }
    };
    // Not zeroed: every byte used is read first. From malloc, so that a
    // buffer grown for a very long line is grown in place where the system
    // can (a copy would hold the line twice).
    std::unique_ptr<char, FreeMemory> buffer_;
    std::size_t capacity_ = 0;
    std::size_t begin_ = 0;  // first byte not yet handed out
    std::size_t end_ = 0;    // end of valid data in buffer_
    std::size_t scanned_ = 0;  // bytes after begin_ already known to hold no LF
    bool atEnd_ = false;     // no more data will come from the file
    std::uint64_t left_ = 0;  // bytes of the file still to be read
    bool failed_ = false;
};

}  // namespace textio
