#!/usr/bin/python3
"""Checks app/layout.def and the pictures drawn for it; prints each failure, exits 1 on any."""

import filecmp, functools, os, struct, sys, tempfile

from PIL import Image, ImageChops

import draw_art as art

BITMAPS = os.path.join(art.RES, 'bitmaps')
failures = []


def expect(ok, what):
    if not ok:
        failures.append(what)
        print('FAIL:', what)


def check_layout(layout):
    ids = [c.id for c in layout]
    expect(len(set(ids)) == len(ids), 'two controls share an id')
    for c in layout:
        width, height = art.WINDOW_SIZE[c.window]
        expect(0 <= c.x <= width - c.w and 0 <= c.y <= height - c.h, '%s is outside its window' % c.name)
    buttons = [c for c in layout if c.kind == 'BUTTON']
    for i, a in enumerate(buttons):
        for b in buttons[i + 1:]:
            expect(a.window != b.window or a.x + a.w <= b.x or b.x + b.w <= a.x or a.y + a.h <= b.y or b.y + b.h <= a.y,
                   '%s overlaps %s' % (a.name, b.name))


def check_bitmap_formats(layout):   # uncompressed, 24-bit, bottom-up, the size of their window or control
    sizes = [('%s_background.bmp' % w.lower(), size) for w, size in art.WINDOW_SIZE.items()]
    for c in layout:
        sizes += art.face_files(c) if c.face else [(art.picture_file(c), (c.w, c.h))] if c.kind == 'PICTURE' else []
    for name, size in sizes:
        with open(os.path.join(BITMAPS, name), 'rb') as f:   # width, height, planes, bits per pixel, compression
            expect(struct.unpack_from('<iiHHI', f.read(34), 18) == size + (1, 24, 0),
                   '%s is not a %dx%d 24-bit bitmap' % (name, *size))


def check_controls_sit_on_their_spots(layout):   # buttons on wells with their faces, texts on plain fields
    windows = {w: Image.open(os.path.join(BITMAPS, '%s_background.bmp' % w.lower())).convert('RGB')
               for w in art.WINDOW_SIZE}
    for c in layout:
        under = windows[c.window].crop((c.x, c.y, c.x + c.w, c.y + c.h))
        if c.face:
            face = Image.open(os.path.join(BITMAPS, art.face_files(c)[0][0])).convert('RGB')
            expect(under.tobytes() == face.tobytes(), 'the well of %s is not where the button sits' % c.name)
        elif c.kind in ('TEXT', 'NOPREFIX_TEXT', 'CENTRED', 'EDIT'):
            expect(len(set(under.getdata())) == 1, '%s does not sit on a plain field' % c.name)


# Another release's FreeType or Pillow shades a few pixels at the edge of a glyph or a curve a little otherwise:
# between Debian 12 and 13, at most 76 pixels of a picture, by at most 38 of 255.
EDGE_PIXELS, EDGE_SHADE = 200, 64


def drawn_alike(ours, new):   # the same size, and the same pixels but for a few edge pixels shaded otherwise
    if not (os.path.isfile(ours) and os.path.isfile(new)):
        return False
    if filecmp.cmp(ours, new, shallow=False):
        return True
    a, b = (Image.open(path).convert('RGBA') for path in (ours, new))
    if a.size != b.size:
        return False
    shades = functools.reduce(ImageChops.lighter, ImageChops.difference(a, b).split()).histogram()
    return sum(shades[1:]) <= EDGE_PIXELS and not any(shades[EDGE_SHADE + 1:])


def check_up_to_date():   # draw_art.py, run into a fresh folder, draws the very pictures committed
    with tempfile.TemporaryDirectory() as fresh:
        art.build(fresh)
        for folder in ('bitmaps', 'icons'):
            ours, new = os.path.join(art.RES, folder), os.path.join(fresh, folder)
            names = sorted(set(os.listdir(ours)) | set(os.listdir(new)))
            stale = [name for name in names if not drawn_alike(os.path.join(ours, name), os.path.join(new, name))]
            expect(not stale, 'res/%s is stale, run res/art/draw_art.py: %s' % (folder, stale))


if __name__ == '__main__':
    for check in (check_layout, check_bitmap_formats, check_controls_sit_on_their_spots):
        check(art.LAYOUT)
    check_up_to_date()
    sys.exit(1 if failures else 0)
