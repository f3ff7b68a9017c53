#include "FileReplacer.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace textio {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr std::size_t kFirstBufferSize = 64 << 10;
constexpr std::uint64_t kWritebackStep = 16 << 20;

// A name no other writer is using: the counter keeps calls of this process
// apart (atomic, as calls may run in several threads at once), the clock and
// the process id other processes.
std::string uniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    std::uint64_t x = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
#ifdef _WIN32
    x ^= static_cast<std::uint64_t>(_getpid()) << 32;
#else
    x ^= static_cast<std::uint64_t>(getpid()) << 32;
#endif
    x += 0x9E3779B97F4A7C15ull * (counter.fetch_add(1, std::memory_order_relaxed) + 1);
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    x ^= x >> 31;
    char text[17];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(x));
    return text;
}

// The folder part of a path, with its separator; "" for a bare file name.
std::string folderOf(const std::string& path) {
#ifdef _WIN32
    std::size_t cut = path.find_last_of("\\/:");
#else
    std::size_t cut = path.rfind('/');
#endif
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

#ifdef _WIN32

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        unsigned part = static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30));
        int n = _write(fd, data, part);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool readAt(int fd, std::uint64_t at, char* data, std::size_t size) {
    if (_lseeki64(fd, static_cast<__int64>(at), SEEK_SET) < 0) return false;
    while (size > 0) {
        int n = _read(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool writeAt(int fd, std::uint64_t at, const char* data, std::size_t size) {
    return _lseeki64(fd, static_cast<__int64>(at), SEEK_SET) >= 0 && writeAll(fd, data, size);
}

bool seekTo(int fd, std::uint64_t at) { return _lseeki64(fd, static_cast<__int64>(at), SEEK_SET) >= 0; }

bool truncateTo(int fd, std::uint64_t size) { return _chsize_s(fd, static_cast<__int64>(size)) == 0 && seekTo(fd, size); }

bool syncToDisk(int fd) { return _commit(fd) == 0; }
bool closeFile(int fd) { return _close(fd) == 0; }
void removeFile(const std::string& path) { _unlink(path.c_str()); }

int createExclusive(const std::string& path, bool deleteOnClose) {
    int flags = _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT;
    if (deleteOnClose) flags |= _O_TEMPORARY;
    return _open(path.c_str(), flags, _S_IREAD | _S_IWRITE);
}

FileStamp stampOf(const std::string& path) {
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return stamp;
    auto join = [](DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; };
    stamp.exists = true;
    stamp.size = join(data.nFileSizeHigh, data.nFileSizeLow);
    stamp.modified = join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    stamp.identity = join(data.ftCreationTime.dwHighDateTime, data.ftCreationTime.dwLowDateTime);
    return stamp;
}

std::string stagingFolder() {
    char folder[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof folder, folder);
    return n > 0 && n < sizeof folder ? std::string(folder, n) : std::string();
}

#else

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool readAt(int fd, std::uint64_t at, char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::pread(fd, data, size, static_cast<off_t>(at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        at += static_cast<std::uint64_t>(n);
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool writeAt(int fd, std::uint64_t at, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::pwrite(fd, data, size, static_cast<off_t>(at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        at += static_cast<std::uint64_t>(n);
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool seekTo(int fd, std::uint64_t at) { return ::lseek(fd, static_cast<off_t>(at), SEEK_SET) >= 0; }

bool truncateTo(int fd, std::uint64_t size) { return ::ftruncate(fd, static_cast<off_t>(size)) == 0 && seekTo(fd, size); }

bool syncToDisk(int fd) {
    // Devices and pipes (staged fallback) cannot be synced; that is no failure.
    return ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
}
bool closeFile(int fd) { return ::close(fd) == 0; }
void removeFile(const std::string& path) { ::unlink(path.c_str()); }

int createExclusive(const std::string& path, bool deleteOnClose) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 && deleteOnClose) ::unlink(path.c_str());
    return fd;
}

FileStamp stampOf(const std::string& path) {
    FileStamp stamp;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return stamp;
#ifdef __APPLE__
    const long nanoseconds = st.st_mtimespec.tv_nsec;
#else
    const long nanoseconds = st.st_mtim.tv_nsec;
#endif
    stamp.exists = true;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modified = static_cast<std::uint64_t>(st.st_mtime) * 1000000000u + static_cast<std::uint64_t>(nanoseconds);
    stamp.identity = (static_cast<std::uint64_t>(st.st_dev) << 40) ^ static_cast<std::uint64_t>(st.st_ino);
    return stamp;
}

std::string stagingFolder() {
    const char* folder = std::getenv("TMPDIR");
    std::string result = folder && *folder ? folder : "/tmp";
    if (result.back() != '/') result += '/';
    return result;
}

// Follows symbolic links to the file they name, so that the replacement goes
// to that file and the link stays a link. A loop is left for stat() to refuse.
std::string resolveLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return path;
        std::string link(target.data(), static_cast<std::size_t>(n));
        path = link[0] == '/' ? link : folderOf(path) + link;
    }
    return path;
}

#endif

// Creates a new file in `folder` that no one else has; its name goes to `name`.
int createUnique(const std::string& folder, bool deleteOnClose, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
#ifdef _WIN32
        name = folder + "~pel" + uniqueSuffix() + ".tmp";
#else
        name = folder + ".pellando-" + uniqueSuffix() + ".tmp";
#endif
        int fd = createExclusive(name, deleteOnClose);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Copies `size` bytes from the start of `from` to the current end of `to`.
bool copyFile(int from, int to, std::uint64_t size) {
    std::unique_ptr<char[]> chunk(new char[kBufferSize]);
    for (std::uint64_t at = 0; at < size;) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, size - at));
        if (!readAt(from, at, chunk.get(), n) || !writeAll(to, chunk.get(), n)) return false;
        at += n;
    }
    return true;
}

}  // namespace

FileReplacer::FileReplacer() = default;

FileReplacer::~FileReplacer() { abandon(); }

bool FileReplacer::open(const char* target) {
    abandon();
    failed_ = true;  // until everything below succeeds
    if (!target || !*target) return false;
    bool regular = true;
#ifdef _WIN32
    target_ = target;
    DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
        // A file locked by another program cannot be opened for writing.
        int probe = _open(target, _O_WRONLY | _O_BINARY);
        if (probe < 0) return false;
        _close(probe);
        exists_ = true;
        mode_ = attributes;
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        return false;
    }
#else
    target_ = resolveLinks(target);
    struct stat st;
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return false;
        // O_NONBLOCK: the probe must not wait for a reader of a FIFO.
        int probe = ::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (probe < 0 && !(errno == ENXIO && S_ISFIFO(st.st_mode))) return false;
        if (probe >= 0) ::close(probe);
        exists_ = true;
        regular = S_ISREG(st.st_mode);
        mode_ = st.st_mode & 07777;
        owner_ = st.st_uid;
        group_ = st.st_gid;
    } else if (errno != ENOENT) {
        return false;
    }
#endif

    // A device or a pipe changes with every use: only files are compared.
    stamp_ = stampOf(target_);
    checkStamp_ = regular;
    std::string folder = folderOf(target_);
    if (regular) fd_ = createUnique(folder, false, temp_);
    if (fd_ < 0) {
        bool mayStage = exists_ && (!regular || errno == EACCES || errno == EPERM);
        temp_.clear();
        if (!mayStage) return false;
        std::string staging;
        fd_ = createUnique(stagingFolder(), true, staging);
        if (fd_ < 0) return false;
    }
#ifndef _WIN32
    if (exists_ && !temp_.empty()) {
        // Owner first: changing it may clear the set-id bits that fchmod restores.
        if (::fchown(fd_, static_cast<uid_t>(owner_), static_cast<gid_t>(group_)) != 0) {
            // Only the superuser may give a file away; the file stays ours.
        }
        ::fchmod(fd_, static_cast<mode_t>(mode_));
    }
#endif
    // Small to start with, as most files a host rewrites are small; the full
    // size once the content outgrows it.
    capacity_ = kFirstBufferSize;
    buffer_.reset(new char[capacity_]);
    used_ = 0;
    flushed_ = 0;
    failed_ = false;
    return true;
}

