#include "update/update_page.h"

#include <algorithm>

#include "base/text_case.h"

namespace tarnwell {

namespace {

constexpr std::string_view kMeta = "meta http-equiv";  // in any letter case
constexpr std::string_view kContent = "CONTENT=";      // exactly as written
// A name or value ends at a double quote among the next 1,000 characters;
// farther on, the quote belongs to something else.
constexpr size_t kQuoteWindow = 1000;
constexpr std::string_view kMonths = "janfebmaraprmayjunjulaugsepoctnovdec";
// Days from 1899-12-30, where the dates the program shows are counted
// from, to 1970-01-01, where DaysFrom1970 counts from.
constexpr long long kDaysTo1970 = 25569;

// The text from `start` to the next double quote within the window; none
// without one.
std::optional<std::string_view> QuotedFrom(std::string_view line, size_t start) {
    const std::string_view window = line.substr(std::min(start, line.size()), kQuoteWindow);
    const size_t quote = window.find('"');
    if (quote == std::string_view::npos) return std::nullopt;
    return window.substr(0, quote);
}

struct MetaLine {
    std::string_view name, value;
};

// The line's first META HTTP-EQUIV only: when it is not followed by ="
// the line gives nothing, whatever comes later. The name keeps its letter
// case, as the tags compare exactly.
std::optional<MetaLine> ReadMetaLine(std::string_view line) {
    const size_t meta = LowerAscii(line).find(kMeta);
    if (meta == std::string::npos) return std::nullopt;
    const size_t afterMeta = meta + kMeta.size();
    if (line.substr(afterMeta, 2) != "=\"") return std::nullopt;
    const size_t nameStart = afterMeta + 2;
    const auto name = QuotedFrom(line, nameStart);
    if (!name) return std::nullopt;
    const size_t content = line.find(kContent, nameStart + name->size() + 1);
    if (content == std::string_view::npos) return std::nullopt;
    const size_t valueQuote = content + kContent.size();
    if (valueQuote >= line.size() || line[valueQuote] != '"') return std::nullopt;
    const auto value = QuotedFrom(line, valueQuote + 1);
    if (!value) return std::nullopt;
    return MetaLine{*name, *value};
}

// Every field whose tag is the name takes the value.
void Store(UpdatePageValues& values, const WfiTags& tags, const MetaLine& meta) {
    struct Field {
        const std::string& tag;
        std::string& value;
    };
    const Field fields[] = {
        {tags.ProductNameTag, values.ProductName},     {tags.ReadMeTag, values.ProductReadMe},
        {tags.ReadMeExtTag, values.ProductReadMeExt},  {tags.VersionTag, values.ProductVersion},
        {tags.DateTag, values.ProductDateStr},         {tags.AuthorTag, values.ProductAuthor},
        {tags.AuthorEMailTag, values.ProductAuthorEMail}, {tags.DownloadTag, values.DownloadURL},
        {tags.RedirectTag, values.Redirect},           {tags.RunParamsTag, values.RunParams},
        {tags.ConfigTag, values.Config},
    };
    for (const Field& field : fields)
        if (!field.tag.empty() && field.tag == meta.name) field.value = meta.value;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits only, few enough to fit an int.
std::optional<int> SmallNumber(std::string_view text) {
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), IsDigit)) return std::nullopt;
    int value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    return value;
}

