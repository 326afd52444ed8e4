#!/usr/bin/python3
"""Draws every picture of Marivane and writes it where Marivane.rc expects it.

    /usr/bin/python3 res/art/draw_art.py [RES_DIR]   # writes RES_DIR/bitmaps/*.bmp, RES_DIR/icons/*.ico
                                                     # (default: res/, the folder above this script)

The output is identical on every run: no randomness, fixed fonts (see README.md).
Where the controls sit comes from app/layout.def, the program's own control table.

How the pictures fit together
- main_background.bmp is the whole 900 x 620 main window; every child control of
  the window sits over a spot painted for it here (field frames, button wells with
  the very same faces the buttons draw, the grey alphabet field...).
- The stage (backdrop + standing clown) is painted once at SS times the size.
  Each balloons_N.bmp is cut from that same drawing at the picture's place and gets
  N balloons on strings in the clown's raised hand, so it matches the background
  pixel for pixel outside the balloons. sad_clown.bmp is cut from the same drawing
  with the head drawn sad instead of merry.
- Illustrations are drawn SS times larger and reduced with a box filter, which gives
  clean anti-aliased edges. Text is always drawn at its final size, hinted, so it
  stays sharp.
"""

import collections
import math
import os
import re
import struct
import subprocess
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.dirname(HERE)

SS = 4  # supersampling factor for illustrations

def installed_font(family, style, package):
    """The file of the font, wherever the system installs it, as fontconfig finds it. fontconfig answers every
    question with some font: anything but the family and style asked for means the font is missing."""
    try:
        found = subprocess.run(['fc-match', '-f', '%{family[0]}\n%{style[0]}\n%{file}', f'{family}:style={style}'],
                               capture_output=True, text=True).stdout.split('\n')
    except FileNotFoundError:
        raise ImportError('fc-match (Debian: fontconfig) is missing: scripts/install-deps.sh installs it')
    if found[:2] != [family, style] or not os.path.isfile(found[-1]):
        raise ImportError(f'the font "{family}" {style} (Debian: {package}) is missing: scripts/install-deps.sh '
                          'installs it')
    return found[-1]


FONT_SANS_BOLD = installed_font('Liberation Sans', 'Bold', 'fonts-liberation2')
FONT_DEJAVU_BOLD = installed_font('DejaVu Sans', 'Bold', 'fonts-dejavu-core')
FONT_TITLE = installed_font('Lobster Two', 'Bold Italic', 'fonts-lobster')


def font(path, size):
    return ImageFont.truetype(path, size)


# ---------------------------------------------------------------------------
# Layout: every control's place and size, read from app/layout.def
# ---------------------------------------------------------------------------

APP = os.path.join(os.path.dirname(RES), 'app')


def read_window_sizes():
    """The two windows' sizes, from the program's own constants: {'MAIN': (w, h), 'CONSOLE': (w, h)}."""
    with open(os.path.join(APP, 'controls.h'), encoding='utf-8') as f:
        sizes = {window + part: int(v) for window, part, v in
                 re.findall(r'k(Main|Console)(Width|Height) = (\d+)', f.read())}
    return {w.upper(): (sizes[w + 'Width'], sizes[w + 'Height']) for w in ('Main', 'Console')}


WINDOW_SIZE = read_window_sizes()
(MAIN_W, MAIN_H), (CON_W, CON_H) = WINDOW_SIZE['MAIN'], WINDOW_SIZE['CONSOLE']

# A row of the layout; face is (stem, normal id, pressed id) for a button, else None.
Control = collections.namedtuple('Control', 'name id window x y w h kind font face')


def read_ids(header=os.path.join(RES, 'resource.h')):
    with open(header, encoding='utf-8') as f:
        return {k: int(v) for k, v in re.findall(r'^#define\s+(\w+)\s+(\d+)', f.read(), re.M)}


def read_layout(ids):
    """Every row of app/layout.def, its id evaluated with the numbers of resource.h."""
    controls = []
    with open(os.path.join(APP, 'layout.def'), encoding='utf-8') as f:
        for line in f:
            row = re.match(r'CONTROL\((.*)\)\s*$', line)
            if not row:
                continue
            args = [a.strip() for a in row.group(1).split(',')]
            face = re.search(r'FACE\((\w+),\s*(\w+),\s*(\w+)\)', line)
            controls.append(Control(args[0], eval(args[0], {'__builtins__': {}}, ids), args[1],
                                    *map(int, args[2:6]), args[6], args[8],
                                    face and (face.group(1), ids[face.group(2)], ids[face.group(3)])))
    return controls


IDS = read_ids()
LAYOUT = read_layout(IDS)
BUTTONS = [c for c in LAYOUT if c.kind == 'BUTTON']
CAPTION_BUTTONS = ('minimise', 'help', 'close')
SOUND, MINIMISE, CLOSE = 'sound-symbols', 'minimise-bar', 'close-x'
FACE_CONTENT = {
    'player_one': 'Player One', 'player_two': 'Player Two', 'reset_stats': 'Reset Stats', 'sound': SOUND,
    'balloon_mode': 'Balloon #', 'new_puzzle': 'New Puzzle', 'solution': 'Solution', 'hints': 'Hints S/H',
    'minimise': MINIMISE, 'help': '?', 'close': CLOSE, 'solve_puzzle': 'Solve Puzzle', 'quit': 'Quit',
    'console': 'S/H Con', 'add_puzzle': 'Add Puzzle', 'delete': 'Del', 'review': 'Review',
}
PRESSED_ROWS_SHORT = {'close': 1}   # its pressed face is a row short; the button stretches it


def face_files(c):
    """The two face bitmaps of a button with their sizes: normal, pressed."""
    stem = c.face[0]
    return (('button_%s.bmp' % stem, (c.w, c.h)),
            ('button_%s_down.bmp' % stem, (c.w, c.h - PRESSED_ROWS_SHORT.get(stem, 0))))


def picture_file(c):
    """The bitmap a picture static shows: a letter, a clown with balloons or the sad clown."""
    n, rest = divmod(c.id - IDS['IDC_LETTER_A'], IDS['IDC_LETTER_STEP'])
    if rest == 0 and 0 <= n < 26:
        return 'letter_%s.bmp' % chr(ord('a') + n)
    n, rest = divmod(c.id - IDS['IDC_BALLOONS_1'], IDS['IDC_BALLOONS_STEP'])
    if rest == 0 and 0 <= n < 7:
        return 'balloons_%d.bmp' % (n + 1)
    return 'sad_clown.bmp' if c.id == IDS['IDC_SAD_CLOWN'] else None


def rect(c):
    return (c.x, c.y, c.w, c.h)


def rect_of(control_id):
    return next(rect(c) for c in LAYOUT if c.id == control_id)


LETTERS = [(picture_file(c)[7].upper(), c.x, c.y, c.w, c.h) for c in LAYOUT
           if (picture_file(c) or '').startswith('letter_')]
BALLOON_PIC = rect_of(IDS['IDC_BALLOONS_7'])   # where balloons_N is shown
SAD_PIC = rect_of(IDS['IDC_SAD_CLOWN'])        # where sad_clown is shown
WHITE_STRIP_END = 79   # the main window's puzzle line strip is white already: no field frame there


def fields(window):
    """Rectangles under the text and edit controls with the colour they are framed in: white
    under one-line text, light grey under centred text and edits (the colour they paint)."""
    return [(rect(c), WHITE if 'TEXT' in c.kind else LTGREY) for c in LAYOUT
            if c.window == window and c.kind in ('TEXT', 'NOPREFIX_TEXT', 'CENTRED', 'EDIT')
            and (window != 'MAIN' or c.y >= WHITE_STRIP_END)]


