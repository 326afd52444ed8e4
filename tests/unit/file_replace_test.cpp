#include "data/file_replace.h"

#include "game_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class FileReplace : public ::testing::Test {
protected:
    TempFolder folder;
    const std::string target = folder.file("MVStats.dat");

    void expectOldFileKept() {
        EXPECT_EQ(folder.read("MVStats.dat"), "old content");
    }
};

TEST_F(FileReplace, CreatesOrReplacesTheWholeFileAndLeavesNoTemporary) {
    ASSERT_TRUE(ReplaceFileContent(target, "first, and longer"));
    EXPECT_EQ(folder.read("MVStats.dat"), "first, and longer");
    ASSERT_TRUE(ReplaceFileContent(target, "second"));
    EXPECT_EQ(folder.read("MVStats.dat"), "second");
    ASSERT_TRUE(ReplaceFileContent(target, ""));
    EXPECT_TRUE(folder.exists("MVStats.dat"));
    EXPECT_EQ(folder.read("MVStats.dat"), "");
    EXPECT_FALSE(folder.exists("MVStats.dat.tmp"));
}

TEST_F(FileReplace, TemporaryThatCannotBeCreatedKeepsTheOldFileAndWhatBlocksIt) {
    folder.write("MVStats.dat", "old content");
    fs::create_directory(folder.file("MVStats.dat.tmp"));
    EXPECT_FALSE(ReplaceFileContent(target, "new"));
    expectOldFileKept();
    EXPECT_TRUE(fs::is_directory(folder.file("MVStats.dat.tmp")));
}

TEST_F(FileReplace, WriteTheDiskRefusesKeepsTheOldFileAndRemovesTheTemporary) {
    folder.write("MVStats.dat", "old content");
    // Every write to /dev/full fails with "no space left", seen at the flush.
    fs::create_symlink("/dev/full", folder.file("MVStats.dat.tmp"));
    EXPECT_FALSE(ReplaceFileContent(target, "new"));
    expectOldFileKept();
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder.file("MVStats.dat.tmp"))));
}

TEST_F(FileReplace, RefusedMoveKeepsTheOldFileAndRemovesTheTemporary) {
    folder.write("MVStats.dat", "old content");
    chmod(target.c_str(), 0444);  // read-only: Windows will not replace it
    EXPECT_FALSE(ReplaceFileContent(target, "new"));
    expectOldFileKept();
    EXPECT_FALSE(folder.exists("MVStats.dat.tmp"));

    fs::create_directory(folder.file("MVData.dat"));
    EXPECT_FALSE(ReplaceFileContent(folder.file("MVData.dat"), "new"));
    EXPECT_TRUE(fs::is_directory(folder.file("MVData.dat")));
    EXPECT_FALSE(folder.exists("MVData.dat.tmp"));
}

TEST(HeadlessMoveFile, FollowsTheWin32RulesForAnExistingTarget) {
    TempFolder folder;
    folder.write("a", "A");
    folder.write("b", "B");
    EXPECT_FALSE(MoveFileExA(folder.file("a").c_str(), folder.file("b").c_str(), 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(MoveFileExA(folder.file("a").c_str(), folder.file("b").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(folder.read("b"), "A");
    EXPECT_FALSE(folder.exists("a"));
    EXPECT_EQ(GetFileAttributesA(folder.file("a").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesA(folder.path().c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

}  // namespace
