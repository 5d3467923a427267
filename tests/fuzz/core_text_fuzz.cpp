// Feeds arbitrary bytes to the portable text handling that reads outside
// input (settings values, plug-in paths, the update check's address,
// response and page): nothing may crash, overflow or
// read out of bounds, and the documented invariants hold.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/path_macros.h"
#include "categories/mozilla_files.h"
#include "base/ini_text.h"
#include "cookiekeep/keep_list.h"
#include "base/setting_value.h"
#include "categories/plugin_definition.h"
#include "engine/folder_guard.h"
#include "engine/mask.h"
#include "resident/index_list.h"
#include "resident/popup_lists.h"
#include "update/http_message.h"
#include "update/update_page.h"

namespace {

// The folder rule: a normal form is its own normal form, uses only "\"
// and ends with one only at a drive root; a folder never may be destroyed
// below when it is protected itself or contains a protected folder, and
// a folder inside a protected one may.
void CheckFolderGuard(std::string_view folder, std::string_view other) {
    const std::vector<std::string> self = {std::string(folder)};
    if (tarnwell::MayDestroyBelow(folder, self)) std::abort();
    const auto normal = tarnwell::NormalizeAbsolutePath(folder);
    if (!normal) return;
    if (tarnwell::NormalizeAbsolutePath(*normal) != normal) std::abort();
    if (normal->find('/') != std::string::npos || normal->find("\\\\", 1) != std::string::npos) std::abort();
    if (normal->back() == '\\' && normal->size() != 3) std::abort();
    const std::vector<std::string> inner = {*normal + "\\x"};
    if (tarnwell::MayDestroyBelow(*normal, inner)) std::abort();
    if (!tarnwell::MayDestroyBelow(*normal + "\\x", self)) std::abort();
    const std::vector<std::string> kept = {std::string(other)};
    if (tarnwell::MayDestroyBelow(folder, kept) && !tarnwell::MayDestroyBelow(*normal, kept)) std::abort();
}

// A name the editor can write: letters, digits, dots and underscores.
std::string NameFrom(std::string_view text, const char* fallback) {
    std::string name;
    for (char c : text)
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_') name += c;
    return name.empty() ? fallback : name;
}

// The INI editor: its own text reads back the same; a key set reads back
// as set (line breaks made blanks, outer blanks and quotes gone); other sections keep
// their keys; a replaced section holds only its new keys, none when empty.
void CheckIniText(std::string_view text, std::string_view names, std::string_view value) {
    const tarnwell::IniText parsed = tarnwell::IniText::Parse(text);
    const std::string once = parsed.Serialize();
    if (tarnwell::IniText::Parse(once).Serialize() != once) std::abort();
    // The section list reads the first section's first key as Get does.
    const std::vector<tarnwell::IniSection> sections = parsed.Sections();
    if (!sections.empty() && !sections.front().keys.empty()) {
        const auto& [firstKey, firstValue] = sections.front().keys.front();
        if (parsed.Get(sections.front().name, firstKey) != firstValue) std::abort();
    }
    const std::string section = NameFrom(names.substr(0, names.size() / 2), "S");
    const std::string key = NameFrom(names.substr(names.size() / 2), "K");
    const std::string other = section + "x";
    std::string expected(value);
    for (char& c : expected)
        if (c == '\r' || c == '\n') c = ' ';
    expected = tarnwell::TrimBlanks(expected);
    if (expected.size() >= 2 && (expected.front() == '"' || expected.front() == '\'') &&
        expected.back() == expected.front())
        expected = expected.substr(1, expected.size() - 2);

    tarnwell::IniText set = parsed;
    set.Set(section, {{key, std::string(value)}});
    if (set.Get(section, key) != expected || set.Get(other, key) != parsed.Get(other, key)) std::abort();
    tarnwell::IniText replaced = parsed;
    replaced.ReplaceSection(section, {{key, std::string(value)}});
    if (replaced.Get(section, key) != expected || replaced.Get(other, key) != parsed.Get(other, key)) std::abort();
    replaced.ReplaceSection(section, {});
    if (replaced.HasSection(section) || replaced.Get(other, key) != parsed.Get(other, key)) std::abort();
}

const std::vector<tarnwell::ProtectedFolder> kKeptFolders = {
    {"C:\\Windows", tarnwell::KeptFolder::Windows},
    {"C:\\Windows\\System32", tarnwell::KeptFolder::System},
    {"C:\\Program Files", tarnwell::KeptFolder::ProgramFiles},
    {"C:\\Documents and Settings\\alice", tarnwell::KeptFolder::Profile},
};

bool IsPathEntry(const tarnwell::PluginEntry& entry) {
    return entry.type == tarnwell::PluginEntryType::Directory || entry.type == tarnwell::PluginEntryType::File;
}

// A definition's entries: a folder ends in "\" unless it is empty; an
// entry its text does not refuse holds no "%" and, for a folder or file, a
// full path; the refusal an entry carries is its text's, and the whole
// check starts with it; a folder the whole check lets run may be destroyed
// below by the guard's own rule.
void CheckPluginEntries(std::string_view text, const tarnwell::PluginMacros& macros) {
    std::vector<std::string> keptPaths;
    for (const auto& folder : kKeptFolders) keptPaths.push_back(folder.path);
    for (const tarnwell::PluginEntry& entry : tarnwell::ReadPluginDefinition(text, macros)) {
        const bool isDirectory = entry.type == tarnwell::PluginEntryType::Directory;
        if (isDirectory && !entry.path.empty() && entry.path.back() != '\\') std::abort();
        if (entry.refusal != tarnwell::PluginTextRefusal(entry).value_or("")) std::abort();
        const auto refusal = tarnwell::PluginPathRefusal(entry, kKeptFolders);
        if (!entry.refusal.empty() && refusal != entry.refusal) std::abort();
        if (isDirectory && !refusal && !tarnwell::MayDestroyBelow(entry.path, keptPaths)) std::abort();
        if (!entry.refusal.empty()) continue;
        if (entry.path.find('%') != std::string::npos) std::abort();
        if (IsPathEntry(entry) && !tarnwell::NormalizeAbsolutePath(entry.path)) std::abort();
        if (!IsPathEntry(entry) && entry.key.find_first_not_of(" \t\\") == std::string::npos) std::abort();
    }
}

// The input as a definition of its own, and as the value of each kind of
// entry, so that every check is reached without the fuzzer having to spell
// out a section first.
void CheckPluginDefinition(std::string_view text, std::string_view value) {
    const tarnwell::PluginMacros macros{"C:\\Documents and Settings\\alice", std::string(value.substr(0, 8))};
    CheckPluginEntries(text, macros);
    const std::string line(value);
    CheckPluginEntries("[E]\nType=Directory\nDirectory=" + line, macros);
    CheckPluginEntries("[E]\nType=File\nFile=" + line, macros);
    CheckPluginEntries("[E]\nType=Registry Value\nRoot=HKLM\nKey=" + line, macros);
}

}  // namespace

