// The child controls of the main window and the puzzle console: the table of
// every control in creation order, built from app/layout.def, and the start-up
// steps that use it.
#pragma once

#include "platform/win32.h"

#include <initializer_list>
#include <string>
#include <utility>

// The two windows' fixed sizes; the console docks directly below the main window.
// res/art/draw_art.py reads them here for the window pictures.
const int kMainWidth = 900, kMainHeight = 620;
const int kConsoleWidth = 900, kConsoleHeight = 106;

enum ControlParent { kMainWindow, kConsoleWindow };
enum ControlFont { kSystemFont, kGuiFont, kDisplayFont };

struct ControlDefinition {
    int id;
    const char* className;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE
    ControlParent parent;
    int x, y, width, height;
    HWND* handle;
    ControlFont font;
    int textLimit;            // EM_LIMITTEXT right after creation; 0 = none
    const char* initialText;  // set right after creation; null = stays empty
};

extern const ControlDefinition kControls[];
extern const int kControlCount;
// The controls created before the statistics are loaded (up to the hint line).
extern const int kControlsBeforeScores;

// Creates kControls[first .. last), each followed by its font, limit and text.
void CreateControls(HWND mainWindow, HFONT displayFont, int first, int last);
HFONT CreateDisplayFont();
void ShowScores(HWND mainWindow);       // the eight score statics from their texts
void AttachPictures();                  // clown and letter bitmaps on their statics
void HideClownPicturesButSeven();       // all clown pictures but the seven balloons

// The main window, whichever of the two windows is given: the console is
// owned by it.
HWND MainWindowOf(HWND window);

// Sets each control's text from its string, in the order given.
void SetControlTexts(HWND parent, std::initializer_list<std::pair<int, const std::string*>> texts);
// The whole text of an edit or static, read through a zero-filled buffer.
std::string ReadControlText(HWND parent, int id);
