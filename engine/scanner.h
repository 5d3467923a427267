#pragma once
// TBaseScanner walks a directory tree (or the roots of chosen drive kinds)
// on a worker thread and reports every entry whose name matches its masks
// and whose attributes include the required ones. Reports, per-directory
// progress and the end run on the thread that called Execute, while the
// worker waits; entries are handed over in runs, in the order found.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tarnwell {

enum class TScanStrategy { ssGlobal, ssSpecifiedDisk, ssSpecifiedDir };

// Drive kinds, as bits of a set.
enum TScanDrive : unsigned { sdHard = 1u << 0, sdCDROM = 1u << 1, sdRAM = 1u << 2, sdNetwork = 1u << 3, sdFloppy = 1u << 4 };

// Attribute bits an entry must all carry (the Win32 values).
enum TFileAttribute : unsigned {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeID = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
};

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TBaseScanner;

// name, directory (as the walk built it), attributes, size modulo 2^32,
// last-write time (local, two-second resolution) as days since 1899-12-30,
// or 0 for a date outside 1980..2107.
using TDoFileFound = std::function<void(const std::string& name, const std::string& path, std::int32_t attributes,
                                        std::int32_t size, double dateTime)>;
using TDoProcess = std::function<void(std::uint32_t count, std::uint32_t size, const std::string& current,
                                      std::uint32_t currentSize, std::uint32_t currentPos)>;
using TDoProcessDone = std::function<void(TBaseScanner& sender, std::uint32_t count, std::uint32_t size)>;

class TScanThread;

class TBaseScanner {
public:
    TBaseScanner() = default;
    ~TBaseScanner();
    TBaseScanner(const TBaseScanner&) = delete;
    TBaseScanner& operator=(const TBaseScanner&) = delete;

    std::string Directory = "C:\\";
    std::string Files = "*";
    TScanStrategy ScanStrategy = TScanStrategy::ssGlobal;
    unsigned ScanDrives = sdHard | sdCDROM | sdRAM | sdNetwork;
    unsigned Attributes = faArchive;
    bool Recursive = true;
    TThreadPriority Priority = TThreadPriority::tpTimeCritical;
    TDoProcess OnProcess;
    TDoProcessDone OnProcessDone;
    TDoFileFound OnFileFound;
    int Tag = 0;

    // Starts a walk with copies of the current properties; false, with no
    // events to follow, while one is running (also from inside
    // OnProcessDone) or when the worker thread cannot start.
    bool Execute();
    // Ends the running walk at its next entry; OnProcessDone still fires.
    void Stop();
    bool Running() const { return static_cast<bool>(thread_); }

private:
    friend class TScanThread;
    void WorkerEnded(TScanThread& thread);

    std::shared_ptr<TScanThread> thread_;
    bool destroying_ = false;
};

// Sets a scanner to walk every file below the folder it is given, as the
// categories' file items do.
void SetUpFolderWalk(TBaseScanner& scanner);

}  // namespace tarnwell
