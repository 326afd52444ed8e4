#include "game/window_procedure.h"

#include "app/help.h"
#include "data/puzzle_console.h"
#include "game/commands.h"
#include "game/drawing.h"
#include "game/guessing.h"
#include "resource.h"

namespace {

// Runs the command of a control id. Returns false when the command wants no
// default processing afterwards (only a refused help request does).
bool runCommand(HWND hwnd, int id) {
    switch (id) {
    case IDC_PLAYER_ONE:   PlayerSwitch(hwnd, 1); break;
    case IDC_PLAYER_TWO:   PlayerSwitch(hwnd, 2); break;
    case IDC_RESET_STATS:  ResetStatsCommand(hwnd); break;
    case IDC_SOUND:        SoundToggle(hwnd); break;
    case IDC_BALLOON_MODE: BalloonMode(hwnd); break;
    case IDC_NEW_PUZZLE:   NewPuzzle(hwnd); break;
    case IDC_SOLUTION:     ShowSolution(hwnd); break;
    case IDC_HINTS:        HintToggle(); break;
    case IDC_MINIMISE:     MinimiseCommand(hwnd); break;
    case IDC_HELP_ME:         return !HelpRequest();
    case IDC_CLOSE:
    case IDC_QUIT:         ExitCommand(hwnd); break;
    case IDC_SOLVE_PUZZLE: SolvePuzzle(hwnd); break;
    case IDC_ADD_PUZZLE:   AddPuzzleCommand(); break;
    case IDC_CONSOLE:      ConsoleToggle(hwnd); break;
    case IDC_DELETE:       DeleteCommand(); break;
    case IDC_REVIEW:       ReviewCommand(); break;
    default: break;
    }
    return true;
}

bool isArrowKey(WPARAM key) { return key >= VK_LEFT && key <= VK_DOWN; }

}  // namespace

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        PaintWindow(hwnd);
        return 0;
    case WM_DRAWITEM:
        DrawButton(wParam, lParam);
        return 0;
    case WM_KEYDOWN:
        if (isArrowKey(wParam)) MoveWithArrowKey(hwnd, wParam);
        return 0;
    case WM_COMMAND:
        // Dispatch on the id alone: any notification of these controls runs the command.
        if (!runCommand(hwnd, LOWORD(wParam))) return 0;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(ControlColours(reinterpret_cast<HDC>(wParam)));
    case WM_LBUTTONDOWN:
        LetterClick(hwnd, lParam);
        return 0;
    case WM_LBUTTONUP:
        SetFocus(hwnd);
        return 0;
    case WM_CLOSE:  // Alt+F4, the task bar, or any program asking us to close
        ExitCommand(hwnd);
        return 0;
    case WM_ENDSESSION:  // Windows is shutting down or the user logs off
        if (wParam) ExitCommand(hwnd);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
