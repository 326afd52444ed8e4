#!/usr/bin/python3
"""Checks the pictures that Marivane.rc builds into the program.

    /usr/bin/python3 res/art/check_art.py

- every bitmap and icon file the resource script names exists;
- bitmaps are uncompressed 24-bit bottom-up DIBs (BITMAPINFOHEADER, BI_RGB) of the size
  their control needs; icons hold one 8-bit palette image with its AND mask;
- the pictures line up with the window pictures they are shown over (button faces,
  fields, letters, clown pictures).
Prints one line per failure and closes with 'N passed, N failed'; exits 1 on failure."""

import os
import re
import struct
import sys

from PIL import Image, ImageChops

RES = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RC = os.path.join(RES, 'Marivane.rc')

LETTER_W = dict(zip('ABCDEFGHIJKLMNOPQRSTUVWXYZ',
                    (18, 16, 18, 17, 16, 15, 19, 16, 9, 12, 17, 13, 18, 16, 20, 16, 20, 17, 17, 17, 16, 18, 26,
                     18, 19, 17)))
LETTER_POS = dict(zip('ABCDEFGHIJKLMNOPQRSTUVWXYZ',
                      [(82, 483), (120, 483), (156, 483), (195, 483), (232, 483), (269, 483), (305, 483),
                       (346, 483), (384, 483), (411, 483), (444, 483), (481, 483), (515, 483), (83, 518),
                       (118, 518), (158, 518), (193, 518), (233, 518), (267, 518), (306, 518), (346, 518),
                       (375, 518), (404, 518), (444, 518), (480, 518), (517, 518)]))

# button stem: (window, x, y, normal size, pressed size)
BUTTONS = {
    'player_one': ('main', 761, 359, (102, 25), (102, 25)),
    'player_two': ('main', 761, 391, (102, 25), (102, 25)),
    'reset_stats': ('main', 761, 432, (102, 23), (102, 23)),
    'sound': ('main', 761, 459, (102, 24), (102, 24)),
    'balloon_mode': ('main', 761, 487, (80, 23), (80, 23)),
    'new_puzzle': ('main', 647, 432, (93, 23), (93, 23)),
    'solution': ('main', 647, 460, (93, 23), (93, 23)),
    'hints': ('main', 647, 487, (93, 23), (93, 23)),
    'minimise': ('main', 818, 3, (24, 18), (24, 18)),
    'help': ('main', 844, 3, (24, 19), (24, 19)),
    'close': ('main', 870, 3, (24, 19), (24, 18)),
    'solve_puzzle': ('main', 27, 575, (116, 23), (116, 23)),
    'quit': ('main', 560, 575, (49, 23), (49, 23)),
    'console': ('main', 493, 575, (65, 23), (65, 23)),
    'add_puzzle': ('console', 757, 62, (116, 23), (116, 23)),
    'delete': ('console', 831, 20, (42, 23), (42, 23)),
    'review': ('console', 757, 20, (72, 23), (72, 23)),
}

WHITE_FIELDS = [(760, 112, 106, 18), (760, 141, 40, 18), (826, 141, 40, 18), (760, 171, 106, 18),
                (760, 247, 106, 18), (760, 276, 40, 18), (826, 276, 40, 18), (760, 306, 106, 18),
                (847, 490, 14, 18), (28, 38, 846, 25)]
GREY_FIELDS = [(646, 525, 220, 17), (656, 385, 75, 32), (150, 577, 338, 20)]
CONSOLE_GREY = [(302, 22, 352, 20), (302, 64, 260, 20)]
LTGREY = (192, 192, 192)
BALLOON_AT = (258, 99, 119, 182)
SAD_AT = (279, 199, 90, 90)


def expected_size(name):
    base = os.path.basename(name)[:-4]
    if base == 'main_background':
        return (900, 620)
    if base == 'console_background':
        return (900, 106)
    m = re.fullmatch(r'letter_([a-z])', base)
    if m:
        c = m.group(1).upper()
        return (LETTER_W[c], 21 if c == 'Q' else 20)
    if re.fullmatch(r'balloons_[1-7]', base):
        return (119, 182)
    if base == 'sad_clown':
        return (90, 90)
    m = re.fullmatch(r'button_(\w+?)(_down)?', base)
    if m and m.group(1) in BUTTONS:
        return BUTTONS[m.group(1)][4 if m.group(2) else 3]
    return None


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def ok(self, cond, what):
        if cond:
            self.passed += 1
        else:
            self.failed += 1
            print('FAIL:', what)
        return cond


