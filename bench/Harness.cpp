#include "Harness.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <chrono>
#include <stdexcept>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "PluginLibrary.h"

namespace bench {

TempFolder::TempFolder() {
    const char* base = std::getenv("BENCH_DIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/pellando-bench-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) throw std::runtime_error("cannot make " + pattern);
    root_ = name.data();
}

TempFolder::~TempFolder() {
    if (std::getenv("BENCH_KEEP")) {
        std::printf("generated files kept in %s\n", root_.c_str());
        return;
    }
    std::string command = "rm -rf '" + root_ + "'";
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cannot remove %s\n", root_.c_str());
}

double Time(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

ChildRun RunInChild(const std::function<float()>& work) {
    int channel[2];
    if (pipe(channel) != 0) throw std::runtime_error("pipe");
    pid_t pid = fork();
    if (pid == 0) {
        ChildRun run;
        run.seconds = Time([&] { run.result = work(); });
        ssize_t n = write(channel[1], &run, sizeof run);
        _exit(n == sizeof run ? 0 : 1);
    }
    ChildRun run;
    ssize_t n = read(channel[0], &run, sizeof run);
    close(channel[0]);
    close(channel[1]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (n != sizeof run || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the benchmark's child process failed");
    run.peakMiB = usage.ru_maxrss / 1024.0;  // kilobytes on Linux
    return run;
}

ChildRun RunProgram(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ChildRun run;
    int status = 0;
    rusage usage{};
    run.seconds = Time([&] {
        pid_t pid = fork();
        if (pid == 0) {
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execv(argv[0], argv.data());
            _exit(127);
        }
        if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) throw std::runtime_error("cannot run " + arguments[0]);
    });
    run.result = WIFEXITED(status) ? static_cast<float>(WEXITSTATUS(status)) : -1.0f;
    run.peakMiB = usage.ru_maxrss / 1024.0;
    return run;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::uint64_t FileSize(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) throw std::runtime_error("no file " + path);
    return static_cast<std::uint64_t>(st.st_size);
}

void CopyFile(const std::string& from, const std::string& to, bool sync) {
    int in = open(from.c_str(), O_RDONLY);
    int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) throw std::runtime_error("cannot copy " + from);
    std::vector<char> chunk(1 << 20);
    for (ssize_t n; (n = read(in, chunk.data(), chunk.size())) > 0;)
        if (write(out, chunk.data(), static_cast<std::size_t>(n)) != n) throw std::runtime_error("copy failed");
    if (sync) fsync(out);
    close(in);
    close(out);
}

std::uint64_t CountLines(const std::string& path) {
    int in = open(path.c_str(), O_RDONLY);
    if (in < 0) throw std::runtime_error("cannot read " + path);
    std::vector<char> chunk(1 << 20);
    std::uint64_t lines = 0;
    for (ssize_t n; (n = read(in, chunk.data(), chunk.size())) > 0;) {
        const char* p = chunk.data();
        const char* end = p + n;
        while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))))) {
            ++lines;
            ++p;
        }
    }
    close(in);
    return lines;
}

float CallExport(const char* name, const std::string& text, double number, const std::string& buffer) {
    static PluginLibrary library;
    static bool loaded = library.load(PluginLibrary::besideProgram(nullptr));
    if (!loaded) throw std::runtime_error(library.error());
    PellandoExport function = library.find(name);
    if (!function) throw std::runtime_error(std::string("no export ") + name);
    std::vector<char> writable(buffer.begin(), buffer.end());
    writable.push_back('\0');
    return function(text.c_str(), number, writable.data());
}

FileWriter::FileWriter(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
    if (!file_) throw std::runtime_error("cannot write " + path);
}

FileWriter::~FileWriter() {
    flush();
    std::fclose(file_);
}

void FileWriter::flush() {
    if (std::fwrite(block_.data(), 1, block_.size(), file_) != block_.size()) {
        std::fprintf(stderr, "cannot write a generated file\n");
        std::exit(1);
    }
    block_.clear();
}

std::uint64_t GenerateObj(const std::string& path, std::uint64_t wantedBytes, std::uint64_t wantedLines,
                          unsigned variant) {
    bench::FileWriter file(path);
    std::string& out = file.out();
    char line[160];
    std::uint64_t written = 0, lines = 0;
    for (unsigned n = 1; written < wantedBytes || lines < wantedLines; ++n, ++lines) {
        const unsigned m = n * 2654435761u + variant;
        int size;
        switch (n % 12) {
        case 0: case 1: case 2:
            size = std::snprintf(line, sizeof line, "v %u.%06u %u.%06u -%u.%06u\n", m % 9 + 1, m % 999983,
                                 m % 7 + 1, m % 77777, m % 5 + 1, m % 31337);
            break;
        case 3: case 4:
            size = std::snprintf(line, sizeof line, "vt 0.%06u 0.%06u\n", m % 999983, m % 65521);
            break;
        case 5: case 6:
            size = std::snprintf(line, sizeof line, "vn 0.%04u -0.%04u 0.%04u\n", m % 9973, m % 7919, m % 5003);
            break;
        case 7:
            if (n % 6000 == 7) {
                size = std::snprintf(line, sizeof line, "# part %010u\ng part%010u\ns %u\n", n, n / 6000, n % 5 + 1);
                lines += 2;
                break;
            }
            [[fallthrough]];
        default:
            size = std::snprintf(line, sizeof line, "f %u/%u/%u %u/%u/%u %u/%u/%u\n", n, n, n, n + 1, n + 1, n + 1,
                                 n + 2, n + 2, n + 2);
            break;
        }
        out.append(line, static_cast<std::size_t>(size));
        written += static_cast<std::uint64_t>(size);
        file.flushSome();
    }
    return lines;
}

void PrintRate(const char* what, std::uint64_t bytes, double seconds) {
    std::printf("  %-34s %8.3f s %9.1f MB/s\n", what, seconds, bytes / 1e6 / seconds);
}

}  // namespace bench