bool FileReplacer::flushBuffer() {
    if (failed_ || fd_ < 0) return false;
    if (used_ > 0 && !writeAll(fd_, buffer_.get(), used_)) failed_ = true;
    flushed_ += used_;
    used_ = 0;
    if (capacity_ < kBufferSize) {
        capacity_ = kBufferSize;
        buffer_.reset(new char[capacity_]);
    }
    return !failed_;
}

void FileReplacer::writeSlow(const char* data, std::size_t size) {
    if (!flushBuffer()) return;
    if (size < kDirectWrite) {
        std::memcpy(buffer_.get(), data, size);
        used_ = size;
    } else if (writeAll(fd_, data, size)) {
        flushed_ += size;
    } else {
        failed_ = true;
    }
}

void FileReplacer::splice(std::uint64_t from, std::uint64_t to, std::string_view text) {
    splice(from, to, text.size(), [this, text] { write(text); });
}

void FileReplacer::splice(std::uint64_t from, std::uint64_t to, std::uint64_t size, const std::function<void()>& fill) {
    if (!flushBuffer() || from > to || to > flushed_) {
        failed_ = true;
        return;
    }
    const std::uint64_t tail = flushed_ - to;
    const std::uint64_t newTo = from + size;
    const std::size_t chunkSize = static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, tail));
    std::unique_ptr<char[]> chunk(new char[chunkSize + 1]);
    // Move the tail in chunks, front first when it moves towards the start,
    // back first when it moves towards the end, so no chunk overwrites bytes
    // not yet moved.
    for (std::uint64_t done = 0; done < tail && newTo != to && !failed_;) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize, tail - done));
        std::uint64_t at = newTo < to ? done : tail - done - n;
        if (!readAt(fd_, to + at, chunk.get(), n) || !writeAt(fd_, newTo + at, chunk.get(), n))
            failed_ = true;
        done += n;
    }
    chunk.reset();
    // The text goes where the old bytes were, written as any other content.
    if (!failed_ && !seekTo(fd_, from)) failed_ = true;
    if (!failed_) {
        flushed_ = from;
        fill();
        if (flushBuffer() && flushed_ != newTo) failed_ = true;
    }
    flushed_ = newTo + tail;
    if (!failed_ && !truncateTo(fd_, flushed_)) failed_ = true;
}

