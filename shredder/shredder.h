#pragma once
// The Shredder tab: a list of files and folders, destroyed together with
// the secure-removal routine. Folders are walked by a scanner of their own;
// the emptied subfolders are removed afterwards, the chosen folder stays.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/removal_root_win.h"
#include "engine/scanner.h"
#include "engine/secure_delete.h"
#include "ui/controls.h"

namespace tarnwell {

// The dialogs and message boxes the Shredder shows, so that they can be
// answered by the window (or by a test).
struct ShredderPrompts {
    std::function<std::optional<std::string>()> PickDirectory;  // none when cancelled
    std::function<std::vector<std::string>()> PickFiles;         // empty when cancelled
    std::function<void(const std::string&)> Inform;              // OK only
    std::function<bool(const std::string&)> Confirm;             // Yes / No
};

inline constexpr const char* kDriveRefusal = "For your safety you can not shred an entire drive with the Shredder.";
inline constexpr const char* kProtectedQuestion =
    "The directory you selected may contain system or personal files you want to keep. Are you sure you want to "
    "continue?";
inline constexpr const char* kShredQuestion =
    "The files in the shredder list will be irrevocably destroyed! Are you sure you want to continue?";

class TShredder {
public:
    TShredder(TListBox& list, TButton& shredButton, ShredderPrompts prompts,
              std::function<RemovalContext()> removal);
    ~TShredder();

    void AddDirBTNClick();
    void AddFileBTNClick();
    void RemoveFileBTNClick();
    void ClearallBTNClick();
    void ShredBTNClick();
    void StopBTNClick();

    // True while any folder walk is removing what it finds.
    bool SweepRunning() const { return runningWalks_ > 0; }
    bool Idle() const { return shredButton_.Enabled(); }

private:
    void ShredEntry(const std::string& entry);
    void StartDirectoryShred(const std::string& directory);
    void WalkEnded(const std::string& directory);
    void UpdateShredButton();
    void Destroy(const std::string& fileName, const TRemovalRoot* root);
    void ReportRunEnd();

    TListBox& list_;
    TButton& shredButton_;
    ShredderPrompts prompts_;
    std::function<RemovalContext()> removal_;
    std::vector<std::unique_ptr<TBaseScanner>> scanners_;  // one per folder entry, kept until exit
    std::vector<std::unique_ptr<TRemovalRoot>> roots_;     // the folder entries, resolved when their walk started
    int runningWalks_ = 0;
    int survivors_ = 0;       // files of this run that could not be destroyed
    bool runActive_ = false;  // a run was confirmed and has not been reported yet
    bool runListed_ = false;  // its list has been handled; walks may still run
    bool removingFile_ = false;
    bool stopRequested_ = false;
};

// What the user is told when files of a run survived: a count, no names.
std::string SurvivorsMessage(int count);

// Removes the empty folders below `directory`, deepest first. Files are
// never touched and links to folders are never followed or removed.
void RemoveEmptySubfolders(const std::string& directory);

}  // namespace tarnwell
