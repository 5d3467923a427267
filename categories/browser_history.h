#pragma once
// The browser's own URL history store, reached through COM: the store
// behind TUrlHistory on Windows.
#include <memory>
#include <string>

#include "categories/url_history.h"

namespace tarnwell {

struct BrowserHistoryOpening {
    std::unique_ptr<UrlHistoryStore> store;  // null when the store is not there
    std::string failure;                     // why, when it is not
};

// Creates the history object and asks it for its second-version
// interface. COM must be initialised on the calling thread.
BrowserHistoryOpening OpenBrowserHistoryStore();

}  // namespace tarnwell
