// GoogleTest side of the end-to-end harness: one Wine session for the whole test program, and a fixture that
// gives each test its own program folder, named after the test.
#pragma once

#include "wine_session.h"

#include <gtest/gtest.h>

namespace e2e {

// Started before the program's first test and stopped after its last.
WineSession& Session();

class GameTest : public ::testing::Test {
protected:
    GameTest();
    // After a failure: a screenshot of the screen and the end of Wine's output.
    void TearDown() override;

    GameRun game;
};

}  // namespace e2e
