#pragma once
// What one run of an item found, kept in memory for the item's details
// window: every entry a walk or a list reported, up to a limit, with the
// totals always right; after a sweep, what is still there and why.
// Nothing here outlives the program. Portable: no Windows headers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

enum class FindingKind { File, Folder, RegistryValue, RegistryKey };

struct Finding {
    std::string name;
    std::string folder;       // the folder it lies in, or the registry key
    std::int64_t size = -1;   // bytes, for a file; -1 for anything else
    FindingKind kind = FindingKind::File;
    std::string remark;       // why a sweep left it: "in use or read-only", "kept by the Cookie Keeper"
};

// Entries past the limit are counted but not kept, so a walk of a huge
// folder costs bounded memory. Entries that follow one another in the same
// folder share one copy of its name, and nothing is copied for an entry
// that is only counted: recording costs a walk little.
class FindingList {
public:
    static constexpr std::size_t kDefaultLimit = 50000;

    explicit FindingList(std::size_t limit = kDefaultLimit) : limit_(limit) {}

    void Add(std::string_view name, std::string_view folder, std::int64_t size, FindingKind kind,
             std::string_view remark = {});
    void Add(const Finding& finding) { Add(finding.name, finding.folder, finding.size, finding.kind, finding.remark); }
    void Clear();

    std::vector<Finding> Entries() const;               // the kept ones, in the order reported
    std::size_t Kept() const { return entries_.size(); }
    std::size_t Count() const { return count_; }        // every entry reported
    std::size_t Beyond() const { return count_ - entries_.size(); }
    std::int64_t Bytes() const { return bytes_; }      // the sizes of every file reported

private:
    struct Entry {
        std::string name;
        std::uint32_t folder;  // index into folders_
        std::int64_t size;
        FindingKind kind;
        std::string remark;
    };

    std::size_t limit_;
    std::vector<std::string> folders_;
    std::vector<Entry> entries_;
    std::size_t count_ = 0;
    std::int64_t bytes_ = 0;
};

// The last run of one item.
struct ItemReport {
    std::string caption;      // the item's name as its row shows it
    bool ran = false;
    bool swept = false;       // the run was a sweep
    std::string when;         // the local time it ended, "2026-12-08 14:03"
    std::string label;        // the risk label's text the run left
    // Set for items whose work is a single count or a store of their own:
    // what the run did, in a sentence, instead of a list.
    std::string summary;
    FindingList found;
    // After a sweep of a folder or a file list: what the removal routine
    // destroyed, and what is still there.
    bool checked = false;
    std::size_t removed = 0;
    FindingList stillThere;
};

enum class FindingOrder { Name, Folder, Size };

// Sorted copies: by name, folder or size (then by folder and name), in
// either direction; names compare without regard to ASCII case.
std::vector<Finding> SortedFindings(const std::vector<Finding>& findings, FindingOrder order, bool ascending);

// "1 file, 12 bytes" style totals line and the receipt line
// "3 removed, 1 still there".
std::string TotalsText(const FindingList& list);
std::string ReceiptText(const ItemReport& report);

// The report as plain text, CR LF ended, for the clipboard and a saved
// file: a heading, the totals, one tab-separated line per entry in the
// order given (the one the window shows).
std::string ReportText(const ItemReport& report, FindingOrder order = FindingOrder::Folder, bool ascending = true);

// "<folder>\<name>", with exactly one backslash between them.
std::string FindingPath(const Finding& finding);

}  // namespace tarnwell
