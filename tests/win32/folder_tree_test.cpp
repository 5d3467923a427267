// Whole folders removed through the shell. The link fixtures put Unix links
// in the test prefix, which Wine shows as plain entries that cannot be
// removed as links: a folder holding one is left as it is, and what the
// link leads to is never reached.
#include <gtest/gtest.h>

#include "engine/folder_tree_win.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

const std::string kBase = "C:\\tw-links\\";

TEST(FolderTree, APlainTreeGoesWhole) {
    TempFolder folder;
    ASSERT_TRUE(MakeDirectories(folder / "site\\deep"));
    ASSERT_TRUE(MakeDirectories(folder / "site\\empty"));
    for (const char* name : {"site\\a.sol", "site\\deep\\b.sol"}) ASSERT_TRUE(WriteTextFile(folder / name, "x"));
    EXPECT_TRUE(RemoveFolderTree(folder / "site"));
    EXPECT_FALSE(FileExists(folder / "site"));
    EXPECT_TRUE(RemoveFolderTree(folder / "never-made"));
}

TEST(FolderTree, LinksAreNeverFollowedAndAFolderWithALinkThatCannotGoStays) {
    const std::string tree = kBase + "tree10";
    ASSERT_TRUE(FileExists(tree + "\\sub\\nested-link")) << "the link fixtures are missing";
    EXPECT_FALSE(RemoveFolderTree(kBase + "root-link10"));
    EXPECT_FALSE(RemoveFolderTree(tree));
    EXPECT_EQ(ReadTextFile(tree + "\\plain.txt"), "plain");
    EXPECT_EQ(ReadTextFile(kBase + "outside10\\secret.txt"), "sentinel file 10");
    EXPECT_EQ(ReadTextFile(kBase + "outside10\\folder\\inner.txt"), "sentinel in folder 10");
}

}  // namespace
}  // namespace tarnwell::testing
