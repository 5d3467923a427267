#pragma once
// The lines of a text file read whole, as the program's readers take them.
// Portable.
#include <string_view>
#include <vector>

namespace tarnwell {

// Lines ended by LF or CRLF (the CR is dropped); a last line without an
// end counts, an empty text has none. The views point into `text`.
std::vector<std::string_view> SplitLines(std::string_view text);

// Lines ended by CR, LF or CRLF, as a list box loads a file: a last line
// without an end counts, empty lines in the middle are kept, an empty
// text has none.
std::vector<std::string_view> SplitLinesAtAnyEnd(std::string_view text);

}  // namespace tarnwell