# Regions of the main window picture (x0, y0, x1, y1; x1/y1 exclusive).
STAGE = (14, 86, 623, 469)          # outer edge of the stage frame
STAGE_IN = (19, 91, 618, 464)       # the backdrop inside the frame
ALPHA_BOX = (14, 474, 623, 551)     # frame of the alphabet field
BAR_BOX = (14, 556, 623, 612)       # bottom bar (Solve Puzzle ... Quit)
P1_BOX = (636, 86, 885, 199)
P2_BOX = (636, 220, 885, 334)
CTRL_BOX = (636, 342, 885, 551)
TICKET_BOX = (636, 556, 885, 612)

# ---------------------------------------------------------------------------
# Colours
# ---------------------------------------------------------------------------

LTGREY = (192, 192, 192)     # the system's light-grey brush: edits, centred statics, letters
WHITE = (255, 255, 255)
FRAME_OUT = (58, 10, 16)
FRAME_MID = (214, 164, 48)
FRAME_IN = (118, 20, 30)
BODY_A = (148, 28, 38)
BODY_B = (136, 23, 33)
CREAM = (253, 244, 221)
CREAM_EDGE = (233, 214, 172)
GOLD = (228, 180, 52)
GOLD_DARK = (150, 100, 22)
GOLD_LIGHT = (252, 228, 140)
INK = (78, 22, 22)           # dark red-brown text on cream
HEAD_RED = (196, 36, 44)
BAND_TOP = (60, 170, 84)
BAND_BOT = (24, 112, 48)
GREEN_SYMBOL = (30, 138, 56)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def shade(c, f):
    return tuple(max(0, min(255, int(round(v * f)))) for v in c)


# ---------------------------------------------------------------------------
# Supersampled drawing surface
# ---------------------------------------------------------------------------