bool FileReplacer::appendFile(const char* path, const std::function<bool()>& more) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::setvbuf(file, nullptr, _IONBF, 0);
    std::unique_ptr<char[]> chunk(new char[kBufferSize]);
    bool read = true;
    std::uint64_t writtenBack = flushed_;
    while (good() && more()) {
        std::size_t n = std::fread(chunk.get(), 1, kBufferSize, file);
        write(chunk.get(), n);
        if (flushed_ - writtenBack >= kWritebackStep) {
            startWriteback(writtenBack, flushed_);
            writtenBack = flushed_;
        }
        if (n < kBufferSize) {
            read = !std::ferror(file);
            break;
        }
    }
    std::fclose(file);
    if (flushBuffer()) startWriteback(writtenBack, flushed_);
    return read;
}

// The system writes dirty pages to the disk when it sees fit; a large copy
// that will be synced at commit() has them written as it goes instead, so
// that the disk works while the caller does other things. (Linux; a staged
// replacement is copied over the target at commit(), and only that copy
// needs to reach the disk.)
void FileReplacer::startWriteback(std::uint64_t from, std::uint64_t to) {
#if defined(__linux__)
    if (fd_ >= 0 && !temp_.empty() && to > from)
        ::sync_file_range(fd_, static_cast<off_t>(from), static_cast<off_t>(to - from), SYNC_FILE_RANGE_WRITE);
#else
    (void)from;
    (void)to;
#endif
}

// The fallback: copy the staged content over the target with a truncating
// write, as a plain writer would.
bool FileReplacer::finishStaged() {
#ifdef _WIN32
    int out = _open(target_.c_str(), _O_WRONLY | _O_TRUNC | _O_BINARY);
#else
    int out = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
#endif
    if (out < 0) return false;
    bool ok = copyFile(fd_, out, flushed_) && syncToDisk(out);
    return closeFile(out) && ok;
}

// Whether the target is still the file it was when the replacement began.
// Another program that created, replaced or changed it meanwhile must not
// lose its work to content made from the old file. (One that removed it
// loses nothing.)
bool FileReplacer::targetUnchanged() const {
    if (!checkStamp_) return true;
    FileStamp now = stampOf(target_);
    return !now.exists || (stamp_.exists && now.size == stamp_.size && now.modified == stamp_.modified &&
                           now.identity == stamp_.identity);
}

bool FileReplacer::commit() {
    if (fd_ < 0) return false;
    bool ok = flushBuffer() && targetUnchanged();
    if (temp_.empty()) {
        ok = ok && finishStaged();
        abandon();
        return ok;
    }
    ok = ok && syncToDisk(fd_);
    ok = closeFile(fd_) && ok;
    fd_ = -1;
#ifdef _WIN32
    if (ok && exists_) SetFileAttributesA(temp_.c_str(), static_cast<DWORD>(mode_));
    ok = ok && MoveFileExA(temp_.c_str(), target_.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    ok = ok && ::rename(temp_.c_str(), target_.c_str()) == 0;
    if (ok) {
        // Make the rename itself durable.
        std::string folder = folderOf(target_);
        int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
#endif
    if (!ok) removeFile(temp_);
    temp_.clear();
    failed_ = !ok;
    return ok;
}

void FileReplacer::abandon() {
    if (fd_ >= 0) closeFile(fd_);
    fd_ = -1;
    if (!temp_.empty()) removeFile(temp_);
    temp_.clear();
    used_ = 0;
    flushed_ = 0;
    exists_ = false;
}

}  // namespace textio
