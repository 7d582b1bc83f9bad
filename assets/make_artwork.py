#!/usr/bin/python3
"""Draws the editor's artwork and writes it as palette BMP files.

    assets/make_artwork.py [OUTPUT_DIR]      (default: assets/bitmaps next to this script)

Needs Debian's python3-pil and the sans-serif faces of fonts-liberation2. The
files are committed; the build embeds them as they are, so run this only to
change the artwork, then look at the result (the editor tests' reference
images show the whole window) and commit both.

Every bitmap is drawn in true colour, shapes at four times the size and scaled
down for smooth edges, text at its final size for crisp letters, and then
reduced to the palette its role asks for: 256 colours, or 16 for the pointers.
The pointers' transparent colour is RGB 2, 2, 2 in their bottom-left pixel.
"""

import os
import random
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/liberation2"
SS = 4  # supersampling factor for shapes

# ---- Palette -------------------------------------------------------------------

PANEL_TOP = (46, 51, 60)
PANEL_BOTTOM = (30, 33, 39)
GROUP_FILL = (37, 41, 48)
GROUP_EDGE_LIGHT = (62, 68, 79)
GROUP_EDGE_DARK = (20, 22, 26)
GROOVE = (14, 16, 19)
GROOVE_LIGHT = (70, 77, 89)
CAPTION = (176, 186, 200)
CAPTION_DIM = (112, 121, 135)
MINT = (128, 255, 128)  # the info line's colour, the accent of the whole panel
MINT_DIM = (70, 150, 78)
LCD_FILL = (10, 20, 13)
LCD_EDGE = (4, 8, 5)
BUTTON_TOP = (84, 92, 106)
BUTTON_BOTTOM = (48, 53, 62)
TRANSPARENT_KEY = (2, 2, 2)


def font(style, size):
    name = {"regular": "LiberationSans-Regular.ttf", "bold": "LiberationSans-Bold.ttf",
            "italic": "LiberationSans-Italic.ttf", "bolditalic": "LiberationSans-BoldItalic.ttf"}[style]
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


# ---- Drawing helpers -------------------------------------------------------------

