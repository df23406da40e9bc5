#pragma once
// GoogleTest's own Notification needs std::mutex, which the win32 thread model
// of MinGW-w64 lacks. It only serves GoogleTest's thread helpers, which these
// tests never start, so a plain flag does.
#include <atomic>

namespace testing::internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { notified_.store(true); }
    void WaitForNotification() {
        while (!notified_.load()) {
        }
    }

private:
    std::atomic<bool> notified_{false};
};

}  // namespace testing::internal
