#pragma once
// The Internet Explorer start page the user had when Tarnwell started is
// put back at exit, undoing a change a web site made meanwhile.
#include <string>

namespace tarnwell {

// Writes `saved` back as the start page when the browser's settings key
// exists, `saved` is not empty and the page now differs from it. The key
// is never created.
void RestoreStartPage(const std::string& saved);

}  // namespace tarnwell
