// GoogleTest side of the end-to-end harness: one Wine session for the whole
// test program, and a fixture that runs the game in it.
#pragma once

#include "wine_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace e2e {

// The test program's session, started before its first test and stopped
// after its last (see the main function of e2e_fixture.cpp).
WineSession& Session();

// Sound resources of the game's cues.
constexpr int kHitSound = 4600;
constexpr int kMissSound = 4650;
constexpr int kNewPuzzleSound = 4700;
constexpr int kWinSound = 5650;
constexpr int kLossSound = 5700;

// Each test gets its own program folder (named after the test) with a fresh
// copy of Marivane.exe; a failed test leaves a screenshot of the screen there.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    GameRun& game() { return *game_; }
    // Starts the program and waits for its window (use with ASSERT_NO_FATAL_FAILURE).
    void Launch(const std::string& wineDebug = "-all");
    void Click(const Rect& control);
    void ClickLetters(const std::string& letters);
    // Presses Quit and expects the program to end with exit code 0.
    void QuitWithExitCodeZero();

private:
    std::unique_ptr<GameRun> game_;
};

}  // namespace e2e
