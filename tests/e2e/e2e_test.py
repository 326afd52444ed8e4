#!/usr/bin/python3
"""The real Marivane.exe under Wine in a private Xvfb display, driven by xdotool, read back through our probe.exe:
real files, windows, paths, sounds, help viewer, screen and user, which the native suite's headless double cannot
show. Every wait polls with a time limit; shots go to <work>/shots; tests/e2e/CMakeLists.txt hands over the exe, the
folders and the tools in the environment; `-k Name` runs one test."""
import contextlib, filecmp, os, pathlib, pwd, re, shutil, signal, subprocess, sys, tempfile, time, unittest, zipfile
from typing import NamedTuple

E = os.environ
EXE, WINE, XDOTOOL = E['MARIVANE_EXE'], E['E2E_WINE'], E['E2E_XDOTOOL']
WORK, RELEASE = pathlib.Path(E['E2E_WORK_DIR']), pathlib.Path(E['E2E_RELEASE_DIR'])
# Homes, programs, logs and the probe lie in /tmp, which an ordinary user reaches wherever the checkout lies.
SESSION = pathlib.Path(tempfile.mkdtemp(prefix='marivane-e2e-', dir='/tmp'))
PROBE = SESSION / 'probe.exe'
ID = {name: int(n) for name, n in re.findall(r'#define (ID\w+) +(\d+)', pathlib.Path(E['E2E_RESOURCE_H']).read_text())}
MAIN, CONSOLE = -1, -2  # the game's two windows as the probe numbers them
PASS_ENDED = 'Resetting Puzzle Viewer...'
ONE_LOSS = '0 0 1 Circus-Worker 0 0 0 Circus-Worker'  # the figures once player one has lost a game
MAIN_1024 = (1280 // 2 - 450, 1024 // 2 - 378, 900, 620)  # on a 1280 x 1024 screen: centred, top 378 above centre
session = []  # how the current Wine session runs a program: as whom, on which display, with which prefix


def wait_until(done, limit=10, interval=0.1):  # what `done` gave last: falsy when the time ran out
    deadline = time.monotonic() + limit
    while not (result := done()) and time.monotonic() < deadline:
        time.sleep(interval)
    return result


def start(argv, log):  # output to a file, not a pipe: a wineserver the program starts would hold a pipe open
    with open(log, 'wb') as out:
        return subprocess.Popen(list(map(str, argv)), stdin=subprocess.DEVNULL, stdout=out, stderr=out)


def stop(process, sig=signal.SIGKILL):
    if process and process.poll() is None:
        process.send_signal(sig)
        with contextlib.suppress(subprocess.TimeoutExpired):
            process.wait(5)
        process.kill()
        process.wait()


def run(argv, limit=15):  # a short program's output, or None when it failed or overran `limit`
    tool = start(argv, SESSION / 'tool.log')
    with contextlib.suppress(subprocess.TimeoutExpired):
        tool.wait(limit)
    stop(tool)
    return (SESSION / 'tool.log').read_bytes() if tool.returncode == 0 else None


def xdotool(*arguments): return run(session + [XDOTOOL, *arguments]) is not None
def showing(title): return xdotool('search', '--onlyvisible', '--name', f'^{title}$')
def run_probe(*arguments): return run(session + [WINE, PROBE, *arguments])


class Seen(NamedTuple):  # one line of the probe: a window of the game or a control of the window above it
    id: int
    shown: bool
    at: tuple  # x, y, width and height on the screen
    text: str


def probe():
    seen = []
    for line in (run_probe() or b'').decode('utf-8', 'replace').splitlines():
        if line.strip():
            id, shown, *at, text = line.rstrip('\r').split(' ', 6)  # the text may itself begin with blanks
            seen.append(Seen(int(id), shown == '1', tuple(map(int, at)), text))
    return seen


def find(id, seen=None): return next((s for s in (probe() if seen is None else seen) if s.id == id), None)


class Want(NamedTuple):  # what a step waits for on one window or control; None: anything
    id: int
    text: str = None
    shown: bool = None
    at: tuple = None

    def met_by(self, s):
        return s and all(want in (None, got) for want, got in zip(self[1:], (s.text, s.shown, s.at)))


def step(name, given, wants):
    """After the input was `given`, polls the probe until every want holds; a failure shows what differs."""
    assert given, f"step '{name}': the input could not be given"
    seen = []
    def all_met():
        seen[:] = probe()
        return all(w.met_by(find(w.id, seen)) for w in wants)
    assert wait_until(all_met), f"step '{name}', not as wanted:" + ''.join(
        f'\n  wanted {w}, got {find(w.id, seen)}' for w in wants if not w.met_by(find(w.id, seen)))


def click(id):
    s = wait_until(lambda: find(id), 5)  # now and then a probe on a busy machine comes back empty: try again a while
    return s and xdotool('mousemove', s.at[0] + s.at[2] // 2, s.at[1] + s.at[3] // 2, 'click', '1')


def letter(c): return ID['IDC_LETTER_A'] + ID['IDC_LETTER_STEP'] * (ord(c) - ord('A'))
def clicks(letters): return all(click(letter(c)) for c in letters)
def type_into(id, text): return click(id) and xdotool('type', text)
def console_below(main): return (main[0], main[1] + main[3], 900, 106)  # docked to the main window
def show_console(): step('show the console', click(ID['IDC_CONSOLE']), [Want(CONSOLE, shown=True)])


def add_puzzle(phrase, hint):  # input events reach the console in the order given: no wait between them
    step('add ' + phrase, type_into(ID['IDC_PHRASE_EDIT'], phrase) and type_into(ID['IDC_HINT_EDIT'], hint) and
         click(ID['IDC_ADD_PUZZLE']), [Want(ID['IDC_PHRASE_EDIT'], ''), Want(ID['IDC_HINT_EDIT'], '')])


def shoot(name, with_console=False):  # the main window, with the console below it when asked
    time.sleep(0.5)  # the state is read back already; give the painting a moment
    x, y, width, height = at = find(MAIN).at
    crop = f'{width}x{height + (console_below(at)[3] if with_console else 0)}+{x}+{y}'
    (WORK / 'shots').mkdir(parents=True, exist_ok=True)
    (WORK / 'shots' / f'{name}.png').write_bytes(
        run(session + [E['E2E_IMPORT'], '-window', 'root', '-crop', crop, '+repage', 'png:-']) or b'')


def store_of(records):  # the scrambled store of these 'phrase;hint' records, written by the game's own code
    (SESSION / 'records.txt').write_bytes(b''.join(r.encode('latin-1') + b'\n' for r in records))
    subprocess.run([E['E2E_STORE_TOOL'], SESSION / 'records.txt', SESSION / 'store'], check=True)
    return (SESSION / 'store').read_bytes()


class Game:
    """A copy of the program in a folder of its own (or shared, for two copies), beside folder `seeds`' files."""
    launches = 0

    def __init__(self, name, files=None, seeds=None):
        self.folder, self.process = SESSION / name, None
        self.folder.mkdir(parents=True, exist_ok=True)
        keep_existing = lambda source, to: os.path.exists(to) or shutil.copy(source, to)  # the exe may be running
        keep_existing(EXE, self.folder / 'Marivane.exe')
        if seeds:
            shutil.copytree(seeds, self.folder, copy_function=keep_existing, dirs_exist_ok=True)
        for file, content in (files or {}).items():
            (self.folder / file).write_bytes(content)

    def file(self, name): return (self.folder / name).read_bytes()
    def trace(self): return self.log.read_text(errors='replace')

    def sounds(self):  # the resource ids of the sounds played, in order, as traced in hexadecimal
        return [int(n, 16) for n in re.findall(r"PlaySound pszSound='([0-9A-F]+)'", self.trace())]

    def loaded(self, dll):  # whether the run has loaded this system DLL ("winmm.dll") so far, named in any case
        return re.search(r'\\\\' + re.escape(dll) + '"', self.trace(), re.I) is not None

    def launch(self, copies=1):  # starts one more copy and waits until `copies` main windows are on screen
        Game.launches += 1
        self.log = SESSION / f'{self.folder.name}-{Game.launches}.log'
        traced = ['/usr/bin/env', 'WINEDEBUG=+winmm,+loaddll', WINE, self.folder / 'Marivane.exe']
        self.process = start(session + traced, self.log)
        up = lambda: self.process.poll() is not None or [s.shown for s in probe() if s.id == MAIN].count(True) == copies
        return wait_until(up, 60) and self.process.poll() is None

    def exit_code(self, limit=30):  # None while it still runs; Wine takes some 2 s to end a process
        with contextlib.suppress(subprocess.TimeoutExpired):
            return self.process.wait(limit)


@contextlib.contextmanager
def wine_session(name, screen, user=None):
    """An Xvfb screen, a prefix and a hidden keeper window of a test's own, Wine run by root or by `user` in a home of
    his. While it lasts, every Wine program, xdotool and screenshot of the test runs in it. Yields the prefix."""
    home = SESSION / name
    home.mkdir(parents=True)
    account = pwd.getpwnam(user) if user else None
    # Xvfb picks a free display itself and prints its number alone on a line, so two sessions never race for one.
    xvfb = start([E['E2E_XVFB'], '-displayfd', '1', '-nolisten', 'tcp', '-screen', '0', screen], home / 'X')
    keeper = None
    try:
        display = wait_until(lambda: re.search(r'^(\d+)$', (home / 'X').read_text(), re.M))
        assert display, f'no display: see {home}/X'
        session[:] = ['/usr/bin/env', f'WINEPREFIX={home}/wineprefix', f'HOME={home}', f'DISPLAY=:{display[1]}',
                      'WINEARCH=win64', 'WINEDEBUG=-all', 'WINEDLLOVERRIDES=mscoree,mshtml=']  # no Mono, no Gecko
        if account:  # his home, and his own name too: Wine names the profile folder after $USER
            os.chown(home, account.pw_uid, account.pw_gid)
            session[:0] = ['/usr/bin/setpriv', f'--reuid={account.pw_uid}', f'--regid={account.pw_gid}',
                           '--clear-groups']
            session.extend([f'USER={user}', f'LOGNAME={user}'])
        assert run(session + [WINE, 'wineboot', '-i'], 240) is not None, 'wineboot failed'
        assert run(session + [E['E2E_WINESERVER'], '-w'], 120) is not None, 'wineserver did not settle'
        keeper = start(session + [WINE, PROBE, 'keep'], home / 'keeper.log')
        assert wait_until(lambda: xdotool('search', '--name', '^Marivane e2e keeper$'), 60), 'no keeper window'
        yield home / 'wineprefix'
    finally:
        stop(keeper)
        run(session + [E['E2E_WINESERVER'], '-k'], 30)  # ends every Wine process of this prefix and no other
        shutil.rmtree(home / 'wineprefix', ignore_errors=True)  # some 700 MB, made anew by every session
        stop(xvfb, signal.SIGTERM)  # not SIGKILL: Xvfb removes its socket


def starters():  # the starter puzzles as (phrase, hint)
    lines = pathlib.Path(E['E2E_STARTER_LIST']).read_text().splitlines()
    return [tuple(line.split(';')) for line in lines if line.strip() and not line.startswith('#')]


def lose_a_starter_game():
    """Draws a starter puzzle, known by its hint, and loses it with seven letters its phrase lacks; shoots both."""
    assert click(ID['IDC_NEW_PUZZLE']), 'no New Puzzle'
    hint = wait_until(lambda: getattr(find(ID['IDC_HINT_LINE']), 'text', ''))
    used = ''.join(phrase for phrase, h in starters() if h == hint)  # the letters of every phrase with this hint
    assert used, f"the hint '{hint}' is no starter puzzle's"
    wrong = [c.upper() for c in 'abcdefghijklmnopqrstuvwxyz' if c not in used][:7]
    step('two wrong', clicks(wrong[:2]), [Want(ID['IDC_LETTER_BIN'], f'{wrong[0]} {wrong[1]} ')])
    shoot('midgame')
    step('lost', clicks(wrong[2:]), [Want(ID['IDC_P1_LOSSES'], '1')])
    shoot('loss')


def open_the_help_and_ask_again():  # the viewer is titled by the help file; a second press while it is open: a box
    viewer, refusal = os.environ['E2E_HELP_TITLE'], 'System - Permission Denied'
    assert click(ID['IDC_HELP_ME']) and wait_until(lambda: showing(viewer), 60), 'no help viewer'
    # Off the game's title bar, the viewer leaves its Help button to be pressed again.
    assert xdotool('search', '--onlyvisible', '--name', f'^{viewer}$', 'windowmove', '--sync', '0', '300')
    assert click(ID['IDC_HELP_ME']) and wait_until(lambda: showing(refusal)), 'no box refusing a second help viewer'
    for window in (refusal, viewer):
        assert run_probe('close', window) is not None and wait_until(lambda: not showing(window)), window + ' stays'


UNLOCKED = b'Disable_Console= 0\nDisable_VCCntls= 0'  # a configuration that lets the player add puzzles
# The release's zips and setup programs hold the GCC build's exe: their tests run in its suite alone.
release_only = unittest.skipUnless(filecmp.cmp(EXE, RELEASE / 'Marivane.exe', shallow=False), 'not the release exe')


def players_files(folder):  # every file in the folder but the program's own, with its content
    program = set(os.listdir(RELEASE)) | {'Uninstall.exe'}
    return {file.name: file.read_bytes() for file in folder.iterdir() if file.name not in program}


def install(setup, *switches):  # silently, from a copy the user reaches wherever the build lies
    return run(session + [WINE, shutil.copy(setup, SESSION), '/S', *switches], 120) is not None


def uninstall_entry(root):  # the values of Marivane's entry under HKCU or HKLM; none when it has no entry
    listed = (run(session + [WINE, 'reg', 'query', root + r'\Software\Microsoft\Windows\CurrentVersion\Uninstall'
                             r'\Marivane']) or b'').decode('utf-8', 'replace')
    return dict(re.findall(r'^ +(\w+) +REG_\w+ +(.*?)\r?$', listed, re.M))


class Marivane(unittest.TestCase):
    def a_players_evening(self, game):  # a lost game and a puzzle of his own, then Quit: the files he leaves
        self.assertTrue(game.launch())
        lose_a_starter_game()
        show_console()
        add_puzzle('Ring Toss', 'prize')
        self.assertTrue(click(ID['IDC_QUIT']) and game.exit_code() == 0)
        files, puzzles = players_files(game.folder), [';'.join(puzzle) for puzzle in starters()] + ['ring toss;prize']
        self.assertEqual([files['OnLoad.dat'], files['MVStats.dat'].decode()], [store_of(puzzles), ONE_LOSS])
        return files

    def test_AQuitSavesTheFiguresWhileAnotherProgramHoldsTheirFileAWhile(self):
        with wine_session('held', '1280x1024x24'):  # held, the file cannot be replaced for 400 ms
            game = Game('figures', seeds=RELEASE)
            self.assertTrue(game.launch())
            lose_a_starter_game()
            x, y, width, height = find(ID['IDC_QUIT']).at  # read before the hold: a probe takes a while
            holder = start(session + [WINE, PROBE, 'hold', f'Z:{game.folder}/MVStats.dat', 400], SESSION / 'held.log')
            self.assertTrue(wait_until(lambda: b'held' in (SESSION / 'held.log').read_bytes(), 30, 0.01), 'not held')
            self.assertTrue(xdotool('mousemove', x + width // 2, y + height // 2, 'click', '1'))
            self.assertTrue(game.exit_code() == 0 and holder.wait(30) == 0, 'the game did not end: a box?')
            self.assertEqual(game.file('MVStats.dat').decode(), ONE_LOSS)

    def test_AnOrdinaryUserOnALowScreenPlaysFromALockedFolderNamedOutsideTheCodePageAndOpensHelpLoadingDllsLate(self):
        # The program's folder, named outside the code page, is root's: the user may read it but not write, so his
        # files go to a folder of his own, seeded from it. On a screen 720 pixels high the windows come up to its top.
        with wine_session('user', '1280x720x24', 'nobody') as prefix:
            game = Game('游戏', seeds=RELEASE)
            main = (MAIN_1024[0], 0, *MAIN_1024[2:])
            step('at the top, the console below', game.launch(),
                 [Want(MAIN, at=main), Want(CONSOLE, at=console_below(main))])
            self.assertFalse(game.loaded('winmm.dll') or game.loaded('shell32.dll'), 'sound or shell DLL at start-up')
            lose_a_starter_game()
            open_the_help_and_ask_again()
            self.assertTrue(click(ID['IDC_CLOSE']) and game.exit_code() == 0, 'X did not end the program')
            data = prefix / 'drive_c/users/nobody/AppData/Local/Marivane'
            self.assertEqual((data / 'MVStats.dat').read_text(), ONE_LOSS)
            self.assertEqual((data / 'OnLoad.dat').read_bytes(), (RELEASE / 'MVStarters.dat').read_bytes())
            heard = [ID['IDW_NEW_PUZZLE']] + [ID['IDW_MISS']] * 7 + [ID['IDW_LOSS'], ID['IDW_CLICK'], ID['IDW_CLICK']]
            self.assertEqual(game.sounds(), heard)  # the last two: Help twice
            # Once his folder holds his files it stays their home, though the program's folder now takes new files.
            beside, his = sorted(os.listdir(game.folder)), players_files(data)
            os.chmod(game.folder, 0o777)
            step('his figures', game.launch(), [Want(ID['IDC_P1_LOSSES'], '1')])
            self.assertTrue(click(ID['IDC_QUIT']) and game.exit_code() == 0)
            self.assertEqual([sorted(os.listdir(game.folder)), players_files(data)], [beside, his])

    def test_TheConsoleIsRestoredWithTheGameAndPuzzlesWithControlCharactersOutliveAltF4AKilledRunAndASecondCopy(self):
        # Scrambled, the 0x14 becomes 0x1A, the byte at which a text-mode read stops, as at the 0x1A in "thr\x1Aee".
        with wine_session('root', '1280x1024x24'):
            kept = ['\x14ab;x', 'thr\x1Aee;h3', 'tent pole;tall']
            game = Game('console', {'OnLoad.dat': store_of(['big top;clowns'] + kept[:2]), 'MVC_CONFIG.INI': UNLOCKED})
            self.assertTrue(game.launch())
            show_console()
            step('minimise', click(ID['IDC_MINIMISE']), [Want(MAIN, shown=False)])
            step('restore', run_probe('restore', 'Marivane') is not None,
                 [Want(MAIN, shown=True, at=MAIN_1024), Want(CONSOLE, shown=True, at=console_below(MAIN_1024))])
            step('review', click(ID['IDC_REVIEW']),
                 [Want(ID['IDC_PHRASE_EDIT'], 'big top'), Want(ID['IDC_HINT_EDIT'], 'clowns')])
            shoot('console', True)
            self.assertTrue(click(ID['IDC_DELETE']))
            add_puzzle('Tent Pole', 'tall')
            # The next press says the delete ended the pass; the presses after it show each puzzle, read whole.
            for phrase in [PASS_ENDED] + [record.split(';')[0] for record in kept] + [PASS_ENDED]:
                step('review ' + phrase, click(ID['IDC_REVIEW']), [Want(ID['IDC_PHRASE_EDIT'], phrase)])
            # Killed, it leaves the plain file, which the next start keeps.
            stop(game.process)
            self.assertTrue(game.launch())
            self.assertEqual(game.file('MVData.dat'), ''.join(r + ':' for r in kept).encode('latin-1'))
            # Two copies: the later one, on top of the other, ends first; the other's new puzzle joins the store at
            # its exit. The click on the puzzle line gives the later copy the focus.
            second = Game('console')
            self.assertTrue(second.launch(2) and click(ID['IDC_PUZZLE_LINE']) and xdotool('key', 'alt+F4') and
                            second.exit_code() == 0, 'Alt+F4 did not end the later copy')
            self.assertEqual(game.file('MVData.dat'), b'Data purged...')
            show_console()
            add_puzzle('ring toss', 'prize')
            self.assertTrue(click(ID['IDC_QUIT']) and game.exit_code() == 0)
            self.assertEqual(game.file('OnLoad.dat'), store_of(kept + ['ring toss;prize']))

    @release_only
    def test_TheNextZipUnpackedOverTheFirstKeepsThePlayersPuzzlesFiguresAndConfiguration(self):
        with wine_session('zip', '1280x1024x24'):
            folder = SESSION / 'unpacked'
            zipfile.ZipFile(E['E2E_ZIP']).extractall(folder)
            game = Game(folder / 'Marivane', {'MVC_CONFIG.INI': UNLOCKED})
            mine = self.a_players_evening(game)
            zipfile.ZipFile(E['E2E_NEXT_ZIP']).extractall(folder)
            self.assertEqual(os.listdir(folder), ['Marivane'])  # one top folder, the same for every version
            step('his figures', game.launch(), [Want(ID['IDC_P1_LOSSES'], '1')])
            self.assertTrue(click(ID['IDC_QUIT']) and game.exit_code() == 0)
            self.assertEqual(players_files(game.folder), mine)

    @release_only
    def test_SetupForOnePlayerUpgradedAndUninstalledKeepsHisFilesAndSetupForAllUsersLocksTheConsole(self):
        with wine_session('setup', '1280x1024x24', 'nobody') as prefix:
            user = prefix / 'drive_c/users/nobody/AppData'
            folder, shortcut = user / 'Local/Programs/Marivane', user / 'Roaming/Microsoft/Windows/Start Menu/Programs'
            self.assertTrue(install(E['E2E_SETUP']))
            self.assertEqual(sorted(os.listdir(folder)), sorted(os.listdir(RELEASE) + ['Uninstall.exe']))
            self.assertEqual([(shortcut / 'Marivane.lnk').exists(), uninstall_entry('HKCU')['DisplayVersion']],
                             [True, E['E2E_VERSION']])
            mine = self.a_players_evening(Game(folder, {'MVC_CONFIG.INI': UNLOCKED}))
            self.assertTrue(install(E['E2E_NEXT_SETUP']))
            self.assertEqual(uninstall_entry('HKCU')['DisplayVersion'], E['E2E_NEXT_VERSION'])
            self.assertEqual((folder / 'Marivane.exe').read_bytes(),
                             zipfile.ZipFile(E['E2E_NEXT_ZIP']).read('Marivane/Marivane.exe'))
            self.assertEqual(players_files(folder), mine)
            # Uninstalled by the entry's quiet command, which hands over to a copy of itself and ends.
            uninstaller, switch = re.fullmatch(r'"(.+)" (.+)', uninstall_entry('HKCU')['QuietUninstallString']).groups()
            self.assertTrue(run(session + [WINE, uninstaller, switch]) is not None)
            self.assertTrue(wait_until(lambda: not uninstall_entry('HKCU'), 60), 'the entry stays')
            left = {file.name: file.read_bytes() for file in folder.iterdir()}
            self.assertEqual([left, (shortcut / 'Marivane.lnk').exists()], [mine, False])
            # For all users, locked: into Program Files, which the player may not write, as on Windows. His own
            # configuration, which unlocks the console, gives way to the lock beside the program.
            own, program = user / 'Local/Marivane', prefix / 'drive_c/Program Files/Marivane'
            own.mkdir()
            (own / 'MVC_CONFIG.INI').write_bytes(UNLOCKED)
            for path in own, own / 'MVC_CONFIG.INI':
                shutil.chown(path, 'nobody', 'nogroup')
            self.assertTrue(install(E['E2E_SETUP'], '/ALLUSERS', '/LOCKCONSOLE'))
            self.assertEqual(uninstall_entry('HKLM')['DisplayVersion'], E['E2E_VERSION'])
            os.chmod(program, 0o555)
            game = Game(program)
            self.assertTrue(game.launch() and click(ID['IDC_CONSOLE']))
            time.sleep(1)  # a console not locked would show by then
            self.assertFalse(find(CONSOLE).shown, 'the console is not locked')
            self.assertTrue(click(ID['IDC_QUIT']) and game.exit_code() == 0)
            self.assertTrue((own / 'MVStats.dat').exists(), 'his figures are not in his folder')


if __name__ == '__main__':
    SESSION.chmod(0o755)
    shutil.copy(E['E2E_PROBE_EXE'], PROBE)
    # Every program's working folder: of one the user cannot reach, Wine warns on stderr, beside the probe's output.
    os.chdir(SESSION)
    if not unittest.main(exit=False).result.wasSuccessful():
        sys.exit(f'The sessions are kept in {SESSION}')
    shutil.rmtree(SESSION)
