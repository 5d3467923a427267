#pragma once
// Why the removal routine left a file, in the words of an item's details:
// asked once, right after the routine answered that the file survived.
#include <string>

namespace tarnwell {

class TRemovalRoot;

// "read-only", "in use by another program", "a link, left as it is",
// "outside the swept folder", or "could not be removed" when none of
// these shows.
std::string SurvivalReason(const std::string& file, const TRemovalRoot* root);

}  // namespace tarnwell
