// Runs part of a test in a child process with limits a test cannot set on
// itself: an unprivileged user (tests run as root, whom permission bits do not
// stop) or a maximum file size (a disk that fills up). POSIX only.
#pragma once

#ifndef _WIN32

#include <functional>

struct ChildLimits {
    bool unprivileged = false;       // drop to the user "nobody" when root
    long long maxFileSize = -1;      // RLIMIT_FSIZE in bytes; writes beyond fail
    long long maxAddressSpace = -1;  // RLIMIT_AS in bytes

    static ChildLimits Unprivileged() {
        ChildLimits limits;
        limits.unprivileged = true;
        return limits;
    }
    static ChildLimits FileSize(long long bytes) {
        ChildLimits limits;
        limits.maxFileSize = bytes;
        return limits;
    }
    static ChildLimits AddressSpace(long long bytes) {
        ChildLimits limits;
        limits.maxAddressSpace = bytes;
        return limits;
    }
};

// The value `work` answers in the child; NaN when the child crashed.
float RunInChild(const ChildLimits& limits, const std::function<float()>& work);

// True when the process runs under an emulator that cannot take an address
// space limit (qemu-user reserves the guest's whole address space).
bool UnderEmulator();

// True when an address space limit can make memory run out in a child: not
// under an emulator, nor under AddressSanitizer or ThreadSanitizer (their
// shadow memory).
bool AddressSpaceLimitWorks();

// The process's address space in bytes now, or -1 where unknown.
long long AddressSpaceInUse();

#endif
