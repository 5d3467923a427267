#pragma once
// The program's own HTTP client, on Windows Sockets: one GET at a time,
// asynchronous through window messages (WSAAsyncSelect), so that it runs on
// every Windows of the family without WinINet and its proxy and cache
// behaviour. A request returns at once; what arrives is reported on the
// thread that made the client, through OnDocData and OnRequestDone.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/handles.h"
#include "base/win.h"
#include "update/http_message.h"

namespace tarnwell {

class THttpCli {
public:
    THttpCli();
    ~THttpCli();
    THttpCli(const THttpCli&) = delete;
    THttpCli& operator=(const THttpCli&) = delete;

    std::string URL;  // http:// only
    HttpProxy Proxy;
    // Without data for this long the request ends with an error.
    DWORD TimeoutMilliseconds = 30000;

    // Where the body goes: into `buffer` (at most `limit` bytes), or
    // written to `file`, which the caller owns.
    void ReceiveToMemory(std::string* buffer, std::uint64_t limit);
    void ReceiveToFile(HANDLE file);

    // Body bytes received so far and the announced length (0 when none).
    std::function<void(std::int64_t received, std::int64_t length)> OnDocData;
    // 0 for a request that got a whole response, whatever its status.
    std::function<void(int error)> OnRequestDone;

    // Starts the GET and returns at once; OnRequestDone follows in every
    // case, never from inside this call.
    void GetASync();
    // Ends the running request; OnRequestDone follows with an error.
    void Abort();

    int StatusCode() const { return status_; }
    // The server's reason phrase, or what went wrong (a phrase without a
    // closing period, as the boxes that show it add one).
    const std::string& ReasonPhrase() const { return reason_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnSocket(WPARAM socket, LPARAM event);
    void Connect();
    void SendRequest();
    void Receive();
    void Finish(int error, const std::string& reason);
    void CloseSocket();
    bool Store(std::string_view bytes);

    // Windows Sockets are started for as long as the client lives (the
    // system counts its users).
    struct WinsockSession {
        WinsockSession();
        ~WinsockSession();
        bool started = false;
    } winsock_;
    HWND window_ = nullptr;
    UINT_PTR socket_;
    std::unique_ptr<HttpResponseReader> reader_;
    std::string request_;
    std::size_t sent_ = 0;
    std::string* memory_ = nullptr;
    std::uint64_t memoryLimit_ = 0;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    int status_ = 0;
    std::string reason_;
    bool running_ = false;
    unsigned request_id_ = 0;  // tells the notices of successive requests apart
};

}  // namespace tarnwell
