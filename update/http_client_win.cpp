#include "update/http_client_win.h"

#include <winsock2.h>

#include <cstring>
#include <optional>

namespace tarnwell {

namespace {

constexpr UINT kSocketMessage = WM_APP + 1;
constexpr UINT kDoneMessage = WM_APP + 2;
constexpr UINT_PTR kTimeoutTimer = 1;
constexpr const char* kWindowClass = "TarnwellHttpClient";
constexpr int kRequestFailed = 1;

bool RegisterWindowClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWindowClass;
        return ::RegisterClassA(&windowClass) != 0;
    }();
    return registered;
}

std::string SocketError(const char* what, int code) { return std::string(what) + " (error " + std::to_string(code) + ")"; }

// The address of a host name or dotted number; none when it cannot be found.
std::optional<unsigned long> AddressOf(const std::string& host) {
    const unsigned long address = ::inet_addr(host.c_str());
    if (address != INADDR_NONE) return address;
    const hostent* entry = ::gethostbyname(host.c_str());
    if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list || !entry->h_addr_list[0]) return std::nullopt;
    unsigned long found = 0;
    std::memcpy(&found, entry->h_addr_list[0], sizeof found);
    return found;
}

}  // namespace

THttpCli::WinsockSession::WinsockSession() {
    WSADATA data;
    started = ::WSAStartup(0x0202, &data) == 0;
}

THttpCli::WinsockSession::~WinsockSession() {
    if (started) ::WSACleanup();
}