def rc_files():
    text = open(RC, encoding='utf-8').read()
    bmps = re.findall(r'^\s*\w+\s+BITMAP\s+"([^"]+)"', text, re.M)
    icos = re.findall(r'^\s*\w+\s+ICON\s+"([^"]+)"', text, re.M)
    return bmps, icos


def check_bmp_file(ck, path, size):
    data = open(path, 'rb').read()
    if not ck.ok(len(data) >= 54 and data[:2] == b'BM', '%s: not a BMP file' % path):
        return
    bf_size, off = struct.unpack_from('<I4xI', data, 2)
    bi = struct.unpack_from('<IiiHHIIiiII', data, 14)
    bi_size, w, h, planes, bpp, comp = bi[:6]
    ck.ok(bi_size == 40, '%s: header is %d bytes, not BITMAPINFOHEADER' % (path, bi_size))
    ck.ok((w, h) == size, '%s: %dx%d, want %dx%d' % (path, w, abs(h), size[0], size[1]))
    ck.ok(h > 0, '%s: rows are top-down' % path)
    ck.ok(planes == 1 and bpp == 24, '%s: %d planes, %d bpp' % (path, planes, bpp))
    ck.ok(comp == 0, '%s: compression %d, not BI_RGB' % (path, comp))
    row = (w * 3 + 3) // 4 * 4
    ck.ok(off == 54 and len(data) == off + row * abs(h) and bf_size == len(data),
          '%s: pixel data size or offset does not match' % path)


