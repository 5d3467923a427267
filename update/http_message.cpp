#include "update/http_message.h"

#include <algorithm>

#include "base/setting_value.h"
#include "base/text_case.h"

namespace tarnwell {

namespace {

constexpr std::string_view kScheme = "http://";
constexpr std::string_view kVersion = "HTTP/";  // how a status line starts
constexpr std::uint64_t kLargestPort = 65535;
// A chunk-size line holds a hex number and perhaps an extension; a longer
// one is no chunk size, and reading on would only hold more memory.
constexpr std::size_t kLongestChunkLine = 1024;
// The CR LF after a chunk's data.
constexpr std::size_t kLongestChunkEnd = 2;

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
    if (IsDecimalDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Not empty, and every character a digit in `base` (10 or 16).
bool IsNumber(std::string_view text, int base) {
    if (text.empty()) return false;
    for (char c : text) {
        const int digit = DigitValue(c);
        if (digit < 0 || digit >= base) return false;
    }
    return true;
}

// The value of a text IsNumber accepts; none when it is beyond `largest`,
// however many digits it has.
std::optional<std::uint64_t> NumberUpTo(std::string_view text, int base, std::uint64_t largest) {
    std::uint64_t value = 0;
    for (char c : text) {
        const auto digit = static_cast<std::uint64_t>(DigitValue(c));
        if (digit > largest || value > (largest - digit) / static_cast<std::uint64_t>(base)) return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + digit;
    }
    return value;
}

std::optional<std::uint16_t> PortNumber(std::string_view text) {
    if (!IsNumber(text, 10)) return std::nullopt;
    const auto port = NumberUpTo(text, 10, kLargestPort);
    if (!port || *port == 0) return std::nullopt;
    return static_cast<std::uint16_t>(*port);
}

bool IsBlankOrControl(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code <= ' ' || code == 0x7F;
}

// A host as the request names it: not empty, no blanks or controls, and no
// "@", which would put a user name before a different host.
bool IsHostName(std::string_view host) {
    if (host.empty()) return false;
    return std::none_of(host.begin(), host.end(), [](char c) { return IsBlankOrControl(c) || c == '@'; });
}

// A part of the request as one line: a CR or LF in it would end the line
// and let the rest pass for headers of its own.
std::string OneLine(std::string_view text) {
    std::string line;
    for (char c : text)
        if (c != '\r' && c != '\n') line += c;
    return line;
}

std::string HostHeader(const HttpUrl& url) {
    if (url.port == 80) return url.host;
    return url.host + ":" + std::to_string(url.port);
}

bool CouldStartStatusLine(std::string_view start) {
    const size_t length = std::min(start.size(), kVersion.size());
    return start.substr(0, length) == kVersion.substr(0, length);
}

struct StatusLine {
    int code;
    std::string reason;
};

// "HTTP/x.y NNN reason", where the reason may be empty or missing along
// with the blank before it.
std::optional<StatusLine> ReadStatusLine(std::string_view line) {
    if (!line.starts_with(kVersion)) return std::nullopt;
    size_t position = kVersion.size();
    const auto skipDigits = [&] {
        const size_t start = position;
        while (position < line.size() && IsDecimalDigit(line[position])) ++position;
        return position > start;
    };
    const auto skip = [&](char c) {
        if (position >= line.size() || line[position] != c) return false;
        ++position;
        return true;
    };
    if (!skipDigits() || !skip('.') || !skipDigits() || !skip(' ')) return std::nullopt;
    const std::string_view code = line.substr(position, 3);
    if (code.size() != 3 || !IsNumber(code, 10) || code.front() == '0') return std::nullopt;
    position += code.size();
    if (position < line.size() && !skip(' ')) return std::nullopt;
    return StatusLine{static_cast<int>(*NumberUpTo(code, 10, 999)), std::string(line.substr(position))};
}

}  // namespace

std::optional<HttpUrl> ParseHttpUrl(std::string_view url) {
    if (!StartsWithNoCase(url, kScheme)) return std::nullopt;
    std::string_view rest = url.substr(kScheme.size());
    rest = rest.substr(0, rest.find('#'));  // the fragment is for the browser, never sent
    const size_t hostEnd = std::min(rest.find_first_of(":/?"), rest.size());
    HttpUrl parsed;
    parsed.host = rest.substr(0, hostEnd);
    if (!IsHostName(parsed.host)) return std::nullopt;
    rest.remove_prefix(hostEnd);
    if (rest.starts_with(':')) {
        const size_t portEnd = std::min(rest.find_first_of("/?"), rest.size());
        const auto port = PortNumber(rest.substr(1, portEnd - 1));
        if (!port) return std::nullopt;
        parsed.port = *port;
        rest.remove_prefix(portEnd);
    }
    // What is left starts with "/" or "?", or is empty.
    if (rest.starts_with('?')) parsed.path = "/" + std::string(rest);
    else if (!rest.empty()) parsed.path = rest;
    return parsed;
}

// A proxy takes the whole address on the request line; a server its path.
// The credentials need no cleaning: Base64 holds no line end.
std::string BuildGetRequest(std::string_view url, const HttpUrl& parsed, const HttpProxy& proxy) {
    const bool viaProxy = !proxy.host.empty();
    std::string request = "GET " + OneLine(viaProxy ? url : std::string_view(parsed.path)) + " HTTP/1.0\r\n";
    request += "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n";
    request += "User-Agent: Mozilla/3.0 (compatible)\r\n";
    request += "Host: " + OneLine(HostHeader(parsed)) + "\r\n";
    if (viaProxy && !proxy.userName.empty())
        request += "Proxy-Authorization: Basic " + Base64(proxy.userName + ":" + proxy.password) + "\r\n";
    request += "\r\n";
    return request;
}

std::string Base64(std::string_view bytes) {
    constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t count = std::min<size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (size_t j = 0; j < 3; ++j)
            group = (group << 8) | (j < count ? static_cast<unsigned char>(bytes[i + j]) : 0u);
        for (size_t j = 0; j < 4; ++j)
            text += j <= count ? kAlphabet[(group >> (18 - 6 * j)) & 0x3F] : '=';
    }
    return text;
}

// The proxy's port comes from a settings field, where blanks around it
// are easily typed.
std::optional<std::pair<std::string, std::uint16_t>> ConnectTarget(const HttpUrl& url, const HttpProxy& proxy) {
    if (proxy.host.empty()) return std::make_pair(url.host, url.port);
    const auto port = PortNumber(TrimBlanks(proxy.port));
    if (!port) return std::nullopt;
    return std::make_pair(proxy.host, *port);
}

HttpResponseReader::HttpResponseReader(Limits limits, Sink sink)
    : limits_(limits), sink_(std::move(sink)), headerBudget_(limits.headerBytes) {}

bool HttpResponseReader::Feed(std::string_view bytes) {
    while (!bytes.empty() && stage_ != Stage::Done && stage_ != Stage::Broken) Step(bytes);
    return error_.empty();
}

bool HttpResponseReader::Finish() {
    switch (stage_) {
        case Stage::Broken: return false;
        case Stage::Announced:
        case Stage::Done: return true;
        case Stage::BodyToClose: stage_ = Stage::Done; return true;
        default: return Fail("connection closed early");
    }
}

bool HttpResponseReader::HeadersDone() const { return headersDone_; }

bool HttpResponseReader::Complete() const { return stage_ == Stage::Announced || stage_ == Stage::Done; }

int HttpResponseReader::StatusCode() const { return status_; }

const std::string& HttpResponseReader::Reason() const { return reason_; }

std::uint64_t HttpResponseReader::ContentLength() const { return chunked_ ? 0 : contentLength_.value_or(0); }

std::uint64_t HttpResponseReader::BodyBytes() const { return body_; }

const std::string& HttpResponseReader::Error() const { return error_; }

// Every stage takes at least one byte or moves to another stage, so that
// Feed's loop ends.
void HttpResponseReader::Step(std::string_view& bytes) {
    switch (stage_) {
        case Stage::StatusLine:
        case Stage::Headers: ReadHeaderLine(bytes); break;
        case Stage::Body: ReadAnnouncedBody(bytes); break;
        case Stage::BodyToClose: ReadBodyToClose(bytes); break;
        case Stage::ChunkSize: ReadChunkSize(bytes); break;
        case Stage::ChunkData: ReadChunkData(bytes); break;
        case Stage::ChunkEnd: ReadChunkEnd(bytes); break;
        case Stage::Trailer: ReadTrailer(bytes); break;
        case Stage::Announced: Fail("more data than announced"); break;
        case Stage::Done:
        case Stage::Broken: bytes = {}; break;
    }
}

// Moves the bytes up to and including the next LF into line_, as long as
// they fit in `budget` (which shrinks by what is taken), so that a line
// without an end never holds more than its budget. Once whole, line_ has
// lost its LF or CR LF.
HttpResponseReader::LineState HttpResponseReader::TakeLine(std::string_view& bytes, std::size_t& budget) {
    const size_t lineFeed = bytes.find('\n');
    const size_t length = lineFeed == std::string_view::npos ? bytes.size() : lineFeed + 1;
    if (length > budget) return LineState::TooLong;
    budget -= length;
    line_.append(bytes.substr(0, length));
    bytes.remove_prefix(length);
    if (lineFeed == std::string_view::npos) return LineState::Partial;
    line_.pop_back();
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
    return LineState::Whole;
}

// A response that does not start as a status line is refused at once,
// rather than read up to the header limit.
void HttpResponseReader::ReadHeaderLine(std::string_view& bytes) {
    const LineState state = TakeLine(bytes, headerBudget_);
    if (state == LineState::TooLong) Fail("header too long");
    if (state == LineState::Partial && stage_ == Stage::StatusLine && !CouldStartStatusLine(line_))
        Fail("bad status line");
    if (state != LineState::Whole) return;
    const std::string line = std::move(line_);
    line_.clear();
    if (stage_ == Stage::StatusLine) {
        auto status = ReadStatusLine(line);
        if (!status) {
            Fail("bad status line");
            return;
        }
        status_ = status->code;
        reason_ = std::move(status->reason);
        stage_ = Stage::Headers;
    } else if (line.empty()) {
        EndHeaders();
    } else {
        ReadHeader(line);
    }
}

// A line starting with a blank continues the header before it; none of
// the headers read here needs it.
void HttpResponseReader::ReadHeader(std::string_view line) {
    if (line.front() == ' ' || line.front() == '\t') return;
    const size_t colon = line.find(':');
    const std::string name = colon == std::string_view::npos ? "" : TrimBlanks(line.substr(0, colon));
    if (name.empty()) {
        Fail("bad header");
        return;
    }
    const std::string value = TrimBlanks(line.substr(colon + 1));
    if (EqualNoCase(name, "Content-Length")) ReadContentLength(value);
    if (EqualNoCase(name, "Transfer-Encoding") && LowerAscii(value).find("chunked") != std::string::npos)
        chunked_ = true;
}

// Two lengths that differ leave the body's end in doubt.
void HttpResponseReader::ReadContentLength(std::string_view value) {
    if (!IsNumber(value, 10)) {
        Fail("bad content length");
        return;
    }
    const auto length = NumberUpTo(value, 10, limits_.bodyBytes);
    if (!length) {
        Fail("body too long");
        return;
    }
    if (contentLength_ && *contentLength_ != *length) {
        Fail("bad content length");
        return;
    }
    contentLength_ = length;
}

// An interim response (1xx, such as "100 Continue") is passed over with its
// headers; the real one follows. 204 and 304 never carry a body.
void HttpResponseReader::EndHeaders() {
    if (status_ < 200) {
        status_ = 0;
        reason_.clear();
        contentLength_.reset();
        chunked_ = false;
        stage_ = Stage::StatusLine;
        return;
    }
    headersDone_ = true;
    if (status_ == 204 || status_ == 304) stage_ = Stage::Done;
    else if (chunked_) stage_ = Stage::ChunkSize;
    else if (!contentLength_) stage_ = Stage::BodyToClose;
    else stage_ = *contentLength_ == 0 ? Stage::Announced : Stage::Body;
}

void HttpResponseReader::ReadAnnouncedBody(std::string_view& bytes) {
    const size_t take = static_cast<size_t>(std::min<std::uint64_t>(*contentLength_ - body_, bytes.size()));
    if (!Deliver(bytes.substr(0, take))) return;
    bytes.remove_prefix(take);
    if (body_ == *contentLength_) stage_ = Stage::Announced;
}

// What fits within the limit is handed on first, so that the count does
// not depend on how the bytes arrived.
void HttpResponseReader::ReadBodyToClose(std::string_view& bytes) {
    const size_t take = static_cast<size_t>(std::min<std::uint64_t>(limits_.bodyBytes - body_, bytes.size()));
    if (!Deliver(bytes.substr(0, take))) return;
    bytes.remove_prefix(take);
    if (!bytes.empty()) Fail("body too long");
}

// "<hex size>[;extension]"; the size must fit in what the body may still
// grow by. Size 0 is the last chunk, followed by the trailer.
void HttpResponseReader::ReadChunkSize(std::string_view& bytes) {
    size_t budget = kLongestChunkLine - line_.size();
    const LineState state = TakeLine(bytes, budget);
    if (state == LineState::TooLong) Fail("bad chunk");
    if (state != LineState::Whole) return;
    const std::string line = std::move(line_);
    line_.clear();
    const std::string hex = TrimBlanks(std::string_view(line).substr(0, line.find(';')));
    if (!IsNumber(hex, 16)) {
        Fail("bad chunk");
        return;
    }
    const auto size = NumberUpTo(hex, 16, limits_.bodyBytes - body_);
    if (!size) {
        Fail("body too long");
        return;
    }
    chunkLeft_ = *size;
    stage_ = chunkLeft_ == 0 ? Stage::Trailer : Stage::ChunkData;
}

void HttpResponseReader::ReadChunkData(std::string_view& bytes) {
    const size_t take = static_cast<size_t>(std::min<std::uint64_t>(chunkLeft_, bytes.size()));
    if (!Deliver(bytes.substr(0, take))) return;
    bytes.remove_prefix(take);
    chunkLeft_ -= take;
    if (chunkLeft_ == 0) stage_ = Stage::ChunkEnd;
}

// The data must be followed by its line end and nothing else.
void HttpResponseReader::ReadChunkEnd(std::string_view& bytes) {
    size_t budget = kLongestChunkEnd - line_.size();
    const LineState state = TakeLine(bytes, budget);
    if (state == LineState::Partial) return;
    if (state == LineState::TooLong || !line_.empty()) {
        Fail("bad chunk");
        return;
    }
    stage_ = Stage::ChunkSize;
}

// Trailer fields count against the header limit and are not needed.
void HttpResponseReader::ReadTrailer(std::string_view& bytes) {
    const LineState state = TakeLine(bytes, headerBudget_);
    if (state == LineState::TooLong) Fail("header too long");
    if (state != LineState::Whole) return;
    const bool last = line_.empty();
    line_.clear();
    if (last) stage_ = Stage::Done;
}

// A missing sink takes everything, for a caller that needs only the size.
bool HttpResponseReader::Deliver(std::string_view piece) {
    body_ += piece.size();
    if (piece.empty() || !sink_ || sink_(piece)) return true;
    return Fail("could not store the data");
}

bool HttpResponseReader::Fail(std::string why) {
    error_ = std::move(why);
    stage_ = Stage::Broken;
    line_.clear();
    return false;
}

}  // namespace tarnwell
