// Measures the sweep engine against bare loops of the same system calls,
// in the same run, and prints the ratios:
//   analyze  the scanner with a counting handler on this (GUI) thread
//            against a bare FindFirstFileA/FindNextFileA recursion, and
//            with a handler that also records each entry as the category
//            engine does for the item's details;
//   memory   peak working set of a walk of 200k files against one of 10k
//            (each in a child process of its own), and of a 200k walk that
//            records what it finds, as an item's details keep it;
//   sweep    SecureDeleteFile with the default options against the bare
//            open/close, grow, write, rename, truncate and delete loop,
//            on 2,000 files of 1 KiB and on files of 50 MiB;
//   rename   the cost of one rename in a folder of 50,000 files.
// Trees are built once below C:\tw-bench and kept for later runs.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/file_info_win.h"
#include "engine/findings.h"
#include "base/file_names.h"
#include "engine/random.h"
#include "engine/scanner.h"
#include "engine/removal_root_win.h"
#include "engine/secure_delete.h"
#include "base/handles.h"
#include "base/win.h"

#include <psapi.h>

using namespace tarnwell;

namespace {

const std::string kBase = "C:\\tw-bench\\";

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void WriteFileOfSize(const std::string& path, size_t size) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    std::vector<char> data(size, 'x');
    DWORD written = 0;
    if (size) ::WriteFile(file.get(), data.data(), static_cast<DWORD>(size), &written, nullptr);
}

// files spread over folders of 100 files, 50 folders to a group.
std::string BuildTree(int files) {
    const std::string root = kBase + "tree" + std::to_string(files);
    if (::GetFileAttributesA((root + "\\ready").c_str()) != INVALID_FILE_ATTRIBUTES) return root;
    std::printf("building %d files in %s...\n", files, root.c_str());
    std::fflush(stdout);
    ::CreateDirectoryA(kBase.c_str(), nullptr);
    ::CreateDirectoryA(root.c_str(), nullptr);
    for (int i = 0; i < files; ++i) {
        const std::string group = root + "\\g" + std::to_string(i / 5000);
        const std::string folder = group + "\\d" + std::to_string(i / 100);
        if (i % 5000 == 0) ::CreateDirectoryA(group.c_str(), nullptr);
        if (i % 100 == 0) ::CreateDirectoryA(folder.c_str(), nullptr);
        WriteFileOfSize(folder + "\\f" + std::to_string(i) + ".tmp", 0);
    }
    WriteFileOfSize(root + "\\ready", 0);
    return root;
}

long BareWalk(const std::string& directory) {
    long count = 0;
    WIN32_FIND_DATAA entry;
    FindHandle search(::FindFirstFileA(JoinPath(directory, "*.*").c_str(), &entry));
    if (!search) return 0;
    do {
        const std::string_view name = entry.cFileName;
        if (name == "." || name == "..") continue;
        ++count;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) count += BareWalk(JoinPath(directory, name));
    } while (::FindNextFileA(search.get(), &entry));
    return count;
}

// `record`: every entry also goes into a bounded list of findings, with
// the same copies of name and folder the category engine makes.
long ScannerWalk(const std::string& directory, bool record = false) {
    FindingList findings;
    TBaseScanner scanner;
    scanner.ScanStrategy = TScanStrategy::ssSpecifiedDir;
    scanner.Directory = directory;
    scanner.Attributes = 0;
    scanner.Priority = TThreadPriority::tpNormal;
    long count = 0;
    bool done = false;
    scanner.OnFileFound = [&](const std::string& name, const std::string& path, std::int32_t attributes,
                              std::int32_t size, double) {
        ++count;
        if (!record) return;
        const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        findings.Add(name, path, folder ? -1 : size, folder ? FindingKind::Folder : FindingKind::File);
    };
    scanner.OnProcessDone = [&](TBaseScanner&, std::uint32_t, std::uint32_t) { done = true; };
    scanner.Execute();
    MSG message;
    while (!done && ::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
    while (scanner.Running() && ::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
    return count;
}

template <typename F>
double Best(int rounds, F run) {
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        const double start = Now();
        run();
        best = std::min(best, Now() - start);
    }
    return best;
}

void Analyze() {
    for (int files : {10000, 50000, 200000}) {
        const std::string root = BuildTree(files);
        long bareCount = 0, scanCount = 0;
        BareWalk(root);  // warm the caches for both
        const double bare = Best(3, [&] { bareCount = BareWalk(root); });
        const double scan = Best(3, [&] { scanCount = ScannerWalk(root); });
        const double recorded = Best(3, [&] { ScannerWalk(root, true); });
        std::printf("analyze %6d files: scanner %.3f s, bare walk %.3f s, ratio %.2f (%ld / %ld entries); "
                    "recording %.3f s, ratio %.2f (%+.2f)\n",
                    files, scan, bare, scan / bare, scanCount, bareCount, recorded, recorded / bare,
                    recorded / bare - scan / bare);
    }
}

SIZE_T PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

SIZE_T ChildPeak(int files, bool record = false) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"" + std::string(self) + (record ? "\" walk-memory-recorded " : "\" walk-memory ") +
                          std::to_string(files);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return 0;
    ::WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hProcess);
    ::CloseHandle(info.hThread);
    return static_cast<SIZE_T>(code) * 1024;  // the child reports KiB
}

