// GoogleTest's own Notification is built on std::mutex, which the win32
// thread model of mingw-w64 does not have. This one, on a Win32 event, is
// put in its place: the GoogleTest build and every test program include it
// first (-include), and the macro tells gtest-port.h to keep it.
#pragma once
#ifdef __cplusplus
#include <windows.h>

namespace testing::internal {

class Notification {
public:
    Notification() : event_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { ::CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { ::SetEvent(event_); }
    void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

}  // namespace testing::internal

#define GTEST_HAS_NOTIFICATION_ 1
#endif
