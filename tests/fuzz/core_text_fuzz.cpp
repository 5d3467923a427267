// Feeds arbitrary bytes to the portable text handling that reads outside
// input (settings values, plug-in paths): nothing may crash, overflow or
// read out of bounds, and the documented invariants hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/path_macros.h"
#include "cookiekeep/keep_list.h"
#include "base/setting_value.h"
#include "engine/mask.h"

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
    tarnwell::ShortcutFromHotKeyWord(tarnwell::HotKeyWordFromShortcut(value & 0xFFFF));
    return 0;
}
