#!/usr/bin/python3
"""Puts the pictures together the way the running game shows them, for a look.

    /usr/bin/python3 res/art/preview_art.py [OUT_DIR]     # default /tmp

Writes art_preview.png (a game in progress, 7 balloons), art_preview_sad.png (a lost
game: sad clown, no balloon picture, some letters played) and art_zoom_*.png (4x
enlargements of the button faces and letters). The main window and the console are
stacked into one 900 x 726 picture, as they dock on screen. Sample texts in the
controls are drawn like the controls draw them (white or light-grey rectangles)."""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

sys.dont_write_bytecode = True   # keep res/art free of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import draw_art as art  # noqa: E402

BMP = os.path.join(art.RES, 'bitmaps')
# Sample texts of a game in progress, by control id.
SAMPLE_TEXTS = {
    'IDC_P1_POINTS': '1230', 'IDC_P1_WINS': '4', 'IDC_P1_LOSSES': '2', 'IDC_P1_SKILL': 'Lion-Tamer',
    'IDC_P2_POINTS': '0', 'IDC_P2_WINS': '0', 'IDC_P2_LOSSES': '0', 'IDC_P2_SKILL': 'Circus-Worker',
    'IDC_BALLOON_COUNT': '7', 'IDC_PUZZLE_LINE': ' _ _ E _ _ _ _   _ _ _ _', 'IDC_HINT_LINE': 'Something with rings',
    'IDC_LETTER_BIN': 'K Z Q', 'IDC_SOLUTION_EDIT': 'THE GREATEST SHOW', 'IDC_PHRASE_EDIT': 'A DAY AT THE CIRCUS',
    'IDC_HINT_EDIT': 'Fun',
}


def load(name):
    return Image.open(os.path.join(BMP, name)).convert('RGB')


def control_text(d, rect, text, fnt, fill_bg, centred=False):
    x, y, w, h = rect
    d.rectangle([x, y, x + w - 1, y + h - 1], fill=fill_bg)
    if centred:
        tw = d.textlength(text, font=fnt)
        d.text((x + (w - tw) / 2, y), text, font=fnt, fill=(0, 0, 0))
    else:
        d.text((x, y), text, font=fnt, fill=(0, 0, 0))


def compose(sad, played=''):
    out = Image.new('RGB', (900, 726))
    out.paste(load('main_background.bmp'), (0, 0))
    out.paste(load('console_background.bmp'), (0, 620))
    d = ImageDraw.Draw(out)
    f = ImageFont.truetype(art.FONT_SANS_BOLD.replace('Bold', 'Regular'), 13)
    fd = ImageFont.truetype(art.FONT_SANS_BOLD, 19)
    for c in art.LAYOUT:
        top = 620 if c.window == 'CONSOLE' else 0
        if c.name in SAMPLE_TEXTS:
            white = 'TEXT' in c.kind
            control_text(d, (c.x, c.y + top, c.w, c.h), SAMPLE_TEXTS[c.name], fd if c.font == 'DISPLAY' else f,
                         art.WHITE if white else art.LTGREY, centred=c.kind == 'CENTRED')
        elif c.kind == 'BUTTON':
            out.paste(load(art.face_files(c)[0][0]), (c.x, c.y + top))
    for ch, x, y, w, h in art.LETTERS:
        if ch not in played:
            out.paste(load('letter_%s.bmp' % ch.lower()), (x, y))
    if sad:
        out.paste(load('sad_clown.bmp'), art.SAD_PIC[:2])
    else:
        out.paste(load('balloons_7.bmp'), art.BALLOON_PIC[:2])
    return out


def zoom_sheet():
    """Every face (normal and pressed) and every letter, enlarged 4x without smoothing."""
    tiles = []
    for c in art.BUTTONS:
        (normal, _), (pressed, _) = art.face_files(c)
        tiles.append((load(normal), load(pressed)))
    rows = []
    for n, p in tiles:
        row = Image.new('RGB', (n.width * 4 + p.width * 4 + 12, max(n.height, p.height) * 4 + 6), (90, 90, 90))
        row.paste(n.resize((n.width * 4, n.height * 4), Image.Resampling.NEAREST), (0, 0))
        row.paste(p.resize((p.width * 4, p.height * 4), Image.Resampling.NEAREST), (n.width * 4 + 12, 0))
        rows.append(row)
    W = max(r.width for r in rows)
    sheet = Image.new('RGB', (W, sum(r.height for r in rows)), (90, 90, 90))
    y = 0
    for r in rows:
        sheet.paste(r, (0, y))
        y += r.height
    letters = [load('letter_%s.bmp' % ch.lower()) for ch, *_ in art.LETTERS]
    lw = sum(l.width * 4 + 4 for l in letters[:13])
    lsheet = Image.new('RGB', (max(lw, sum(l.width * 4 + 4 for l in letters[13:])), 2 * 21 * 4 + 8), (60, 60, 60))
    x = 0
    for i, l in enumerate(letters):
        if i == 13:
            x = 0
        lsheet.paste(l.resize((l.width * 4, l.height * 4), Image.Resampling.NEAREST), (x, 0 if i < 13 else 88))
        x += l.width * 4 + 4
    return sheet, lsheet


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else '/tmp'
    compose(False).save(os.path.join(out_dir, 'art_preview.png'))
    compose(True, played='EKZQAT').save(os.path.join(out_dir, 'art_preview_sad.png'))
    faces, letters = zoom_sheet()
    faces.save(os.path.join(out_dir, 'art_zoom_buttons.png'))
    letters.save(os.path.join(out_dir, 'art_zoom_letters.png'))


if __name__ == '__main__':
    main()
