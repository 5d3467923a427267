#include <gtest/gtest.h>

#include <set>

#include "app/profile_folders.h"

namespace tarnwell {
namespace {

const std::string kRoot = "C:\\Documents and Settings\\ann";
const std::string kNetscape = kRoot + "\\Application Data\\Mozilla\\Profiles\\";
const std::string kFireFox = kRoot + "\\Application Data\\Mozilla\\FireFox\\Profiles\\";
const std::string kFireFoxLocal = kRoot + "\\Local Settings\\Application Data\\Mozilla\\FireFox\\Profiles\\";
const std::string kOpera = kRoot + "\\Application Data\\Opera\\Opera\\profile\\";
const std::string kOpera7 = kRoot + "\\Application Data\\Opera\\Opera7\\profile\\";
const std::string kOpera6 = kRoot + "\\Application Data\\Opera\\Opera6\\profile\\";

ExistsTest Existing(std::set<std::string> folders) {
    return [folders = std::move(folders)](const std::string& path) { return folders.count(path) > 0; };
}

TEST(ProfileFolders, NetscapeDefaultIsUsedAndShownWhenItExists) {
    const FolderChoice found = ChooseNetscapeRoot(kRoot, "", Existing({kNetscape}));
    EXPECT_EQ(found.folder, kNetscape);
    EXPECT_EQ(found.editText, kNetscape);
    const FolderChoice none = ChooseNetscapeRoot(kRoot, "", Existing({}));
    EXPECT_FALSE(none.folder);
    EXPECT_EQ(none.editText, "");
}

TEST(ProfileFolders, UsersOwnFolderWinsOnlyWhileItExists) {
    EXPECT_EQ(ChooseNetscapeRoot(kRoot, "D:\\ns\\", Existing({kNetscape, "D:\\ns\\"})).folder, "D:\\ns\\");
    const FolderChoice gone = ChooseNetscapeRoot(kRoot, "D:\\ns\\", Existing({kNetscape}));
    EXPECT_FALSE(gone.folder);  // the default is not used behind the user's back
    EXPECT_EQ(gone.editText, "D:\\ns\\");
    // Letter case counts: a differently spelt default is the user's own folder.
    const std::string upper = "C:\\DOCUMENTS AND SETTINGS\\ann\\Application Data\\Mozilla\\Profiles\\";
    EXPECT_FALSE(ChooseNetscapeRoot(kRoot, upper, Existing({kNetscape})).folder);
}

TEST(ProfileFolders, FireFoxFallsBackToLocalSettings) {
    EXPECT_EQ(ChooseFireFoxRoot(kRoot, "", Existing({kFireFoxLocal})).folder, kFireFoxLocal);
    EXPECT_EQ(ChooseFireFoxRoot(kRoot, kFireFox, Existing({kFireFoxLocal})).folder, kFireFoxLocal);
    EXPECT_EQ(ChooseFireFoxRoot(kRoot, "", Existing({kFireFox, kFireFoxLocal})).folder, kFireFox);
    // A stored local path is a choice of its own and is kept while it exists.
    EXPECT_EQ(ChooseFireFoxRoot(kRoot, kFireFoxLocal, Existing({kFireFox, kFireFoxLocal})).folder, kFireFoxLocal);
    EXPECT_FALSE(ChooseFireFoxRoot(kRoot, "", Existing({})).folder);
}

TEST(ProfileFolders, OperaCandidatesInOrder) {
    EXPECT_EQ(ChooseOperaFolder(kRoot, "", Existing({kOpera7, kOpera6})).folder, kOpera7);
    EXPECT_EQ(ChooseOperaFolder(kRoot, "", Existing({kOpera7, kOpera6})).editText, kOpera7);
    EXPECT_EQ(ChooseOperaFolder(kRoot, kOpera, Existing({kOpera6})).folder, kOpera6);
    const FolderChoice custom = ChooseOperaFolder(kRoot, "E:\\opera", Existing({"E:\\opera", kOpera}));
    EXPECT_EQ(custom.folder, "E:\\opera\\");
    EXPECT_EQ(custom.editText, "E:\\opera");
    EXPECT_FALSE(ChooseOperaFolder(kRoot, "E:\\gone", Existing({kOpera})).folder);
}

TEST(ProfileFolders, AolUsersFolderOrTheOneFound) {
    const std::string found = "C:\\AOL\\organize\\";
    EXPECT_EQ(ChooseAolFolder(found, "", Existing({found})).editText, found);
    EXPECT_EQ(ChooseAolFolder(found, "D:\\aol\\", Existing({found, "D:\\aol\\"})).folder, "D:\\aol\\");
    // A typed folder that no longer exists gives way to the one found.
    const FolderChoice fallback = ChooseAolFolder(found, "D:\\aol\\", Existing({found}));
    EXPECT_EQ(fallback.folder, found);
    EXPECT_EQ(fallback.editText, found);
    EXPECT_FALSE(ChooseAolFolder(found, "", Existing({})).folder);
}

TEST(ProfileFolders, ManualPathQuestionDependsOnTheBrowsersWordInAnyCase) {
    EXPECT_EQ(ManualPathQuestion("D:\\MOZILLA\\Profiles\\", "Mozilla"),
              "It is extremely dangerous to set this path manually but Mozilla was detected in the path. Do you want "
              "to continue?");
    EXPECT_EQ(ManualPathQuestion("D:\\Data\\", "FireFox"),
              "FireFox was not detected in this path! This is extremely dangerous as you could delete files you need "
              "by mistake! Do you want to continue?");
}

TEST(ProfileFolders, AolScreenNamesLeaveOutFilesTheCacheAndAolsOwnFolders) {
    for (const char* name : {"demosurfer", "NightOwl42", "Cache2", "new user"}) EXPECT_TRUE(IsAolScreenName(name)) << name;
    for (const char* name : {"demosurfer.ARL", "demosurfer1.AUT", "CACHE", "cache", "NewUser", "existingMember",
                             "AOLPasswordReset", ".hidden"})
        EXPECT_FALSE(IsAolScreenName(name)) << name;
}

TEST(ProfileFolders, AolFolderAboveOrganizeTakesTheOrganizeFolder) {
    const ExistsTest organizeExists = Existing({"D:\\AOL 9.0\\organize\\"});
    EXPECT_EQ(AolOrganizeFolder("D:\\AOL 9.0", organizeExists), "D:\\AOL 9.0\\organize\\");
    EXPECT_EQ(AolOrganizeFolder("D:\\AOL 9.0\\organize", organizeExists), "D:\\AOL 9.0\\organize\\");
    EXPECT_EQ(AolOrganizeFolder("D:\\Other", organizeExists), "D:\\Other\\");
    // The step looks for the folder's name in its own letter case only.
    EXPECT_EQ(AolOrganizeFolder("D:\\AOL 9.0\\Organize\\", Existing({"D:\\AOL 9.0\\Organize\\organize\\"})),
              "D:\\AOL 9.0\\Organize\\organize\\");
}

}  // namespace
}  // namespace tarnwell
