#include "base/ini_text.h"

#include <algorithm>
#include <cctype>

#include "base/setting_value.h"
#include "base/text_case.h"
#include "base/text_lines.h"

namespace tarnwell {

namespace {

// The name of a section header line ("[name]", blanks allowed around the
// brackets and the name), or none for any other line.
std::optional<std::string> HeaderName(std::string_view line) {
    const std::string trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
    const size_t close = trimmed.rfind(']');
    if (close == std::string::npos) return std::nullopt;
    return TrimBlanks(std::string_view(trimmed).substr(1, close - 1));
}

struct Entry {
    std::string name, value;
};

// A key line: "name=value", or a bare name, which reads as an empty value.
// Blank lines and ";" comments hold no key.
std::optional<Entry> EntryOf(std::string_view line) {
    const std::string trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
    const size_t equals = trimmed.find('=');
    if (equals == std::string::npos) return Entry{trimmed, ""};
    return Entry{TrimBlanks(std::string_view(trimmed).substr(0, equals)),
                 TrimBlanks(std::string_view(trimmed).substr(equals + 1))};
}

std::string WithoutQuotes(std::string value) {
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

// The value of a key line as a reader gets it.
std::string ReadValue(const Entry& entry) { return WithoutQuotes(entry.value); }

std::string OneLine(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::string KeyLine(const std::pair<std::string, std::string>& key) {
    return OneLine(key.first) + "=" + OneLine(key.second);
}

}  // namespace

IniText IniText::Parse(std::string_view text) {
    IniText ini;
    for (std::string_view line : SplitLines(text)) ini.lines_.emplace_back(line);
    return ini;
}

std::string IniText::Serialize() const {
    std::string text;
    for (const std::string& line : lines_) text += line + "\r\n";
    return text;
}

std::vector<IniText::Range> IniText::RangesNamed(std::string_view section) const {
    std::vector<Range> ranges;
    const std::string wanted = TrimBlanks(section);
    for (size_t i = 0; i < lines_.size(); ++i) {
        const auto name = HeaderName(lines_[i]);
        if (!name) continue;
        if (!ranges.empty() && ranges.back().end == lines_.size()) ranges.back().end = i;
        if (EqualNoCase(*name, wanted)) ranges.push_back({i, lines_.size()});
    }
    return ranges;
}

// After the section's last line that is not blank, so that blank lines
// separating it from the next section stay behind it.
size_t IniText::InsertionPoint(const Range& range) const {
    size_t point = range.end;
    while (point > range.header + 1 && TrimBlanks(lines_[point - 1]).empty()) --point;
    return point;
}

std::optional<std::string> IniText::Get(std::string_view section, std::string_view key) const {
    const auto ranges = RangesNamed(section);
    if (ranges.empty()) return std::nullopt;
    const std::string wanted = TrimBlanks(key);
    for (size_t i = ranges.front().header + 1; i < ranges.front().end; ++i) {
        const auto entry = EntryOf(lines_[i]);
        if (entry && EqualNoCase(entry->name, wanted)) return ReadValue(*entry);
    }
    return std::nullopt;
}

bool IniText::HasSection(std::string_view section) const { return !RangesNamed(section).empty(); }

// Lines before the first header belong to no section and are passed over.
std::vector<IniSection> IniText::Sections() const {
    std::vector<IniSection> sections;
    for (const std::string& line : lines_) {
        if (auto name = HeaderName(line)) {
            sections.push_back({std::move(*name), {}});
        } else if (const auto entry = EntryOf(line); entry && !sections.empty()) {
            sections.back().keys.emplace_back(entry->name, ReadValue(*entry));
        }
    }
    return sections;
}

void IniText::Set(std::string_view section, const IniKeys& keys) {
    if (keys.empty()) return;
    auto ranges = RangesNamed(section);
    if (ranges.empty()) {
        lines_.push_back("[" + OneLine(TrimBlanks(section)) + "]");
        ranges.push_back({lines_.size() - 1, lines_.size()});
    }
    Range range = ranges.front();
    for (const auto& key : keys) {
        const std::string wanted = TrimBlanks(OneLine(key.first));
        bool replaced = false;
        for (size_t i = range.header + 1; i < range.end && !replaced; ++i) {
            const auto entry = EntryOf(lines_[i]);
            if (!entry || !EqualNoCase(entry->name, wanted)) continue;
            lines_[i] = KeyLine(key);
            replaced = true;
        }
        if (replaced) continue;
        const size_t point = InsertionPoint(range);
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(point), KeyLine(key));
        ++range.end;
    }
}

void IniText::ReplaceSection(std::string_view section, const IniKeys& keys) {
    const auto ranges = RangesNamed(section);
    // The first section's place, counted once the ones before it are gone.
    size_t place = lines_.size();
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
        place = range->header;
    }
    if (keys.empty()) return;
    std::vector<std::string> added{"[" + OneLine(TrimBlanks(section)) + "]"};
    for (const auto& key : keys) added.push_back(KeyLine(key));
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(place), added.begin(), added.end());
}

}  // namespace tarnwell
