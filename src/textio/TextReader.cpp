#include "TextReader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <sys/stat.h>
#ifdef _WIN32
#include <stdio.h>
#endif

namespace textio {

namespace {

// Large reads keep the per-call cost of the runtime out of the profile; the
// buffer only grows beyond this for a line that does not fit.
constexpr std::size_t kChunkSize = 1 << 20;

constexpr char kCtrlZ = 0x1A;

// A small file gets a buffer its size: a host may rewrite many small files,
// and a chunk-sized buffer would be mostly untouched memory.
std::size_t firstBufferSize(std::FILE* file) {
#ifdef _WIN32
    struct _stat64 st;
    bool known = _fstat64(_fileno(file), &st) == 0;
#else
    struct stat st;
    bool known = fstat(fileno(file), &st) == 0;
#endif
    if (!known || (st.st_mode & S_IFMT) != S_IFREG || st.st_size >= static_cast<long long>(kChunkSize))
        return kChunkSize;
    return static_cast<std::size_t>(st.st_size) + 4096;
}

bool allCtrlZ(const char* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] != kCtrlZ) return false;
    return true;
}

}  // namespace

TextReader::~TextReader() { close(); }

void TextReader::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

bool TextReader::open(const char* path) { return open(path, 0, UINT64_MAX); }

bool TextReader::open(const char* path, std::uint64_t from, std::uint64_t to) {
    file_ = std::fopen(path, "rb");
    if (!file_) return false;
    // The reader keeps its own large buffer; a second one inside stdio would
    // only add a copy.
    std::setvbuf(file_, nullptr, _IONBF, 0);
#ifdef _WIN32
    const bool placed = from == 0 || _fseeki64(file_, static_cast<__int64>(from), SEEK_SET) == 0;
#else
    const bool placed = from == 0 || fseeko(file_, static_cast<off_t>(from), SEEK_SET) == 0;
#endif
    if (!placed || to < from) {
        close();
        return false;
    }
    left_ = to - from;
    capacity_ = from == 0 ? firstBufferSize(file_) : kChunkSize;
    buffer_.reset(static_cast<char*>(std::malloc(capacity_)));
    if (!buffer_) throw std::bad_alloc();
    // Some files open but cannot be read (a folder, on POSIX systems): that
    // is a file that cannot be opened for reading, found before anything else.
    if (!fill()) {
        close();
        return false;
    }
    return true;
}

// A 0x1A byte ends the input under the Windows text rules. What follows it must
// be more 0x1A bytes: anything else means the file was cut short, and a rewrite
// would drop the rest, so the whole read fails instead.
void TextReader::endAtCtrlZ(std::size_t at) {
    if (!allCtrlZ(buffer_.get() + at, end_ - at)) failed_ = true;
    end_ = at;
    atEnd_ = true;
    char scratch[4096];
    while (!failed_) {
        std::size_t n = std::fread(scratch, 1, sizeof scratch, file_);
        if (!allCtrlZ(scratch, n)) failed_ = true;
        if (n < sizeof scratch) {
            if (std::ferror(file_)) failed_ = true;
            break;
        }
    }
}

bool TextReader::fill() {
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == capacity_) {  // a line longer than the buffer
        std::size_t larger = capacity_ < kChunkSize ? kChunkSize : capacity_ * 2;
        char* grown = static_cast<char*>(std::realloc(buffer_.get(), larger));
        if (!grown) throw std::bad_alloc();
        buffer_.release();
        buffer_.reset(grown);
        capacity_ = larger;
    }

    std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(capacity_ - end_, left_));
    std::size_t got = std::fread(buffer_.get() + end_, 1, wanted, file_);
    std::size_t start = end_;
    end_ += got;
    left_ -= got;
    if (got < wanted) {
        if (std::ferror(file_)) {
            failed_ = true;
            return false;
        }
        atEnd_ = true;
    }
    if (left_ == 0) atEnd_ = true;
    if (kWindowsTextRules) {
        const void* z = std::memchr(buffer_.get() + start, kCtrlZ, got);
        if (z) endAtCtrlZ(static_cast<const char*>(z) - buffer_.get());
    }
    return true;
}

bool TextReader::nextLines(std::string_view& lines) {
    if (!file_) return false;
    for (;;) {
        if (failed_) return false;
        const char* base = buffer_.get();
        // The last LF read: everything before it is whole lines.
        std::size_t stop = end_;
        while (stop > begin_ + scanned_ && base[stop - 1] != '\n') --stop;
        if (stop > begin_ + scanned_ || (atEnd_ && end_ > begin_)) {
            if (stop == begin_ + scanned_) stop = end_;  // the last line, without LF
            lines = std::string_view(base + begin_, stop - begin_);
            begin_ = stop;
            scanned_ = 0;
            return true;
        }
        if (atEnd_) return false;
        scanned_ = end_ - begin_;
        fill();
    }
}

bool TextReader::next(std::string_view& line) {
    if (!file_) return false;
    for (;;) {
        if (failed_) return false;
        const char* base = buffer_.get();
        std::size_t from = begin_ + scanned_;
        const void* lf = std::memchr(base + from, '\n', end_ - from);
        if (lf) {
            std::size_t stop = static_cast<const char*>(lf) - base;
            std::size_t length = stop - begin_;
            if (kWindowsTextRules && length > 0 && base[stop - 1] == '\r') --length;
            line = std::string_view(base + begin_, length);
            begin_ = stop + 1;
            scanned_ = 0;
            return true;
        }
        scanned_ = end_ - begin_;
        if (atEnd_) {
            if (begin_ == end_) return false;
            line = std::string_view(base + begin_, end_ - begin_);
            begin_ = end_;
            scanned_ = 0;
            return true;
        }
        fill();
    }
}

}  // namespace textio
