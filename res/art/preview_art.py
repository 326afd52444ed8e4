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

BMP = art.BITMAP_DIR


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
    # texts of the statics
    scores = {'p1_points': '1230', 'p1_wins': '4', 'p1_losses': '2', 'p1_skill': 'Lion-Tamer',
              'p2_points': '0', 'p2_wins': '0', 'p2_losses': '0', 'p2_skill': 'Circus-Worker',
              'balloon_count': '7'}
    for k, r in art.WHITE_FIELDS.items():
        control_text(d, r, scores[k], f, (255, 255, 255))
    control_text(d, art.PUZZLE_LINE, ' _ _ E _ _ _ _   _ _ _ _', fd, (255, 255, 255))
    control_text(d, art.GREY_FIELDS['hint_line'], 'Something with rings', f, art.LTGREY, centred=True)
    control_text(d, art.GREY_FIELDS['letter_bin'], 'K Z Q', f, art.LTGREY, centred=True)
    control_text(d, art.GREY_FIELDS['solution_edit'], 'THE GREATEST SHOW', f, art.LTGREY)
    for r, t in ((art.CONSOLE_EDITS['phrase'], 'A DAY AT THE CIRCUS'), (art.CONSOLE_EDITS['hint'], 'Fun')):
        control_text(d, (r[0], r[1] + 620, r[2], r[3]), t, f, art.LTGREY)
    for ch, x, y, w, h in art.LETTERS:
        if ch not in played:
            out.paste(load('letter_%s.bmp' % ch.lower()), (x, y))
    if sad:
        out.paste(load('sad_clown.bmp'), art.SAD_PIC[:2])
    else:
        out.paste(load('balloons_7.bmp'), art.BALLOON_PIC[:2])
    for stem, x, y, nsize, psize, win, text in art.BUTTONS:
        out.paste(load('button_%s.bmp' % stem), (x, y + (620 if win == 'console' else 0)))
    return out


def zoom_sheet():
    """Every face (normal and pressed) and every letter, enlarged 4x without smoothing."""
    tiles = []
    for stem, *_ in art.BUTTONS:
        tiles.append((load('button_%s.bmp' % stem), load('button_%s_down.bmp' % stem)))
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
