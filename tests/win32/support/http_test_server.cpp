#include "tests/win32/support/http_test_server.h"

#include <winsock2.h>

namespace tarnwell::testing {

namespace {

void SendAll(SOCKET connection, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = ::send(connection, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

// Whether a socket has something to read within `milliseconds`.
bool Readable(SOCKET socket, long milliseconds) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval wait{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return ::select(0, &set, nullptr, nullptr, &wait) > 0;
}

class Locked {
public:
    explicit Locked(CRITICAL_SECTION& section) : section_(section) { ::EnterCriticalSection(&section_); }
    ~Locked() { ::LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION& section_;
};

}  // namespace

HttpTestServer::HttpTestServer() {
    ::InitializeCriticalSection(&lock_);
    WSADATA data;
    ::WSAStartup(0x0202, &data);
    SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ::inet_addr("127.0.0.1");
    address.sin_port = 0;
    int length = sizeof address;
    if (listener == INVALID_SOCKET || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 8) != 0 || ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener != INVALID_SOCKET) ::closesocket(listener);
        return;
    }
    listener_ = listener;
    port_ = ::ntohs(address.sin_port);
    stop_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = ::CreateThread(nullptr, 0, &HttpTestServer::Serve, this, 0, nullptr);
}

HttpTestServer::~HttpTestServer() {
    if (stop_) ::SetEvent(stop_);
    if (thread_) {
        ::WaitForSingleObject(thread_, 20000);
        ::CloseHandle(thread_);
    }
    if (listener_ != INVALID_SOCKET) ::closesocket(listener_);
    if (stop_) ::CloseHandle(stop_);
    ::DeleteCriticalSection(&lock_);
}

std::string HttpTestServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void HttpTestServer::Route(const std::string& target, Reply reply) {
    Locked guard(lock_);
    routes_[target] = std::move(reply);
}

std::vector<std::string> HttpTestServer::Requests() const {
    Locked guard(lock_);
    return requests_;
}

std::string HttpTestServer::Ok(const std::string& body, const std::string& contentType) {
    return "HTTP/1.0 200 OK\r\nContent-Type: " + contentType + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

std::string HttpTestServer::Status(int code, const std::string& reason, const std::string& headers) {
    return "HTTP/1.0 " + std::to_string(code) + " " + reason + "\r\n" + headers + "Content-Length: 0\r\n\r\n";
}

DWORD WINAPI HttpTestServer::Serve(void* server) {
    auto* self = static_cast<HttpTestServer*>(server);
    while (::WaitForSingleObject(self->stop_, 0) != WAIT_OBJECT_0) {
        if (!Readable(self->listener_, 50)) continue;
        const SOCKET connection = ::accept(self->listener_, nullptr, nullptr);
        if (connection == INVALID_SOCKET) continue;
        self->ServeConnection(connection);
        ::closesocket(connection);
    }
    return 0;
}

void HttpTestServer::ServeConnection(UINT_PTR connection) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        if (!Readable(connection, 5000)) return;
        const int n = ::recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        head.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t first = head.find(' '), second = head.find(' ', first + 1);
    const std::string target = first == std::string::npos ? "" : head.substr(first + 1, second - first - 1);
    Reply reply{Status(404, "Not Found")};
    {
        Locked guard(lock_);
        requests_.push_back(head);
        if (auto found = routes_.find(target); found != routes_.end()) reply = found->second;
    }
    SendAll(connection, reply.bytes);
    if (reply.stall) ::WaitForSingleObject(stop_, INFINITE);
    ::shutdown(connection, SD_SEND);
}

}  // namespace tarnwell::testing