class Art:
    """An RGB drawing made SS times larger than its final size.

    All coordinates are final-size pixels (floats allowed); (ox, oy) is the window
    position of the drawing's top-left corner, so the same drawing routine can paint
    into the whole window or into a crop of it."""

    def __init__(self, w, h, fill, ox=0, oy=0, img=None):
        self.img = img if img is not None else Image.new('RGB', (w * SS, h * SS), fill)
        self.d = ImageDraw.Draw(self.img)
        self.ox, self.oy = ox, oy

    def p(self, x, y):
        return ((x - self.ox) * SS, (y - self.oy) * SS)

    def box(self, x0, y0, x1, y1):
        a, b = self.p(x0, y0), self.p(x1, y1)
        return [a[0], a[1], b[0] - 1, b[1] - 1]

    def rect(self, x0, y0, x1, y1, fill):
        self.d.rectangle(self.box(x0, y0, x1, y1), fill=fill)

    def rrect(self, x0, y0, x1, y1, r, fill, outline=None, width=0):
        self.d.rounded_rectangle(self.box(x0, y0, x1, y1), radius=r * SS, fill=fill,
                                 outline=outline, width=int(round(width * SS)))

    def ellipse(self, cx, cy, rx, ry, fill, outline=None, width=0):
        self.d.ellipse(self.box(cx - rx, cy - ry, cx + rx, cy + ry), fill=fill,
                       outline=outline, width=int(round(width * SS)))

    def circle(self, cx, cy, r, fill, outline=None, width=0):
        self.ellipse(cx, cy, r, r, fill, outline, width)

    def poly(self, pts, fill, outline=None, width=0):
        q = [self.p(x, y) for x, y in pts]
        self.d.polygon(q, fill=fill)
        if outline is not None:
            self.d.line(q + [q[0]], fill=outline, width=int(round(width * SS)), joint='curve')

    def line(self, pts, fill, width):
        self.d.line([self.p(x, y) for x, y in pts], fill=fill,
                    width=max(1, int(round(width * SS))), joint='curve')

    def vgrad(self, x0, y0, x1, y1, top, bottom):
        b = self.box(x0, y0, x1, y1)
        n = b[3] - b[1] + 1
        for i in range(n):
            self.d.line([(b[0], b[1] + i), (b[2], b[1] + i)], fill=mix(top, bottom, i / max(1, n - 1)))

    def overlay(self, draw_fn, bbox):
        """Draws translucent shapes: draw_fn(ImageDraw on an RGBA layer, Art-like mapper)
        within bbox (final pixels) and blends the layer in."""
        b = [int(v) for v in self.box(*bbox)]
        b = [max(0, b[0]), max(0, b[1]), min(self.img.width, b[2] + 1), min(self.img.height, b[3] + 1)]
        if b[2] <= b[0] or b[3] <= b[1]:
            return
        layer = Image.new('RGBA', (b[2] - b[0], b[3] - b[1]), (0, 0, 0, 0))
        sub = Art(0, 0, None, self.ox + b[0] / SS, self.oy + b[1] / SS, img=layer)
        draw_fn(sub)
        base = self.img.crop(b).convert('RGBA')
        base.alpha_composite(layer)
        self.img.paste(base.convert('RGB'), (b[0], b[1]))

    def reduced(self):
        return self.img.resize((self.img.width // SS, self.img.height // SS), Image.Resampling.BOX)


def star_points(cx, cy, r_out, r_in, n=5, rot=-90):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(rot + i * 180 / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def bezier(p0, p1, p2, n=24):
    out = []
    for i in range(n + 1):
        t = i / n
        out.append(((1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * p1[0] + t * t * p2[0],
                    (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * p1[1] + t * t * p2[1]))
    return out


# ---------------------------------------------------------------------------
# Crisp final-size helpers (text, bevels)
# ---------------------------------------------------------------------------

def cap_height(fnt):
    b = fnt.getbbox('H', anchor='ls')
    return -b[1]


def draw_text_centred(d, box, s, fnt, fill, shadow=None, dx=0, dy=0, stroke=0, stroke_fill=None):
    """Centres s in box (x, y, w, h): ink centred horizontally, capitals centred vertically."""
    x, y, w, h = box
    b = d.textbbox((0, 0), s, font=fnt, anchor='ls')
    tx = x + (w - (b[2] - b[0])) // 2 - b[0] + dx
    ty = y + (h + cap_height(fnt)) // 2 + dy
    if shadow is not None:
        d.text((tx + 1, ty + 1), s, font=fnt, fill=shadow, anchor='ls')
    d.text((tx, ty), s, font=fnt, fill=fill, anchor='ls', stroke_width=stroke, stroke_fill=stroke_fill)


def draw_text_at(d, x, baseline, s, fnt, fill, align='left', shadow=None):
    b = d.textbbox((0, 0), s, font=fnt, anchor='ls')
    if align == 'right':
        x = x - b[2]
    elif align == 'center':
        x = x - (b[2] + b[0]) // 2
    if shadow is not None:
        d.text((x + 1, baseline + 1), s, font=fnt, fill=shadow, anchor='ls')
    d.text((x, baseline), s, font=fnt, fill=fill, anchor='ls')


def hline(d, x0, x1, y, c):
    d.line([(x0, y), (x1, y)], fill=c)


def vline(d, x, y0, y1, c):
    d.line([(x, y0), (x, y1)], fill=c)


def sunken_frame(d, rect, fill):
    """A two-pixel sunken bevel just outside rect (x, y, w, h), and rect filled with fill."""
    x, y, w, h = rect
    x1, y1 = x + w - 1, y + h - 1
    # outer ring
    hline(d, x - 2, x1 + 2, y - 2, (150, 128, 100)); vline(d, x - 2, y - 2, y1 + 2, (150, 128, 100))
    hline(d, x - 2, x1 + 2, y1 + 2, WHITE); vline(d, x1 + 2, y - 2, y1 + 2, WHITE)
    # inner ring
    hline(d, x - 1, x1 + 1, y - 1, (64, 48, 40)); vline(d, x - 1, y - 1, y1 + 1, (64, 48, 40))
    hline(d, x - 1, x1 + 1, y1 + 1, (226, 214, 196)); vline(d, x1 + 1, y - 1, y1 + 1, (226, 214, 196))
    d.rectangle([x, y, x1, y1], fill=fill)


def button_well(d, rect):
    """A recess around a button rectangle: a dark rim and a soft light edge below/right."""
    x, y, w, h = rect
    x1, y1 = x + w - 1, y + h - 1
    d.rectangle([x - 1, y - 1, x1 + 1, y1 + 1], outline=(52, 30, 22))
    hline(d, x - 2, x1 + 2, y - 2, (196, 172, 130)); vline(d, x - 2, y - 2, y1 + 2, (196, 172, 130))
    hline(d, x - 1, x1 + 2, y1 + 2, WHITE); vline(d, x1 + 2, y - 1, y1 + 2, WHITE)


# ---------------------------------------------------------------------------
# Button faces
# ---------------------------------------------------------------------------

def face_font(text, w):
    """Bold sans 12 px, or 11 px where 12 px would crowd the face."""
    for size in (12, 11):
        f = font(FONT_SANS_BOLD, size)
        if f.getlength(text) <= w - 12:
            return f
    return font(FONT_SANS_BOLD, 11)


def speaker_symbol(a, x, y, col, muted):
    """Loudspeaker, about 14 x 12 px with its top-left at (x, y)."""
    a.poly([(x, y + 4), (x + 3.5, y + 4), (x + 8, y + 0.5), (x + 8, y + 11.5), (x + 3.5, y + 8), (x, y + 8)], col)
    if muted:
        a.line([(x + 10, y + 3.5), (x + 14.5, y + 8.5)], col, 1.6)
        a.line([(x + 10, y + 8.5), (x + 14.5, y + 3.5)], col, 1.6)
    else:
        for r in (3.2, 6.0):
            pts = [(x + 8.5 + r * math.cos(math.radians(t)), y + 6 + r * math.sin(math.radians(t)))
                   for t in range(-50, 51, 5)]
            a.line(pts, col, 1.3)


def make_face(text, size, pressed, white_face):
    w, h = size
    img = Image.new('RGB', size)
    d = ImageDraw.Draw(img)
    if white_face:
        top, bot = ((250, 252, 250), (214, 226, 216)) if not pressed else ((196, 210, 198), (226, 236, 228))
        rim, hi, lo = (22, 96, 40), (255, 255, 255), (150, 170, 154)
        ink, shadow = GREEN_SYMBOL, None
    else:
        top, bot = ((92, 198, 108), (26, 124, 50)) if not pressed else ((20, 92, 38), (44, 140, 62))
        rim, hi, lo = (10, 66, 26), (164, 230, 172), (18, 92, 38)
        ink, shadow = WHITE, (10, 62, 24)
    for i in range(h):
        hline(d, 0, w - 1, i, mix(top, bot, i / max(1, h - 1)))
    d.rectangle([0, 0, w - 1, h - 1], outline=rim)
    if not pressed:
        hline(d, 1, w - 2, 1, hi); vline(d, 1, 1, h - 2, hi)
        hline(d, 1, w - 2, h - 2, lo); vline(d, w - 2, 1, h - 2, lo)
    else:
        dark = shade(rim, 0.8) if not white_face else (120, 140, 124)
        hline(d, 1, w - 2, 1, dark); vline(d, 1, 1, h - 2, dark)
        hline(d, 2, w - 2, 2, mix(dark, top, 0.5)); vline(d, 2, 2, h - 2, mix(dark, top, 0.5))
    # soften the four corners so the face looks rounded against its well
    for cx, cy in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
        d.point((cx, cy), fill=(52, 30, 22))
    off = 1 if pressed else 0
    if text in (SOUND, MINIMISE, CLOSE):
        a = Art(w, h, None, img=img.resize((w * SS, h * SS), Image.Resampling.NEAREST))
        if text == SOUND:
            sy = (h - 12) / 2 + off
            speaker_symbol(a, 7 + off, sy, ink, muted=False)
            speaker_symbol(a, w - 22 + off, sy, ink, muted=True)
        elif text == MINIMISE:
            a.rrect(7 + off, 11 + off, 17 + off, 14 + off, 0.6, ink)
        else:  # the X of the close button
            c = (w / 2 + off, h / 2 + off - (0.5 if h % 2 else 0))
            r = 4.6
            a.line([(c[0] - r, c[1] - r), (c[0] + r, c[1] + r)], ink, 2.4)
            a.line([(c[0] - r, c[1] + r), (c[0] + r, c[1] - r)], ink, 2.4)
        img = a.reduced()
        d = ImageDraw.Draw(img)
        if text == SOUND:
            f = font(FONT_SANS_BOLD, 12)
            draw_text_centred(d, (0, 0, w, h), 'On/Off', f, ink, shadow=shadow, dx=off, dy=off)
    elif text == '?':
        f = font(FONT_DEJAVU_BOLD, 14)
        draw_text_centred(d, (0, 0, w, h), '?', f, ink, dx=off, dy=off)
    else:
        f = face_font(text, w)
        draw_text_centred(d, (0, 0, w, h), text, f, ink, shadow=shadow, dx=off, dy=off)
    return img


def all_faces():
    faces = {}
    for c in BUTTONS:
        stem = c.face[0]
        (_, normal), (_, pressed) = face_files(c)
        white = stem in CAPTION_BUTTONS
        faces[stem] = make_face(FACE_CONTENT[stem], normal, False, white)
        faces[stem + '_down'] = make_face(FACE_CONTENT[stem], pressed, True, white)
    return faces


# ---------------------------------------------------------------------------
# Letters
# ---------------------------------------------------------------------------

def letter_colour(i):
    """A bright colour of its own for the i-th letter; neighbours differ strongly in hue."""
    import colorsys
    hue = (i * 0.381966) % 1.0
    r, g, b = colorsys.hsv_to_rgb(hue, 0.88, 1.0)
    return (int(r * 255), int(g * 255), int(b * 255))


LETTER_FONT_SIZE = 20
LETTER_BASELINE = 17   # baseline row inside the pictures: capitals with outline on rows 2..17
LETTER_OUTLINE = 1


def ink_box(ch, fnt, stroke):
    """Tight box of the pixels a glyph really paints, relative to its baseline origin."""
    im = Image.new('L', (80, 80), 0)
    ImageDraw.Draw(im).text((20, 50), ch, font=fnt, fill=255, anchor='ls', stroke_width=stroke, stroke_fill=255)
    b = im.getbbox()
    return (b[0] - 20, b[1] - 50, b[2] - 20, b[3] - 50)


def make_letter(ch, w, h, i):
    """One letter, bright with a dark outline and a soft drop shadow, centred on light grey."""
    img = Image.new('RGB', (w, h), LTGREY)
    d = ImageDraw.Draw(img)
    f = font(FONT_SANS_BOLD, LETTER_FONT_SIZE)
    col = letter_colour(i)
    outline = shade(col, 0.3)
    b = ink_box(ch, f, LETTER_OUTLINE)
    x = (w - (b[2] - b[0])) // 2 - b[0]
    d.text((x, LETTER_BASELINE + 1), ch, font=f, fill=(150, 150, 150), anchor='ls',
           stroke_width=LETTER_OUTLINE, stroke_fill=(150, 150, 150))
    d.text((x, LETTER_BASELINE), ch, font=f, fill=col, anchor='ls',
           stroke_width=LETTER_OUTLINE, stroke_fill=outline)
    return img


# ---------------------------------------------------------------------------
# The stage: big top backdrop and the standing clown
# ---------------------------------------------------------------------------

CLOWN_X = 323.5      # centre line of the clown
HAND = (365.0, 224.0)  # the raised fist that holds the balloon strings

SKIN = (252, 240, 226)
OUTLINE = (70, 40, 40)
HAIR = (238, 98, 28)
SUIT = (250, 202, 50)
SUIT_DARK = (214, 160, 30)
TROUSERS = (52, 96, 196)
TROUSERS_DARK = (36, 70, 150)
SHOE = (206, 30, 40)
GLOVE = (255, 255, 255)
NOSE = (230, 30, 36)


def draw_backdrop(a):
    x0, y0, x1, y1 = STAGE_IN
    cx = (x0 + x1) / 2
    # evening sky, kept soft and grey so the clown and balloons stand out
    a.vgrad(x0, y0, x1, 392, (128, 138, 162), (206, 204, 206))
    for i, (sx, sy) in enumerate([(48, 112), (96, 150), (150, 104), (210, 132), (470, 118), (528, 150),
                                   (584, 108), (560, 200), (70, 204), (410, 100), (250, 96)]):
        r = 2.4 if i % 3 == 0 else 1.6
        a.poly(star_points(sx, sy, r * 1.6, r * 0.6, 4, -90), (236, 236, 220))
    # distant little tents at the sides
    for tx, dirn in ((62, 1), (574, -1)):
        a.poly([(tx - 44, 392), (tx - 40, 330), (tx, 300), (tx + 40, 330), (tx + 44, 392)], (170, 168, 178))
        for k in range(-3, 4, 2):
            a.poly([(tx, 300), (tx + k * 11.5, 336), (tx + (k + 1) * 11.5, 336)], (186, 118, 118))
        a.line([(tx, 300), (tx, 290)], (90, 80, 90), 1.2)
        a.poly([(tx, 290), (tx + 10 * dirn, 293), (tx, 296)], (210, 170, 80))
        for k in range(-4, 4):
            col = (196, 120, 120) if k % 2 else (214, 212, 216)
            a.rect(tx - 40 + (k + 4) * 10, 336, tx - 40 + (k + 5) * 10, 392, col)
    # ground: sawdust, darker towards the front
    a.vgrad(x0, 388, x1, y1, (188, 176, 156), (150, 132, 110))
    # the big top
    peak = (cx, 112)
    eave_l, eave_r, eave_y = 92, 546, 246
    def eave(t):
        return (eave_l + (eave_r - eave_l) * t, eave_y + 14 * math.sin(math.pi * t))
    # walls
    wall_top, wall_bot = 252, 392
    n_wall = 18
    for k in range(n_wall):
        xa = 104 + (532 - 104) * k / n_wall
        xb = 104 + (532 - 104) * (k + 1) / n_wall
        col = (192, 92, 92) if k % 2 == 0 else (222, 220, 224)
        a.rect(xa, wall_top, xb, wall_bot, col)
    # wall shading towards the sides
    a.overlay(lambda o: [o.rect(104 + i * 4, wall_top, 108 + i * 4, wall_bot, (40, 30, 50, int(70 - i * 7)))
                         for i in range(10)] +
              [o.rect(528 - i * 4, wall_top, 532 - i * 4, wall_bot, (40, 30, 50, int(70 - i * 7)))
               for i in range(10)], (100, wall_top, 536, wall_bot))
    # entrance with its flaps tied back
    ent = [(288, 392), (288, 318), (cx, 290), (359, 318), (359, 392)]
    a.poly(ent, (58, 44, 58))
    a.overlay(lambda o: o.ellipse(cx, 392, 34, 30, (255, 210, 120, 40)), (280, 360, 366, 392))
    a.poly([(288, 318), (cx, 290), (300, 318), (296, 392), (280, 392)], (200, 70, 74), OUTLINE, 0.6)
    a.poly([(359, 318), (cx, 290), (347, 318), (351, 392), (367, 392)], (200, 70, 74), OUTLINE, 0.6)
    a.circle(292, 352, 2.2, (238, 196, 70)); a.circle(355, 352, 2.2, (238, 196, 70))
    # roof: stripes fanning out from the peak
    n_roof = 16
    for k in range(n_roof):
        col = (198, 84, 86) if k % 2 == 0 else (226, 224, 228)
        a.poly([peak, eave(k / n_roof), eave((k + 1) / n_roof)], col)
    a.overlay(lambda o: o.poly([peak, eave(0), eave(0.22)], (40, 30, 50, 50)) or
              o.poly([peak, eave(1), eave(0.78)], (40, 30, 50, 50)), (90, 108, 548, 264))
    a.line([eave(0), peak, eave(1)], (120, 60, 66), 1.0)
    # scalloped valance along the eaves
    n_sc = 22
    for k in range(n_sc):
        p0, p1 = eave(k / n_sc), eave((k + 1) / n_sc)
        mx, my = (p0[0] + p1[0]) / 2, (p0[1] + p1[1]) / 2
        col = (236, 196, 84) if k % 2 == 0 else (204, 72, 74)
        a.ellipse(mx, my, (p1[0] - p0[0]) / 2 + 0.3, 8, col)
    # redraw the roof's lower band over the top half of the scallops
    for k in range(n_roof):
        t0, t1 = k / n_roof, (k + 1) / n_roof
        col = (198, 84, 86) if k % 2 == 0 else (226, 224, 228)
        pa, pb = eave(t0), eave(t1)
        ua = (peak[0] + (pa[0] - peak[0]) * 0.93, peak[1] + (pa[1] - peak[1]) * 0.93)
        ub = (peak[0] + (pb[0] - peak[0]) * 0.93, peak[1] + (pb[1] - peak[1]) * 0.93)
        a.poly([ua, pa, pb, ub], col)
    a.line([eave(i / 60) for i in range(61)], (150, 70, 72), 1.0)
    # flag pole and pennant on the peak
    a.line([(cx, peak[1] + 2), (cx, 96)], (80, 70, 80), 1.4)
    a.poly([(cx + 0.5, 96), (cx + 17, 99.5), (cx + 0.5, 103)], (230, 60, 60))
    a.circle(cx, 95.5, 1.8, (240, 200, 80))
    # bunting from the peak down to the stage corners
    for side in (-1, 1):
        p_end = (cx + side * 296, 150)
        pts = bezier((cx, 118), (cx + side * 150, 170), p_end, 40)
        a.line(pts, (110, 96, 110), 0.8)
        for k in range(3, 40, 3):
            px, py = pts[k]
            col = [(232, 70, 70), (244, 200, 60), (70, 140, 220), (80, 180, 90)][(k // 3) % 4]
            a.poly([(px - 3.5, py), (px + 3.5, py + 0.4), (px, py + 7.5)], col)
    # circus ring the clown stands in
    rc = (cx, 441)
    a.ellipse(rc[0], rc[1] + 3, 170, 21, (120, 24, 34))
    a.ellipse(rc[0], rc[1], 170, 19, (212, 52, 56))
    a.ellipse(rc[0], rc[1] - 1, 163, 15.5, (244, 206, 92))
    a.ellipse(rc[0], rc[1] - 0.5, 158, 13, (208, 186, 150))
    # soft shadow under the clown
    a.overlay(lambda o: o.ellipse(CLOWN_X, 450, 38, 5.5, (60, 40, 30, 90)), (280, 440, 366, 460))


def draw_clown_body(a):
    """Everything of the clown except the head: legs, suit, arms, ruff."""
    c = CLOWN_X
    # shoes
    for sx, d in ((c - 16, -1), (c + 16, 1)):
        a.ellipse(sx + d * 6, 446, 17, 7, SHOE, OUTLINE, 0.8)
        a.overlay(lambda o, sx=sx, d=d: o.ellipse(sx + d * 8 - 3, 443, 7, 2.2, (255, 255, 255, 110)),
                  (sx - 30, 436, sx + 30, 456))
    # baggy trousers
    for side in (-1, 1):
        pts = [(c + side * 1, 370), (c + side * 25, 368), (c + side * 30, 430), (c + side * 27, 440),
               (c + side * 4, 440), (c + side * 2, 400)]
        a.poly(pts, TROUSERS, OUTLINE, 0.8)
        a.poly([(c + side * 20, 372), (c + side * 25, 368), (c + side * 30, 430), (c + side * 24, 432)],
               TROUSERS_DARK)
        a.rect(min(c + side * 3, c + side * 29), 432, max(c + side * 3, c + side * 29), 440, (250, 250, 250))
        a.line([(c + side * 3, 436), (c + side * 29, 436)], (230, 60, 60), 1.4)
    # arms first, so the suit's shoulders cover where they join
    # hanging arm (viewer's left)
    arm_l = [(c - 18, 284), (c - 40, 314), (c - 46, 348)]
    a.line(arm_l, OUTLINE, 13.6)
    a.line(arm_l, SUIT, 12)
    a.line([(c - 44, 318), (c - 50, 346)], SUIT_DARK, 3)
    a.poly([(c - 54, 345), (c - 38, 345), (c - 40, 354), (c - 52, 354)], (250, 250, 250), OUTLINE, 0.6)
    a.circle(c - 46, 360, 7, GLOVE, OUTLINE, 0.8)
    a.line(bezier((c - 51, 361), (c - 47, 357), (c - 43, 361), 8), (150, 140, 150), 0.7)
    # raised arm (viewer's right) holding the strings
    hx, hy = HAND
    arm_r = [(c + 16, 290), (c + 40, 266), (hx + 1, hy + 12)]
    a.line(arm_r, OUTLINE, 12.6)
    a.line(arm_r, SUIT, 11)
    a.line([(c + 30, 284), (c + 43, 270)], SUIT_DARK, 3)
    a.poly([(hx - 7, hy + 7), (hx + 8, hy + 7), (hx + 7, hy + 12.5), (hx - 6, hy + 12.5)], (250, 250, 250),
           OUTLINE, 0.6)
    draw_fist(a)
    # suit (body): a round, baggy shape
    left = bezier((c - 20, 276), (c - 40, 318), (c - 27, 374), 24)
    right = bezier((c + 27, 374), (c + 40, 318), (c + 20, 276), 24)
    a.poly(left + right, SUIT, OUTLINE, 0.9)
    a.poly(bezier((c + 12, 277), (c + 26, 322), (c + 15, 373), 16) +
           bezier((c + 27, 373), (c + 39, 318), (c + 19, 277), 16), SUIT_DARK)
    for dx, dy, col in ((-18, 300, (70, 140, 230)), (16, 318, (230, 60, 70)), (-14, 346, (80, 180, 90)),
                        (17, 352, (70, 140, 230)), (-24, 326, (230, 60, 70)), (11, 292, (80, 180, 90))):
        a.circle(c + dx, dy, 3.2, col)
    # big pompom buttons down the front
    for k, col in enumerate(((232, 52, 60), (60, 130, 230), (60, 170, 80))):
        a.circle(c, 298 + k * 22, 4.6, col, OUTLINE, 0.6)
        a.overlay(lambda o, k=k: o.circle(c - 1.4, 296.6 + k * 22, 1.6, (255, 255, 255, 150)),
                  (c - 6, 290 + k * 22, c + 6, 304 + k * 22))
    # belt line between suit and trousers
    a.poly(bezier((c - 27, 366), (c, 369), (c + 27, 366), 12) + bezier((c + 27, 372), (c, 375), (c - 27, 372), 12),
           (236, 70, 60))
    # ruff collar: a ring of frills, the back ones first
    frills = []
    for k in range(14):
        t = math.radians(k * 360 / 14 + 90 / 7)
        frills.append((math.sin(t), c + 21 * math.cos(t), 272 + 6 * math.sin(t), k))
    for depth, fx, fy, k in sorted(frills):
        a.circle(fx, fy, 5.6, (252, 252, 252) if k % 2 == 0 else (248, 160, 190), OUTLINE, 0.5)


def draw_fist(a):
    hx, hy = HAND
    a.ellipse(hx, hy, 7, 6.5, GLOVE, OUTLINE, 0.8)
    a.line(bezier((hx - 5, hy + 1.5), (hx - 1, hy - 3), (hx + 3.5, hy + 1), 10), (150, 140, 150), 0.8)
    a.line([(hx + 1, hy + 2.5), (hx + 4.5, hy + 2.5)], (150, 140, 150), 0.7)


def draw_clown_head(a, sad):
    """The head, hair and hat; all of it inside the sad-clown picture's square."""
    c = CLOWN_X
    hy = 243  # face centre
    # hair tufts
    for side in (-1, 1):
        for dx, dy, r in ((17, -6, 7.0), (20, 2, 7.5), (16, 10, 6.5)):
            a.circle(c + side * dx, hy + dy + (3 if sad else 0), r, HAIR, shade(HAIR, 0.6), 0.6)
    # face
    a.ellipse(c, hy, 16.5, 18.5, SKIN, OUTLINE, 0.9)
    if not sad:
        # merry: raised brows, diamond paint, big red smile
        for side in (-1, 1):
            ex = c + side * 7
            a.poly([(ex, hy - 12), (ex + 3, hy - 6), (ex, hy), (ex - 3, hy - 6)], (110, 170, 240))
            a.ellipse(ex, hy - 6, 2.0, 2.6, (30, 24, 40))
            a.circle(ex - 0.6, hy - 7, 0.7, WHITE)
            a.line(bezier((ex - 4, hy - 13), (ex, hy - 17), (ex + 4, hy - 13), 10), (40, 30, 40), 1.1)
            a.circle(c + side * 10, hy + 4, 3.0, (250, 180, 186))
        smile_o = bezier((c - 12, hy + 3), (c, hy + 20), (c + 12, hy + 3), 20)
        smile_i = bezier((c + 9, hy + 6), (c, hy + 12), (c - 9, hy + 6), 20)
        a.poly(smile_o + smile_i, (226, 40, 50))
        a.line(bezier((c - 8, hy + 7), (c, hy + 14), (c + 8, hy + 7), 16), (120, 10, 20), 1.0)
    else:
        # sad: slanted brows, closed weeping eyes, frown and a tear
        for side in (-1, 1):
            ex = c + side * 7
            a.poly([(ex, hy - 11), (ex + 2.6, hy - 6), (ex, hy - 1), (ex - 2.6, hy - 6)], (140, 170, 220))
            a.line(bezier((ex - 3.5, hy - 6), (ex, hy - 4), (ex + 3.5, hy - 6), 10), (30, 24, 40), 1.2)
            a.line([(ex - side * 4.5, hy - 14), (ex + side * 3.5, hy - 11)], (40, 30, 40), 1.2)
        frown_o = bezier((c - 10, hy + 15), (c, hy + 5), (c + 10, hy + 15), 20)
        frown_i = bezier((c + 7, hy + 14), (c, hy + 9.5), (c - 7, hy + 14), 20)
        a.poly(frown_o + frown_i, (200, 50, 60))
        tx, ty = c + 9, hy + 3
        a.poly([(tx, ty - 4), (tx + 2.6, ty + 1), (tx, ty + 3.2), (tx - 2.6, ty + 1)], (90, 170, 250))
        a.circle(tx, ty + 0.9, 2.5, (90, 170, 250))
        a.circle(tx - 0.8, ty + 0.2, 0.8, WHITE)
    # nose
    a.circle(c, hy + 2, 4.6, NOSE, shade(NOSE, 0.55), 0.6)
    a.circle(c - 1.5, hy + 0.5, 1.4, (255, 190, 190))
    # hat
    base_y = hy - 16
    if not sad:
        tip = (c + 3, 206)
        a.poly([(c - 12, base_y + 1), tip, (c + 13, base_y + 1)], (250, 200, 50), OUTLINE, 0.8)
        a.poly([(c - 7.5, base_y - 6), (c + 9, base_y - 6), (c + 7.4, base_y - 10), (c - 4.8, base_y - 10)],
               (230, 60, 70))
        a.circle(c - 1.5, base_y - 16, 1.6, (60, 130, 230))
        a.circle(c + 3.2, base_y - 2.5, 1.6, (60, 130, 230))
        a.ellipse(c, base_y + 1.5, 14, 3.2, (232, 60, 70), OUTLINE, 0.6)
        a.circle(tip[0], tip[1], 4.4, (250, 250, 250), OUTLINE, 0.6)
    else:
        # the same hat gone limp: it bends over and its pompom hangs beside the head
        pts_l = bezier((c - 12, base_y + 1), (c - 6, base_y - 16), (c + 10, base_y - 14), 14)
        outer = pts_l + bezier((c + 10, base_y - 14), (c + 22, base_y - 12), (c + 24, base_y + 2), 10)
        a.poly(outer + [(c + 13, base_y + 1)], (240, 190, 50), OUTLINE, 0.8)
        a.poly([(c - 9, base_y - 5), (c - 5, base_y - 10), (c + 3, base_y - 11.5), (c + 4, base_y - 7),
                (c - 3, base_y - 5.5)], (230, 60, 70))
        a.circle(c + 13, base_y - 9, 1.6, (60, 130, 230))
        a.ellipse(c, base_y + 1.5, 14, 3.2, (232, 60, 70), OUTLINE, 0.6)
        a.circle(c + 24.5, base_y + 5.5, 4.4, (250, 250, 250), OUTLINE, 0.6)


BALLOONS = [  # centre x, centre y, colour; the first N are the ones of balloons_N
    (318, 117, (232, 44, 52)),
    (304, 147, (40, 112, 226)),
    (336, 146, (250, 202, 34)),
    (288, 123, (46, 172, 76)),
    (349, 121, (246, 132, 30)),
    (273, 151, (156, 64, 196)),
    (363, 152, (244, 104, 172)),
]
BALLOON_DRAW_ORDER = [0, 3, 4, 5, 6, 1, 2]   # back row first


def draw_balloons(a, n):
    rx, ry = 14.0, 17.0
    shown = [i for i in BALLOON_DRAW_ORDER if i < n]
    hx, hy = HAND
    for i in shown:  # strings first, so they run behind the balloons in front
        bx, by, _ = BALLOONS[i]
        k = (bx, by + ry + 2.5)
        ctrl = ((k[0] + hx) / 2 + 2, (k[1] + hy) / 2 - 4)
        a.line(bezier(k, ctrl, (hx - 1, hy - 3), 24), (70, 62, 70), 0.8)
    for i in shown:
        bx, by, col = BALLOONS[i]
        a.poly([(bx - 2.6, by + ry + 3.4), (bx, by + ry - 1.5), (bx + 2.6, by + ry + 3.4)], shade(col, 0.75))
        a.ellipse(bx, by, rx, ry, shade(col, 0.72))
        a.ellipse(bx - 0.8, by - 1.0, rx - 1.2, ry - 1.4, col)
        a.overlay(lambda o, bx=bx, by=by: (o.ellipse(bx - 5, by - 7, 4.4, 6.2, (255, 255, 255, 70)),
                                           o.ellipse(bx - 5.5, by - 8, 1.8, 3.0, (255, 255, 255, 200))),
                  (bx - 12, by - 16, bx + 2, by + 2))
    draw_fist(a)


# ---------------------------------------------------------------------------
# Window pictures
# ---------------------------------------------------------------------------

def draw_stripes(a, x0, y0, x1, y1, step=14):
    a.rect(x0, y0, x1, y1, BODY_A)
    x = x0
    k = 0
    while x < x1:
        if k % 2:
            a.rect(x, y0, min(x + step, x1), y1, BODY_B)
        x += step
        k += 1


def draw_panel(a, box, r=7):
    x0, y0, x1, y1 = box
    a.rrect(x0, y0, x1, y1, r, GOLD_DARK)
    a.rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r - 1, GOLD)
    a.rrect(x0 + 2.5, y0 + 2.5, x1 - 2.5, y1 - 2.5, r - 2, GOLD_LIGHT)
    a.rrect(x0 + 3.5, y0 + 3.5, x1 - 3.5, y1 - 3.5, r - 3, CREAM)


def draw_window_frame(a, w, h):
    a.rect(0, 0, w, h, FRAME_OUT)
    a.rect(1, 1, w - 1, h - 1, FRAME_MID)
    a.rect(2, 2, w - 2, h - 2, FRAME_IN)


def draw_main_decor(a):
    """The supersampled layer of the main window: frame, bands, panels, the stage."""
    W, H = MAIN_W, MAIN_H
    draw_window_frame(a, W, H)
    # body
    draw_stripes(a, 3, 79, W - 3, H - 3)
    # green title band
    a.vgrad(3, 3, W - 3, 24, BAND_TOP, BAND_BOT)
    a.rect(3, 23, W - 3, 24, (14, 80, 32))
    # white strip of the puzzle line, with a marquee frame of little bulbs
    a.rect(3, 24, W - 3, 79, WHITE)
    a.rect(3, 78, W - 3, 79, (220, 170, 60))
    mq = (12, 28, 888, 75)
    a.rrect(*mq, 7, (200, 40, 48))
    a.rrect(mq[0] + 5, mq[1] + 5, mq[2] - 5, mq[3] - 5, 3, WHITE)
    a.rrect(mq[0] + 4, mq[1] + 4, mq[2] - 4, mq[3] - 4, 4, None, (150, 24, 34), 0.75)
    a.rrect(mq[0] + 5.5, mq[1] + 5.5, mq[2] - 5.5, mq[3] - 5.5, 3, None, (238, 226, 200), 0.6)
    for x in range(22, 880, 12):
        for y in (mq[1] + 2.5, mq[3] - 2.5):
            a.circle(x + 0.5, y, 1.5, (255, 226, 110))
    for y in range(40, 66, 12):
        for x in (mq[0] + 2.5, mq[2] - 2.5):
            a.circle(x, y + 0.5, 1.5, (255, 226, 110))
    # stage frame and backdrop
    sx0, sy0, sx1, sy1 = STAGE
    a.rrect(sx0, sy0, sx1, sy1, 6, GOLD_DARK)
    a.rrect(sx0 + 1, sy0 + 1, sx1 - 1, sy1 - 1, 5, GOLD)
    a.rect(STAGE_IN[0] - 1, STAGE_IN[1] - 1, STAGE_IN[2] + 1, STAGE_IN[3] + 1, GOLD_DARK)
    draw_backdrop(a)
    # curtains at the sides of the stage
    for side in (-1, 1):
        xe = STAGE_IN[0] if side < 0 else STAGE_IN[2]
        pts = [(xe, STAGE_IN[1]), (xe - side * 34, STAGE_IN[1])]
        pts += bezier((xe - side * 34, STAGE_IN[1]), (xe - side * 18, 300), (xe - side * 12, STAGE_IN[3]), 30)
        pts += [(xe, STAGE_IN[3])]
        a.poly(pts, (164, 26, 40))
        for k in range(3):
            xx = xe - side * (7 + k * 9)
            a.line(bezier((xx, STAGE_IN[1]), (xx + side * (6 - k * 2), 300), (xx + side * (3 + k * 2), STAGE_IN[3]), 30),
                   (124, 16, 30), 1.6)
        a.line(bezier((xe - side * 34, STAGE_IN[1]), (xe - side * 18, 300), (xe - side * 12, STAGE_IN[3]), 30),
               (96, 12, 24), 1.0)
        a.ellipse(xe - side * 19, 300, 6, 3, (236, 190, 70))
    # top valance of the stage
    a.rect(STAGE_IN[0], STAGE_IN[1], STAGE_IN[2], STAGE_IN[1] + 3, (164, 26, 40))
    # alphabet field, bottom bar, right-hand panels
    ax0, ay0, ax1, ay1 = ALPHA_BOX
    a.rrect(ax0, ay0, ax1, ay1, 6, GOLD_DARK)
    a.rrect(ax0 + 1, ay0 + 1, ax1 - 1, ay1 - 1, 5, GOLD)
    a.rrect(ax0 + 3, ay0 + 3, ax1 - 3, ay1 - 3, 3, (120, 120, 120))
    a.rect(ax0 + 4, ay0 + 4, ax1 - 4, ay1 - 4, LTGREY)
    draw_panel(a, BAR_BOX)
    draw_panel(a, P1_BOX)
    draw_panel(a, P2_BOX)
    draw_panel(a, CTRL_BOX)
    for box in (P1_BOX, P2_BOX):
        a.rrect(box[0] + 5, box[1] + 5, box[2] - 5, box[1] + 22, 3, HEAD_RED)
        a.rect(box[0] + 5, box[1] + 20, box[2] - 5, box[1] + 22, shade(HEAD_RED, 0.8))
    # letter bin frame
    a.rrect(646, 352, 742, 426, 5, GOLD_DARK)
    a.rrect(647, 353, 741, 425, 4, (250, 236, 200))
    a.rrect(647, 353, 741, 368, 4, HEAD_RED)
    a.rect(647, 364, 741, 368, HEAD_RED)
    # ticket
    draw_ticket(a)
    # title balloon
    a.line(bezier((14.5, 19.5), (12, 22), (15, 23.5), 8), (230, 230, 200), 0.6)
    a.ellipse(14.5, 12, 5.2, 6.5, (232, 44, 52))
    a.ellipse(13, 10, 1.4, 2.2, (255, 190, 190))
    a.poly([(13.3, 19.6), (14.5, 18), (15.7, 19.6)], (190, 30, 40))


def draw_ticket(a):
    x0, y0, x1, y1 = TICKET_BOX
    draw_stripes(a, x0, y0, x1, y1)
    tx0, ty0, tx1, ty1 = x0 + 6, y0 + 4, x1 - 6, y1 - 4
    a.rrect(tx0, ty0, tx1, ty1, 3, (120, 70, 10))
    a.rrect(tx0 + 1, ty0 + 1, tx1 - 1, ty1 - 1, 2, (246, 206, 80))
    for cy in (ty0, ty1):
        for cx in (tx0, tx1):
            a.circle(cx, cy, 7, (120, 70, 10))
            a.circle(cx, cy, 6, BODY_A)
    mid = (ty0 + ty1) / 2
    for cx in (tx0, tx1):
        a.circle(cx, mid, 5, (120, 70, 10))
        a.circle(cx, mid, 4, BODY_A)
    a.rrect(tx0 + 10, ty0 + 5, tx1 - 10, ty1 - 5, 2, None, (200, 60, 50), 0.8)
    for sx in (tx0 + 24, tx1 - 24):
        a.poly(star_points(sx, mid + 0.5, 7, 3), (214, 46, 52))


def draw_main_crisp(img, faces):
    """Final-size layer of the main window: text, field frames, button wells and faces."""
    d = ImageDraw.Draw(img)
    # game name in the title band
    ft = font(FONT_TITLE, 19)
    d.text((25, 21), 'Marivane', font=ft, fill=(12, 70, 28), anchor='ls')
    d.text((24, 20), 'Marivane', font=ft, fill=(255, 246, 200), anchor='ls')
    # wells of the caption buttons (the band is their top edge)
    for x, y, w, h in (rect(c) for c in BUTTONS if c.face[0] in CAPTION_BUTTONS):
        d.rectangle([x - 1, y, x + w, y + h], outline=(8, 52, 20))
        hline(d, x - 1, x + w, y + h + 1, (96, 180, 110))
    # score boxes
    fh = font(FONT_SANS_BOLD, 12)
    fl = font(FONT_SANS_BOLD, 11)
    for box, name, y_pts in ((P1_BOX, 'PLAYER ONE SCOREBOX', 112), (P2_BOX, 'PLAYER TWO SCOREBOX', 247)):
        draw_text_centred(d, (box[0] + 5, box[1] + 5, box[2] - box[0] - 10, 16), name, fh, WHITE,
                          shadow=(110, 14, 22))
        rows = (('GAME POINTS:', y_pts), ('WINS/LOSSES:', y_pts + 29), ('PLAYER SKILL:', y_pts + 59))
        for label, y in rows:
            draw_text_at(d, 753, y + 13, label, fl, INK, align='right')
        draw_text_at(d, 813, y_pts + 29 + 14, '/', fh, INK, align='center')
    for r, colour in fields('MAIN'):
        sunken_frame(d, r, colour)
    # letter bin title
    draw_text_centred(d, (647, 355, 94, 12), 'LETTER BIN', fl, WHITE, shadow=(110, 14, 22))
    # game buttons in their wells, with the same faces the buttons draw
    for c in BUTTONS:
        if c.window != 'MAIN':
            continue
        if c.face[0] not in CAPTION_BUTTONS:
            button_well(d, rect(c))
        img.paste(faces[c.face[0]], (c.x, c.y))
    # ticket words
    fk = font(FONT_SANS_BOLD, 15)
    draw_text_centred(d, (TICKET_BOX[0], TICKET_BOX[1], TICKET_BOX[2] - TICKET_BOX[0], 56), 'ADMIT ONE',
                      fk, (176, 30, 38))


def make_main_background(faces):
    a = Art(MAIN_W, MAIN_H, (0, 0, 0))
    draw_main_decor(a)
    draw_clown_body(a)
    body_only = a.img.copy()
    draw_clown_head(a, sad=False)
    full = a.img
    img = a.reduced()
    # the sad head replaces the merry one only inside its own picture: make sure the merry
    # head has nothing outside that square that would stay visible under it
    no_head = body_only.resize(img.size, Image.Resampling.BOX)
    head = ImageChops.difference(img, no_head).getbbox()
    sx, sy, sw, sh = SAD_PIC
    if not (head[0] >= sx and head[1] >= sy and head[2] <= sx + sw and head[3] <= sy + sh):
        raise SystemExit('the clown head %r spills out of the sad-clown square %r' % (head, SAD_PIC))
    draw_main_crisp(img, faces)
    return img, full, body_only


def cut(img4, rect):
    x, y, w, h = rect
    return img4.crop((x * SS, y * SS, (x + w) * SS, (y + h) * SS))


def make_balloon_pictures(full4):
    pics = []
    for n in range(1, 8):
        a = Art(0, 0, None, BALLOON_PIC[0], BALLOON_PIC[1], img=cut(full4, BALLOON_PIC))
        draw_balloons(a, n)
        pics.append(a.reduced())
    return pics


def make_sad_clown(body4):
    a = Art(0, 0, None, SAD_PIC[0], SAD_PIC[1], img=cut(body4, SAD_PIC))
    draw_clown_head(a, sad=True)
    return a.reduced()


def make_console_background(faces):
    a = Art(CON_W, CON_H, (0, 0, 0))
    draw_window_frame(a, CON_W, CON_H)
    draw_stripes(a, 3, 3, CON_W - 3, CON_H - 3)
    draw_panel(a, (10, 8, 890, 98))
    a.rect(24, 52, 876, 53, CREAM_EDGE)
    for y in (32, 74):
        a.poly(star_points(22, y, 6, 2.6), (214, 46, 52))
    img = a.reduced()
    d = ImageDraw.Draw(img)
    fc = font(FONT_SANS_BOLD, 13)
    draw_text_at(d, 34, 37, 'Enter Puzzle Phrase (Max. 38 char)', fc, INK)
    draw_text_at(d, 34, 79, 'Enter Hint (Optional) (Max. 30 char)', fc, INK)
    for r, colour in fields('CONSOLE'):
        sunken_frame(d, r, colour)
    for c in BUTTONS:
        if c.window == 'CONSOLE':
            button_well(d, rect(c))
            img.paste(faces[c.face[0]], (c.x, c.y))
    return img


# ---------------------------------------------------------------------------
# Icons
# ---------------------------------------------------------------------------

def draw_icon_art(size, simple):
    """A clown face under a party hat, on a transparent ground, as RGBA at size x size."""
    big = size * SS
    img = Image.new('RGBA', (big, big), (0, 0, 0, 0))
    a = Art(0, 0, None, img=img)
    u = size / 64.0   # design units: the 64 x 64 icon
    def P(v):
        return v * u
    ol = max(1.0, 1.6 * u) if not simple else 1.2
    # hair
    for side in (-1, 1):
        for dx, dy, r in ((19, 34, 9), (21, 44, 9.5), (17, 52, 7.5)):
            a.circle(P(32 + side * dx), P(dy + 2), P(r), HAIR + (255,), (120, 40, 10, 255), ol)
    # face
    a.circle(P(32), P(40), P(20), SKIN + (255,), (80, 40, 40, 255), ol)
    # eyes
    for side in (-1, 1):
        ex = 32 + side * 8
        if not simple:
            a.poly([(P(ex), P(28)), (P(ex + 4), P(35)), (P(ex), P(42)), (P(ex - 4), P(35))], (110, 170, 240, 255))
        a.ellipse(P(ex), P(35), P(2.6), P(3.4), (30, 24, 40, 255))
    # smile
    so = bezier((P(18), P(44)), (P(32), P(66)), (P(46), P(44)), 20)
    si = bezier((P(42), P(47)), (P(32), P(51 if simple else 56)), (P(22), P(47)), 20)
    a.poly([(x, y) for x, y in so + si], (220, 30, 40, 255))
    # nose
    a.circle(P(32), P(43), P(6.5), NOSE + (255,), (120, 10, 20, 255), ol * 0.8)
    a.circle(P(30), P(41), P(2), (255, 200, 200, 255))
    # hat
    a.poly([(P(17), P(24)), (P(32), P(1.5)), (P(47), P(24))], (250, 200, 40, 255), (110, 70, 10, 255), ol)
    a.poly([(P(21.5), P(17.5)), (P(42.5), P(17.5)), (P(39.5), P(12.5)), (P(24.5), P(12.5))], (230, 50, 60, 255))
    a.ellipse(P(32), P(24.5), P(17), P(3.6), (230, 50, 60, 255), (110, 20, 20, 255), ol * 0.8)
    a.circle(P(32), P(4), P(4.2), (255, 255, 255, 255), (110, 70, 10, 255), ol * 0.8)
    return img.resize((size, size), Image.Resampling.BOX)


def ico_bytes(rgba):
    """One-image .ico: 8 bits per pixel with a 256-colour palette, plus the 1-bit AND mask."""
    w, h = rgba.size
    alpha = rgba.getchannel('A')
    opaque = alpha.point(lambda v: 255 if v >= 128 else 0)
    # colours of visible pixels, un-premultiplied edge pixels kept at full strength
    rgb = Image.new('RGB', (w, h), (0, 0, 0))
    rgb.paste(rgba.convert('RGB'), (0, 0), opaque)
    pal_img = rgb.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = pal_img.getpalette()[:255 * 3]
    pal += [0, 0, 0] * (256 - len(pal) // 3)
    # transparent pixels use index 255 (black) so the XOR image leaves the screen untouched
    idx = [v for v in pal_img.getdata()]
    op = list(opaque.getdata())
    idx = [i if o else 255 for i, o in zip(idx, op)]
    pal[255 * 3:256 * 3] = [0, 0, 0]
    xor_row = (w + 3) // 4 * 4
    and_row = ((w + 31) // 32) * 4
    xor = bytearray()
    andm = bytearray()
    for y in range(h - 1, -1, -1):      # bottom-up rows
        row = idx[y * w:(y + 1) * w]
        xor += bytes(row) + b'\0' * (xor_row - w)
        bits = bytearray(and_row)
        for x in range(w):
            if not op[y * w + x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        andm += bits
    palette = bytearray()
    for i in range(256):
        r, g, b = pal[i * 3:i * 3 + 3]
        palette += bytes((b, g, r, 0))
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 8, 0, len(xor) + len(andm), 0, 0, 256, 0)
    image = header + bytes(palette) + bytes(xor) + bytes(andm)
    icondir = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 8, len(image), 6 + 16)
    return icondir + entry + image


# ---------------------------------------------------------------------------

def build(res_dir=RES):
    """Writes every picture into res_dir/bitmaps and res_dir/icons."""
    bitmaps, icons = os.path.join(res_dir, 'bitmaps'), os.path.join(res_dir, 'icons')
    os.makedirs(bitmaps, exist_ok=True)
    os.makedirs(icons, exist_ok=True)

    def save_bmp(img, name):
        img.convert('RGB').save(os.path.join(bitmaps, name), format='BMP')

    faces = all_faces()
    for name, img in faces.items():
        save_bmp(img, 'button_%s.bmp' % name)
    for ch, x, y, w, h in LETTERS:
        save_bmp(make_letter(ch, w, h, ord(ch) - ord('A')), 'letter_%s.bmp' % ch.lower())
    main, full4, body4 = make_main_background(faces)
    save_bmp(main, 'main_background.bmp')
    for n, pic in enumerate(make_balloon_pictures(full4), start=1):
        save_bmp(pic, 'balloons_%d.bmp' % n)
    save_bmp(make_sad_clown(body4), 'sad_clown.bmp')
    save_bmp(make_console_background(faces), 'console_background.bmp')
    with open(os.path.join(icons, 'marivane.ico'), 'wb') as f:
        f.write(ico_bytes(draw_icon_art(64, simple=False)))
    with open(os.path.join(icons, 'marivane_small.ico'), 'wb') as f:
        f.write(ico_bytes(draw_icon_art(32, simple=True)))


if __name__ == '__main__':
    build(*sys.argv[1:2])
