// The help button's three outcomes and the faces of the owner-drawn buttons,
// after a real start-up through WinMain.
#include "game_session.h"
#include "game/window_procedure.h"

#include <gtest/gtest.h>

namespace {

const int kClick = 4450;

class Started : public ::testing::Test {
protected:
    void SetUp() override {
        StartFreshProcess(folder);
        main = StartUpWithoutLoop();
        ASSERT_NE(main, nullptr);
        headless_clear_logs();
    }
    TempFolder folder;
    HWND main = nullptr;
};

// ---- Help ----

using Help = Started;

TEST_F(Help, OpensTheHelpFileBesideTheProgramThroughTheShell) {
    Press(4150);
    ASSERT_EQ(headless_shell_calls().size(), 1u);
    const HeadlessShellCall& call = headless_shell_calls()[0];
    EXPECT_EQ(call.owner, nullptr);
    EXPECT_EQ(call.verb, "open");
    EXPECT_EQ(call.file, folder.file("Quorrel-help.chm"));
    EXPECT_EQ(call.parameters, "");
    EXPECT_EQ(call.directory, "");
    EXPECT_EQ(call.show, SW_SHOW);
    EXPECT_TRUE(headless_message_boxes().empty());
    EXPECT_EQ(CuesHeard(), std::vector<int>{kClick});
}

TEST_F(Help, ReportsAShellResultOfThirtyTwoOrLessAsAFailure) {
    struct Case {
        INT_PTR result;
        bool failed;
    };
    for (const Case& c : {Case{0, true}, Case{2, true}, Case{32, true}, Case{33, false}, Case{-1, true}}) {
        SCOPED_TRACE(c.result);
        headless_clear_logs();
        headless_set_shell_result(c.result);
        Press(4150);
        EXPECT_EQ(headless_shell_calls().size(), 1u);
        EXPECT_EQ(CuesHeard(), std::vector<int>{kClick});
        if (!c.failed) {
            EXPECT_TRUE(headless_message_boxes().empty());
            continue;
        }
        ASSERT_EQ(headless_message_boxes().size(), 1u);
        const HeadlessMessageBox& box = headless_message_boxes()[0];
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.text, "Help files could not be opened...");
        EXPECT_EQ(box.caption, "Error - Marivane");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
    }
}

TEST_F(Help, IsRefusedWhileAWindowTitledLikeTheViewerIsOpen) {
    HWND viewer = CreateWindowExA(0, "STATIC", "Quorrel-help", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  nullptr, nullptr);
    EXPECT_EQ(WindowProcedure(main, WM_COMMAND, MAKEWPARAM(4150, BN_CLICKED), 0), 0);
    EXPECT_TRUE(headless_shell_calls().empty());
    ASSERT_EQ(headless_message_boxes().size(), 1u);
    const HeadlessMessageBox& box = headless_message_boxes()[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text, "terminating request... help program is currently in use.");
    EXPECT_EQ(box.caption, "System - Permission Denied");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_TOPMOST));
    EXPECT_EQ(CuesHeard(), std::vector<int>{kClick});

    // Once the viewer is closed the next press opens the file again.
    DestroyWindow(viewer);
    headless_clear_logs();
    Press(4150);
    EXPECT_EQ(headless_shell_calls().size(), 1u);
    EXPECT_TRUE(headless_message_boxes().empty());
}

// ---- Button faces ----

struct Face {
    int button;
    int normal, pressed;
    int width, height;              // the normal face's size, also the button's
    int pressedWidth, pressedHeight;
};

