#include "categories/plugin_definition.h"

#include "app/path_macros.h"
#include "base/ini_text.h"
#include "base/text_case.h"

namespace tarnwell {

namespace {

constexpr std::string_view kPluginExtension = ".ini";
// MAX_PATH less the closing NUL: the longest path the system opens.
constexpr size_t kLongestPath = 259;

// The entry types by their exact names; "directory" names none.
std::optional<PluginEntryType> EntryType(std::string_view name) {
    if (name == "Directory") return PluginEntryType::Directory;
    if (name == "File") return PluginEntryType::File;
    if (name == "Registry Key") return PluginEntryType::RegistryKey;
    if (name == "Registry Value") return PluginEntryType::RegistryValue;
    return std::nullopt;
}

// The first key named `name` in any letter case; empty when there is none.
std::string KeyValue(const IniKeys& keys, std::string_view name) {
    for (const auto& [key, value] : keys)
        if (EqualNoCase(key, name)) return value;
    return {};
}

bool IsPathEntry(const PluginEntry& entry) {
    return entry.type == PluginEntryType::Directory || entry.type == PluginEntryType::File;
}

// An empty folder stays empty, so that the entry is refused for naming
// none rather than for the lone backslash it would otherwise get.
std::string FolderPath(std::string_view value, const PluginMacros& macros) {
    std::string expanded = ExpandMacros(value, macros.profileRoot, macros.userName);
    return expanded.empty() ? expanded : WithTrailingBackslash(std::move(expanded));
}

std::optional<PluginEntry> EntryOf(const IniKeys& keys, const PluginMacros& macros) {
    const auto type = EntryType(KeyValue(keys, "Type"));
    if (!type) return std::nullopt;
    PluginEntry entry;
    entry.type = *type;
    if (entry.type == PluginEntryType::Directory) {
        entry.path = FolderPath(KeyValue(keys, "Directory"), macros);
    } else if (entry.type == PluginEntryType::File) {
        entry.path = ExpandMacros(KeyValue(keys, "File"), macros.profileRoot, macros.userName);
    } else {
        entry.root = KeyValue(keys, "Root") == "HKLM" ? PluginRoot::LocalMachine : PluginRoot::CurrentUser;
        entry.key = KeyValue(keys, "Key");
        entry.value = KeyValue(keys, "Value");
    }
    entry.refusal = PluginTextRefusal(entry).value_or("");
    return entry;
}

std::optional<std::string> PathTextRefusal(const PluginEntry& entry) {
    if (entry.path.empty())
        return entry.type == PluginEntryType::Directory ? "no folder given" : "no file given";
    // A macro this program does not know, or one written wrong.
    if (entry.path.find('%') != std::string::npos) return "unexpanded macro";
    if (!NormalizeAbsolutePath(entry.path)) return "not a full path";
    if (entry.path.size() > kLongestPath) return "path too long";
    return std::nullopt;
}

// A key of nothing but separators would name the hive's root itself.
std::optional<std::string> KeyTextRefusal(const PluginEntry& entry) {
    if (entry.key.find_first_not_of(" \t\\") == std::string::npos) return "no registry key given";
    return std::nullopt;
}

std::string KeptFolderName(KeptFolder kind) {
    switch (kind) {
        case KeptFolder::Windows: return "the Windows folder";
        case KeptFolder::System: return "the system folder";
        case KeptFolder::ProgramFiles: return "the program files folder";
        case KeptFolder::Profile: return "the profile folder";
    }
    return "a protected folder";
}

}  // namespace

bool IsPluginFileName(std::string_view fileName) {
    return fileName.size() > kPluginExtension.size() && fileName.ends_with(kPluginExtension);
}

std::vector<PluginEntry> ReadPluginDefinition(std::string_view text, const PluginMacros& macros) {
    std::vector<PluginEntry> entries;
    for (const IniSection& section : IniText::Parse(text).Sections())
        if (auto entry = EntryOf(section.keys, macros)) entries.push_back(std::move(*entry));
    return entries;
}

std::optional<std::string> PluginTextRefusal(const PluginEntry& entry) {
    return IsPathEntry(entry) ? PathTextRefusal(entry) : KeyTextRefusal(entry);
}

std::string RefusalText(const FolderRefusal& refusal) {
    switch (refusal.reason) {
        case FolderRefusal::Reason::NotFullPath: return "not a full path";
        case FolderRefusal::Reason::WholeDrive: return "a whole drive";
        case FolderRefusal::Reason::IsKept: return KeptFolderName(refusal.kept);
        case FolderRefusal::Reason::HoldsKept: return "holds " + KeptFolderName(refusal.kept);
    }
    return "not a full path";
}

std::optional<std::string> PluginPathRefusal(const PluginEntry& entry, std::span<const ProtectedFolder> kept) {
    if (auto refusal = PluginTextRefusal(entry)) return refusal;
    if (!IsPathEntry(entry)) return std::nullopt;
    if (const auto refusal = RefusalBelow(entry.path, kept)) return RefusalText(*refusal);
    return std::nullopt;
}

}  // namespace tarnwell
