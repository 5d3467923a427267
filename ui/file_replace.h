#pragma once
// A file's contents replaced in one step, so that the file on disk is
// always either the old one or the new one, never a mix: the new text is
// written and flushed to a file beside it ("<name>.new"), which then takes
// the old one's place. The NT family renames over the old file in one
// call; the 95 family, which cannot, moves the old file aside as
// "<name>.bak" for the moment in between and takes it back on failure.
#include <string>

#include "base/win.h"

namespace tarnwell {

// ERROR_SUCCESS, or the error of the step that failed; then the file is as
// it was and no ".new" file is left. `ntPlatform` chooses the one-step
// rename.
DWORD ReplaceFileText(const std::string& path, const std::string& text, bool ntPlatform);

// Puts the written file `fresh` in the place of `path` (which exists when
// `exists`), as ReplaceFileText does.
DWORD PutFileInPlace(const std::string& path, const std::string& fresh, bool exists, bool ntPlatform);

// A replace on the 95 family interrupted between its two renames (power
// lost, say) leaves only the backup: it is given the file's name again.
void RecoverInterruptedReplace(const std::string& path);

}  // namespace tarnwell
