#include "Child.h"

#ifndef _WIN32

#include <csignal>
#include <fstream>
#include <string>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

float RunInChild(const ChildLimits& limits, const std::function<float()>& work) {
    int channel[2];
    if (pipe(channel) != 0) return NAN;
    pid_t pid = fork();
    if (pid == 0) {
        close(channel[0]);
        if (limits.maxFileSize >= 0) {
            std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails with EFBIG
            rlimit limit{static_cast<rlim_t>(limits.maxFileSize), static_cast<rlim_t>(limits.maxFileSize)};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
        }
        if (limits.maxAddressSpace >= 0) {
            rlimit limit{static_cast<rlim_t>(limits.maxAddressSpace), static_cast<rlim_t>(limits.maxAddressSpace)};
            if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
        }
        if (limits.unprivileged && geteuid() == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
        }
        float result = work();
        ssize_t written = write(channel[1], &result, sizeof result);
        _exit(written == sizeof result ? 0 : 3);
    }
    close(channel[1]);
    float result = NAN;
    ssize_t got = pid > 0 ? read(channel[0], &result, sizeof result) : 0;
    close(channel[0]);
    int status = 0;
    if (pid > 0) waitpid(pid, &status, 0);
    if (got != sizeof result || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return NAN;
    return result;
}

bool UnderEmulator() {
    // Set by the test set-up of a build whose tests run under an emulator.
    const char* flag = std::getenv("PELLANDO_UNDER_EMULATOR");
    return flag && *flag == '1';
}

bool AddressSpaceLimitWorks() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
    return false;
#endif
#endif
    return !UnderEmulator();
}

long long AddressSpaceInUse() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, 7, "VmSize:") == 0) return std::stoll(line.substr(7)) * 1024;
    return -1;
}

#endif