THttpCli::THttpCli() : socket_(INVALID_SOCKET) {
    if (!RegisterWindowClass(&THttpCli::WindowProc)) return;
    window_ = ::CreateWindowExA(0, kWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
    if (window_) ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

THttpCli::~THttpCli() {
    CloseSocket();
    if (window_) {
        ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

void THttpCli::ReceiveToMemory(std::string* buffer, std::uint64_t limit) {
    memory_ = buffer;
    memoryLimit_ = limit;
    file_ = INVALID_HANDLE_VALUE;
}

void THttpCli::ReceiveToFile(HANDLE file) {
    memory_ = nullptr;
    file_ = file;
}

void THttpCli::GetASync() {
    CloseSocket();
    ++request_id_;
    running_ = true;
    status_ = 0;
    reason_.clear();
    sent_ = 0;
    const std::optional<HttpUrl> url = ParseHttpUrl(URL);
    if (!url) return Finish(kRequestFailed, "The address is not an http:// address");
    const auto target = ConnectTarget(*url, Proxy);
    if (!target) return Finish(kRequestFailed, "The proxy port is not a port number");
    request_ = BuildGetRequest(URL, *url, Proxy);
    HttpResponseReader::Limits limits;
    if (memory_) limits.bodyBytes = memoryLimit_;
    reader_ = std::make_unique<HttpResponseReader>(limits, [this](std::string_view bytes) { return Store(bytes); });
    if (!window_) return Finish(kRequestFailed, "The client has no window for its notices");
    const std::optional<unsigned long> address = AddressOf(target->first);
    if (!address) return Finish(kRequestFailed, "The server " + target->first + " was not found");
    socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket_ == INVALID_SOCKET) return Finish(kRequestFailed, SocketError("No socket", ::WSAGetLastError()));
    ::WSAAsyncSelect(socket_, window_, kSocketMessage, FD_CONNECT | FD_WRITE | FD_READ | FD_CLOSE);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = ::htons(target->second);
    server.sin_addr.s_addr = *address;
    if (::connect(socket_, reinterpret_cast<const sockaddr*>(&server), sizeof server) == SOCKET_ERROR &&
        ::WSAGetLastError() != WSAEWOULDBLOCK)
        return Finish(kRequestFailed, SocketError("Could not connect to the server", ::WSAGetLastError()));
    ::SetTimer(window_, kTimeoutTimer, TimeoutMilliseconds, nullptr);
}

void THttpCli::Abort() { Finish(kRequestFailed, "The transfer was cancelled"); }

LRESULT CALLBACK THttpCli::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* client = reinterpret_cast<THttpCli*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!client) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case kSocketMessage:
            client->OnSocket(wParam, lParam);
            return 0;
        case WM_TIMER:
            if (wParam == kTimeoutTimer) client->Finish(kRequestFailed, "The server stopped answering");
            return 0;
        case kDoneMessage:
            // A notice of an earlier request that was replaced is dropped.
            if (static_cast<unsigned>(lParam) == client->request_id_ && client->OnRequestDone)
                client->OnRequestDone(static_cast<int>(wParam));
            return 0;
        default:
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void THttpCli::OnSocket(WPARAM socket, LPARAM event) {
    if (!running_ || socket != socket_) return;
    const int error = WSAGETSELECTERROR(event);
    switch (WSAGETSELECTEVENT(event)) {
        case FD_CONNECT:
            if (error) return Finish(kRequestFailed, SocketError("Could not connect to the server", error));
            return SendRequest();
        case FD_WRITE: return SendRequest();
        case FD_READ: return Receive();
        case FD_CLOSE:
            Receive();
            if (!running_) return;
            if (!reader_->Finish()) return Finish(kRequestFailed, "The answer was cut short: " + reader_->Error());
            return Finish(0, reader_->Reason());
        default: return;
    }
}

void THttpCli::SendRequest() {
    while (running_ && sent_ < request_.size()) {
        const int sent = ::send(socket_, request_.data() + sent_, static_cast<int>(request_.size() - sent_), 0);
        if (sent == SOCKET_ERROR) {
            if (::WSAGetLastError() == WSAEWOULDBLOCK) return;  // FD_WRITE comes when there is room
            return Finish(kRequestFailed, SocketError("Could not send the request", ::WSAGetLastError()));
        }
        sent_ += static_cast<std::size_t>(sent);
    }
}

// Reads what has arrived; every read restarts the time the server has
// before the request is given up.
void THttpCli::Receive() {
    char buffer[16384];
    while (running_) {
        const int got = ::recv(socket_, buffer, sizeof buffer, 0);
        if (got == 0) return;  // closed: FD_CLOSE follows
        if (got == SOCKET_ERROR) {
            if (::WSAGetLastError() == WSAEWOULDBLOCK) return;
            return Finish(kRequestFailed, SocketError("The connection broke", ::WSAGetLastError()));
        }
        ::SetTimer(window_, kTimeoutTimer, TimeoutMilliseconds, nullptr);
        const std::uint64_t before = reader_->BodyBytes();
        if (!reader_->Feed(std::string_view(buffer, static_cast<std::size_t>(got))))
            return Finish(kRequestFailed, "The server's answer was not understood: " + reader_->Error());
        if (reader_->HeadersDone()) {
            status_ = reader_->StatusCode();
            reason_ = reader_->Reason();
        }
        if (reader_->BodyBytes() != before && OnDocData)
            OnDocData(static_cast<std::int64_t>(reader_->BodyBytes()), static_cast<std::int64_t>(reader_->ContentLength()));
        if (running_ && reader_->Complete()) return Finish(0, reader_->Reason());
    }
}

bool THttpCli::Store(std::string_view bytes) {
    if (memory_) {
        if (memory_->size() + bytes.size() > memoryLimit_) return false;
        memory_->append(bytes);
        return true;
    }
    if (file_ == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    return ::WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// The notice is posted, so that it never runs inside GetASync or inside a
// handler that called Abort.
void THttpCli::Finish(int error, const std::string& reason) {
    if (!running_) return;
    running_ = false;
    if (window_) ::KillTimer(window_, kTimeoutTimer);
    CloseSocket();
    reason_ = reason;
    if (window_) ::PostMessageA(window_, kDoneMessage, static_cast<WPARAM>(error), static_cast<LPARAM>(request_id_));
}

void THttpCli::CloseSocket() {
    if (socket_ == INVALID_SOCKET) return;
    ::WSAAsyncSelect(socket_, window_, 0, 0);
    ::closesocket(socket_);
    socket_ = INVALID_SOCKET;
}

}  // namespace tarnwell
