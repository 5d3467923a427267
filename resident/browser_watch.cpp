#include "resident/browser_watch.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace tarnwell {

namespace {

bool MentionsNetscape(std::string_view title) {
    std::string lower(title);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("netscape") != std::string::npos;
}

}  // namespace

void TBrowserWatch::See(std::string_view className, std::string_view title) {
    if (className == "IEFrame") {
        Mark(Browser::IE);
    } else if (className == "MozillaWindowClass" || className == "MozillaUIWindowClass") {
        Mark(Browser::FireFox);
        if (MentionsNetscape(title)) Mark(Browser::Netscape);
    } else if (className == "OpWindow") {
        Mark(Browser::Opera);
    } else if (className == "AOL Frame25") {
        Mark(Browser::AOL);
    }
}

std::vector<Browser> TBrowserWatch::EndTick() {
    std::vector<Browser> closed;
    for (int i = 0; i < kBrowserCount; ++i)
        if (seenBefore_[i] && !seenNow_[i]) closed.push_back(static_cast<Browser>(i));
    seenBefore_ = seenNow_;
    seenNow_.fill(false);
    return closed;
}

}  // namespace tarnwell
