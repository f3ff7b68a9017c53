// Work done on a second thread during one call, so that two files are worked
// on by two processors at once. The work always ends before the call
// returns: wait(), or the destructor, joins the thread. What the work throws
// is thrown again by wait(). Where no thread can be started, wait() does the
// work itself.
#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <thread>

namespace creases {

class SideWork {
public:
    // Starts `work`, which should look at stopping() now and then.
    explicit SideWork(std::function<void(const SideWork&)> work);
    // Asks the work to stop and waits for it; what it threw is dropped.
    ~SideWork();
    SideWork(const SideWork&) = delete;
    SideWork& operator=(const SideWork&) = delete;

    // Waits for the work to end (doing it here if it never started).
    void wait();

    // True once the owner no longer needs the work's result.
    bool stopping() const { return stop_.load(std::memory_order_relaxed); }

private:
    void run() noexcept;

    std::function<void(const SideWork&)> work_;
    std::thread thread_;
    std::exception_ptr error_;
    std::atomic<bool> stop_{false};
    bool done_ = false;
};

}  // namespace creases
