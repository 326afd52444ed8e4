#include "game/guessing.h"

#include <gtest/gtest.h>

TEST(ReplaceAll, ContinuesAfterTheInsertedText) {
    std::string text = "aaa";
    EXPECT_EQ(replaceAll(text, "a", "aa"), "aaaaaa");
    std::string spaced = " B I G";
    EXPECT_EQ(replaceAll(spaced, "I", "_"), " B _ G");
    std::string none = "xyz";
    EXPECT_EQ(replaceAll(none, "q", "*"), "xyz");
}
