#include "categories/browser_items.h"

#include "base/file_names.h"
#include "categories/mozilla_files.h"
#include "engine/file_info_win.h"
#include "ui/file_replace.h"
#include "ui/text_file.h"

namespace tarnwell {

namespace {

std::string CountLabel(long long count, const char* unit, bool swept) {
    return std::to_string(count) + unit + (swept ? " deleted." : "");
}

// A browser file written back with the line ends the browser writes.
bool WriteBack(const std::string& file, const std::vector<std::string>& lines, const BrowserItemContext& context) {
    return ReplaceFileText(file, JoinLines(lines, "\r\n"), context.ntPlatform) == ERROR_SUCCESS;
}

// The kept cookies are written beside the file before the file itself is
// destroyed, and take its place after: whatever fails, the user keeps the
// old file or the new one. Answers how many bytes the file shrank by.
long long SweepCookieFile(const std::string& file, std::int64_t size, const KeepList& keep,
                          const BrowserItemContext& context) {
    if (keep.Count() == 0) {
        SecureDeleteFile(file, context.removal);
        return size;
    }
    const std::optional<std::string> text = ReadWholeFile(file);
    if (!text) return 0;
    const std::string fresh = file + ".new";
    if (WriteWholeFile(fresh, KeptCookiesText(*text, keep)) != ERROR_SUCCESS) {
        ::DeleteFileA(fresh.c_str());
        return 0;
    }
    if (SecureDeleteFile(file, context.removal) == RemovalOutcome::Destroyed) {
        PutFileInPlace(file, fresh, false, context.ntPlatform);
    } else if (ReadWholeFile(file) == text) {
        // Held open by the browser: the file stays whole, and no second
        // copy of the cookies is left in the profile.
        ::DeleteFileA(fresh.c_str());
    } else if (PutFileInPlace(file, fresh, true, context.ntPlatform) != ERROR_SUCCESS) {
        // Overwritten but not deleted: the kept cookies take its place.
        ::DeleteFileA(fresh.c_str());
    }
    const std::int64_t after = FileSizeOf(file);
    return after < 0 ? size : size - after;
}

}  // namespace

std::optional<std::string> NetscapeDataFolder(const std::string& profilePath) {
    const std::optional<WIN32_FIND_DATAA> first = FirstFolderEntry(profilePath);
    if (!first) return std::nullopt;
    return JoinPath(profilePath, first->cFileName);
}

std::string CookieFileItem(const std::string& file, const std::optional<KeepList>& keep, bool sweep,
                           const BrowserItemContext& context) {
    if (!keep) return "Not Found.";
    const std::int64_t size = FileSizeOf(file);
    if (size < 0) return CountLabel(0, " bytes", sweep);
    return CountLabel(sweep ? SweepCookieFile(file, size, *keep, context) : size, " bytes", sweep);
}

// A sweep whose result could not be written back removed nothing: its
// label then reads as an analysis.
std::string ToolbarFileItem(const std::string& file, bool sweep, const BrowserItemContext& context) {
    const std::optional<std::string> text = ReadWholeFile(file);
    if (!text) return CountLabel(0, " items", sweep);
    const ToolbarWalk walk = WalkToolbarLines(BrowserFileLines(*text), sweep);
    const bool written = WriteBack(file, walk.lines, context);
    return CountLabel(walk.count, " items", sweep && written);
}

std::string GoogleToolbarItem(const std::string& file, bool sweep, const BrowserItemContext& context) {
    const std::optional<std::string> text = ReadWholeFile(file);
    if (!text) return CountLabel(0, " bytes", sweep);
    const PrefsWalk walk = WalkGoogleToolbarPrefs(BrowserFileLines(*text), sweep);
    const bool written = WriteBack(file, walk.lines, context);
    return CountLabel(static_cast<long long>(walk.bytes), " bytes", sweep && written);
}

}  // namespace tarnwell
