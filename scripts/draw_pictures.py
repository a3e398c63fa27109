#!/usr/bin/python3
"""Draws the pictures of the user interface from shapes and text.

Writes, beside the sources of the ui module:
  src/ui/banner.gif   the 416 x 72 banner at the top of the main window
                      (GIF89a, one frame, 256-entry global colour table, no transparency);
  src/ui/keltora.ico  the application icon, eleven images: 16/24/32/48 px in 256 colours,
                      then 16/24/32/48/64/128/256 px in 32-bit colour with alpha.

Run with Debian's /usr/bin/python3 (python3-pil) and fonts-wqy-zenhei:
    /usr/bin/python3 scripts/draw_pictures.py
"""

import io
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
UI_DIR = os.path.join(ROOT, "src", "ui")
FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"

TITLE = "Keltora工具"
SLOGAN = "让U盘百毒不侵，与AutoRun病毒斗争到底！"


# ---------------------------------------------------------------------------
# Small drawing helpers
# ---------------------------------------------------------------------------

def lerp(a, b, t):
    return a + (b - a) * t


def stops_colour(stops, t):
    """Colour at position t (0..1) of a list of (position, (r, g, b)) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            u = 0.0 if t1 == t0 else (t - t0) / (t1 - t0)
            return tuple(int(round(lerp(a, b, u))) for a, b in zip(c0, c1))
    return stops[-1][1]


def gradient(size, stops, vertical=True):
    """An RGB image of the given size filled with a linear gradient."""
    w, h = size
    n = h if vertical else w
    line = Image.new("RGB", (1, n) if vertical else (n, 1))
    line.putdata([stops_colour(stops, (i + 0.5) / n) for i in range(n)])
    return line.resize((w, h), Image.NEAREST)


def rounded_mask(size, box, radius):
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(box, radius=radius, fill=255)
    return mask


def fill_mask(canvas, mask, fill):
    """Pastes a colour or a same-sized image into an RGBA canvas through a mask."""
    if isinstance(fill, tuple):
        fill = Image.new("RGBA", canvas.size, fill + (255,) if len(fill) == 3 else fill)
    else:
        fill = fill.convert("RGBA")
    fill.putalpha(ImageChops.multiply(fill.getchannel("A"), mask))
    canvas.alpha_composite(fill)


def ring_mask(size, box, radius, width):
    """The band of the given width just inside a rounded rectangle."""
    outer = rounded_mask(size, box, radius)
    x0, y0, x1, y1 = box
    inner = rounded_mask(size, (x0 + width, y0 + width, x1 - width, y1 - width),
                         max(0, radius - width))
    return ImageChops.subtract(outer, inner)


def scale_alpha(mask, factor):
    return mask.point(lambda v: int(v * factor))


def downscale(img, size):
    """Downscales an RGBA image with the alpha taken into account."""
    return img.convert("RGBa").resize(size, Image.LANCZOS).convert("RGBA")


def rotate(img, angle, expand=False):
    """Rotates counter-clockwise about the centre, with the alpha taken into account."""
    return img.convert("RGBa").rotate(angle, resample=Image.BICUBIC,
                                      expand=expand).convert("RGBA")


# ---------------------------------------------------------------------------
# The banner
# ---------------------------------------------------------------------------

BANNER_SIZE = (416, 72)
SS = 4  # supersampling of the banner

SILVER = [(0.00, (214, 218, 224)), (0.10, (250, 251, 252)), (0.24, (255, 255, 255)),
          (0.42, (214, 218, 224)), (0.58, (168, 174, 183)), (0.74, (196, 201, 208)),
          (0.90, (236, 238, 241)), (1.00, (150, 156, 165))]
STEEL = [(0.00, (205, 209, 215)), (0.18, (246, 247, 249)), (0.45, (214, 217, 222)),
         (0.60, (180, 185, 192)), (0.85, (222, 225, 229)), (1.00, (150, 155, 163))]


def draw_silver_drive(width, height):
    """A silver flash drive lying flat, plug to the right, drawn at SS times size."""
    s = SS
    W, H = width * s, height * s
    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)

    body = (2 * s, 6 * s, 86 * s, 40 * s)          # x0, y0, x1, y1
    plug = (84 * s, 12 * s, 112 * s, 34 * s)
    bw, bh = body[2] - body[0], body[3] - body[1]

    # soft shadow below the drive
    shadow = Image.new("L", (W, H), 0)
    ImageDraw.Draw(shadow).ellipse((8 * s, 40 * s, 110 * s, 48 * s), fill=90)
    shadow = shadow.filter(ImageFilter.GaussianBlur(3 * s))
    fill_mask(img, shadow, (60, 70, 80))

    # the plug: a steel shell with two square holes
    pw, ph = plug[2] - plug[0], plug[3] - plug[1]
    shell = Image.new("RGB", (W, H))
    shell.paste(gradient((pw, ph), STEEL), plug[:2])
    fill_mask(img, rounded_mask(img.size, plug, 2 * s), shell)
    fill_mask(img, ring_mask(img.size, plug, 2 * s, 1 * s), (128, 133, 141))
    for hx in (92, 102):
        hole = (hx * s, 16 * s, (hx + 5) * s, 21 * s)
        d.rectangle((hole[0], hole[1] + s // 2, hole[2], hole[3] + s // 2), fill=(248, 249, 250))
        d.rectangle(hole, fill=(86, 91, 99))
        d.rectangle((hole[0] + s, hole[1] + s, hole[2] - s // 2, hole[3] - s // 2),
                    fill=(60, 64, 71))
    # the tongue seen through the open end
    d.rectangle((110 * s, 18 * s, 112 * s, 28 * s), fill=(120, 126, 134))

    # the body: brushed silver with a darker collar next to the plug
    metal = Image.new("RGB", (W, H))
    metal.paste(gradient((bw, bh), SILVER), body[:2])
    body_mask = rounded_mask(img.size, body, 9 * s)
    fill_mask(img, body_mask, metal)
    collar = Image.new("L", img.size, 0)
    ImageDraw.Draw(collar).rectangle((74 * s, 0, 80 * s, H), fill=255)
    collar = ImageChops.multiply(collar, body_mask)
    fill_mask(img, scale_alpha(collar, 0.18), (40, 50, 60))
    seam = Image.new("L", img.size, 0)
    ImageDraw.Draw(seam).rectangle((74 * s, 0, 74 * s + s // 2, H), fill=255)
    fill_mask(img, scale_alpha(ImageChops.multiply(seam, body_mask), 0.45), (70, 76, 84))
    seam = Image.new("L", img.size, 0)
    ImageDraw.Draw(seam).rectangle((80 * s, 0, 80 * s + s // 2, H), fill=255)
    fill_mask(img, scale_alpha(ImageChops.multiply(seam, body_mask), 0.6), (255, 255, 255))

    # the outline of the body
    fill_mask(img, ring_mask(img.size, body, 9 * s, 1 * s), (122, 128, 137))

    # the lanyard hole at the far end
    d.ellipse((7 * s, 19 * s, 15 * s, 27 * s), fill=(112, 118, 126))
    d.ellipse((8 * s, 20 * s, 14 * s, 26 * s), fill=(255, 255, 255))
    d.arc((8 * s, 20 * s, 14 * s, 26 * s), 180, 300, fill=(190, 195, 202), width=s)

    # a small green activity light with a soft glow
    glow = Image.new("L", img.size, 0)
    ImageDraw.Draw(glow).ellipse((60 * s, 29 * s, 68 * s, 35 * s), fill=150)
    fill_mask(img, glow.filter(ImageFilter.GaussianBlur(s)), (90, 220, 110))
    d.ellipse((62 * s, 30 * s, 66 * s, 34 * s), fill=(24, 150, 48))
    d.ellipse((63 * s, 30 * s + s // 2, 65 * s, 32 * s), fill=(190, 245, 190))
    return img


def gradient_text(canvas, xy, text, font, stops, stroke=0):
    """Writes text filled with a vertical gradient into an RGBA canvas."""
    mask = Image.new("L", canvas.size, 0)
    md = ImageDraw.Draw(mask)
    md.text(xy, text, font=font, fill=255, stroke_width=stroke, stroke_fill=255)
    x0, y0, x1, y1 = mask.getbbox()
    fill = Image.new("RGB", canvas.size, stops[-1][1])
    fill.paste(gradient((x1 - x0, y1 - y0), stops), (x0, y0))
    fill_mask(canvas, mask, fill)
    return (x0, y0, x1, y1)


def draw_banner():
    s = SS
    W, H = BANNER_SIZE[0] * s, BANNER_SIZE[1] * s
    img = Image.new("RGBA", (W, H), (255, 255, 255, 255))

    title_font = ImageFont.truetype(FONT_PATH, 36 * s)
    slogan_font = ImageFont.truetype(FONT_PATH, 14 * s)
    greens = [(0.0, (40, 168, 60)), (0.55, (0, 134, 30)), (1.0, (0, 104, 24))]

    # a faint echo of the title, then the title itself
    title_xy = (14 * s, 3 * s)
    shadow = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    ImageDraw.Draw(shadow).text((title_xy[0] + s, title_xy[1] + s), TITLE, font=title_font,
                                fill=(0, 80, 20, 60), stroke_width=s // 2,
                                stroke_fill=(0, 80, 20, 60))
    img.alpha_composite(shadow.filter(ImageFilter.GaussianBlur(s)))
    box = gradient_text(img, title_xy, TITLE, title_font, greens, stroke=s // 2)

    slogan_xy = (16 * s, box[3] + 7 * s)
    d = ImageDraw.Draw(img)
    d.text(slogan_xy, SLOGAN, font=slogan_font, fill=(0, 128, 32))

    # a thin line under the title that fades out to the right
    line_y = box[3] + 3 * s
    fade = Image.new("L", (W, H), 0)
    fade_line = Image.new("L", (250 * s, s // 2 + 1))
    fade_line.putdata([int(200 * (1 - i / (250 * s)) ** 1.5) for i in range(250 * s)]
                      * (s // 2 + 1))
    fade.paste(fade_line, (16 * s, line_y))
    fill_mask(img, fade, (120, 200, 130))

    drive = draw_silver_drive(116, 52)
    drive = rotate(drive, 8, expand=True)
    img.alpha_composite(drive, (W - drive.width, (H - drive.height) // 2 + 2 * s))

    banner = img.convert("RGB").resize(BANNER_SIZE, Image.LANCZOS)
    return banner


def write_gif(rgb, path):
    pal = rgb.quantize(256, method=Image.MAXCOVERAGE, dither=Image.NONE, kmeans=3)
    palette = pal.getpalette()[:768]
    palette += [0] * (768 - len(palette))
    pal.putpalette(palette)
    pal.info.pop("transparency", None)
    out = io.BytesIO()
    pal.save(out, format="GIF", optimize=False, interlace=False)
    data = bytearray(out.getvalue())
    # Pillow marks files without extensions as 87a; every 87a file is a valid 89a file.
    data[0:6] = b"GIF89a"
    check_gif(bytes(data), BANNER_SIZE)
    with open(path, "wb") as f:
        f.write(data)


def check_gif(data, size):
    assert data[:6] == b"GIF89a"
    w, h, flags = struct.unpack_from("<HHB", data, 6)
    assert (w, h) == size, (w, h)
    assert flags & 0x80 and flags & 7 == 7, "global colour table of 256 entries"
    pos = 13 + 3 * 256
    images = 0
    while True:
        kind = data[pos]
        if kind == 0x3B:
            break
        if kind == 0x21:
            label = data[pos + 1]
            pos += 2
            if label == 0xF9:
                assert not data[pos + 1] & 1, "transparency flag"
        elif kind == 0x2C:
            images += 1
            local = data[pos + 9]
            pos += 10
            if local & 0x80:
                pos += 3 * (2 << (local & 7))
            pos += 1  # LZW minimum code size
        else:
            raise AssertionError("unexpected block %#x" % kind)
        while data[pos]:
            pos += data[pos] + 1
        pos += 1
    assert images == 1, images


# ---------------------------------------------------------------------------
# The icon
# ---------------------------------------------------------------------------

MASTER = 1024          # every icon image is drawn on a canvas of this size, then reduced
RED = (218, 30, 42)


def usb_logo(draw, box, stroke, simple):
    """The USB trident in red, inside box (x0, y0, x1, y1), pointing up."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0

    def p(u, v):
        return (x0 + u * w, y0 + v * h)

    # the shaft, its arrowhead and its round foot
    draw.line([p(0.5, 0.14), p(0.5, 0.86)], fill=RED, width=int(stroke))
    draw.polygon([p(0.5, 0.0), p(0.31, 0.19), p(0.69, 0.19)], fill=RED)
    r = 0.105 * w if simple else 0.095 * w
    cx, cy = p(0.5, 0.875)
    draw.ellipse((cx - r * 1.35, cy - r * 1.35, cx + r * 1.35, cy + r * 1.35), fill=RED)
    # the left arm ends in a round dot, the right arm in a square
    left = [p(0.5, 0.60), p(0.14, 0.44), p(0.14, 0.30)]
    right = [p(0.5, 0.72), p(0.86, 0.56), p(0.86, 0.40)]
    draw.line(left, fill=RED, width=int(stroke), joint="curve")
    draw.line(right, fill=RED, width=int(stroke), joint="curve")
    cx, cy = p(0.14, 0.27)
    draw.ellipse((cx - r, cy - r, cx + r, cy + r), fill=RED)
    cx, cy = p(0.86, 0.36)
    draw.rectangle((cx - r, cy - r, cx + r, cy + r), fill=RED)