def lerp(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def vertical_gradient(image, box, top, bottom):
    draw = ImageDraw.Draw(image)
    x0, y0, x1, y1 = box
    for y in range(y0, y1 + 1):
        t = (y - y0) / max(1, y1 - y0)
        draw.line([(x0, y), (x1, y)], fill=lerp(top, bottom, t))


def bevel_box(draw, box, fill, light, dark):
    """A rectangle lit from the top left: light top and left edges, dark bottom and right."""
    x0, y0, x1, y1 = box
    draw.rectangle(box, fill=fill)
    draw.line([(x0, y1), (x0, y0), (x1, y0)], fill=light)
    draw.line([(x1, y0 + 1), (x1, y1), (x0 + 1, y1)], fill=dark)


def inset_box(draw, box, fill):
    """A rectangle sunk into the panel: dark top and left edges, light bottom and right."""
    bevel_box(draw, box, fill, GROUP_EDGE_DARK, GROUP_EDGE_LIGHT)


def text_width(text, face, spacing=0):
    return sum(face.getlength(c) for c in text) + spacing * max(0, len(text) - 1)


def draw_text(draw, xy, text, face, fill, spacing=0, anchor="left"):
    """Draws text on its baseline at y, with extra spacing between letters."""
    x, y = xy
    width = text_width(text, face, spacing)
    if anchor == "center":
        x -= width / 2
    elif anchor == "right":
        x -= width
    if spacing == 0:
        draw.text((round(x), y), text, font=face, fill=fill, anchor="ls")
        return
    for c in text:
        draw.text((round(x), y), c, font=face, fill=fill, anchor="ls")
        x += face.getlength(c) + spacing


def supersampled(size, background, paint):
    """Runs paint(draw, scale) on a canvas SS times the size and scales it down."""
    w, h = size
    big = Image.new("RGB", (w * SS, h * SS), background)
    paint(ImageDraw.Draw(big), SS)
    return big.reduce(SS)


def paste_supersampled(image, box, paint):
    """Like supersampled(), drawn over the part of image inside box."""
    x0, y0, x1, y1 = box
    part = image.crop((x0, y0, x1, y1)).resize(((x1 - x0) * SS, (y1 - y0) * SS), Image.NEAREST)
    paint(ImageDraw.Draw(part), SS)
    image.paste(part.reduce(SS), (x0, y0))


# ---- Geometry of the window (control positions of the form) -----------------------

VOWELS = {"a": (56, 46), "e": (101, 82), "i": (85, 137), "o": (26, 137), "u": (10, 81)}
VOWEL_SIZE = 29
H_SLIDERS = [("MORPH TIME", 70), ("ATTACK", 102), ("RELEASE", 134), ("GLIDE", 166)]
H_SLIDER_LEFT, H_SLIDER_WIDTH = 150, 118
V_SLIDERS = [("MIX", 288), ("VOL", 314)]
V_SLIDER_TOP, V_SLIDER_HEIGHT, V_SLIDER_WIDTH = 58, 123, 14
WAVE_BOX = (221, 32, 47, 22)
INFO_PANEL = (8, 195, 273, 216)
RAND_AREA = (280, 192, 329, 220)


# ---- Background ---------------------------------------------------------------------

def draw_groups(image):
    draw = ImageDraw.Draw(image)
    for box in [(5, 33, 139, 190), (144, 29, 274, 190), (279, 29, 334, 190)]:
        bevel_box(draw, box, GROUP_FILL, GROUP_EDGE_LIGHT, GROUP_EDGE_DARK)


def draw_title_band(image):
    draw = ImageDraw.Draw(image)
    vertical_gradient(image, (0, 0, 338, 25), (58, 64, 75), (38, 42, 50))
    draw.line([(0, 26), (338, 26)], fill=GROUP_EDGE_DARK)
    draw.line([(0, 27), (338, 27)], fill=(54, 60, 70))
    draw_text(draw, (8, 16), "MIRTLEGG", font("bold", 9), CAPTION, spacing=1)
    draw_text(draw, (300, 16), "FORMANT SYNTH", font("bold", 8), CAPTION_DIM, spacing=1, anchor="right")
    # The about hint at the right end of the strip.
    paste_supersampled(image, (308, 5, 328, 23), lambda d, s: (
        d.ellipse([2 * s, 1 * s, 18 * s - 1, 17 * s - 1], fill=(30, 34, 40), outline=MINT_DIM, width=s)))
    draw_text(draw, (318, 18), "?", font("bold", 11), MINT, anchor="center")


def draw_vowel_wheel(image):
    draw = ImageDraw.Draw(image)
    draw_text(draw, (11, 43), "VOWEL", font("bold", 8), CAPTION, spacing=1)
    centres = {v: (x + VOWEL_SIZE / 2, y + VOWEL_SIZE / 2) for v, (x, y) in VOWELS.items()}
    cx = sum(c[0] for c in centres.values()) / 5
    cy = sum(c[1] for c in centres.values()) / 5
    radius = 49

    def ring(d, s):
        ox, oy = 6, 36
        d.ellipse([(cx - radius - ox) * s, (cy - radius - oy) * s, (cx + radius - ox) * s, (cy + radius - oy) * s],
                  outline=GROOVE, width=3 * s)
        d.ellipse([(cx - radius + 1.5 - ox) * s, (cy - radius + 1.5 - oy) * s,
                   (cx + radius - 1.5 - ox) * s, (cy + radius - 1.5 - oy) * s], outline=(24, 27, 32), width=s)
        # The hub: a sunk disc with a mouth-shaped glyph of the formant curve.
        r = 17
        d.ellipse([(cx - r - ox) * s, (cy - r - oy) * s, (cx + r - ox) * s, (cy + r - oy) * s],
                  fill=LCD_FILL, outline=GROUP_EDGE_DARK, width=s)
        points = []
        for i in range(41):
            t = i / 40
            x = cx - 11 + 22 * t
            bump = 6.0 * pow(2.718, -((t - 0.28) / 0.08) ** 2) + 4.0 * pow(2.718, -((t - 0.62) / 0.1) ** 2)
            points.append(((x - ox) * s, (cy + 4 - bump - oy) * s))
        d.line(points, fill=MINT, width=s + s // 2, joint="curve")

    paste_supersampled(image, (6, 36, 138, 189), ring)

    for vowel, (x, y) in VOWELS.items():
        def button(d, s, x=x, y=y):
            ox, oy = x - 2, y - 2

            def box(x0, y0, x1, y1):
                return [(x0 - ox) * s, (y0 - oy) * s, (x1 - ox) * s, (y1 - oy) * s]

            d.ellipse(box(x + 1, y + 2, x + 29, y + 30), fill=(12, 13, 16))  # shadow
            d.ellipse(box(x + 0.5, y + 0.5, x + 28.5, y + 28.5), fill=(20, 22, 26))  # rim
            # The face: a vertical gradient, one line per row of the circle.
            cx, cy, r = (x + 14.5 - ox) * s, (y + 14.5 - oy) * s, 13 * s
            for row in range(int(cy - r), int(cy + r) + 1):
                half = max(0.0, r * r - (row + 0.5 - cy) ** 2) ** 0.5
                colour = lerp(BUTTON_TOP, BUTTON_BOTTOM, (row - (cy - r)) / (2 * r))
                d.line([(cx - half, row), (cx + half, row)], fill=colour)
            d.arc(box(x + 1.5, y + 1.5, x + 27.5, y + 27.5), 200, 340, fill=(122, 132, 148), width=s)

        paste_supersampled(image, (x - 2, y - 2, x + 32, y + 33), button)
        draw_text(draw, (x + 14.5, y + 20), vowel, font("bold", 16), MINT, anchor="center")


def draw_waveform_frame(image):
    draw = ImageDraw.Draw(image)
    x, y, w, h = WAVE_BOX
    draw_text(draw, (151, y + 14), "WAVEFORM", font("bold", 8), CAPTION, spacing=1)
    inset_box(draw, (x - 2, y - 2, x + w + 1, y + h + 1), LCD_FILL)


def draw_h_slider(image, caption, top):
    draw = ImageDraw.Draw(image)
    left, width = H_SLIDER_LEFT, H_SLIDER_WIDTH
    draw_text(draw, (left - 1, top - 3), caption, font("bold", 8), CAPTION, spacing=1)
    # The groove the pointer's tip runs along.
    inset_box(draw, (left - 2, top + 8, left + width + 2, top + 11), GROOVE)
    for k in range(11):
        x = left + round(width * k / 10)
        length = 3 if k in (0, 5, 10) else 2
        draw.line([(x, top + 13), (x, top + 12 + length)], fill=CAPTION_DIM if length == 3 else (80, 88, 100))


def draw_v_slider(image, caption, left):
    draw = ImageDraw.Draw(image)
    top, height = V_SLIDER_TOP, V_SLIDER_HEIGHT
    draw_text(draw, (left + 7, top - 6), caption, font("bold", 8), CAPTION, spacing=1, anchor="center")
    inset_box(draw, (left + 4, top - 2, left + 7, top + height + 2), GROOVE)
    for k in range(11):
        y = top + round(height * k / 10)
        length = 3 if k in (0, 5, 10) else 2
        draw.line([(left + 9, y), (left + 8 + length, y)], fill=CAPTION_DIM if length == 3 else (80, 88, 100))


def draw_info_panel(image):
    draw = ImageDraw.Draw(image)
    inset_box(draw, INFO_PANEL, LCD_FILL)
    x0, y0, x1, y1 = INFO_PANEL
    # Faint scan lines give the display some depth without disturbing the text.
    for y in range(y0 + 2, y1 - 1, 2):
        draw.line([(x0 + 1, y), (x1 - 1, y)], fill=(13, 25, 16))


def draw_dice(image):
    def dice(d, s):
        ox, oy = 282, 193

        def die(x, y, size, angle_shift, pips):
            d.rounded_rectangle([(x - ox) * s, (y - oy) * s, (x + size - ox) * s, (y + size - oy) * s],
                                radius=4 * s, fill=(225, 232, 240), outline=(20, 22, 26), width=s)
            step = size / 4
            for px, py in pips:
                cx, cy = x + step * px, y + step * py
                d.ellipse([(cx - 1.5 - ox) * s, (cy - 1.5 - oy) * s, (cx + 1.5 - ox) * s, (cy + 1.5 - oy) * s],
                          fill=(24, 28, 34))

        die(285, 199, 15, 0, [(1, 1), (2, 2), (3, 3)])
        die(297, 194, 15, 0, [(1, 1), (3, 1), (2, 2), (1, 3), (3, 3)])

    paste_supersampled(image, (282, 193, 322, 219), dice)


def background():
    image = Image.new("RGB", (339, 220))
    vertical_gradient(image, (0, 0, 338, 219), PANEL_TOP, PANEL_BOTTOM)
    draw_groups(image)
    draw_title_band(image)
    draw_vowel_wheel(image)
    draw_waveform_frame(image)
    for caption, top in H_SLIDERS:
        draw_h_slider(image, caption, top)
    for caption, left in V_SLIDERS:
        draw_v_slider(image, caption, left)
    draw_info_panel(image)
    draw_dice(image)
    return image


# ---- Title overlay ------------------------------------------------------------------

def title():
    # 95 x 32, of which the window shows the top-left 94 x 25.
    image = Image.new("RGB", (95, 32))
    vertical_gradient(image, (0, 0, 94, 25), (58, 64, 75), (38, 42, 50))
    image.paste(Image.new("RGB", (95, 6), (38, 42, 50)), (0, 26))
    draw = ImageDraw.Draw(image)
    face = font("bold", 15)
    draw_text(draw, (47.5, 18), "KESSARON", face, (20, 40, 24), spacing=1, anchor="center")
    draw_text(draw, (47, 17), "KESSARON", face, MINT, spacing=1, anchor="center")
    draw.line([(6, 22), (88, 22)], fill=MINT_DIM)
    return image


# ---- Pointers -----------------------------------------------------------------------

def pointer(size, triangle, under):
    """A light triangle with a dark outline on the transparent colour.

    Edges are smoothed against `under`, the panel colour they will lie on, so that
    no fringe of the transparent colour shows; fully outside pixels get the key.
    """
    w, h = size
    big = Image.new("RGB", (w * SS, h * SS), under)
    mask_big = Image.new("L", (w * SS, h * SS), 0)
    d = ImageDraw.Draw(big)
    points = [(x * SS, y * SS) for x, y in triangle]
    d.polygon(points, fill=(20, 22, 26))
    ImageDraw.Draw(mask_big).polygon(points, fill=255)
    # Inner face, one pixel in.
    cx = sum(p[0] for p in triangle) / 3
    cy = sum(p[1] for p in triangle) / 3
    inner = [((x + (cx - x) * 0.35) * SS, (y + (cy - y) * 0.35) * SS) for x, y in triangle]
    d.polygon(inner, fill=MINT)
    image = big.reduce(SS)
    mask = mask_big.reduce(SS)
    pixels = image.load()
    coverage = mask.load()
    for y in range(h):
        for x in range(w):
            if coverage[x, y] < 24:
                pixels[x, y] = TRANSPARENT_KEY
    # The key must sit in the bottom-left pixel.
    pixels[0, h - 1] = TRANSPARENT_KEY
    return image


def pointer_horizontal():
    # 15 x 11, drawn in 16 x 10; the tip (column 4) marks the value.
    return pointer((15, 11), [(0, 0), (9, 0), (4.5, 7.5)], GROUP_FILL)


def pointer_vertical():
    # 12 x 15, drawn in 11 x 15; the tip (row 4) marks the value.
    return pointer((12, 15), [(0, 0), (0, 9), (7.5, 4.5)], GROUP_FILL)


# ---- Waveform faces -------------------------------------------------------------------

def wave_face(kind):
    w, h = 47, 22

    def paint(d, s):
        # Grid of the small display.
        for x in range(0, w, 8):
            d.line([(x * s + s // 2, 0), (x * s + s // 2, h * s)], fill=(16, 32, 20), width=max(1, s // 2))
        d.line([(0, 11 * s), (w * s, 11 * s)], fill=(20, 42, 25), width=s // 2)
        top, bottom = 4.5, 17.5
        if kind == "saw":
            points = []
            for tooth in range(3):
                x0 = 4.5 + tooth * 13
                points += [(x0, bottom), (x0 + 12.7, top)]
                points += [(x0 + 12.8, bottom)] if tooth == 2 else []
            points = [(x * s, y * s) for x, y in points]
        elif kind == "square":
            xs = [4.5, 11, 17.5, 24, 30.5, 37, 42.5]
            points = [(4.5, bottom)]
            level = top
            for x in xs:
                points += [(x, points[-1][1]), (x, level)]
                level = bottom if level == top else top
            points = [(x * s, y * s) for x, y in points[1:]]
        else:
            rng = random.Random(7)
            points = []
            x = 4.5
            while x <= 42.5:
                points.append((x * s, (11 + rng.uniform(-6.5, 6.5)) * s))
                x += 1.5
        d.line(points, fill=MINT, width=round(1.3 * s), joint="curve")

    return supersampled((w, h), LCD_FILL, paint)


# ---- About panel ----------------------------------------------------------------------

def about():
    w, h = 281, 165
    image = Image.new("RGB", (w, h))
    vertical_gradient(image, (0, 0, w - 1, h - 1), (30, 36, 40), (18, 22, 25))
    draw = ImageDraw.Draw(image)
    draw.rectangle([0, 0, w - 1, h - 1], outline=MINT_DIM)
    draw.rectangle([1, 1, w - 2, h - 2], outline=(10, 14, 12))
    draw_text(draw, (14, 30), "Kessaron", font("bold", 22), MINT)
    draw_text(draw, (w - 14, 20), "vowel filter + synth", font("italic", 10), CAPTION, anchor="right")
    draw_text(draw, (w - 14, 32), "by Mirtlegg  -  version 1.0", font("regular", 10), CAPTION, anchor="right")
    draw.line([(14, 39), (w - 14, 39)], fill=MINT_DIM)
    lines = [
        ("Vowels", "click a, e, i, o or u: the filter morphs there"),
        ("Morph time", "how long the morph takes, up to 4 s"),
        ("MIDI notes", "play the built-in voice through the filter"),
        ("Waveform", "click to switch saw, square and noise"),
        ("Attack, release, glide", "shape the voice"),
        ("Mix, Vol", "dry/wet balance and output level"),
        ("Dice", "random waveform, envelope, glide, vowel"),
    ]
    y = 54
    head = font("bold", 9)
    body = font("regular", 9)
    for title_text, text in lines:
        draw_text(draw, (14, y), title_text, head, MINT)
        draw_text(draw, (14 + head.getlength(title_text) + 5, y), text, body, (200, 208, 218))
        y += 13
    draw_text(draw, (w / 2, h - 8), "click this panel to close it", font("italic", 9), CAPTION_DIM, anchor="center")
    return image


# ---- BMP output -------------------------------------------------------------------------

def to_palette(image, colours):
    """Reduces an RGB image to at most `colours` colours, keeping exact colours when they fit."""
    used = image.getcolors(maxcolors=colours)
    if used is not None:
        palette = [c for _, c in sorted(used, key=lambda item: item[1])]
        index = {c: i for i, c in enumerate(palette)}
        return [index[c] for c in image.getdata()], palette
    reduced = image.quantize(colors=colours, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    flat = reduced.getpalette()[:3 * colours]
    palette = [tuple(flat[i:i + 3]) for i in range(0, len(flat), 3)]
    return list(reduced.getdata()), palette


def write_bmp(path, image, bits):
    """Writes a bottom-up BI_RGB BMP with a palette of 2**bits entries (4 or 8 bits)."""
    w, h = image.size
    indices, palette = to_palette(image.convert("RGB"), 1 << bits)
    palette += [(0, 0, 0)] * ((1 << bits) - len(palette))
    row_bytes = ((w * bits + 31) // 32) * 4
    rows = []
    for y in range(h - 1, -1, -1):
        row = indices[y * w:(y + 1) * w]
        if bits == 8:
            data = bytes(row)
        else:
            padded = row + [0] * (len(row) % 2)
            data = bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2))
        rows.append(data + b"\0" * (row_bytes - len(data)))
    pixels = b"".join(rows)
    palette_bytes = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(palette_bytes)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(pixels), 2835, 2835, 1 << bits, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette_bytes + pixels)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "bitmaps")
    os.makedirs(out, exist_ok=True)
    outputs = [
        ("background", background(), 8),
        ("title", title(), 8),
        ("pointer_h", pointer_horizontal(), 4),
        ("pointer_v", pointer_vertical(), 4),
        ("wave_saw", wave_face("saw"), 8),
        ("wave_square", wave_face("square"), 8),
        ("wave_noise", wave_face("noise"), 8),
        ("about", about(), 8),
    ]
    for name, image, bits in outputs:
        write_bmp(os.path.join(out, name + ".bmp"), image, bits)


if __name__ == "__main__":
    main()
