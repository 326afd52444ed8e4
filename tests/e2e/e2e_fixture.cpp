#include "e2e_fixture.h"

#include <iostream>
#include <memory>

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

}  // namespace

WineSession& Session() { return *theSession; }

GameTest::GameTest() : game(Session(), CurrentTestName()) {}

void GameTest::TearDown() {
    if (!HasFailure()) return;
    const std::string shot = game.programFolder() + "/../failure.png";
    Session().screenshot(shot);
    const std::string output = game.wineOutput();
    std::cerr << "Screen at the failure: " << shot << "\nWine's output ends with:\n"
              << output.substr(output.size() > 3000 ? output.size() - 3000 : 0) << "\n";
}

}  // namespace e2e

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new e2e::SessionEnvironment);
    return RUN_ALL_TESTS();
}