# At 16 and 24 px a smoothly reduced symbol turns into a red smudge, so it is set pixel
# by pixel instead, on the 45 degree grid (up-right is along the shaft). At 16 px only an
# arrow fits; at 24 px the whole trident does. Tied to the proportions used for small sizes.
PIXEL_LOGOS = {
    16: ((3, 6), ["....RRR",
                  ".....RR",
                  "....R.R",
                  "...R...",
                  "..R....",
                  "RR.....",
                  ".R....."]),
    24: ((6, 9), ["....R.RRR.",
                  "...RR..RR.",
                  "...R..RRR.",
                  "...R.RR.RR",
                  "...RRR.RR.",
                  "...RR..R..",
                  "RRRRRRR...",
                  "RRR.......",
                  "RRR......."]),
}


def draw_icon(size):
    """The white flash drive, tilted 45 degrees, at the given size, as an RGBA image."""
    px = MASTER / size                      # canvas units per output pixel
    small = size <= 24
    medium = 32 <= size <= 48
    D = int(MASTER * 1.5)
    img = Image.new("RGBA", (D, D), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    cx = cy = D / 2

    if small:
        W, Lb, Lp, Wp = 440, 700, 220, 300
    elif medium:
        W, Lb, Lp, Wp = 380, 720, 240, 256
    else:
        W, Lb, Lp, Wp = 340, 730, 250, 228
    top = cy - (Lb + Lp) / 2
    plug = (cx - Wp / 2, top, cx + Wp / 2, top + Lp + 40)
    body = (cx - W / 2, top + Lp, cx + W / 2, top + Lp + Lb)
    edge = max(9.0, 1.0 * px)               # outline width
    edge_colour = (112, 118, 128) if small else (150, 156, 166) if medium else (170, 176, 186)

    # the plug: a silver shell with two square holes
    pw, ph = int(plug[2] - plug[0]), int(plug[3] - plug[1])
    shell = Image.new("RGB", img.size)
    shell.paste(gradient((pw, ph), STEEL, vertical=False), (int(plug[0]), int(plug[1])))
    pr = max(16, 0.05 * Wp)
    fill_mask(img, rounded_mask(img.size, plug, pr), shell)
    fill_mask(img, ring_mask(img.size, plug, pr, int(edge)), (112, 118, 128))
    hole = Wp * (0.24 if small else 0.2)
    for u in (-1, 1):
        hx = cx + u * Wp * 0.22
        hy = top + Lp * 0.42
        d.rectangle((hx - hole / 2, hy - hole / 2, hx + hole / 2, hy + hole / 2),
                    fill=(72, 77, 86))
        if not small:
            d.rectangle((hx - hole / 2, hy + hole / 2 - 0.18 * hole, hx + hole / 2,
                         hy + hole / 2), fill=(118, 124, 133))

    # the white body, lightly shaded from left to right
    bw, bh = int(body[2] - body[0]), int(body[3] - body[1])
    white = Image.new("RGB", img.size)
    white.paste(gradient((bw, bh), [(0.0, (242, 244, 247)), (0.12, (255, 255, 255)),
                                    (0.45, (255, 255, 255)), (0.85, (236, 238, 242)),
                                    (1.0, (220, 223, 229))], vertical=False),
                (int(body[0]), int(body[1])))
    br = W * 0.2
    body_mask = rounded_mask(img.size, body, br)
    fill_mask(img, body_mask, white)
    if not small:
        # a faint groove where the cap would meet the body
        groove = Image.new("L", img.size, 0)
        gy = body[1] + 0.16 * Lb
        ImageDraw.Draw(groove).rectangle((0, gy, D, gy + max(8, 0.6 * px)), fill=255)
        fill_mask(img, scale_alpha(ImageChops.multiply(groove, body_mask), 0.5),
                  (200, 204, 211))
    fill_mask(img, ring_mask(img.size, body, br, int(edge)), edge_colour)

    # the red USB symbol on the body
    if small:
        lw, lh, stroke = W * 0.70, Lb * 0.64, max(70.0, 1.3 * px)
    elif medium:
        lw, lh, stroke = W * 0.62, Lb * 0.60, max(44.0, 1.2 * px)
    else:
        lw, lh, stroke = W * 0.58, Lb * 0.56, 34.0
    lcy = body[1] + (0.6 if small else 0.58) * Lb
    if size not in PIXEL_LOGOS:
        usb_logo(d, (cx - lw / 2, lcy - lh / 2, cx + lw / 2, lcy + lh / 2), stroke, small)

    # tilt: plug to the upper right
    img = rotate(img, -45)
    off = (D - MASTER) // 2
    img = img.crop((off, off, off + MASTER, off + MASTER))

    # a soft shadow underneath, so that the white body reads on a white ground
    alpha = img.getchannel("A")
    blur = max(6, 0.9 * px) if small else max(10, 1.2 * px)
    shade = ImageChops.offset(alpha, int(0.35 * px + 6), int(0.7 * px + 10))
    shade = scale_alpha(shade.filter(ImageFilter.GaussianBlur(blur)), 0.42 if small else 0.32)
    out = Image.new("RGBA", img.size, (0, 0, 0, 0))
    fill_mask(out, shade, (30, 36, 48))
    out.alpha_composite(img)
    out = downscale(out, (size, size))
    if size in PIXEL_LOGOS:
        (x0, y0), rows = PIXEL_LOGOS[size]
        for y, row in enumerate(rows):
            for x, c in enumerate(row):
                if c == "R":
                    out.putpixel((x0 + x, y0 + y), RED + (255,))
    return out


def to_8bit(rgba):
    """256-colour version: index 0 is black for the masked-out pixels (as icons want it),
    255 colours for the rest. Pixels at least half opaque are kept, their colour moved a
    little towards how they look on a light window; the others are masked out."""
    opaque = [a >= 128 for a in rgba.getchannel("A").getdata()]
    on_white = Image.new("RGB", rgba.size, (255, 255, 255))
    on_white.paste(rgba, (0, 0), rgba)
    rgb = Image.blend(rgba.convert("RGB"), on_white, 0.35)
    rgb.putdata([c if o else (255, 255, 255) for c, o in zip(rgb.getdata(), opaque)])
    q = rgb.quantize(255, method=Image.MAXCOVERAGE, dither=Image.NONE, kmeans=3)
    pal = q.getpalette()[:255 * 3]
    pal += [0] * (255 * 3 - len(pal))
    palette = [(0, 0, 0)] + [tuple(pal[i:i + 3]) for i in range(0, 255 * 3, 3)]
    indices = [i + 1 if o else 0 for i, o in zip(q.getdata(), opaque)]
    return palette, indices, opaque


def and_mask(w, h, opaque):
    row_bytes = ((w + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(w):
            if not opaque[y * w + x]:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def bmp_header(w, h, bits, image_size):
    return struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bits, 0, image_size, 0, 0,
                       256 if bits == 8 else 0, 0)


def icon_8bit(rgba):
    w, h = rgba.size
    palette, indices, opaque = to_8bit(rgba)
    row = (w + 3) & ~3
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        xor += bytes(indices[y * w:(y + 1) * w]) + bytes(row - w)
    mask = and_mask(w, h, opaque)
    pal = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    return bmp_header(w, h, 8, len(xor) + len(mask)) + pal + bytes(xor) + mask


def icon_32bit(rgba):
    w, h = rgba.size
    px = list(rgba.getdata())
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for r, g, b, a in px[y * w:(y + 1) * w]:
            xor += bytes((b, g, r, a))
    mask = and_mask(w, h, [p[3] > 0 for p in px])
    return bmp_header(w, h, 32, len(xor) + len(mask)) + bytes(xor) + mask


def icon_png(rgba):
    out = io.BytesIO()
    rgba.save(out, format="PNG", optimize=True)
    return out.getvalue()


ICON_IMAGES = [(16, 8), (24, 8), (32, 8), (48, 8),
               (16, 32), (24, 32), (32, 32), (48, 32), (64, 32), (128, 32), (256, 32)]


def write_ico(path):
    drawn = {}
    blobs = []
    for size, bits in ICON_IMAGES:
        if size not in drawn:
            drawn[size] = draw_icon(size)
        img = drawn[size]
        if bits == 8:
            blobs.append(icon_8bit(img))
        elif size == 256:
            blobs.append(icon_png(img))
        else:
            blobs.append(icon_32bit(img))
    header = struct.pack("<HHH", 0, 1, len(blobs))
    offset = len(header) + 16 * len(blobs)
    entries = b""
    for (size, bits), blob in zip(ICON_IMAGES, blobs):
        dim = 0 if size == 256 else size
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(header + entries + b"".join(blobs))
    return drawn


def main():
    banner = draw_banner()
    write_gif(banner, os.path.join(UI_DIR, "banner.gif"))
    write_ico(os.path.join(UI_DIR, "keltora.ico"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
