#include "tests/win32/support/debug_output.h"

#include "tests/win32/support/message_pump.h"

#include <optional>
#include <vector>

namespace tarnwell::testing {

namespace {

std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    const size_t unit = info.fUnicode ? 2 : 1;
    std::vector<char> bytes(static_cast<size_t>(info.nDebugStringLength) * unit + 2, 0);
    SIZE_T read = 0;
    if (!::ReadProcessMemory(process, info.lpDebugStringData, bytes.data(), bytes.size() - 2, &read)) return {};
    if (!info.fUnicode) return std::string(bytes.data());
    char narrow[4096] = {};
    ::WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(bytes.data()), -1, narrow, sizeof narrow - 1,
                          nullptr, nullptr);
    return narrow;
}

// Handles one debug event; answers the debug string it carried, if any.
std::optional<std::string> HandleEvent(const DEBUG_EVENT& event, HANDLE process) {
    DWORD status = DBG_CONTINUE;
    std::optional<std::string> text;
    switch (event.dwDebugEventCode) {
        case OUTPUT_DEBUG_STRING_EVENT: text = ReadDebugString(process, event.u.DebugString); break;
        case EXCEPTION_DEBUG_EVENT:
            // The loader's breakpoint is ours; every other exception is the program's.
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                status = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile) ::CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile) ::CloseHandle(event.u.LoadDll.hFile);
            break;
        default: break;
    }
    ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    return text;
}

}  // namespace

DebuggedStart StartAndReadDebugOutput(const std::string& exe, const std::string& folder, const std::string& wanted,
                                      DWORD milliseconds) {
    DebuggedStart start;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string command = "\"" + exe + "\"";
    if (!::CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                          folder.c_str(), &startup, &info))
        return start;
    ::CloseHandle(info.hThread);
    start.process.reset(info.hProcess);
    start.processId = info.dwProcessId;

    const DWORD began = ::GetTickCount();
    DEBUG_EVENT event;
    while (!start.found && ::GetTickCount() - began < milliseconds) {
        if (!::WaitForDebugEvent(&event, 100)) continue;
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
            ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
            return start;
        }
        if (const std::optional<std::string> text = HandleEvent(event, start.process.get())) {
            start.output += *text + "\n";
            start.found = text->find(wanted) != std::string::npos;
        }
    }
    ::DebugSetProcessKillOnExit(FALSE);
    ::DebugActiveProcessStop(start.processId);
    return start;
}

DebugOutputWatch::DebugOutputWatch(DWORD processId)
    : processId_(processId), attachDone_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    ::InitializeCriticalSection(&lock_);
    thread_.reset(::CreateThread(nullptr, 0, Run, this, 0, nullptr));
    if (thread_) ::WaitForSingleObject(attachDone_.get(), INFINITE);
}

DebugOutputWatch::~DebugOutputWatch() {
    ::InterlockedExchange(&stop_, 1);
    if (thread_) ::WaitForSingleObject(thread_.get(), INFINITE);
    ::DeleteCriticalSection(&lock_);
}

// A debugger's events come only to the thread that attached.
DWORD WINAPI DebugOutputWatch::Run(void* self) {
    auto& watch = *static_cast<DebugOutputWatch*>(self);
    watch.attached_ = ::DebugActiveProcess(watch.processId_) != FALSE;
    if (watch.attached_) ::DebugSetProcessKillOnExit(FALSE);
    ::SetEvent(watch.attachDone_.get());
    if (!watch.attached_) return 0;
    KernelHandle process(::OpenProcess(PROCESS_VM_READ | PROCESS_QUERY_INFORMATION, FALSE, watch.processId_));
    DEBUG_EVENT event;
    while (!watch.stop_) {
        if (!::WaitForDebugEvent(&event, 100)) continue;
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
            ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
            return 0;
        }
        if (const std::optional<std::string> text = HandleEvent(event, process.get())) {
            ::EnterCriticalSection(&watch.lock_);
            watch.lines_.push_back(*text);
            ::LeaveCriticalSection(&watch.lock_);
        }
    }
    ::DebugActiveProcessStop(watch.processId_);
    return 0;
}

std::vector<std::string> DebugOutputWatch::Lines() const {
    ::EnterCriticalSection(&lock_);
    std::vector<std::string> lines = lines_;
    ::LeaveCriticalSection(&lock_);
    return lines;
}

int DebugOutputWatch::Count(const std::string& text) const {
    int count = 0;
    for (const std::string& line : Lines()) count += line.find(text) != std::string::npos;
    return count;
}

bool DebugOutputWatch::WaitFor(const std::string& text, int count, DWORD milliseconds) const {
    return PumpUntil([&] { return Count(text) >= count; }, milliseconds);
}

}  // namespace tarnwell::testing