// The day before a date's comma: two digits, or a blank and one digit.
std::optional<int> DayNumber(std::string_view text) {
    return SmallNumber(text.front() == ' ' ? text.substr(1) : text);
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to a Gregorian date, counted in 400-year eras
// that start on 1 March, so that the leap day ends each year.
long long DaysFrom1970(int year, int month, int day) {
    const int shiftedYear = month <= 2 ? year - 1 : year;
    const int era = shiftedYear / 400;  // the years are positive
    const int yearOfEra = shiftedYear - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097LL + dayOfEra - 719468;
}

// One part of a build number; anything but digits that fit an int is 0.
int BuildPart(std::string_view part) {
    if (part.empty() || !std::all_of(part.begin(), part.end(), IsDigit)) return 0;
    long long value = 0;
    for (char c : part) {
        value = value * 10 + (c - '0');
        if (value > 0x7FFFFFFF) return 0;
    }
    return static_cast<int>(value);
}

std::string_view FirstPart(std::string_view version) { return version.substr(0, version.find('.')); }

// Whether `percent` * total <= 100 * received, with total split as
// 100 * whole + part so that no product leaves 64 bits.
bool ReachesPercent(int percent, std::int64_t received, std::int64_t total) {
    const std::int64_t whole = total / 100, part = total % 100;
    const std::int64_t left = received - percent * whole;
    if (left < 0) return false;
    return left >= 100 || 100 * left >= percent * part;
}

// The part of a path after its last "\" or "/".
std::string_view LastPathPart(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace

WfiTags TarnwellTags() {
    WfiTags tags;
    tags.AuthorTag = "tw-author";
    tags.DateTag = "tw-date";
    tags.DownloadTag = "tw-url";
    tags.ProductNameTag = "tw-name";
    tags.ReadMeTag = "tw-readme";
    tags.VersionTag = "tw-version";
    return tags;
}

// Lines are cut at every CR and LF alike: the empty line between the two of
// a CR LF holds no META. Each line is looked at once, so a page of one
// endless line costs no more than a page of many.
UpdatePageValues ParseUpdatePage(std::string_view page, const WfiTags& tags) {
    UpdatePageValues values;
    size_t start = 0;
    while (start < page.size()) {
        const size_t end = std::min(page.find_first_of("\r\n", start), page.size());
        if (const auto meta = ReadMetaLine(page.substr(start, end - start))) Store(values, tags, *meta);
        start = end + 1;
    }
    return values;
}

double DfsDate(std::string_view text) {
    if (text.size() < 4) return 0;
    const size_t monthAt = kMonths.find(LowerAscii(text.substr(0, 3)));
    if (monthAt == std::string_view::npos || monthAt % 3 != 0) return 0;
    const int month = static_cast<int>(monthAt / 3) + 1;
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos || comma < 2) return 0;
    const auto day = DayNumber(text.substr(comma - 2, 2));
    const auto year = SmallNumber(text.substr(text.size() - 4));
    if (!day || !year || *year < 1 || *day < 1 || *day > DaysInMonth(*year, month)) return 0;
    return static_cast<double>(DaysFrom1970(*year, month, *day) + kDaysTo1970);
}

// Equal parts pass on to the next; the current version's last part ends
// the comparison, and an offered version without more parts keeps
// offering its last one.
bool IsNewerBuildNumber(std::string_view current, std::string_view offered) {
    for (;;) {
        const int currentPart = BuildPart(FirstPart(current)), offeredPart = BuildPart(FirstPart(offered));
        if (currentPart != offeredPart) return currentPart < offeredPart;
        const size_t currentDot = current.find('.');
        if (currentDot == std::string_view::npos) return false;
        current.remove_prefix(currentDot + 1);
        if (const size_t offeredDot = offered.find('.'); offeredDot != std::string_view::npos)
            offered.remove_prefix(offeredDot + 1);
    }
}

bool IsNewerSimpleString(std::string_view current, std::string_view offered) {
    return std::lexicographical_compare(current.begin(), current.end(), offered.begin(), offered.end(),
                                        [](char a, char b) {
                                            return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
                                        });
}

std::string WithThousands(std::int64_t value) {
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const std::string digits = std::to_string(magnitude);
    std::string text = value < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

std::string ProgressText(std::int64_t received, std::int64_t total) {
    return WithThousands(received) + " of " + WithThousands(total) + " bytes received.";
}

std::optional<int> ProgressPercent(std::int64_t received, std::int64_t total) {
    if (total <= 0) return std::nullopt;
    if (received <= 0) return 0;
    if (received >= total) return 100;
    int percent = 99;
    while (!ReachesPercent(percent, received, total)) --percent;
    return percent;
}

std::string DefaultFileName(std::string_view downloadUrl) {
    return std::string(downloadUrl.substr(downloadUrl.rfind('/') + 1));
}

std::string WithFilterExtension(std::string_view fileName, int filterIndex) {
    std::string name(fileName);
    if (LastPathPart(name).find('.') != std::string_view::npos) return name;
    if (filterIndex == 1) name += ".EXE";
    if (filterIndex == 2) name += ".ZIP";
    return name;
}

}  // namespace tarnwell
