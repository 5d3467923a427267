#pragma once
// The one routine by which the program destroys a file: passes of
// overwriting and renaming, then truncation and deletion, as the removal
// options say at the moment each pass starts.
#include <cstdint>
#include <functional>
#include <string>

namespace tarnwell {

class TRandom;
class TRemovalRoot;

struct RemovalOptions {
    bool RandOver = true;    // overwrite the contents on each pass
    bool Scramble = true;    // give the file a meaningless name on each pass
    bool FlushBuffer = false;
    bool ZeroFile = true;    // truncate before the delete
    bool OverMin = true;     // overwrite at least 64 KiB
    std::string Passes = "1";  // the pass count as typed (1 to 99)
};

struct RemovalContext {
    std::function<RemovalOptions()> Options;  // read again at every pass
    std::function<void()> ProcessMessages;    // after every pass, so the window stays responsive
    TRandom* Random = nullptr;                // the program's generator when null
    // The folder the removal was pointed at (engine/removal_root_win.h);
    // when null, the file's own folder as named.
    const TRemovalRoot* Root = nullptr;
};

enum class RemovalOutcome {
    NotAFile,   // nothing by that name, or a folder
    Destroyed,
    Survived,   // a file that is still there: in use, read-only, a link, outside the root
};

inline constexpr std::uint32_t kOverwriteBlock = 8192;
inline constexpr std::uint32_t kMinimumOverwrite = 65536;

// Never throws: a file that is locked, read-only, a link, or does not
// really lie below the root is left as it is. A file with other hard links
// is deleted without overwriting, since its data belongs to its other
// names too. The pass count is taken as 1 to 99 whatever the text says.
RemovalOutcome SecureDeleteFile(const std::string& fileName, const RemovalContext& context);

// The size of the file in bytes, or -1 when it cannot be found.
std::int64_t FileSizeOf(const std::string& fileName);

}  // namespace tarnwell
