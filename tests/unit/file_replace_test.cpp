#include "data/file_replace.h"

#include "game_session.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

TEST(FileReplace, CreatesOrReplacesTheWholeFileAndLeavesNoTemporary) {
    TempFolder folder;
    for (const char* content : {"first, and longer", "second", ""}) {
        ASSERT_TRUE(ReplaceFileContent(folder.file("MVStats.dat"), content));
        EXPECT_TRUE(folder.exists("MVStats.dat"));
        EXPECT_EQ(folder.read("MVStats.dat"), content);
    }
    EXPECT_FALSE(folder.exists("MVStats.dat.tmp"));
}

TEST(FileReplace, EveryFailureKeepsTheOldFileAndRemovesOnlyItsOwnTemporary) {
    const struct {
        const char* name;
        std::function<void(const TempFolder&)> block;
        bool somethingElseAtTheTemporary;
    } cases[] = {
        {"temporary cannot be created", [](auto& f) { fs::create_directory(f.file("MVStats.dat.tmp")); }, true},
        // Every write to /dev/full fails with "no space left", seen at the flush.
        {"disk refuses the write", [](auto& f) { fs::create_symlink("/dev/full", f.file("MVStats.dat.tmp")); }, false},
        // Windows will not replace a read-only file.
        {"move refused", [](auto& f) { chmod(f.file("MVStats.dat").c_str(), 0444); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.write("MVStats.dat", "old content");
        c.block(folder);
        EXPECT_FALSE(ReplaceFileContent(folder.file("MVStats.dat"), "new"));
        EXPECT_EQ(folder.read("MVStats.dat"), "old content");
        EXPECT_EQ(fs::exists(fs::symlink_status(folder.file("MVStats.dat.tmp"))), c.somethingElseAtTheTemporary);
    }
}

TEST(HeadlessMoveFile, FollowsTheWin32RulesForAnExistingTarget) {
    TempFolder folder;
    folder.write("a", "A");
    folder.write("b", "B");
    EXPECT_FALSE(MoveFileExA(folder.file("a").c_str(), folder.file("b").c_str(), 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(MoveFileExA(folder.file("a").c_str(), folder.path().c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(MoveFileExA(folder.file("a").c_str(), folder.file("b").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(folder.read("b"), "A");
    EXPECT_EQ(GetFileAttributesA(folder.file("a").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
