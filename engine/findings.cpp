#include "engine/findings.h"

#include <algorithm>
#include <tuple>

#include "base/text_case.h"

namespace tarnwell {

void FindingList::Add(std::string_view name, std::string_view folder, std::int64_t size, FindingKind kind,
                      std::string_view remark) {
    ++count_;
    if (size > 0) bytes_ += size;
    if (entries_.size() >= limit_) return;
    if (folders_.empty() || folders_.back() != folder) folders_.emplace_back(folder);
    entries_.push_back(Entry{std::string(name), static_cast<std::uint32_t>(folders_.size() - 1), size, kind,
                             std::string(remark)});
}

void FindingList::Clear() {
    entries_.clear();
    entries_.shrink_to_fit();
    folders_.clear();
    folders_.shrink_to_fit();
    count_ = 0;
    bytes_ = 0;
}

std::vector<Finding> FindingList::Entries() const {
    std::vector<Finding> findings;
    findings.reserve(entries_.size());
    for (const Entry& entry : entries_)
        findings.push_back(Finding{entry.name, folders_[entry.folder], entry.size, entry.kind, entry.remark});
    return findings;
}

namespace {

int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const char x = LowerAscii(a[i]), y = LowerAscii(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool Before(const Finding& a, const Finding& b, FindingOrder order) {
    const int byName = CompareNoCase(a.name, b.name);
    const int byFolder = CompareNoCase(a.folder, b.folder);
    switch (order) {
        case FindingOrder::Name: return byName != 0 ? byName < 0 : byFolder < 0;
        case FindingOrder::Folder: return byFolder != 0 ? byFolder < 0 : byName < 0;
        case FindingOrder::Size:
            if (a.size != b.size) return a.size < b.size;
            return byFolder != 0 ? byFolder < 0 : byName < 0;
    }
    return false;
}

std::string Plural(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

const char* KindText(FindingKind kind) {
    switch (kind) {
        case FindingKind::File: return "file";
        case FindingKind::Folder: return "folder";
        case FindingKind::RegistryValue: return "registry value";
        case FindingKind::RegistryKey: return "registry key";
    }
    return "";
}

void AppendEntries(std::string& text, const FindingList& list, const std::vector<Finding>& entries) {
    for (const Finding& finding : entries) {
        text += finding.name + "\t" + finding.folder + "\t";
        text += finding.size >= 0 ? std::to_string(finding.size) : std::string(KindText(finding.kind));
        if (!finding.remark.empty()) text += "\t" + finding.remark;
        text += "\r\n";
    }
    if (list.Beyond() > 0) text += "... and " + std::to_string(list.Beyond()) + " more, not listed\r\n";
}

}  // namespace

std::vector<Finding> SortedFindings(const std::vector<Finding>& findings, FindingOrder order, bool ascending) {
    std::vector<Finding> sorted = findings;
    std::stable_sort(sorted.begin(), sorted.end(), [order, ascending](const Finding& a, const Finding& b) {
        return ascending ? Before(a, b, order) : Before(b, a, order);
    });
    return sorted;
}

std::string TotalsText(const FindingList& list) {
    std::string text = Plural(list.Count(), "entry", "entries") + ", " + std::to_string(list.Bytes()) + " bytes in files";
    if (list.Beyond() > 0) text += " (the first " + std::to_string(list.Kept()) + " listed)";
    return text;
}

std::string ReceiptText(const ItemReport& report) {
    return std::to_string(report.removed) + " removed, " + std::to_string(report.stillThere.Count()) + " still there";
}

std::string ReportText(const ItemReport& report, FindingOrder order, bool ascending) {
    std::string text = report.caption + "\r\n";
    if (!report.ran) return text + "Not analysed or swept yet.\r\n";
    text += std::string(report.swept ? "Swept " : "Analysed ") + report.when + ": " + report.label + "\r\n";
    if (!report.summary.empty()) return text + report.summary + "\r\n";
    text += "Found: " + TotalsText(report.found) + "\r\n";
    if (report.checked) text += "Receipt: " + ReceiptText(report) + "\r\n";
    text += "\r\nName\tFolder\tSize\r\n";
    AppendEntries(text, report.found, SortedFindings(report.found.Entries(), order, ascending));
    if (report.checked && report.stillThere.Count() > 0) {
        text += "\r\nStill there:\r\n";
        AppendEntries(text, report.stillThere, report.stillThere.Entries());
    }
    return text;
}

std::string FindingPath(const Finding& finding) {
    if (finding.folder.empty()) return finding.name;
    return finding.folder.back() == '\\' ? finding.folder + finding.name : finding.folder + "\\" + finding.name;
}

}  // namespace tarnwell
