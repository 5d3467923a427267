#pragma once
// A small HTTP server on 127.0.0.1 for the tests of the update check: each
// request target gets the bytes the test set for it, sent as they are, so
// that any answer can be made (404, redirect, chunked, too long), or the
// answer stalls until the server stops. Connections are served one after
// another on a thread of the server's own.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/win.h"

namespace tarnwell::testing {

class HttpTestServer {
public:
    struct Reply {
        std::string bytes;
        // After the bytes, hold the connection open (a server that stalls)
        // until the server stops.
        bool stall = false;
    };

    HttpTestServer();
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    bool Listening() const { return listener_ != kNoSocket; }
    std::uint16_t Port() const { return port_; }
    // "http://127.0.0.1:<port>" + path.
    std::string Url(const std::string& path) const;
    // The reply to a request whose target (the second word of its request
    // line) is `target`; others get "404 Not Found".
    void Route(const std::string& target, Reply reply);
    // The heads of the requests received so far, in order.
    std::vector<std::string> Requests() const;

    static std::string Ok(const std::string& body, const std::string& contentType = "text/html");
    static std::string Status(int code, const std::string& reason, const std::string& headers = "");

private:
    static DWORD WINAPI Serve(void* server);
    void ServeConnection(UINT_PTR connection);

    static constexpr UINT_PTR kNoSocket = ~static_cast<UINT_PTR>(0);
    UINT_PTR listener_ = kNoSocket;
    std::uint16_t port_ = 0;
    HANDLE thread_ = nullptr;
    HANDLE stop_ = nullptr;
    // Routes and requests are shared with the serving thread.
    mutable CRITICAL_SECTION lock_;
    std::map<std::string, Reply> routes_;
    std::vector<std::string> requests_;
};

}  // namespace tarnwell::testing
