#include "engine/folder_guard.h"

#include <cctype>
#include <vector>

namespace tarnwell {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool SameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

// Characters Windows never takes as part of a plain folder name; ':'
// would name a stream of the folder, which opens the folder itself.
bool IsNameCharacter(char c) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    return std::string_view(":*?\"<>|").find(c) == std::string_view::npos;
}

// The segment as Windows opens it: "." and ".." as they are, others
// without their trailing dots and blanks. None for a segment that is no
// plain name, or that nothing but dots and blanks make up (Windows 95 read
// "..." as the parent's parent).
std::optional<std::string_view> CleanSegment(std::string_view segment) {
    for (char c : segment)
        if (!IsNameCharacter(c)) return std::nullopt;
    if (segment == "." || segment == "..") return segment;
    const size_t last = segment.find_last_not_of(". ");
    if (last == std::string_view::npos) return std::nullopt;
    return segment.substr(0, last + 1);
}

// The next segment of `text` from `position`, separators before it
// skipped; `position` moves past it. Empty at the end.
std::string_view NextSegment(std::string_view text, size_t& position) {
    while (position < text.size() && IsSeparator(text[position])) ++position;
    const size_t start = position;
    while (position < text.size() && !IsSeparator(text[position])) ++position;
    return text.substr(start, position - start);
}

// A share's server or share name: a plain name other than "." and "..".
std::optional<std::string_view> ShareName(std::string_view segment) {
    const auto name = CleanSegment(segment);
    if (!name || name->empty() || *name == "." || *name == "..") return std::nullopt;
    return name;
}

struct SplitPath {
    std::string root;       // "C:\" or "\\server\share"
    std::string_view rest;  // what follows the root
};

std::optional<SplitPath> SplitRoot(std::string_view path) {
    if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
        if (path.size() > 2 && !IsSeparator(path[2])) return std::nullopt;  // relative to the drive's folder
        return SplitPath{std::string(path.substr(0, 2)) + "\\", path.substr(2)};
    }
    if (path.size() < 3 || !IsSeparator(path[0]) || !IsSeparator(path[1]) || IsSeparator(path[2]))
        return std::nullopt;
    size_t position = 2;
    const auto server = ShareName(NextSegment(path, position));
    if (!server) return std::nullopt;
    const auto share = ShareName(NextSegment(path, position));
    if (!share) return std::nullopt;
    return SplitPath{"\\\\" + std::string(*server) + "\\" + std::string(*share), path.substr(position)};
}

struct NormalPath {
    std::string text;
    size_t rootLength;
    bool IsRoot() const { return text.size() == rootLength; }
};

std::optional<NormalPath> Normalize(std::string_view path) {
    const auto split = SplitRoot(path);
    if (!split) return std::nullopt;
    std::vector<std::string_view> segments;
    size_t position = 0;
    for (;;) {
        const std::string_view raw = NextSegment(split->rest, position);
        if (raw.empty()) break;
        const auto segment = CleanSegment(raw);
        if (!segment) return std::nullopt;
        if (*segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (*segment != ".") {
            segments.push_back(*segment);
        }
    }
    NormalPath normal{split->root, split->root.size()};
    for (std::string_view segment : segments) {
        if (normal.text.back() != '\\') normal.text += '\\';
        normal.text += segment;
    }
    return normal;
}

// IsKept when `folder` (no root) is `inner`, HoldsKept when `inner` lies
// in it, none otherwise.
std::optional<FolderRefusal::Reason> Containment(const std::string& folder, const std::string& inner) {
    if (inner.size() < folder.size()) return std::nullopt;
    if (!SameNoCase(std::string_view(inner).substr(0, folder.size()), folder)) return std::nullopt;
    if (inner.size() == folder.size()) return FolderRefusal::Reason::IsKept;
    if (inner[folder.size()] == '\\') return FolderRefusal::Reason::HoldsKept;
    return std::nullopt;
}

// A protected folder given by its path alone counts as the Windows folder:
// only its being matched matters to MayDestroyBelow.
std::string_view PathOf(const std::string& folder) { return folder; }
std::string_view PathOf(const ProtectedFolder& folder) { return folder.path; }
KeptFolder KindOf(const std::string&) { return KeptFolder::Windows; }
KeptFolder KindOf(const ProtectedFolder& folder) { return folder.kind; }

template <typename Folder>
std::optional<FolderRefusal> FirstRefusal(std::string_view folder, std::span<const Folder> kept) {
    const auto normal = Normalize(folder);
    if (!normal) return FolderRefusal{FolderRefusal::Reason::NotFullPath};
    if (normal->IsRoot()) return FolderRefusal{FolderRefusal::Reason::WholeDrive};
    for (const Folder& protectedFolder : kept) {
        const auto protectedNormal = Normalize(PathOf(protectedFolder));
        if (!protectedNormal) continue;
        if (const auto reason = Containment(normal->text, protectedNormal->text))
            return FolderRefusal{*reason, KindOf(protectedFolder)};
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> NormalizeAbsolutePath(std::string_view path) {
    auto normal = Normalize(path);
    if (!normal) return std::nullopt;
    return std::move(normal->text);
}

bool MayDestroyBelow(std::string_view folder, std::span<const std::string> protectedFolders) {
    return !FirstRefusal(folder, protectedFolders);
}

std::optional<FolderRefusal> RefusalBelow(std::string_view folder, std::span<const ProtectedFolder> kept) {
    return FirstRefusal(folder, kept);
}

}  // namespace tarnwell
