#pragma once
// Files and folders a test puts where the program looks for them, outside
// a folder of the test's own. Each one the test had to make is recorded,
// and only those are removed again: whatever was there before stays.
#include <set>
#include <string>
#include <vector>

namespace tarnwell::testing {

class PlantedFiles {
public:
    PlantedFiles() = default;
    ~PlantedFiles() { RemoveAll(); }
    PlantedFiles(const PlantedFiles&) = delete;
    PlantedFiles& operator=(const PlantedFiles&) = delete;

    // Makes each missing folder down to `path` and records it.
    [[nodiscard]] bool Folder(const std::string& path);
    // Makes the file's folders and the file itself. A file that is there
    // already is not the test's to overwrite: that fails.
    [[nodiscard]] bool File(const std::string& path, const std::string& text = "x");
    // Notes what `folder` holds now: whatever is new there when the test
    // ends came from its run (the program's own index files, say) and is
    // removed with the rest.
    void WatchForNewEntries(const std::string& folder);
    // Removes the recorded files, then what is new in the watched folders,
    // then the recorded folders deepest first, each with whatever the run
    // left in it (a folder the test made holds nothing from before it).
    void RemoveAll();

private:
    struct Watched {
        std::string folder;
        std::set<std::string> before;  // paths below it
    };
    std::vector<std::string> files_;
    std::vector<std::string> folders_;  // in the order made: parents first
    std::vector<Watched> watched_;
};

}  // namespace tarnwell::testing