// The popup lists: a host holds no "/" and stands in the text; a list
// written and read back is the same list. The index-file removers take at
// most three absolute "index.dat" paths from what they read.
void CheckPopupAndIndexLists(std::string_view text) {
    const std::string host = tarnwell::HostFromUrl(text);
    if (host.find('/') != std::string::npos || text.find(host) == std::string_view::npos) std::abort();
    const std::vector<std::string> entries = tarnwell::ReadListText(text);
    if (tarnwell::ReadListText(tarnwell::ListFileText(entries)) != entries) std::abort();
    const std::vector<std::string> files = tarnwell::IndexFilesToRemove(text);
    if (files.size() > 3) std::abort();
    for (const std::string& file : files) {
        std::string name = file.substr(file.find_last_of("\\/") + 1);
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name != "index.dat") std::abort();
    }
}

// The browser file filters: a rewritten cookie file never grows and reads
// back unchanged; the walks never add lines, keep every line when only
// counting, and count on a sweep what they count when analysing.
void CheckBrowserFileFilters(std::string_view text, std::string_view keepText) {
    const tarnwell::KeepList keep(tarnwell::BrowserFileLines(keepText));
    const std::string kept = tarnwell::KeptCookiesText(text, keep);
    if (kept.size() > text.size() + 1 || tarnwell::KeptCookiesText(kept, keep) != kept) std::abort();
    const std::vector<std::string> lines = tarnwell::BrowserFileLines(text);
    const tarnwell::ToolbarWalk counted = tarnwell::WalkToolbarLines(lines, false);
    const tarnwell::ToolbarWalk swept = tarnwell::WalkToolbarLines(lines, true);
    if (counted.lines != lines || swept.count != counted.count || swept.lines.size() > lines.size()) std::abort();
    const tarnwell::PrefsWalk prefs = tarnwell::WalkGoogleToolbarPrefs(lines, true);
    if (prefs.bytes != tarnwell::WalkGoogleToolbarPrefs(lines, false).bytes || prefs.lines.size() > lines.size())
        std::abort();
    // The cache twin only ever inserts "\Local Settings" before a folder.
    const std::string twin = tarnwell::LocalSettingsTwin(text);
    if (twin.size() < text.size() || (twin.size() - text.size()) % 15 != 0) std::abort();
}