def check_ico_file(ck, path, side):
    data = open(path, 'rb').read()
    reserved, typ, count = struct.unpack_from('<HHH', data, 0)
    if not ck.ok((reserved, typ, count) == (0, 1, 1), '%s: not a one-image icon' % path):
        return
    w, h, colours, _, planes, bpp, size, off = struct.unpack_from('<BBBBHHII', data, 6)
    ck.ok((w, h, colours, planes, bpp) == (side % 256, side % 256, 0, 1, 8),
          '%s: directory entry %r' % (path, (w, h, colours, planes, bpp)))
    ck.ok(off == 22 and off + size == len(data), '%s: image offset/size' % path)
    bi = struct.unpack_from('<IiiHHIIiiII', data, off)
    ck.ok(bi[:6] == (40, side, 2 * side, 1, 8, 0), '%s: image header %r' % (path, bi[:6]))
    xor_row = (side + 3) // 4 * 4
    and_row = (side + 31) // 32 * 4
    ck.ok(size == 40 + 256 * 4 + side * (xor_row + and_row), '%s: image body size' % path)
    mask = data[off + 40 + 1024 + side * xor_row:]
    opaque = sum(8 - bin(b).count('1') for b in mask)
    ck.ok(side * side // 4 < opaque < side * side, '%s: AND mask leaves %d opaque pixels' % (path, opaque))
    palette = data[off + 40:off + 40 + 1024]
    ck.ok(len(set(palette[i:i + 3] for i in range(0, 1024, 4))) > 16, '%s: palette is nearly empty' % path)
    try:
        im = Image.open(path)
        im.load()
        ck.ok(im.size == (side, side), '%s: reads back as %r' % (path, im.size))
    except Exception as e:  # a reader that chokes on it is a failure to report, not a crash
        ck.ok(False, '%s: does not read back: %s' % (path, e))


def load(name):
    return Image.open(os.path.join(RES, 'bitmaps', name)).convert('RGB')


def same(a, b):
    return ImageChops.difference(a, b).getbbox() is None


def all_colour(img, rect, colour):
    x, y, w, h = rect
    return set(img.crop((x, y, x + w, y + h)).getdata()) == {colour}


def check_fit(ck):
    main = load('main_background.bmp')
    con = load('console_background.bmp')
    # each button's normal face is painted into its window exactly where the button sits
    for stem, (win, x, y, nsize, psize) in BUTTONS.items():
        face, down = load('button_%s.bmp' % stem), load('button_%s_down.bmp' % stem)
        bg = main if win == 'main' else con
        ck.ok(same(bg.crop((x, y, x + nsize[0], y + nsize[1])), face), '%s face differs from its well' % stem)
        ck.ok(not same(face.crop((0, 0) + psize), down), '%s pressed face looks the same as normal' % stem)
    # fields under the text statics and edits carry the colour the controls paint
    for r in WHITE_FIELDS:
        ck.ok(all_colour(main, r, (255, 255, 255)), 'white field %r is not plain white' % (r,))
    for r in GREY_FIELDS:
        ck.ok(all_colour(main, r, LTGREY), 'grey field %r is not plain light grey' % (r,))
    for r in CONSOLE_GREY:
        ck.ok(all_colour(con, r, LTGREY), 'console field %r is not plain light grey' % (r,))
    # letters: grey ground matching the alphabet field, ink centred, nothing cut at the edges
    for c, (x, y) in LETTER_POS.items():
        w, h = LETTER_W[c], 21 if c == 'Q' else 20
        ck.ok(all_colour(main, (x, y, w, h), LTGREY), 'alphabet field under %s is not light grey' % c)
        pic = load('letter_%s.bmp' % c.lower())
        ink = ImageChops.difference(pic, Image.new('RGB', pic.size, LTGREY)).getbbox()
        ck.ok(ink is not None and ink[3] - ink[1] >= 15, '%s: letter is missing or too small' % c)
        if ink is None:
            continue
        left, right = ink[0], w - ink[2]
        ck.ok(abs(left - right) <= 1, '%s: off centre (%d px left, %d px right)' % (c, left, right))
        corners = [pic.getpixel(p) for p in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1))]
        ck.ok(all(p == LTGREY for p in corners), '%s: corners are not on grey' % c)
        colours = {p for p in pic.getdata() if max(p) - min(p) > 120}
        ck.ok(len(colours) > 0, '%s: letter has no bright colour' % c)
    # clown pictures: cut from the background's own stage, so their edges meet it seamlessly
    bx, by, bw, bh = BALLOON_AT
    under = main.crop((bx, by, bx + bw, by + bh))
    painted = []   # pixels each picture changes clearly
    for n in range(1, 8):
        pic = load('balloons_%d.bmp' % n)
        diff = ImageChops.difference(pic, under)
        changed = diff.getbbox()
        ck.ok(changed is not None and changed[3] <= 140,
              'balloons_%d: changes the stage below the raised hand (%r)' % (n, changed))
        painted.append(sum(1 for p in diff.getdata() if max(p) > 40))
        if n > 1:
            ck.ok(painted[-1] > painted[-2] + 300, 'balloons_%d does not add a balloon to balloons_%d' % (n, n - 1))
    sx, sy, sw, sh = SAD_AT
    sad = load('sad_clown.bmp')
    under = main.crop((sx, sy, sx + sw, sy + sh))
    ring = [(x, 0) for x in range(sw)] + [(x, sh - 1) for x in range(sw)] + \
           [(0, y) for y in range(sh)] + [(sw - 1, y) for y in range(sh)]
    ck.ok(all(sad.getpixel(p) == under.getpixel(p) for p in ring), 'sad_clown: edges do not meet the stage')
    ck.ok(not same(sad, under), 'sad_clown: head is the same as the merry one')


def main():
    ck = Checks()
    bmps, icos = rc_files()
    ck.ok(len(bmps) == 70, 'Marivane.rc names %d bitmaps, want 70' % len(bmps))
    ck.ok(len(icos) == 2, 'Marivane.rc names %d icons, want 2' % len(icos))
    for rel in bmps:
        path = os.path.join(RES, rel)
        size = expected_size(rel)
        if ck.ok(size is not None, '%s: no known size for this name' % rel) and \
                ck.ok(os.path.isfile(path), '%s: missing' % rel):
            check_bmp_file(ck, path, size)
    for rel in icos:
        path = os.path.join(RES, rel)
        if ck.ok(os.path.isfile(path), '%s: missing' % rel):
            check_ico_file(ck, path, 32 if 'small' in rel else 64)
    if ck.failed == 0:
        check_fit(ck)
    print('%d passed, %d failed' % (ck.passed, ck.failed))
    return 1 if ck.failed else 0


if __name__ == '__main__':
    sys.exit(main())
