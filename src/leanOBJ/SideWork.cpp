#include "SideWork.h"

#include <system_error>
#include <utility>

namespace creases {

SideWork::SideWork(std::function<void(const SideWork&)> work) : work_(std::move(work)) {
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread to be had (a process at its limit): wait() does the work.
    }
}

SideWork::~SideWork() {
    stop_.store(true, std::memory_order_relaxed);
    if (thread_.joinable()) thread_.join();
}

void SideWork::run() noexcept {
    try {
        work_(*this);
    } catch (...) {
        error_ = std::current_exception();
    }
}

void SideWork::wait() {
    if (thread_.joinable()) {
        thread_.join();
    } else if (!done_) {
        run();
    }
    done_ = true;
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

}  // namespace creases
