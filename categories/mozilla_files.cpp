#include "categories/mozilla_files.h"

#include <algorithm>

#include "base/text_case.h"
#include "base/text_lines.h"

namespace tarnwell {

namespace {

constexpr std::string_view kTermMarker = "urn:x-netscape-toolbar:searchterm:";
constexpr std::string_view kListMarker = "RDF:resource=\"urn:x-netscape-toolbar:searchterm:";
constexpr std::string_view kDescriptionMarker = "RDF:about=\"urn:x-netscape-toolbar:searchterm:";
constexpr std::string_view kNameMarker = "NC:Name=\"";
constexpr std::string_view kGoogleHistoryPrefixes[] = {"user_pref(\"googlebar.history",
                                                       "user_pref(\"google.toolbar.search_box_history"};

bool Holds(std::string_view line, std::string_view marker) { return line.find(marker) != std::string_view::npos; }

}  // namespace

std::vector<std::string> BrowserFileLines(std::string_view text) {
    std::vector<std::string> lines;
    for (std::string_view line : SplitLinesAtAnyEnd(text)) lines.emplace_back(line);
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, std::string_view lineEnd) {
    std::string text;
    for (const std::string& line : lines) (text += line) += lineEnd;
    return text;
}

std::string KeptCookiesText(std::string_view fileText, const KeepList& keep) {
    std::vector<std::string> kept;
    for (std::string& line : BrowserFileLines(fileText)) {
        const size_t tab = line.find('\t');
        const std::string_view domain = tab == std::string::npos ? std::string_view() : std::string_view(line).substr(0, tab);
        if (line.empty() || line.front() == '#' || keep.Contains(domain)) kept.push_back(std::move(line));
    }
    return JoinLines(kept, "\n");
}

// From the last line to the first, so that removing a line never moves
// one still to be looked at; a description line takes its name line along.
ToolbarWalk WalkToolbarLines(std::vector<std::string> lines, bool sweep) {
    ToolbarWalk walk;
    for (size_t i = lines.size(); i-- > 0;) {
        if (!Holds(lines[i], kTermMarker)) continue;
        ++walk.count;
        if (!sweep) continue;
        if (Holds(lines[i], kListMarker)) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        } else if (Holds(lines[i], kDescriptionMarker)) {
            if (i + 1 < lines.size() && Holds(lines[i + 1], kNameMarker))
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i + 1));
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    walk.lines = std::move(lines);
    return walk;
}

PrefsWalk WalkGoogleToolbarPrefs(std::vector<std::string> lines, bool sweep) {
    PrefsWalk walk;
    for (size_t i = lines.size(); i-- > 0;) {
        const bool history = std::any_of(std::begin(kGoogleHistoryPrefixes), std::end(kGoogleHistoryPrefixes),
                                         [&](std::string_view prefix) { return StartsWithNoCase(lines[i], prefix); });
        if (!history) continue;
        walk.bytes += lines[i].size();
        if (sweep) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
    }
    walk.lines = std::move(lines);
    return walk;
}

std::string LocalSettingsTwin(std::string_view profileFolder) {
    constexpr std::string_view roaming = "\\application data\\";
    constexpr std::string_view local = "\\Local Settings\\Application Data\\";
    const std::string lower = LowerAscii(profileFolder);
    std::string twin;
    size_t from = 0;
    for (size_t at = lower.find(roaming); at != std::string::npos; at = lower.find(roaming, from)) {
        twin.append(profileFolder.substr(from, at - from)).append(local);
        from = at + roaming.size();
    }
    return twin.append(profileFolder.substr(from));
}

}  // namespace tarnwell
