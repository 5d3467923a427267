#pragma once
// The update page and the arithmetic of the update dialogue: the product
// information a page carries in META lines, version comparison, the date
// rule, and the progress display's texts and bar. Portable.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwell {

// The META names a page is searched for, compared exactly.
struct WfiTags {
    std::string AuthorTag, AuthorEMailTag, DateTag, DownloadTag, ProductNameTag, ReadMeTag, ReadMeExtTag,
        RedirectTag, RunParamsTag, ConfigTag, VersionTag;
};

// Tarnwell's names: "tw-author", "tw-date", "tw-url", "tw-name",
// "tw-readme", "tw-version", the others empty.
WfiTags TarnwellTags();

struct UpdatePageValues {
    std::string ProductName, ProductReadMe, ProductReadMeExt, ProductVersion, ProductDateStr, ProductAuthor,
        ProductAuthorEMail, DownloadURL, Redirect, RunParams, Config;
};

// Every line (ended by CR, LF or CR LF) that holds, in any letter case,
// META HTTP-EQUIV=" then a name and a double quote, and further on the
// exact text CONTENT=" then the value and a double quote, gives the value
// to each field whose tag equals the name (empty tags match nothing);
// later lines overwrite. Only a line's first META counts; a name or value
// whose closing quote is not within the next 1,000 characters gives
// nothing.
UpdatePageValues ParseUpdatePage(std::string_view page, const WfiTags& tags);

// "MMM DD, YYYY" (month in any letter case) as days since 1899-12-30;
// 0 when the text does not make a date.
double DfsDate(std::string_view text);

// Build-number comparison: dot-separated parts compared as integers
// (non-numbers are 0), part by part, ending with the current version's
// last part. "2.20": "2.21" is newer, "2.3" and "2.20.1" are not.
bool IsNewerBuildNumber(std::string_view current, std::string_view offered);
// Plain character-code order: "2.9" is newer than "2.10".
bool IsNewerSimpleString(std::string_view current, std::string_view offered);

// 1234567 as "1,234,567".
std::string WithThousands(std::int64_t value);
// "1,234,567 of 2,000,000 bytes received."
std::string ProgressText(std::int64_t received, std::int64_t total);
// received * 100 / total in 64 bits, 0..100; none while the total is
// unknown (0 or less).
std::optional<int> ProgressPercent(std::int64_t received, std::int64_t total);

// The part of a download address after its last "/", or the whole address.
std::string DefaultFileName(std::string_view downloadUrl);
// A chosen save name without an extension gains ".EXE" (first filter,
// index 1) or ".ZIP" (second); other filters add nothing. An extension is
// a "." in the name's last path part.
std::string WithFilterExtension(std::string_view fileName, int filterIndex);

}  // namespace tarnwell
