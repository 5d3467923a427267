#pragma once
// The rule that keeps a recursive removal away from the folders Windows and
// the user cannot live without: a walk that destroys everything below a
// folder is never started on a drive or share root, nor on a protected
// folder or any folder that contains one. Portable: no Windows headers;
// the Win32 side (engine/folder_guard_win.h) finds the protected folders
// and resolves the location before asking.
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarnwell {

// The canonical form of an absolute Windows path, for comparison:
// "\" and "/" both separate, repeated separators count as one, "." is
// dropped and ".." takes off the segment before it (never the root), and
// a segment loses its trailing dots and blanks, as Windows drops them when
// it opens the name. The root is "C:\" for a drive ("C:" alone names it
// too) and "\\server\share" for a share; nothing else ends with "\".
// Letter case is kept.
//
// None for a path that is empty, relative ("temp", "\temp", "C:temp"), a
// device or long-name path ("\\?\...", "\\.\..."), a share without a share
// name, or that holds a segment Windows would not take as a plain folder
// name: one of ':' (a stream), '*', '?', '"', '<', '>', '|' or a control
// character, or one made of nothing but dots and blanks other than "."
// and ".." (Windows 95 read "..." as the parent's parent).
std::optional<std::string> NormalizeAbsolutePath(std::string_view path);

// Whether everything below `folder` may be destroyed: false when the folder
// is not an absolute path NormalizeAbsolutePath accepts, is a drive or share
// root, or is one of `protectedFolders` or a folder that contains one
// (ASCII letters compared without regard to case). A protected folder that
// is empty or not an accepted absolute path protects nothing.
bool MayDestroyBelow(std::string_view folder, std::span<const std::string> protectedFolders);

// The folders a recursive removal must never start on or above, by kind.
enum class KeptFolder { Windows, System, ProgramFiles, Profile };
struct ProtectedFolder {
    std::string path;
    KeptFolder kind;
};

// Why a walk may not destroy everything below a folder.
struct FolderRefusal {
    enum class Reason { NotFullPath, WholeDrive, IsKept, HoldsKept };
    Reason reason;
    KeptFolder kept = KeptFolder::Windows;  // for IsKept and HoldsKept: the first protected folder matched
};

// The same rule as MayDestroyBelow, telling why: none where it allows the
// walk; otherwise NotFullPath for what NormalizeAbsolutePath refuses,
// WholeDrive for a drive or share root, IsKept for a protected folder
// itself and HoldsKept for a folder that contains one, naming the kind of
// the first of `kept` that matched.
std::optional<FolderRefusal> RefusalBelow(std::string_view folder, std::span<const ProtectedFolder> kept);

}  // namespace tarnwell
