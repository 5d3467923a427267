#pragma once
// Plug-in definitions: INI files in the "plugins" folder beside the program,
// each describing the traces of one other application as a list of entries
// (a folder, a file, a registry key, a registry value). Reading a definition
// and judging its paths as text are portable; where a path lies on this
// system is judged by the folder guard (engine/folder_guard_win.h).
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/folder_guard.h"

namespace tarnwell {

// Whether a file of the plug-in folder is a definition: its extension is
// exactly ".ini" (".INI" does not count), after a name of at least one
// character.
bool IsPluginFileName(std::string_view fileName);

enum class PluginEntryType { Directory, File, RegistryKey, RegistryValue };
enum class PluginRoot { CurrentUser, LocalMachine };

struct PluginEntry {
    PluginEntryType type = PluginEntryType::Directory;
    // Directory (always ending in "\") or File, with the macros expanded.
    std::string path;
    PluginRoot root = PluginRoot::CurrentUser;  // "HKLM" exactly, else the current user
    std::string key;
    std::string value;
    // Why the entry must not run, as the row shows it after "Refused: ";
    // empty when nothing in its text forbids it.
    std::string refusal;
};

// The values the path macros stand for.
struct PluginMacros {
    std::string profileRoot;  // "%DRIVE%" is its drive ("C:")
    std::string userName;     // "%USERNAME%"; empty when unknown
};

// The entries of a definition's text, one per section, in file order.
// Section and key names match in any letter case; the first key of a name
// within a section holds; a missing key reads as empty; values lose the
// blanks around them and one pair of enclosing quotes, as the system's
// profile reader gives them. A section without "Type", or whose "Type" is
// not exactly one of "Directory", "File", "Registry Key", "Registry Value",
// gives no entry. Each entry carries the refusal its text alone calls for
// (PluginTextRefusal).
std::vector<PluginEntry> ReadPluginDefinition(std::string_view text, const PluginMacros& macros);

// What the text of an entry alone refuses: a Directory or File path that
// is empty, still holds a "%", is not a full path (drive or share) or is
// longer than the system's path limit; a registry entry whose key is empty
// or names nothing but the hive root (blanks and backslashes).
std::optional<std::string> PluginTextRefusal(const PluginEntry& entry);

// The row's words for a folder the guard refuses.
std::string RefusalText(const FolderRefusal& refusal);

// The whole check of a Directory or File entry against the given protected
// folders: its text, then the folder guard's rule on the path itself.
std::optional<std::string> PluginPathRefusal(const PluginEntry& entry, std::span<const ProtectedFolder> kept);

}  // namespace tarnwell
