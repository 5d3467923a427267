#pragma once
// The popup killer's allow and block lists as the list dialog keeps them:
// host names cut from what the user types, one entry per line of
// allow.lst and block.lst. Portable: no Windows headers.
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// The host part of an address: after the first "//" when the text holds
// "http://" or "https://" (the scheme is matched in lower case only),
// then up to the first "/". A bare host comes back unchanged; the result
// may be empty.
std::string HostFromUrl(std::string_view text);

// The entries of a list file: lines ended by CR, LF or CRLF, empty lines
// in the middle kept as empty entries.
std::vector<std::string> ReadListText(std::string_view text);
// The file text of `entries`: every line ended by CRLF; empty for none.
std::string ListFileText(const std::vector<std::string>& entries);

// Whether `entries` holds `host`, letter case ignored.
bool ListHolds(const std::vector<std::string>& entries, std::string_view host);

}  // namespace tarnwell
