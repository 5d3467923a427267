#pragma once
// The text of an INI file, edited the way GetPrivateProfileStringA reads it
// back: section and key names match in any ASCII letter case, blanks and
// control characters around names and values do not count, and the first
// section and the first key of a name are the ones that hold. Every line
// the edits do not concern (comments, unknown keys, other sections, text
// before the first section) stays as it was and where it was. Portable.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwell {

using IniKeys = std::vector<std::pair<std::string, std::string>>;

struct IniSection {
    std::string name;
    IniKeys keys;  // every key line, in order, as Get reads it
};

class IniText {
public:
    // Lines end with CRLF or LF; a last line without either counts too.
    static IniText Parse(std::string_view text);
    // Every line followed by CRLF.
    std::string Serialize() const;

    // The value of the first `key` in the first section named `section`,
    // without the pair of single or double quotes that may enclose it.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;
    // Every section in file order, each on its own even where a name
    // repeats, with its keys in order: names and values read as Get reads
    // them, repeated key names kept (the first is the one Get gives).
    std::vector<IniSection> Sections() const;

    // Each key replaces the line of its first occurrence in the section, or
    // is added after the section's last entry; a missing section is added at
    // the end. Line breaks in names and values become blanks, so that one
    // key stays one line.
    void Set(std::string_view section, const IniKeys& keys);
    // Every section named `section` goes, and the keys take the first one's
    // place as a section of their own; no keys leave no section at all.
    void ReplaceSection(std::string_view section, const IniKeys& keys);

private:
    struct Range {
        size_t header, end;  // the header line and the line after the section's last
    };
    std::vector<Range> RangesNamed(std::string_view section) const;
    size_t InsertionPoint(const Range& range) const;

    std::vector<std::string> lines_;
};

}  // namespace tarnwell
