"""Drawing helpers: supersampled shapes, a small pixel font and icons."""

from PIL import Image, ImageDraw, ImageFilter, ImageFont

SS = 4  # supersampling factor for smooth shapes
MAGENTA = (255, 0, 255)

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"


def font(name, size):
    return ImageFont.truetype(FONT_DIR + name, size)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


class Canvas:
    """An RGBA drawing surface at SS times the target size."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.img = Image.new("RGBA", (w * SS, h * SS), fill)
        self.d = ImageDraw.Draw(self.img)

    def s(self, v):
        return v * SS

    def box(self, b):
        x0, y0, x1, y1 = b
        return (x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1)

    def rrect(self, b, r, fill=None, outline=None, width=1):
        self.d.rounded_rectangle(self.box(b), radius=r * SS, fill=fill, outline=outline, width=int(width * SS))

    def ellipse(self, b, fill=None, outline=None, width=1):
        self.d.ellipse(self.box(b), fill=fill, outline=outline, width=int(width * SS))

    def poly(self, pts, fill):
        self.d.polygon([(x * SS, y * SS) for x, y in pts], fill=fill)

    def line(self, pts, fill, width=1.0):
        self.d.line([(x * SS, y * SS) for x, y in pts], fill=fill, width=max(1, int(round(width * SS))),
                    joint="curve")

    def vgradient(self, b, top, bottom, r=0):
        x0, y0, x1, y1 = b
        grad = Image.new("RGBA", ((x1 - x0) * SS, (y1 - y0) * SS))
        gd = ImageDraw.Draw(grad)
        n = (y1 - y0) * SS
        for i in range(n):
            c = mix(top, bottom, i / max(1, n - 1))
            gd.line([(0, i), ((x1 - x0) * SS, i)], fill=c + (255,))
        mask = Image.new("L", grad.size, 0)
        ImageDraw.Draw(mask).rounded_rectangle((0, 0, grad.size[0] - 1, grad.size[1] - 1), radius=r * SS, fill=255)
        self.img.paste(grad, (x0 * SS, y0 * SS), mask)

    def text(self, xy, s, fnt, fill, anchor="la"):
        self.d.text((xy[0] * SS, xy[1] * SS), s, font=fnt, fill=fill, anchor=anchor)

    def glow(self, radius, strength=1.0):
        """A soft halo of what is drawn so far, under it."""
        blurred = self.img.filter(ImageFilter.GaussianBlur(radius * SS))
        if strength != 1.0:
            a = blurred.getchannel("A").point(lambda v: min(255, int(v * strength)))
            blurred.putalpha(a)
        base = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        base.alpha_composite(blurred)
        base.alpha_composite(self.img)
        self.img = base
        self.d = ImageDraw.Draw(self.img)

    def result(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


def flatten(rgba, background):
    """An RGBA picture over a solid colour, as RGB."""
    base = Image.new("RGBA", rgba.size, tuple(background) + (255,))
    base.alpha_composite(rgba)
    return base.convert("RGB")


def keyed(rgba, background, threshold=96):
    """An RGBA picture whose clear pixels become magenta (the painter's
    transparent colour); partly covered pixels are blended with the colour
    the picture usually lies on, so edges do not fringe."""
    out = flatten(rgba, background)
    alpha = rgba.getchannel("A")
    px, ap = out.load(), alpha.load()
    for y in range(out.size[1]):
        for x in range(out.size[0]):
            if ap[x, y] < threshold:
                px[x, y] = MAGENTA
    return out


# A 3 x 5 pixel font for the display's small texts and digits.
GLYPHS = {
    "0": ["111", "101", "101", "101", "111"], "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"], "3": ["111", "001", "011", "001", "111"],
    "4": ["101", "101", "111", "001", "001"], "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"], "7": ["111", "001", "010", "010", "010"],
    "8": ["111", "101", "111", "101", "111"], "9": ["111", "101", "111", "001", "111"],
    "A": ["010", "101", "111", "101", "101"], "B": ["110", "101", "110", "101", "110"],
    "C": ["011", "100", "100", "100", "011"], "D": ["110", "101", "101", "101", "110"],
    "E": ["111", "100", "110", "100", "111"], "F": ["111", "100", "110", "100", "100"],
    "G": ["011", "100", "101", "101", "011"], "H": ["101", "101", "111", "101", "101"],
    "I": ["111", "010", "010", "010", "111"], "K": ["101", "101", "110", "101", "101"],
    "L": ["100", "100", "100", "100", "111"], "M": ["101", "111", "111", "101", "101"],
    "N": ["1001", "1101", "1011", "1001", "1001"], "O": ["010", "101", "101", "101", "010"],
    "P": ["110", "101", "110", "100", "100"], "Q": ["010", "101", "101", "110", "011"],
    "R": ["110", "101", "110", "101", "101"], "S": ["011", "100", "010", "001", "110"],
    "T": ["111", "010", "010", "010", "010"], "U": ["101", "101", "101", "101", "111"],
    "V": ["101", "101", "101", "101", "010"], "W": ["10001", "10001", "10101", "10101", "01010"],
    "X": ["101", "101", "010", "101", "101"], "Y": ["101", "101", "010", "010", "010"],
    "Z": ["111", "001", "010", "100", "111"], "k": ["100", "101", "110", "101", "101"],
    "b": ["100", "100", "110", "101", "110"], "p": ["000", "110", "101", "110", "100"],
    "s": ["000", "011", "110", "011", "110"], "z": ["000", "111", "010", "100", "111"],
    "-": ["000", "000", "111", "000", "000"], " ": ["000", "000", "000", "000", "000"],
    ":": ["000", "010", "000", "010", "000"], ".": ["000", "000", "000", "000", "010"],
}


def pixel_text_width(s):
    return sum(len(GLYPHS[ch][0]) + 1 for ch in s) - 1 if s else 0


def pixel_text(img, xy, s, colour):
    """Draws s with the pixel font onto an RGB(A) image at 1x."""
    px = img.load()
    x0, y0 = xy
    for ch in s:
        rows = GLYPHS[ch]
        for y, row in enumerate(rows):
            for x, bit in enumerate(row):
                if bit == "1":
                    X, Y = x0 + x, y0 + y
                    if 0 <= X < img.size[0] and 0 <= Y < img.size[1]:
                        px[X, Y] = tuple(colour) + ((255,) if img.mode == "RGBA" else ())
        x0 += len(rows[0]) + 1


# Bold 6 x 8 digits for the time and track number.
BIG_DIGITS = {
    0: [".####.", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."],
    1: ["..##..", ".###..", "..##..", "..##..", "..##..", "..##..", "..##..", ".####."],
    2: [".####.", "##..##", "....##", "...##.", "..##..", ".##...", "##....", "######"],
    3: [".####.", "##..##", "....##", "..###.", "....##", "....##", "##..##", ".####."],
    4: ["...##.", "..###.", ".#.##.", "##.##.", "######", "...##.", "...##.", "...##."],
    5: ["######", "##....", "#####.", "....##", "....##", "....##", "##..##", ".####."],
    6: [".####.", "##....", "##....", "#####.", "##..##", "##..##", "##..##", ".####."],
    7: ["######", "....##", "...##.", "...##.", "..##..", "..##..", ".##...", ".##..."],
    8: [".####.", "##..##", "##..##", ".####.", "##..##", "##..##", "##..##", ".####."],
    9: [".####.", "##..##", "##..##", "##..##", ".#####", "....##", "....##", ".####."],
}
