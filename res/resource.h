/* Identifiers shared by the resource script and the program.
 * Plain #defines only, so that both windres/rc.exe and the C++ compiler read them. */
#ifndef MARIVANE_RESOURCE_H
#define MARIVANE_RESOURCE_H

/* ---- Window backgrounds ---- */
#define IDB_MAIN_BACKGROUND     48   /* 900 x 620 */
#define IDB_CONSOLE_BACKGROUND  100  /* 900 x 106 */

/* ---- Letter pictures: IDB_LETTER_A + IDB_LETTER_STEP * n for the n-th letter; each
 * letter has its own name too, for the resource script ---- */
#define IDB_LETTER_STEP  60
#define IDB_LETTER_A     130
#define IDB_LETTER_B     190
#define IDB_LETTER_C     250
#define IDB_LETTER_D     310
#define IDB_LETTER_E     370
#define IDB_LETTER_F     430
#define IDB_LETTER_G     490
#define IDB_LETTER_H     550
#define IDB_LETTER_I     610
#define IDB_LETTER_J     670
#define IDB_LETTER_K     730
#define IDB_LETTER_L     790
#define IDB_LETTER_M     850
#define IDB_LETTER_N     910
#define IDB_LETTER_O     970
#define IDB_LETTER_P     1030
#define IDB_LETTER_Q     1090
#define IDB_LETTER_R     1150
#define IDB_LETTER_S     1210
#define IDB_LETTER_T     1270
#define IDB_LETTER_U     1330
#define IDB_LETTER_V     1390
#define IDB_LETTER_W     1450
#define IDB_LETTER_X     1510
#define IDB_LETTER_Y     1570
#define IDB_LETTER_Z     1630

/* ---- Clown pictures: IDB_BALLOONS_1 + IDB_BALLOONS_STEP * (balloons - 1) ---- */
#define IDB_BALLOONS_STEP  50
#define IDB_BALLOONS_1     2000
#define IDB_BALLOONS_2     2050
#define IDB_BALLOONS_3     2100
#define IDB_BALLOONS_4     2150
#define IDB_BALLOONS_5     2200
#define IDB_BALLOONS_6     2250
#define IDB_BALLOONS_7     2300
#define IDB_SAD_CLOWN      6050

/* ---- Button faces (normal, pressed) ---- */
#define IDB_PLAYER_ONE          2700
#define IDB_PLAYER_ONE_DOWN     2750
#define IDB_PLAYER_TWO          2850
#define IDB_PLAYER_TWO_DOWN     2900
#define IDB_RESET_STATS         3000
#define IDB_RESET_STATS_DOWN    3050
#define IDB_SOUND               3150
#define IDB_SOUND_DOWN          3200
#define IDB_BALLOON_MODE        3300
#define IDB_BALLOON_MODE_DOWN   3350
#define IDB_NEW_PUZZLE          3450
#define IDB_NEW_PUZZLE_DOWN     3500
#define IDB_SOLUTION            3600
#define IDB_SOLUTION_DOWN       3650
#define IDB_HINTS               3750
#define IDB_HINTS_DOWN          3800
#define IDB_MINIMISE            3900
#define IDB_MINIMISE_DOWN       3950
#define IDB_HELP                4050
#define IDB_HELP_DOWN           4100
#define IDB_CLOSE               4200
#define IDB_CLOSE_DOWN          4250
#define IDB_SOLVE_PUZZLE        4800
#define IDB_SOLVE_PUZZLE_DOWN   4850
#define IDB_QUIT                4950
#define IDB_QUIT_DOWN           5000
#define IDB_CONSOLE             5100
#define IDB_CONSOLE_DOWN        5150
#define IDB_ADD_PUZZLE          5400
#define IDB_ADD_PUZZLE_DOWN     5450
#define IDB_REVIEW              5750
#define IDB_REVIEW_DOWN         5800
#define IDB_DELETE              5850
#define IDB_DELETE_DOWN         5900

/* ---- Sounds (resource type "WAVE") ---- */
#define IDW_CLICK       4450
#define IDW_MINIMISE    4500
#define IDW_HIT         4600
#define IDW_MISS        4650
#define IDW_NEW_PUZZLE  4700
#define IDW_CONSOLE     5600
#define IDW_WIN         5650
#define IDW_LOSS        5700

/* ---- Icon groups ---- */
#define IDI_MARIVANE        16  /* 64 x 64, the program file's icon */
/* 32 x 32, loaded at 16 x 16 as the main window class's small icon, for wherever the system shows
 * small icons: the windows have no title bar of the system's, only the one painted in their picture */
#define IDI_MARIVANE_SMALL  32

/* ---- Main window: buttons ---- */
#define IDC_PLAYER_ONE    2800
#define IDC_PLAYER_TWO    2950
#define IDC_RESET_STATS   3100
#define IDC_SOUND         3250
#define IDC_BALLOON_MODE  3400
#define IDC_NEW_PUZZLE    3550
#define IDC_SOLUTION      3700
#define IDC_HINTS         3850
#define IDC_MINIMISE      4000
#define IDC_HELP_ME       4150
#define IDC_CLOSE         4300
#define IDC_SOLVE_PUZZLE  4900
#define IDC_QUIT          5050
#define IDC_CONSOLE       5350

/* ---- Main window: letter pictures, IDC_LETTER_A + IDC_LETTER_STEP * n ---- */
#define IDC_LETTER_A     160
#define IDC_LETTER_STEP  60

/* ---- Main window: texts ---- */
#define IDC_P1_POINTS   1690
#define IDC_P2_POINTS   1720
#define IDC_P1_WINS     1750
#define IDC_P2_WINS     1780
#define IDC_P1_LOSSES   1810
#define IDC_P2_LOSSES   1840
#define IDC_P1_SKILL    1870
#define IDC_P2_SKILL    1900
#define IDC_HINT_LINE   1930
#define IDC_PUZZLE_LINE 1960
#define IDC_START_LINE  5500
#define IDC_LETTER_BIN  4350
#define IDC_BALLOON_COUNT 4400
#define IDC_SOLUTION_EDIT 4750

/* ---- Main window: clown pictures, IDC_BALLOONS_1 + IDC_BALLOONS_STEP * (balloons - 1) ---- */
#define IDC_SAD_CLOWN     6100
#define IDC_BALLOONS_1    2350
#define IDC_BALLOONS_STEP 50
#define IDC_BALLOONS_7    2650

/* ---- Puzzle console ---- */
#define IDC_ADD_PUZZLE  5200
#define IDC_DELETE      5950
#define IDC_REVIEW      6000
#define IDC_PHRASE_EDIT 5300
#define IDC_HINT_EDIT   5250

#endif
