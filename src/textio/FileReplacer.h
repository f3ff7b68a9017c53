// Safe replacement of a file's content.
//
// Everything written goes to a temporary file beside the target; commit()
// flushes it to disk and renames it over the target in one step. Until then
// the target keeps its old content, so a failure at any point (a full disk, an
// I/O error, bad input found late, an exception) leaves it exactly as it was.
// Because the old file stays readable until the rename, a rewrite may read the
// very file it replaces.
//
// - An existing target that cannot be opened for writing (read-only, locked, a
//   folder) is refused by open(), untouched.
// - A replaced file keeps its permission bits (and, where allowed, its owner);
//   a target that is a symbolic link keeps the link, its target is replaced.
// - When another program creates, replaces or changes the target while the
//   new content is being written, commit() refuses: its work is not lost to
//   content made from the old file.
// - Where no temporary file may be created beside an existing, writable target
//   (no permission on its folder), or the target is not a regular file, the
//   content is staged in the system's temporary folder and copied over the
//   target at commit(): the plain truncating write, without its atomicity.
//   No other error falls back to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace textio {

// What tells a file's versions apart: size, modification time and identity
// (device and inode, or creation time on Windows).
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0, modified = 0, identity = 0;
};

// The line end this platform's text mode writes.
#ifdef _WIN32
inline constexpr std::string_view kNewline = "\r\n";
#else
inline constexpr std::string_view kNewline = "\n";
#endif

class FileReplacer {
public:
    // Pieces this large go to the file as they are: copying them into the
    // buffer first would only cost time.
    static constexpr std::size_t kDirectWrite = 64 << 10;

    FileReplacer();
    ~FileReplacer();  // abandons whatever was not committed
    FileReplacer(const FileReplacer&) = delete;
    FileReplacer& operator=(const FileReplacer&) = delete;

    // Prepares to replace the file at `target`. False when it cannot be
    // written: the target is left untouched and every later call is a no-op.
    bool open(const char* target);

    void write(const char* data, std::size_t size) {
        if (size <= capacity_ - used_ && size < kDirectWrite) {
            std::memcpy(buffer_.get() + used_, data, size);
            used_ += size;
        } else {
            writeSlow(data, size);
        }
    }
    void write(std::string_view text) { write(text.data(), text.size()); }
    void newline() { write(kNewline); }
    void line(std::string_view text) {
        write(text);
        newline();
    }

    // Bytes written so far.
    std::uint64_t offset() const { return flushed_ + used_; }

    // Replaces the bytes [from, to) already written by `text`, moving the
    // rest of the content; for a change whose place is known only later.
    void splice(std::uint64_t from, std::uint64_t to, std::string_view text);

    // The same for a text of `size` bytes too large to hold at once: `fill`
    // writes it with write(), in order, while it is called; writing then goes
    // on at the end. A text of another size fails the replacement.
    void splice(std::uint64_t from, std::uint64_t to, std::uint64_t size, const std::function<void()>& fill);

    // Appends the bytes of the file at `path` as they are, a chunk at a time
    // while `more()` answers true, and has them put on the disk as they go
    // (commit() then has little left to wait for). False when that file
    // cannot be opened or read; a failure to write shows in good().
    bool appendFile(const char* path, const std::function<bool()>& more);

    // True while every step so far succeeded.
    bool good() const { return fd_ >= 0 && !failed_; }

    // Makes the written content the target's. False (target untouched, unless
    // the staged fallback failed while copying) when any step failed, or when
    // another program created, replaced or changed the target since open().
    bool commit();

    // Drops everything written; the target keeps its old content.
    void abandon();

private:
    void writeSlow(const char* data, std::size_t size);
    void startWriteback(std::uint64_t from, std::uint64_t to);
    bool targetUnchanged() const;
    bool flushBuffer();
    bool finishStaged();

    std::string target_;  // the file to replace, symbolic links resolved
    std::string temp_;    // the temporary file beside it; "" when staged
    int fd_ = -1;
    bool failed_ = false;
    bool exists_ = false;
    unsigned long mode_ = 0;  // permission bits (POSIX) or attributes (Windows)
    unsigned long owner_ = 0, group_ = 0;
    FileStamp stamp_;  // the target as open() found it
    bool checkStamp_ = false;
    std::unique_ptr<char[]> buffer_;  // not zeroed: only written bytes are used
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
    std::uint64_t flushed_ = 0;
};

}  // namespace textio