void Memory() {
    BuildTree(10000);
    BuildTree(200000);
    const SIZE_T small = ChildPeak(10000), large = ChildPeak(200000), recorded = ChildPeak(200000, true);
    std::printf("memory: peak working set %.1f MB for 10k files, %.1f MB for 200k files, difference %.2f MB\n",
                small / 1048576.0, large / 1048576.0, (static_cast<double>(large) - small) / 1048576.0);
    // The list keeps at most its limit of entries, whatever the walk finds.
    std::printf("memory: 200k files recorded %.1f MB, %.2f MB more than unrecorded (%u entries kept at most)\n",
                recorded / 1048576.0, (static_cast<double>(recorded) - large) / 1048576.0,
                static_cast<unsigned>(FindingList::kDefaultLimit));
}

RemovalContext Defaults() {
    RemovalContext context;
    context.ProcessMessages = [] {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    };
    return context;
}

// The same system calls as the routine's default path, with no checks.
void BareRemoval(const std::string& path, TRandom& random) {
    { FileHandle probe(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)); }
    {
        FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        std::int64_t size = OpenFileSize(file.get()).value_or(0);
        if (size < kMinimumOverwrite) {
            SeekFromStart(file.get(), kMinimumOverwrite);
            ::SetEndOfFile(file.get());
            size = kMinimumOverwrite;
        }
        std::vector<unsigned char> block(kOverwriteBlock, static_cast<unsigned char>(random.Below(128)));
        SeekFromStart(file.get(), 0);
        for (std::int64_t left = size; left > 0; left -= kOverwriteBlock) {
            DWORD written = 0;
            ::WriteFile(file.get(), block.data(), static_cast<DWORD>(std::min<std::int64_t>(left, kOverwriteBlock)),
                        &written, nullptr);
        }
    }
    const std::string renamed = ScrambledName(path, random.Below(kScrambleRange), path);
    ::MoveFileA(path.c_str(), renamed.c_str());
    {
        FileHandle file(
            ::CreateFileA(renamed.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        SeekFromStart(file.get(), 0);
        ::SetEndOfFile(file.get());
    }
    ::DeleteFileA(renamed.c_str());
}

std::vector<std::string> MakeFiles(const std::string& folder, int count, size_t size) {
    ::CreateDirectoryA(kBase.c_str(), nullptr);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        files.push_back(folder + "\\file" + std::to_string(i) + ".dat");
        WriteFileOfSize(files.back(), size);
    }
    return files;
}

// Alternates the routine and the bare loop and keeps the best round of
// each, so that cache and disk state favour neither.
void Sweep() {
    TRandom random(1);
    RemovalContext context = Defaults();
    double routine = 1e9, bare = 1e9;
    for (int round = 0; round < 3; ++round) {
        auto files = MakeFiles(kBase + "small-a", 2000, 1024);
        // As a sweep does: the folder is resolved once, for all its files.
        const TRemovalRoot root(kBase + "small-a");
        context.Root = &root;
        double start = Now();
        for (const std::string& f : files) SecureDeleteFile(f, context);
        routine = std::min(routine, Now() - start);
        files = MakeFiles(kBase + "small-b", 2000, 1024);
        start = Now();
        for (const std::string& f : files) BareRemoval(f, random);
        bare = std::min(bare, Now() - start);
    }
    std::printf("sweep 2000 files of 1 KiB: routine %.3f s, bare loop %.3f s, ratio %.2f\n", routine, bare,
                routine / bare);

    const size_t big = 50u << 20;
    const int count = 4;
    double routineLarge = 1e9, bareLarge = 1e9;
    for (int round = 0; round < 3; ++round) {
        auto files = MakeFiles(kBase + "large-b", count, big);
        double start = Now();
        for (const std::string& f : files) BareRemoval(f, random);
        bareLarge = std::min(bareLarge, Now() - start);
        files = MakeFiles(kBase + "large-a", count, big);
        const TRemovalRoot root(kBase + "large-a");
        context.Root = &root;
        start = Now();
        for (const std::string& f : files) SecureDeleteFile(f, context);
        routineLarge = std::min(routineLarge, Now() - start);
    }
    const double megabytes = count * 50.0;
    std::printf("sweep %d files of 50 MiB: routine %.0f MB/s, bare loop %.0f MB/s, bandwidth ratio %.2f\n", count,
                megabytes / routineLarge, megabytes / bareLarge, bareLarge / routineLarge);
}

void Rename() {
    const std::string folder = kBase + "rename50k";
    if (::GetFileAttributesA((folder + "\\ready").c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("building a folder of 50,000 files...\n");
        std::fflush(stdout);
        MakeFiles(folder, 50000, 0);
        WriteFileOfSize(folder + "\\ready", 0);
    }
    TRandom random(3);
    const int sample = 200;
    const double start = Now();
    for (int i = 0; i < sample; ++i) {
        const std::string from = folder + "\\file" + std::to_string(i) + ".dat";
        const std::string to = folder + "\\~" + std::to_string(static_cast<int>(random.Below(kScrambleRange))) + ".dat";
        ::MoveFileA(from.c_str(), to.c_str());
        ::MoveFileA(to.c_str(), from.c_str());
    }
    const double each = (Now() - start) / (2 * sample);
    std::printf("rename in a folder of 50,000 files: %.2f ms each\n", each * 1000);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "all";
    if ((what == "walk-memory" || what == "walk-memory-recorded") && argc > 2) {
        ScannerWalk(BuildTree(std::atoi(argv[2])), what == "walk-memory-recorded");
        return static_cast<int>(PeakWorkingSet() / 1024);
    }
    if (what == "all" || what == "analyze") Analyze();
    if (what == "all" || what == "memory") Memory();
    if (what == "all" || what == "sweep") Sweep();
    if (what == "all" || what == "rename") Rename();
    return 0;
}