namespace {

// What a response reader made of a response given in two pieces.
struct ResponseReading {
    int status;
    bool headersDone, complete, finished;
    std::string error, body;

    bool operator==(const ResponseReading&) const = default;
};

// The body never passes its limit and is all the sink was given; the
// reader answers Finish as its error says.
ResponseReading ReadResponse(std::string_view text, size_t split) {
    const tarnwell::HttpResponseReader::Limits limits{512, 16};
    std::string body;
    tarnwell::HttpResponseReader reader(limits, [&](std::string_view bytes) {
        body += bytes;
        return true;
    });
    reader.Feed(text.substr(0, split));
    if (reader.BodyBytes() > limits.bodyBytes) std::abort();
    reader.Feed(text.substr(split));
    const bool finished = reader.Finish();
    if (reader.BodyBytes() > limits.bodyBytes || reader.BodyBytes() != body.size()) std::abort();
    if (finished != reader.Error().empty() || (finished && !reader.Complete())) std::abort();
    if (reader.Complete() && !reader.HeadersDone()) std::abort();
    return {reader.StatusCode(), reader.HeadersDone(), reader.Complete(), finished, reader.Error(), body};
}

// However the bytes arrive, the response reads the same; the input is
// also read as a chunked body and as a body of announced length, so that
// the fuzzer need not spell out the headers first.
void CheckHttpResponse(std::string_view text, size_t split) {
    const std::string_view headerSets[] = {
        "",
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n",
        "HTTP/1.0 200 OK\r\nContent-Length: 8\r\n\r\n",
    };
    for (std::string_view headers : headerSets) {
        const std::string response = std::string(headers) + std::string(text);
        if (ReadResponse(response, response.size()) != ReadResponse(response, headers.size() + split)) std::abort();
    }
}

// A parsed address has a host without "/" and a path from "/"; its request
// holds exactly its own lines, whatever the address and the credentials
// carry, and ends with the blank line.
void CheckHttpRequest(std::string_view url, std::string_view proxyText) {
    const auto parsed = tarnwell::ParseHttpUrl(url);
    if (!parsed) return;
    if (parsed->host.empty() || parsed->host.find('/') != std::string::npos || parsed->port == 0) std::abort();
    if (parsed->path.empty() || parsed->path.front() != '/') std::abort();
    const std::string credentials(proxyText.substr(0, 16));
    const tarnwell::HttpProxy proxies[] = {
        {"", "80", "", ""},
        {"proxy", std::string(proxyText), credentials, credentials},
    };
    for (const tarnwell::HttpProxy& proxy : proxies) {
        const std::string request = tarnwell::BuildGetRequest(url, *parsed, proxy);
        size_t lineEnds = 0;
        for (size_t i = 0; i < request.size(); ++i) {
            if (request.compare(i, 2, "\r\n") == 0) {
                ++lineEnds;
                ++i;
            } else if (request[i] == '\r' || request[i] == '\n') {
                std::abort();
            }
        }
        const size_t lines = proxy.host.empty() || credentials.empty() ? 5 : 6;
        if (lineEnds != lines || !request.ends_with("\r\n\r\n")) std::abort();
        const auto target = tarnwell::ConnectTarget(*parsed, proxy);
        if (target && target->second == 0) std::abort();
    }
}

// Page values never hold a quote or a line end and stay within the
// window; a version is never newer than itself, and plain texts are
// ordered one way only; a date is 0 or a day of the years 1 to 9999.
void CheckUpdatePage(std::string_view text, std::string_view other) {
    const tarnwell::UpdatePageValues values = tarnwell::ParseUpdatePage(text, tarnwell::TarnwellTags());
    for (const std::string* value : {&values.ProductName, &values.ProductReadMe, &values.ProductVersion,
                                     &values.ProductDateStr, &values.ProductAuthor, &values.DownloadURL})
        if (value->size() >= 1000 || value->find_first_of("\"\r\n") != std::string::npos) std::abort();
    if (tarnwell::IsNewerBuildNumber(text, text) || tarnwell::IsNewerSimpleString(text, text)) std::abort();
    if (tarnwell::IsNewerSimpleString(text, other) && tarnwell::IsNewerSimpleString(other, text)) std::abort();
    tarnwell::IsNewerBuildNumber(text, other);
    tarnwell::IsNewerBuildNumber(other, text);
    const double date = tarnwell::DfsDate(text.substr(0, 32));
    if (date != static_cast<double>(static_cast<long long>(date)) || date < -693593 || date > 2958465) std::abort();
}

// Any two 64-bit numbers: the percentage stays within 0..100.
void CheckProgress(std::string_view text) {
    std::int64_t numbers[2] = {0, 0};
    if (!text.empty()) std::memcpy(numbers, text.data(), std::min(text.size(), sizeof numbers));
    const auto percent = tarnwell::ProgressPercent(numbers[0], numbers[1]);
    if (percent.has_value() != (numbers[1] > 0) || (percent && (*percent < 0 || *percent > 100))) std::abort();
    tarnwell::ProgressText(numbers[0], numbers[1]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tarnwell::ParseBool(text);
    const int value = tarnwell::ParseInt(text);
    if (value != 0 && tarnwell::ParseInt(tarnwell::IntText(value)) != value) std::abort();
    const std::string trimmed = tarnwell::TrimBlanks(text);
    if (!trimmed.empty() && (static_cast<unsigned char>(trimmed.front()) <= ' ')) std::abort();
    const size_t split = size / 2;
    const std::string expanded =
        tarnwell::ExpandPathMacros(text.substr(0, split), text.substr(split), "user");
    if (expanded.empty() || expanded.back() != '\\') std::abort();
    const tarnwell::MaskList masks = tarnwell::ParseMaskList(text.substr(0, split));
    if (masks.error.empty() && masks.masks.empty() && !tarnwell::TrimBlanks(text.substr(0, split)).empty() &&
        text.substr(0, split).find_first_not_of("; ") != std::string_view::npos)
        std::abort();
    masks.Matches(text.substr(split));
    for (const std::string& domain : tarnwell::CookieDomains(text))
        if (domain.find('\t') != std::string::npos || domain.find('\n') != std::string::npos) std::abort();
    CheckFolderGuard(text.substr(0, split), text.substr(split));
    CheckIniText(text, text.substr(0, std::min<size_t>(split, 16)), text.substr(split, 64));
    tarnwell::ShortcutFromHotKeyWord(tarnwell::HotKeyWordFromShortcut(value & 0xFFFF));
    CheckPopupAndIndexLists(text);
    CheckBrowserFileFilters(text.substr(0, split), text.substr(split));
    CheckPluginDefinition(text, text.substr(split));
    CheckHttpResponse(text, split);
    CheckHttpRequest(text, text.substr(split));
    CheckUpdatePage(text, text.substr(split));
    CheckProgress(text);
    return 0;
}
