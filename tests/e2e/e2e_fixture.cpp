#include "e2e_fixture.h"

#include <iostream>
#include <sstream>
#include <vector>

namespace e2e {
namespace {

std::unique_ptr<WineSession> theSession;

class SessionEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        theSession = std::make_unique<WineSession>(E2E_SESSION_NAME);
        std::string error;
        ASSERT_TRUE(theSession->start(error)) << error;
    }
    void TearDown() override { theSession.reset(); }
};

std::string CurrentTestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "." + info->name();
}

std::string LastLines(const std::string& text, std::size_t count) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::size_t first = lines.size() > count ? lines.size() - count : 0;
    std::string tail;
    for (std::size_t i = first; i < lines.size(); ++i) tail += lines[i] + "\n";
    return tail;
}

}  // namespace

WineSession& Session() { return *theSession; }

void GameTest::SetUp() { game_ = std::make_unique<GameRun>(Session(), CurrentTestName()); }

void GameTest::TearDown() {
    if (HasFailure()) {
        std::string shot = game_->programFolder() + "/../failure.png";
        Session().screenshot(shot);
        std::cerr << "Screen at the failure: " << shot << "\nWine's output ends with:\n"
                  << LastLines(game_->wineOutput(), 30) << "\n";
    }
    game_.reset();  // kills the program if it still runs
}

void GameTest::Launch(const std::string& wineDebug) {
    ASSERT_TRUE(game_->start(wineDebug)) << "Marivane.exe could not be started under Wine";
    ASSERT_TRUE(game_->waitForWindow()) << "no visible window titled \"Marivane\" appeared";
}

void GameTest::Click(const Rect& control) {
    ASSERT_TRUE(game_->clickCentreOf(control));
}

void GameTest::ClickLetters(const std::string& letters) {
    ASSERT_TRUE(game_->clickLetters(letters)) << letters;
}

void GameTest::QuitWithExitCodeZero() {
    ASSERT_NO_FATAL_FAILURE(Click(kQuitButton));
    // Wine ends a process some 2 s after its last window is gone.
    std::optional<int> exitCode = game_->waitForExit(Seconds(30));
    ASSERT_TRUE(exitCode.has_value()) << "the program did not end after Quit";
    EXPECT_EQ(*exitCode, 0);
}

}  // namespace e2e

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new e2e::SessionEnvironment);
    return RUN_ALL_TESTS();
}
