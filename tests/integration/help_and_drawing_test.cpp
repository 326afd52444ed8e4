// The help button's three outcomes and the faces of the owner-drawn buttons,
// after a real start-up through WinMain.
#include "game_session.h"
#include "game/window_procedure.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

class Started : public ::testing::Test {
protected:
    void SetUp() override {
        StartFreshProcess(folder);
        main = StartUpWithoutLoop();
        ASSERT_NE(main, nullptr);
    }
    TempFolder folder;
    HWND main = nullptr;
};

TEST_F(Started, HelpOpensTheFileUnlessTheViewerIsOpenAndReportsAShellFailure) {
    using Box = std::tuple<HWND, std::string, std::string, UINT>;  // owner, text, caption, type
    const Box refusal{nullptr, "terminating request... help program is currently in use.", "System - Permission Denied",
                      MB_OK | MB_TOPMOST};
    const Box failure{nullptr, "Help files could not be opened...", "Error - Marivane", MB_OK};
    struct Case {
        bool viewerOpen;
        INT_PTR shellResult;
        std::vector<Box> boxes;
    };
    // Results of 32 or less are failures; the viewer case comes first, so the
    // next case shows that closing the viewer lets help open again.
    const Case cases[] = {{true, 42, {refusal}}, {false, 42, {}},       {false, 33, {}},       {false, 32, {failure}},
                          {false, 2, {failure}}, {false, 0, {failure}}, {false, -1, {failure}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.viewerOpen ? "viewer open" : "shell result ") << c.shellResult);
        HWND viewer = c.viewerOpen ? CreateWindowExA(0, "STATIC", "Quorrel-help", WS_POPUP, 0, 0, 400, 300, nullptr,
                                                     nullptr, nullptr, nullptr)
                                   : nullptr;
        headless_set_shell_result(c.shellResult);
        headless_clear_logs();
        EXPECT_EQ(WindowProcedure(main, WM_COMMAND, MAKEWPARAM(4150, BN_CLICKED), 0), 0);
        EXPECT_EQ(CuesHeard(), std::vector<int>{4450});  // the click, whatever follows
        std::vector<Box> boxes;
        for (const HeadlessMessageBox& box : headless_message_boxes())
            boxes.emplace_back(box.owner, box.text, box.caption, box.type);
        EXPECT_EQ(boxes, c.boxes);
        if (c.viewerOpen) {
            EXPECT_TRUE(headless_shell_calls().empty());
            DestroyWindow(viewer);
            continue;
        }
        ASSERT_EQ(headless_shell_calls().size(), 1u);
        const HeadlessShellCall& call = headless_shell_calls()[0];
        EXPECT_EQ(std::tie(call.owner, call.verb, call.file, call.parameters, call.directory, call.show),
                  std::make_tuple(nullptr, "open", folder.file("Quorrel-help.chm"), "", "", SW_SHOW));
    }
}

const UINT kFocusBit = 0x0010;  // ODS_FOCUS

struct Face {
    int button, normal, pressed;
};

const Face kFaces[] = {
    {2800, 2700, 2750}, {2950, 2850, 2900}, {3100, 3000, 3050}, {3250, 3150, 3200}, {3400, 3300, 3350},
    {3550, 3450, 3500}, {3700, 3600, 3650}, {3850, 3750, 3800}, {4000, 3900, 3950}, {4150, 4050, 4100},
    {4300, 4200, 4250}, {4900, 4800, 4850}, {5050, 4950, 5000}, {5200, 5400, 5450}, {5350, 5100, 5150},
    {5950, 5850, 5900}, {6000, 5750, 5800},
};

// Each face is loaded afresh, stretched over the item rectangle and freed;
// only the selected bit of the item state picks the pressed face.
TEST_F(Started, EachButtonDrawsItsNormalOrPressedFaceOverItsWholeRectangle) {
    for (const Face& face : kFaces) {
        for (UINT state : {kFocusBit, ODS_SELECTED | kFocusBit}) {
            const bool pressed = state & ODS_SELECTED;
            SCOPED_TRACE(testing::Message() << "button " << face.button << (pressed ? " pressed" : " normal"));
            HWND button = ControlById(face.button);
            headless_clear_logs();
            const int objects = headless_live_gdi_objects(), dcs = headless_live_dcs();
            HDC dc = CreateCompatibleDC(nullptr);
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_BUTTON;
            item.CtlID = static_cast<UINT>(face.button);
            item.itemState = state;
            item.hDC = dc;
            item.rcItem = {5, 7, 5 + button->width, 7 + button->height};
            EXPECT_EQ(SendMessageA(button->parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item)), 0);
            DeleteDC(dc);

            ASSERT_EQ(headless_blits().size(), 1u);
            const HeadlessBlit& blit = headless_blits()[0];
            EXPECT_EQ(blit.dest, dc);
            EXPECT_EQ(blit.sourceBitmapId, pressed ? face.pressed : face.normal);
            // The whole face as source: the pressed close face is a row short of its button.
            const int faceHeight = face.button == 4300 && pressed ? 18 : button->height;
            EXPECT_EQ(std::tie(blit.sourceWidth, blit.sourceHeight), std::tie(button->width, faceHeight));
            EXPECT_EQ(std::tie(blit.destRect.left, blit.destRect.top, blit.destRect.right, blit.destRect.bottom),
                      std::make_tuple(5, 7, button->width, button->height));  // left, top, width, height
            EXPECT_EQ(blit.rop, static_cast<DWORD>(SRCCOPY));
            EXPECT_EQ(headless_live_gdi_objects(), objects);
            EXPECT_EQ(headless_live_dcs(), dcs);
        }
    }
}

}  // namespace
