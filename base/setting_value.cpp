#include "base/setting_value.h"

#include <cctype>
#include <climits>

#include "base/text_case.h"

namespace tarnwell {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string BoolText(bool value) { return value ? "True" : "False"; }

std::optional<bool> ParseBool(std::string_view text) {
    const std::string trimmed = TrimBlanks(text);
    if (EqualNoCase(trimmed, "True")) return true;
    if (EqualNoCase(trimmed, "False")) return false;
    return std::nullopt;
}

std::string IntText(long long value) { return std::to_string(value); }

int ParseInt(std::string_view text) { return TryParseInt(text).value_or(0); }

std::optional<int> TryParseInt(std::string_view text) {
    const std::string s = TrimBlanks(text);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size()) return std::nullopt;
    long long value = 0;
    for (; i < s.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return std::nullopt;
        value = value * 10 + (s[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) return std::nullopt;
    return static_cast<int>(value);
}

bool SpinEditAcceptsKey(std::string_view text, char key) {
    if (static_cast<unsigned char>(key) < ' ') return true;
    std::string candidate(text);
    candidate += key;
    return TryParseInt(candidate).has_value() && candidate.find(' ') == std::string::npos;
}

std::string TrimBlanks(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

int AlphaForTransparency(int position) {
    // Exact in hundredths, so the halves (positions 10, 30, 50, 70, 90) are
    // decided without floating-point error.
    const int hundredths = 25500 - 255 * position;
    int whole = hundredths / 100;
    const int rest = hundredths % 100;
    if (rest > 50 || (rest == 50 && whole % 2 != 0)) ++whole;
    return whole;
}

}  // namespace tarnwell

namespace tarnwell {

namespace {
constexpr int kShift = 0x2000, kCtrl = 0x4000, kAlt = 0x8000;
constexpr int kFlagShift = 0x01, kFlagCtrl = 0x02, kFlagAlt = 0x04;
}  // namespace

int ShortcutFromHotKeyWord(int word) {
    const int flags = (word >> 8) & 0xFF;
    int shortcut = word & 0xFF;
    if (flags & kFlagShift) shortcut |= kShift;
    if (flags & kFlagCtrl) shortcut |= kCtrl;
    if (flags & kFlagAlt) shortcut |= kAlt;
    return shortcut;
}

int HotKeyWordFromShortcut(int shortcut) {
    int flags = 0;
    if (shortcut & kShift) flags |= kFlagShift;
    if (shortcut & kCtrl) flags |= kFlagCtrl;
    if (shortcut & kAlt) flags |= kFlagAlt;
    return (shortcut & 0xFF) | (flags << 8);
}

}  // namespace tarnwell