const Face kFaces[] = {
    {2800, 2700, 2750, 102, 25, 102, 25}, {2950, 2850, 2900, 102, 25, 102, 25},
    {3100, 3000, 3050, 102, 23, 102, 23}, {3250, 3150, 3200, 102, 24, 102, 24},
    {3400, 3300, 3350, 80, 23, 80, 23},   {3550, 3450, 3500, 93, 23, 93, 23},
    {3700, 3600, 3650, 93, 23, 93, 23},   {3850, 3750, 3800, 93, 23, 93, 23},
    {4000, 3900, 3950, 24, 18, 24, 18},   {4150, 4050, 4100, 24, 19, 24, 19},
    {4300, 4200, 4250, 24, 19, 24, 18},  // the pressed close face is stretched by a pixel
    {4900, 4800, 4850, 116, 23, 116, 23}, {5050, 4950, 5000, 49, 23, 49, 23},
    {5200, 5400, 5450, 116, 23, 116, 23}, {5350, 5100, 5150, 65, 23, 65, 23},
    {5950, 5850, 5900, 42, 23, 42, 23},   {6000, 5750, 5800, 72, 23, 72, 23},
};

using Faces = Started;

TEST_F(Faces, EachButtonDrawsItsNormalOrPressedBitmapOverItsWholeRectangle) {
    for (const Face& face : kFaces) {
        for (bool pressed : {false, true}) {
            SCOPED_TRACE(testing::Message() << "button " << face.button << (pressed ? " pressed" : " normal"));
            headless_clear_logs();
            int objects = headless_live_gdi_objects(), dcs = headless_live_dcs();
            HDC dc = headless_draw_button(ControlById(face.button), pressed);
            ASSERT_EQ(headless_blits().size(), 1u);
            const HeadlessBlit& blit = headless_blits()[0];
            EXPECT_EQ(blit.dest, dc);
            EXPECT_EQ(blit.sourceBitmapId, pressed ? face.pressed : face.normal);
            EXPECT_EQ(blit.sourceWidth, pressed ? face.pressedWidth : face.width);
            EXPECT_EQ(blit.sourceHeight, pressed ? face.pressedHeight : face.height);
            EXPECT_EQ(blit.destRect.left, 0);
            EXPECT_EQ(blit.destRect.top, 0);
            EXPECT_EQ(blit.destRect.right, face.width);   // width as passed
            EXPECT_EQ(blit.destRect.bottom, face.height);  // height as passed
            EXPECT_EQ(blit.rop, static_cast<DWORD>(SRCCOPY));
            // The face is loaded and freed on every draw.
            EXPECT_EQ(headless_live_gdi_objects(), objects);
            EXPECT_EQ(headless_live_dcs(), dcs);
        }
    }
}

TEST_F(Faces, OnlyThePressedBitDecidesTheFaceAndTheItemRectangleIsFilled) {
    const int focusBit = 0x0010, disabledBit = 0x0004;  // ODS_FOCUS, ODS_DISABLED
    struct Case {
        UINT state;
        int bitmap;
    };
    for (const Case& c : {Case{focusBit, 4950}, Case{disabledBit, 4950}, Case{ODS_SELECTED | focusBit, 5000}}) {
        SCOPED_TRACE(c.state);
        headless_clear_logs();
        HDC dc = CreateCompatibleDC(nullptr);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = 5050;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = c.state;
        item.hwndItem = hEndGame;
        item.hDC = dc;
        item.rcItem = {5, 7, 45, 30};
        EXPECT_EQ(WindowProcedure(main, WM_DRAWITEM, 5050, reinterpret_cast<LPARAM>(&item)), 0);
        ASSERT_EQ(headless_blits().size(), 1u);
        const HeadlessBlit& blit = headless_blits()[0];
        EXPECT_EQ(blit.sourceBitmapId, c.bitmap);
        EXPECT_EQ(blit.destRect.left, 5);
        EXPECT_EQ(blit.destRect.top, 7);
        EXPECT_EQ(blit.destRect.right, 40);
        EXPECT_EQ(blit.destRect.bottom, 23);
        DeleteDC(dc);
    }
}

TEST_F(Faces, APressShowsThePressedFaceThenTheNormalOne) {
    Press(3850);
    ASSERT_EQ(headless_blits().size(), 2u);
    EXPECT_EQ(headless_blits()[0].sourceBitmapId, 3800);
    EXPECT_EQ(headless_blits()[1].sourceBitmapId, 3750);
}

}  // namespace
