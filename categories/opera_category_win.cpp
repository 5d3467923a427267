#include "categories/opera_category.h"

#include "app/control_table.h"
#include "base/file_names.h"
#include "base/ini_text.h"
#include "ui/text_file.h"

namespace tarnwell {

namespace {

// The keys of opera6.ini's "User Prefs" that name history files; each
// value is a full file name.
constexpr const char* kHistoryKeys[] = {"Direct History File", "Global History File", "Viewer History File",
                                        "Button History File"};

}  // namespace

TOperaCategory::TOperaCategory(const CategoryServices& services)
    : locations_(services.locations), category_(services, Declare()) {}

bool TOperaCategory::ProfileExists() const {
    return !locations_.OperaDir.empty() && DirectoryExists(locations_.OperaDir);
}

std::string TOperaCategory::ProfileFile(const char* name) const {
    return ProfileExists() ? JoinPath(locations_.OperaDir, name) : std::string();
}

// A file named under two keys is listed twice: counted twice by an
// analysis, found gone the second time by a sweep.
std::vector<std::string> TOperaCategory::HistoryFiles() const {
    const std::string ini = ProfileFile("opera6.ini");
    const std::optional<std::string> text = ini.empty() ? std::nullopt : ReadWholeFile(ini);
    if (!text) return {};
    const IniText prefs = IniText::Parse(*text);
    std::vector<std::string> files;
    for (const char* key : kHistoryKeys)
        if (std::optional<std::string> file = prefs.Get("User Prefs", key); file && !file->empty())
            files.push_back(*file);
    return files;
}

CategoryDecl TOperaCategory::Declare() {
    FolderScan cache{.folder = [this] { return ProfileFile("cache4"); }};
    const auto profileFile = [this](const char* name) {
        return [this, name] {
            const std::string file = ProfileFile(name);
            return file.empty() ? std::vector<std::string>() : std::vector<std::string>{file};
        };
    };

    CategoryDecl decl{.analyzeButton = ctl::OPAnalyzeBTN,
                      .sweepButton = ctl::OPSweepBTN,
                      .quickSweepItem = ctl::SweepOPHistMNU,
                      .allBox = ctl::OPAllCB};
    decl.rows = {
        {ctl::OPTempFilesCB, ctl::OPTempFiles, cache},
        {ctl::OPHistFilesCB, ctl::OPHistFiles, FileList{.files = [this] { return HistoryFiles(); }}},
        {ctl::OPCookFilesCB, ctl::OPCookFiles, FileList{.files = profileFile("cookies4.dat")}},
        {ctl::OPSessionCB, ctl::OPSession, FileList{.files = profileFile("sessions\\autosave.win")}},
    };
    decl.emptySweep = EmptySweep::RunEndCheck;
    decl.ready = [this] { return ProfileExists(); };
    return decl;
}

}  // namespace tarnwell
