#pragma once
// The HTTP/1.0-style exchange the update check needs, as text: the address
// of a request, the GET request itself (direct or through a proxy with
// Basic authorisation) and an incremental reader of the response that
// never holds more than its limits allow. Portable; the sockets are in
// update/http_client_win.cpp.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tarnwell {

// An http:// address taken apart. The scheme matches in any letter case;
// the path keeps its query and is "/" when the address has none.
struct HttpUrl {
    std::string host;
    std::uint16_t port = 80;
    std::string path = "/";
};
// None for anything but a well-formed http:// address with a host
// (another scheme, an empty or bad port, a host with blanks or controls).
std::optional<HttpUrl> ParseHttpUrl(std::string_view url);

struct HttpProxy {
    std::string host;  // empty: a direct connection
    std::string port = "80";
    std::string userName;  // set: Basic proxy authorisation with the password
    std::string password;
};

// The GET request for `url` (as given, for the request line through a
// proxy), with the client's default headers: User-Agent "Mozilla/3.0
// (compatible)", Accept "image/gif, image/x-xbitmap, image/jpeg,
// image/pjpeg, */*", Host, and Proxy-Authorization when the proxy names a
// user. Ends with the blank line.
std::string BuildGetRequest(std::string_view url, const HttpUrl& parsed, const HttpProxy& proxy);

std::string Base64(std::string_view bytes);

// Where the connection goes: the proxy when one is set (none when its port
// is not a number from 1 to 65535), else the address's own host and port.
std::optional<std::pair<std::string, std::uint16_t>> ConnectTarget(const HttpUrl& url, const HttpProxy& proxy);

// Reads a response as its bytes arrive. The body is handed on as it is
// decoded (chunked bodies unwrapped); the sink answers false when it cannot
// take it (a file that cannot be written), which ends the response with
// an error.
class HttpResponseReader {
public:
    struct Limits {
        std::size_t headerBytes = 64 * 1024;  // status line and headers together
        std::uint64_t bodyBytes = 0x7FFFFFFF; // never more, announced or not
    };
    using Sink = std::function<bool(std::string_view bytes)>;

    HttpResponseReader(Limits limits, Sink sink);

    // False once the response is broken: a bad status line or header, a
    // header section beyond its limit, a Content-Length that is not a
    // number or beyond the body limit, more body bytes than announced, a
    // bad chunk size, a body beyond its limit, or a sink that refused.
    // Bytes after a complete response are ignored.
    bool Feed(std::string_view bytes);
    // The connection was closed by the server: false when the response is
    // broken or incomplete (headers unfinished, fewer bytes than announced,
    // a chunked body without its last chunk). Without a length, the body
    // ends with the connection.
    bool Finish();

    bool HeadersDone() const;
    // The body is complete (all announced bytes, or the last chunk).
    bool Complete() const;
    int StatusCode() const;             // 0 until the status line is read
    const std::string& Reason() const;  // the reason phrase as sent
    // The announced length, 0 when none (or chunked), as the progress
    // display takes it.
    std::uint64_t ContentLength() const;
    std::uint64_t BodyBytes() const;    // decoded body bytes so far
    const std::string& Error() const;   // why it is broken; empty while it is not

private:
    // Where the next bytes belong. Announced: every announced body byte has
    // arrived, so one more is an error; Done: complete, the rest is ignored.
    enum class Stage {
        StatusLine, Headers, Body, BodyToClose, ChunkSize, ChunkData, ChunkEnd, Trailer, Announced, Done, Broken
    };
    enum class LineState { Partial, Whole, TooLong };

    void Step(std::string_view& bytes);
    LineState TakeLine(std::string_view& bytes, std::size_t& budget);
    void ReadHeaderLine(std::string_view& bytes);
    void ReadHeader(std::string_view line);
    void ReadContentLength(std::string_view value);
    void EndHeaders();
    void ReadAnnouncedBody(std::string_view& bytes);
    void ReadBodyToClose(std::string_view& bytes);
    void ReadChunkSize(std::string_view& bytes);
    void ReadChunkData(std::string_view& bytes);
    void ReadChunkEnd(std::string_view& bytes);
    void ReadTrailer(std::string_view& bytes);
    bool Deliver(std::string_view piece);
    bool Fail(std::string why);

    Limits limits_;
    Sink sink_;
    Stage stage_ = Stage::StatusLine;
    std::string line_;              // the line being read, without its end once whole
    std::size_t headerBudget_;      // header bytes still allowed, interim responses and trailers included
    int status_ = 0;
    std::string reason_;
    std::optional<std::uint64_t> contentLength_;
    bool chunked_ = false;
    bool headersDone_ = false;
    std::uint64_t body_ = 0;        // decoded body bytes handed on
    std::uint64_t chunkLeft_ = 0;   // bytes of the current chunk still to come
    std::string error_;
};

}  // namespace tarnwell
