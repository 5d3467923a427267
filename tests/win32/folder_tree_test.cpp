// Whole folders removed through the shell, over the Unix links that the
// link fixtures put in the test prefix: a link goes as a link, and what it
// leads to stays.
#include <gtest/gtest.h>

#include "engine/folder_tree_win.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

const std::string kBase = "C:\\tw-links\\";

TEST(FolderTree, LinksAreRemovedAsLinksAndWhatTheyLeadToStays) {
    const std::string tree = kBase + "tree10";
    ASSERT_TRUE(FileExists(tree + "\\sub\\nested-link")) << "the link fixtures are missing";

    // A folder that is itself a link: the link goes, the tree stays.
    EXPECT_TRUE(RemoveFolderTree(kBase + "root-link10"));
    EXPECT_FALSE(FileExists(kBase + "root-link10"));
    EXPECT_EQ(ReadTextFile(tree + "\\plain.txt"), "plain");

    // Links at the top and one level down.
    EXPECT_TRUE(RemoveFolderTree(tree));
    EXPECT_FALSE(FileExists(tree));
    EXPECT_EQ(ReadTextFile(kBase + "outside10\\secret.txt"), "sentinel file 10");
    EXPECT_EQ(ReadTextFile(kBase + "outside10\\folder\\inner.txt"), "sentinel in folder 10");
}

TEST(FolderTree, AMissingFolderIsAlreadyGone) {
    EXPECT_TRUE(RemoveFolderTree(kBase + "never-made"));
}

}  // namespace
}  // namespace tarnwell::testing
