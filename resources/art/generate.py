#!/usr/bin/env python3
"""Generates the player's built-in artwork and its example skin.

Writes, into the output folder:
  builtin/<id>.bmp      every built-in bitmap resource, and builtin.rc listing them
  install/              the installation folder's "skin.ini" and its button pictures
  skins/Midnight/       the example skin file "Midnight.qvs" and its pictures
  contact_sheet.png     every built-in picture, labelled, beside a composed face
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # keep the source folder clean

from PIL import Image, ImageDraw, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import layout as L  # noqa: E402
from icons import draw_icon  # noqa: E402
from painter import (BIG_DIGITS, MAGENTA, SS, Canvas, flatten, font, keyed, mix, pixel_text,  # noqa: E402
                     pixel_text_width)

THEMES = {
    "builtin": dict(
        screen=(12, 14, 18), body=(24, 27, 33), body_low=(20, 23, 28), edge=(44, 49, 58), hairline=(34, 38, 46),
        list_bg=(15, 17, 22), accent=(197, 255, 155), accent2=(134, 241, 255), ink=(214, 219, 226),
        muted=(112, 120, 133), dim=(40, 46, 54), key_top=(46, 51, 60), key_bottom=(36, 40, 48),
        key_edge=(58, 64, 76), warn=(255, 122, 112), brand=((134, 241, 255), (197, 255, 155))),
    "Midnight": dict(
        screen=(9, 12, 22), body=(20, 25, 40), body_low=(16, 20, 33), edge=(40, 50, 76), hairline=(30, 38, 58),
        list_bg=(12, 15, 27), accent=(134, 241, 255), accent2=(176, 160, 255), ink=(210, 220, 240),
        muted=(104, 116, 146), dim=(34, 42, 64), key_top=(38, 46, 70), key_bottom=(29, 36, 56),
        key_edge=(52, 62, 92), warn=(255, 128, 160), brand=((176, 160, 255), (134, 241, 255))),
}

# Colours the example skin file sets (the built-in look keeps the defaults).
MIDNIGHT_COLOURS = {"DispColor": "134,241,255", "InfoColor": "176,160,255", "TitleColor": "226,234,255",
                    "SeekColor": "134,241,255"}

OPAQUE = None  # marker: picture is drawn opaque


# ---------------------------------------------------------------- display pictures

def digits_strip(th):
    """Digits 0-9 and the time separator, 9 x 8 cells: bold pixel digits with
    a faint glow."""
    cells = 11
    ink = Image.new("RGBA", (9 * cells, 8), (0, 0, 0, 0))
    px = ink.load()
    for i in range(10):
        for y, row in enumerate(BIG_DIGITS[i]):
            for x, bit in enumerate(row):
                if bit == "#":
                    px[i * 9 + x, y] = th["accent"] + (255,)
    for y in (2, 5):
        for x in (92, 93):
            px[x, y] = th["accent"] + (255,)
    halo = ink.filter(ImageFilter.GaussianBlur(1.2))
    halo.putalpha(halo.getchannel("A").point(lambda v: int(v * 0.45)))
    out = Image.new("RGBA", ink.size, th["screen"] + (255,))
    out.alpha_composite(halo)
    out.alpha_composite(ink)
    return out.convert("RGB")


def small_digits(th):
    img = Image.new("RGB", (50, 5), th["screen"])
    for i in range(10):
        pixel_text(img, (i * 5 + 1, 0), str(i), th["accent2"])
    return img


def word_mark(th, text, lit):
    img = Image.new("RGB", (31, 5), th["screen"])
    colour = th["accent2"] if lit else th["muted"]
    pixel_text(img, (31 - pixel_text_width(text), 0), text, colour)
    return img


def shuffle_strip(th):
    c = Canvas(32, 10)
    draw_icon(c, "shuffle", (0, 0, 16, 10), th["accent"])
    draw_icon(c, "shuffle", (16, 0, 32, 10), th["dim"])
    return flatten(c.result(), th["screen"])


def repeat_strip(th):
    c = Canvas(48, 8)
    draw_icon(c, "repeat", (0, 0, 16, 8), th["dim"])
    draw_icon(c, "repeat", (16, 0, 32, 8), th["accent"])
    draw_icon(c, "repeat", (32, 0, 48, 8), th["accent"])
    img = flatten(c.result(), th["screen"])
    # "one": a digit inside the loop
    d = ImageDraw.Draw(img)
    d.rectangle((38, 2, 42, 5), fill=th["screen"])
    pixel_text(img, (39, 1), "1", th["accent"])
    return img


def status_strip(th):
    c = Canvas(27, 9)
    draw_icon(c, "play", (0, 0, 9, 9), th["accent"])
    draw_icon(c, "pause", (9, 0, 18, 9), th["accent2"])
    draw_icon(c, "stop", (18, 0, 27, 9), th["muted"])
    return flatten(c.result(), th["screen"])


BAR_FRAMES = [
    [5, 9, 13, 8, 11, 6, 3],
    [8, 12, 9, 13, 7, 9, 5],
    [11, 7, 12, 10, 13, 5, 7],
    [7, 13, 8, 6, 10, 12, 4],
    [12, 9, 13, 11, 6, 8, 9],
    [6, 11, 10, 13, 9, 7, 11],
]


def animation_frame(th, heights):
    c = Canvas(35, 17)
    for i in range(7):
        x = 1 + i * 5
        # the quiet bed of every bar
        c.rrect((x, 14, x + 3, 16), 0.6, fill=th["dim"] + (255,))
        if heights is None:
            continue
        h = heights[i]
        top = 16 - h
        colour = mix(th["accent2"], th["accent"], i / 6)
        c.vgradient((x, top, x + 3, 16), mix(colour, (255, 255, 255), 0.15), mix(colour, th["screen"], 0.35), r=0.7)
        c.rrect((x, top - 2, x + 3, top - 1), 0.5, fill=colour + (255,))  # the peak cap
    if heights is not None:
        c.glow(0.8, 0.5)
    return flatten(c.result(), th["screen"])


def mute_mark(th, muted):
    c = Canvas(7, 7)
    colour = th["warn"] if muted else th["muted"]
    col = colour + (255,)
    c.poly([(0.2, 2.2), (1.8, 2.2), (3.8, 0.3), (3.8, 6.7), (1.8, 4.8), (0.2, 4.8)], col)
    if muted:
        c.line([(4.9, 2.2), (6.8, 4.8)], col, 0.9)
        c.line([(4.9, 4.8), (6.8, 2.2)], col, 0.9)
    else:
        c.d.arc((3.2 * SS, 1.5 * SS, 6.4 * SS, 5.5 * SS), -60, 60, fill=col, width=3)
    return flatten(c.result(), th["body"])


def volume_slider(th):
    c = Canvas(86, 10)
    c.rrect((0, 4, 86, 9), 2.5, fill=mix(th["body"], (0, 0, 0), 0.45) + (255,), outline=th["hairline"] + (255,),
            width=0.75)
    # fine scale marks above the groove
    for i in range(0, 11):
        x = 1 + i * 8.4
        c.line([(x, 0.6), (x, 2.3 if i % 5 else 3.0)], th["edge"] + (255,), 0.5)
    return flatten(c.result(), th["body"])


def thumb(th):
    c = Canvas(13, 10)
    c.rrect((0, 0, 13, 10), 4.5, fill=(0, 0, 0, 0))
    c.vgradient((0, 0, 13, 10), mix(th["ink"], (255, 255, 255), 0.4), mix(th["ink"], th["body"], 0.25), r=4.5)
    c.rrect((5.5, 3, 7.5, 7), 0.8, fill=th["accent"] + (255,))
    return keyed(c.result(), th["body"])


def scroll_thumb(th):
    c = Canvas(9, 16)
    c.vgradient((2, 0, 7, 16), mix(th["muted"], (255, 255, 255), 0.2), th["muted"], r=2.5)
    return keyed(c.result(), th["list_bg"])


def slider_knob(th):
    c = Canvas(11, 11)
    c.ellipse((0, 0, 11, 11), fill=th["key_edge"] + (255,))
    c.ellipse((1, 1, 10, 10), fill=mix(th["ink"], (255, 255, 255), 0.3) + (255,))
    c.ellipse((4, 4, 7, 7), fill=th["accent"] + (255,))
    return flatten(c.result(), (236, 236, 236))


# ---------------------------------------------------------------- keys (buttons)

def key(th, w, h, state, icon=None, label=None, on=False, radius=4, bg=None, icon_colour=None):
    """A rounded key in a state: normal, over or pushed; on marks a two-state
    button that is on."""
    bg = bg or th["body"]
    c = Canvas(w, h)
    if state == "pushed":
        top, bottom = mix(th["key_bottom"], (0, 0, 0), 0.25), th["key_bottom"]
    elif state == "over":
        top, bottom = mix(th["key_top"], (255, 255, 255), 0.10), mix(th["key_bottom"], (255, 255, 255), 0.08)
    else:
        top, bottom = th["key_top"], th["key_bottom"]
    if on:
        top, bottom = mix(top, th["accent"], 0.14), mix(bottom, th["accent"], 0.10)
    edge = mix(th["key_edge"], th["accent"], 0.55) if on else th["key_edge"]
    c.rrect((0, 0, w, h), radius, fill=edge + (255,))
    c.vgradient((1, 1, w - 1, h - 1), top, bottom, r=radius - 1)
    if state != "pushed":
        c.line([(radius, 1.4), (w - radius, 1.4)], mix(top, (255, 255, 255), 0.12) + (255,), 0.6)
    colour = icon_colour or (th["accent"] if (on or state == "pushed") else
                             ((255, 255, 255) if state == "over" else th["ink"]))
    dy = 0.5 if state == "pushed" else 0
    if icon:
        draw_icon(c, icon, (0, dy, w, h + dy), colour)
    if label:
        img = flatten(c.result(), bg)
        tw = pixel_text_width(label)
        pixel_text(img, ((w - tw) // 2, (h - 5) // 2 + (1 if state == "pushed" else 0)), label, colour)
        return img
    return flatten(c.result(), bg)


def flat_key(th, w, h, state, icon, bg, warn=False):
    """A quiet key for the title strip: only the icon until hovered."""
    c = Canvas(w, h)
    if state != "normal":
        fill = (th["warn"] if warn else th["key_top"]) if state == "over" else (
            mix(th["warn"], (0, 0, 0), 0.3) if warn else th["key_bottom"])
        c.rrect((0, 0, w, h), 4, fill=fill + (255,))
    colour = th["muted"] if state == "normal" else (th["screen"] if warn else (255, 255, 255))
    draw_icon(c, icon, (0, 0, w, h), colour)
    return flatten(c.result(), bg)


def arrow_tab(th, opening, over):
    w, h = L.ARROW[2], L.ARROW[3]
    c = Canvas(w, h)
    c.rrect((-6, 0, w, h), 5, fill=(th["key_edge"] if not over else mix(th["key_edge"], th["accent"], 0.4)) + (255,))
    c.vgradient((-5, 1, w - 1, h - 1), th["key_top"] if not over else mix(th["key_top"], (255, 255, 255), 0.08),
                th["key_bottom"], r=4)
    draw_icon(c, "chevron_right" if opening else "chevron_left", (0, 0, w, h),
              th["accent"] if over else th["ink"])
    img = flatten(c.result(), th["body"])
    # the tab's left edge joins the playlist frame
    return img


# ---------------------------------------------------------------- background and banner

def background(th):
    W, H = L.FACE
    c = Canvas(W, H)
    c.vgradient((0, 0, W, H), th["body"], th["body_low"])
    # the display screen across the top
    c.d.rectangle(c.box((0, 0, W, 57)), fill=th["screen"] + (255,))
    c.d.rectangle(c.box((0, 57, W, 58)), fill=th["edge"] + (255,))
    # a thin brand gradient along the very top
    top = Image.new("RGBA", (W * SS, 2 * SS))
    for x in range(W * SS):
        top.paste(mix(th["brand"][0], th["brand"][1], x / (W * SS)) + (255,), (x, 0, x + 1, 2 * SS))
    c.img.paste(top, (0, 0))
    # playlist well
    c.rrect((6, 60, 251, 261), 4, fill=th["edge"] + (255,))
    c.rrect((7, 61, 250, 260), 3, fill=th["list_bg"] + (255,))
    c.rrect((241, 64, 248, 256), 3, fill=mix(th["list_bg"], (0, 0, 0), 0.4) + (255,))
    # seek groove
    x0, y0, x1, y1 = L.SEEK_GROOVE
    c.rrect((x0, y0, x1, y1 + 1), 2.5, fill=mix(th["body"], (0, 0, 0), 0.45) + (255,), outline=th["hairline"] + (255,),
            width=0.75)
    # banner frame
    bx0, by0, bx1, by1 = L.BANNER
    c.rrect((bx0 - 1, by0 - 1, bx1 + 1, by1 + 1), 3, fill=th["edge"] + (255,))
    c.d.rectangle(c.box((bx0, by0, bx1, by1)), fill=th["list_bg"] + (255,))
    # hairlines between the rows of controls
    c.d.rectangle(c.box((8, 290, 253, 291)), fill=mix(th["hairline"], th["body"], 0.3) + (255,))
    img = c.result().convert("RGB")
    # the display's labels
    pixel_text(img, (57, 28), "TRACK", th["muted"])
    pixel_text(img, (94, 28), "TIME", th["muted"])
    pixel_text(img, (198, 37), "kbps", th["muted"])
    pixel_text(img, (238, 37), "kHz", th["muted"])
    d = ImageDraw.Draw(img)
    d.line((52, 30, 52, 49), fill=th["hairline"])
    d.line((170, 25, 170, 49), fill=th["hairline"])
    return img


def banner(th, index):
    W, H = 255, 55
    c = Canvas(W, H)
    a, b = th["brand"]
    c.vgradient((0, 0, W, H), mix(th["list_bg"], a, 0.10), th["list_bg"])
    # soft waves
    import math
    for k, colour in enumerate((a, b)):
        pts = []
        for x in range(0, W + 1):
            y = H - 8 + 4 * math.sin((x / W) * math.pi * (2 + k) + index * 1.3 + k) - k * 3
            pts.append((x, y))
        c.line(pts, mix(colour, th["list_bg"], 0.35) + (255,), 1.2)
    c.glow(2.0, 0.8)
    titles = [("QuoviraPlayer", "light, quick, and good to look at"),
              ("Sound, tuned", "31-band EQ · crossover · compressor · wide · reverb"),
              ("Make it yours", "skins change every picture and colour")]
    title, sub = titles[index]
    c.text((12, 6), title, font("DejaVuSans-Bold.ttf", 16 * SS), th["ink"] + (255,))
    c.text((12, 27), sub, font("DejaVuSansCondensed.ttf", 9 * SS), th["muted"] + (255,))
    c.ellipse((W - 24, 9, W - 10, 23), fill=a + (255,))
    c.ellipse((W - 19, 14, W - 5, 28), fill=b + (230,))
    return c.result().convert("RGB")


# ---------------------------------------------------------------- the program icon

def program_icon(th, size):
    """Icon 54: a rounded key in the face's colours with the brand ring and a
    play mark; drawn for each size so the small ones stay crisp."""
    c = Canvas(size, size)
    r = max(2, size // 5)
    c.rrect((0, 0, size, size), r, fill=th["key_edge"] + (255,))
    c.vgradient((1, 1, size - 1, size - 1), th["key_top"], th["screen"], r=r - 1)
    a, b = th["brand"]
    inset = size * 0.16
    width = max(1.2, size / 11)
    steps = 48
    for i in range(steps):
        start, end = -90 + i * 360 / steps, -90 + (i + 1) * 360 / steps + 1
        colour = mix(a, b, 1 - abs(2 * i / (steps - 1) - 1))  # round the ring and back, no seam
        c.d.arc((inset * SS, inset * SS, (size - inset) * SS, (size - inset) * SS), start, end,
                fill=colour + (255,), width=int(width * SS))
    cx, cy, k = size / 2, size / 2, size / 48
    c.poly([(cx - 5.5 * k, cy - 8.5 * k), (cx + 9.5 * k, cy), (cx - 5.5 * k, cy + 8.5 * k)], th["accent"] + (255,))
    # the ring's tail, as in a Q
    c.line([(size * 0.66, size * 0.66), (size * 0.86, size * 0.86)], b + (255,), width)
    return c.result()


def write_icon(th, path):
    frames = [program_icon(th, s) for s in (48, 32, 16)]
    frames[0].save(path, format="ICO", sizes=[(16, 16), (32, 32), (48, 48)], append_images=frames[1:],
                   bitmap_format="bmp")
    return frames


# ---------------------------------------------------------------- the picture table

def builtin_pictures(th):
    """resource id -> (picture, key, cell size, role)."""
    p = {}

    def add(rid, img, key_name, cell, role):
        p[rid] = (img, key_name, cell, role)

    add(158, background(th), "Background", (261, 383), "window background")
    add(50036, word_mark(th, "STEREO", True), "Stereo", (31, 5), "stereo")
    add(50035, word_mark(th, "MONO", True), "Mono", (31, 5), "mono")
    add(50049, shuffle_strip(th), "PlayOptionShuffle", (16, 10), "shuffle on, off")
    add(134, digits_strip(th), "Number", (9, 8), "digits and separator")
    add(135, status_strip(th), "Status", (9, 9), "status (kept)")
    add(137, repeat_strip(th), "PlayOption", (16, 8), "repeat none, all, one")
    add(136, key(th, 16, 16, "normal", icon="play", radius=3), "Button", (16, 16), "old button (kept)")
    add(145, key(th, 32, 31, "normal", icon="play", radius=6), "ButtonNormal", (32, 31), "button (kept)")
    add(142, key(th, 32, 31, "pushed", icon="play", radius=6), "ButtonPush", (32, 31), "button pushed (kept)")
    add(159, key(th, 32, 31, "over", icon="play", radius=6), "ButtonOver", (32, 31), "button over (kept)")
    add(121, volume_slider(th), "VolumeSlider", (86, 10), "volume track")
    add(122, thumb(th), "VolumeTrack", (13, 10), "volume and seek thumb")
    for rid, state, on, k in ((161, "normal", False, "AuxButton"), (162, "over", False, "AuxButtonOver"),
                              (163, "pushed", True, "AuxButtonPush"), (160, "over", True, "AuxButtonPushOver")):
        add(rid, key(th, 25, 21, state, label="EQ", on=on), k, (25, 21), "aux (kept)")
    for rid, state, on, k in ((165, "normal", False, "CoButton"), (166, "over", False, "CoButtonOver"),
                              (167, "pushed", True, "CoButtonPush"), (168, "over", True, "CoButtonPushOver")):
        add(rid, key(th, 25, 21, state, label="XO", on=on), k, (25, 21), "crossover (kept)")
    for rid, state, on, k in ((169, "normal", False, "QvButton"), (170, "over", False, "QvButtonOver"),
                              (171, "pushed", True, "QvButtonPush"), (164, "over", True, "QvButtonPushOver")):
        add(rid, key(th, 25, 21, state, label="QV", on=on), k, (25, 21), "QV (kept)")
    for rid, state in ((172, "normal"), (173, "over"), (174, "pushed")):
        add(rid, key(th, 32, 31, state, icon="pause", radius=6), "PauseButton", (32, 31), "pause (kept)")
    add(300, arrow_tab(th, True, False), "ArrowOpen", (11, 75), "panel arrow")
    add(301, arrow_tab(th, True, True), "ArrowOpenOver", (11, 75), "panel arrow")
    add(302, arrow_tab(th, False, False), "ArrowClose", (11, 75), "panel arrow")
    add(303, arrow_tab(th, False, True), "ArrowCloseOver", (11, 75), "panel arrow")
    for base, icon, names, warn in ((187, "menu", ("MenuNormal", "MenuOver", "MenuPush"), False),
                                    (190, "minimize", ("MinimizeNormal", "MinimizeOver", "MinimizePush"), False),
                                    (184, "close", ("CloseNormal", "CloseOver", "ClosePush"), True)):
        for i, state in enumerate(("normal", "over", "pushed")):
            add(base + i, flat_key(th, 26, 25, state, icon, th["screen"], warn), names[i], (26, 25), "title (kept)")
    add(198, mute_mark(th, True), "MuteOn", (7, 7), "muted")
    add(50000, mute_mark(th, False), "MuteOff", (7, 7), "sound on")
    frames = [50038, 50039, 50040, 50041, 50042, 50037]
    for i, rid in enumerate(frames):
        add(rid, animation_frame(th, BAR_FRAMES[i]), "Animation%d" % (i + 1), (35, 17), "animation")
    add(50048, animation_frame(th, None), "Animation7", (35, 17), "stopped")
    for rid, state, on, k in ((310, "normal", False, "WEButton"), (311, "over", False, "WEButtonOver"),
                              (312, "pushed", True, "WEButtonPush"), (313, "over", True, "WEButtonPushOver")):
        add(rid, key(th, 25, 21, state, label="WE", on=on), k, (25, 21), "WE (kept)")
    add(50047, small_digits(th), "SNumber", (5, 5), "small digits")
    add(195, scroll_thumb(th), "", (9, 16), "playlist scroll thumb")
    add(133, slider_knob(th), "", (11, 11), "effect slider thumb")
    for i, rid in enumerate((50001, 50002, 50004)):
        add(rid, banner(th, i), "", (255, 55), "banner %d" % (i + 1))
    return p


# ---------------------------------------------------------------- controls of skin.ini

def crop_bg(bg, x, y, w, h):
    return bg.crop((x, y, x + w, y + h))


def over_background(bg, pic, x, y):
    """The picture as it shows at (x, y): magenta lets the background through."""
    out = crop_bg(bg, x, y, pic.size[0], pic.size[1]).copy()
    mask = Image.eval(pic.convert("RGB"), lambda v: v).convert("RGB")
    px, po = mask.load(), out.load()
    for yy in range(pic.size[1]):
        for xx in range(pic.size[0]):
            if px[xx, yy] != MAGENTA:
                po[xx, yy] = px[xx, yy]
    return out


def control_pictures(th, bg):
    """file name -> picture, and the skin.ini text."""
    files = {}
    buttons, radios = [], []

    def keyed_on(img, x, y):
        return over_background(bg, img, x, y)

    for name, x, y, w, h, icon in L.TITLE_BUTTONS:
        stem = name.lower().replace("button", "")
        for state, suffix in (("normal", ""), ("over", "_over"), ("pushed", "_down")):
            files["%s%s.bmp" % (stem, suffix)] = flat_key(th, w, h, state, icon, th["screen"], name == "CLOSEBUTTON")
        buttons.append((name, x, y, stem))
    for name, x, w, icon in L.TRANSPORT:
        stem = name.lower().replace("button", "")
        y, h = L.TRANSPORT_Y, L.TRANSPORT_H
        for state, suffix in (("normal", ""), ("over", "_over"), ("pushed", "_down")):
            colour = th["accent"] if name == "PLAYBUTTON" and state != "over" else None
            files["%s%s.bmp" % (stem, suffix)] = key(th, w, h, state, icon=icon, radius=5, icon_colour=colour)
        buttons.append((name, x, y, stem))
    name, x, y, w, h, _ = L.WE_BUTTON
    for state, suffix in (("normal", ""), ("over", "_over"), ("pushed", "_down")):
        files["we%s.bmp" % suffix] = key(th, w, h, state, label="WE", radius=4)
    buttons.append((name, x, y, "we"))

    for name, x, y, w, h, kind in L.RADIOS:
        stem = name.lower().replace("button", "")
        for on in (False, True):
            for state, suffix in (("normal", ""), ("over", "_over"), ("pushed", "_down")):
                fname = "%s_%s%s.bmp" % (stem, "on" if on else "off", suffix)
                if kind == "label":
                    img = key(th, w, h, state, label=L.MODE_LABELS[name], on=on, radius=4)
                elif kind == "arrow":
                    img = arrow_tab(th, not on, state != "normal")
                else:
                    img = key(th, w, h, state, icon=kind, on=on, radius=5)
                files[fname] = img
        radios.append((name, x, y, stem))

    lines = ["; QuoviraPlayer controls: name, x, y and pictures beside this file.",
             "; Push buttons: normal, over, pushed.", "[MAINBUTTONINFO]"]
    for n, (name, x, y, stem) in enumerate(buttons, 1):
        lines.append("%d=%s,%d,%d,%s.bmp,%s_over.bmp,%s_down.bmp" % (n, name, x, y, stem, stem, stem))
    lines += ["", "; Two-state buttons: off, off over, off pushed, on, on over, on pushed.",
              "; Entries 9 and 10 are the speaker and earphone selectors.", "[MAINRADIOINFO]"]
    for n, (name, x, y, stem) in enumerate(radios, 1):
        pics = ",".join("%s_%s%s.bmp" % (stem, s, suf) for s in ("off", "on") for suf in ("", "_over", "_down"))
        lines.append("%d=%s,%d,%d,%s" % (n, name, x, y, pics))
    return files, "\r\n".join(lines) + "\r\n", buttons, radios


# ---------------------------------------------------------------- the face as the player shows it

def compose_face(th, pics, files, buttons, radios):
    face = pics[158][0].copy()

    def put(rid, cell, x, y):
        img, _, (cw, ch), _ = pics[rid]
        tile = img.crop((cell * cw, 0, cell * cw + cw, ch))
        face.paste(over_background(face, tile, x, y), (x, y))

    for i, x in enumerate(L.TRACK_DIGITS_X):
        put(134, (0, 0, 7)[i], x, L.DIGITS_Y)
    for x, cell in zip(L.TIME_DIGITS_X, (0, 3, 10, 2, 7)):
        put(134, cell, x, L.DIGITS_Y)
    for x, cell in zip(L.BITRATE_X[1:], (3, 2, 0)):
        put(50047, cell, x, L.DIGITS_Y)
    for x, cell in zip(L.RATE_X[1:], (4, 4)):
        put(50047, cell, x, L.DIGITS_Y)
    put(50036, 0, *L.STEREO_AT)
    put(50049, 0, *L.SHUFFLE_AT)
    put(137, 1, *L.REPEAT_AT)
    put(50039, 0, *L.ANIMATION_AT)
    put(121, 0, *L.VOLUME_AT)
    d = ImageDraw.Draw(face)
    level = int((86 - 13) / 256 * 200)
    d.rectangle((163, 296, 163 + level - 1, 297), fill=(197, 255, 155) if th is THEMES["builtin"] else th["accent"])
    put(122, 0, 163 + level, 293)
    seek = 52
    d.rectangle((11, 295, 11 + seek - 1, 296), fill=(197, 255, 155) if th is THEMES["builtin"] else th["accent"])
    put(122, 0, seek + 9, 292)
    put(50000, 0, *L.MUTE_AT)
    face.paste(pics[50001][0], (3, 324))
    # a few playlist rows, as the list view draws them
    title_font = font("DejaVuSans.ttf", 11)
    rows = [("1", "Morning Light", "3:42"), ("2", "Glass Harbour", "4:05"), ("3", "Northern Lines", "5:18"),
            ("4", "Quiet Engine", "3:57"), ("5", "Slow Orbit", "6:02")]
    for i, (n, t, dur) in enumerate(rows):
        y = 63 + i * 19
        colour = (197, 255, 155) if i == 1 else (171, 171, 171)
        if i == 3:
            d.rectangle((9, y + 4, 9 + 231, y + 4 + 17), fill=(91, 91, 91))
            colour = (200, 200, 200)
        d.text((14, y + 5), n + ".", font=title_font, fill=colour)
        d.text((32, y + 5), t, font=title_font, fill=colour)
        d.text((234, y + 5), dur, font=title_font, fill=colour, anchor="ra")
    put(195, 0, 240, 63)
    d.text((35, 6), "Glass Harbour", font=title_font, fill=(253, 254, 254))
    # the skinned controls
    hidden = {"PAUSEBUTTON"}
    for name, x, y, stem in buttons:
        if name in hidden:
            continue
        pic = files["%s.bmp" % stem]
        face.paste(pic, (x, y))
    on = {"EQBUTTON", "EFBUTTON", "SPKBUTTON"}
    for name, x, y, stem in radios:
        pic = files["%s_%s.bmp" % (stem, "on" if name in on else "off")]
        face.paste(pic, (x, y))
    return face


def contact_sheet(face, pics, out_path, title):
    pad, scale = 16, 2
    sheet_w = 1400
    label_font = font("DejaVuSans.ttf", 11)
    small_font = font("DejaVuSansCondensed.ttf", 10)
    head_font = font("DejaVuSans-Bold.ttf", 16)
    order = sorted(pics.items(), key=lambda kv: (kv[0] not in (158,), kv[1][0].size[1] > 40, kv[0]))
    x0 = pad * 2 + face.size[0] * scale
    # lay the pictures out in rows
    placements, x, y, row_h = [], x0, pad + 30, 0
    for rid, (img, key_name, cell, role) in order:
        if rid == 158:
            continue
        s = scale if img.size[0] * scale <= 520 else 1
        w, h = img.size[0] * s, img.size[1] * s + 30
        w = max(w, 132)
        if x + w > sheet_w - pad:
            x, y, row_h = x0, y + row_h + 12, 0
        placements.append((rid, img, key_name, cell, role, x, y, s))
        x += w + 14
        row_h = max(row_h, h)
    height = max(y + row_h + pad, face.size[1] * scale + 2 * pad + 30)
    sheet = Image.new("RGB", (sheet_w, height), (32, 34, 38))
    d = ImageDraw.Draw(sheet)
    d.text((pad, pad), title, font=head_font, fill=(230, 232, 236))
    big = face.resize((face.size[0] * scale, face.size[1] * scale), Image.NEAREST)
    sheet.paste(big, (pad, pad + 30))
    d.text((pad, pad + 34 + big.size[1]), "composed face (2x) with resource 158 behind", font=small_font,
           fill=(150, 154, 162))
    checker = Image.new("RGB", (8, 8), (60, 62, 68))
    for rid, img, key_name, cell, role, x, y, s in placements:
        shown = img.resize((img.size[0] * s, img.size[1] * s), Image.NEAREST)
        # magenta shows as a checkerboard, as the painter leaves it out
        px = shown.load()
        for yy in range(shown.size[1]):
            for xx in range(shown.size[0]):
                if px[xx, yy] == MAGENTA:
                    px[xx, yy] = (70, 72, 78) if ((xx // 4 + yy // 4) % 2) else (54, 56, 62)
        sheet.paste(shown, (x, y))
        # cell boundaries of strips
        cw, ch = cell
        if cw < img.size[0]:
            for k in range(1, img.size[0] // cw):
                d.line((x + k * cw * s, y - 3, x + k * cw * s, y - 1), fill=(120, 124, 132))
        d.text((x, y + shown.size[1] + 3), "%d %s" % (rid, key_name), font=label_font, fill=(220, 222, 226))
        d.text((x, y + shown.size[1] + 16), "%dx%d %s" % (cw, ch, role), font=small_font, fill=(140, 144, 152))
    sheet.save(out_path)


def write_bmp(img, path):
    img.convert("RGB").save(path, format="BMP")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", required=True)
    args = ap.parse_args()
    out = args.out
    builtin_dir = os.path.join(out, "builtin")
    install_dir = os.path.join(out, "install")
    os.makedirs(builtin_dir, exist_ok=True)
    os.makedirs(install_dir, exist_ok=True)

    th = THEMES["builtin"]
    pics = builtin_pictures(th)
    rc = ["// Generated by resources/art/generate.py: the built-in pictures."]
    for rid in sorted(pics):
        path = os.path.join(builtin_dir, "%d.bmp" % rid)
        write_bmp(pics[rid][0], path)
        rc.append('%d BITMAP "%s"' % (rid, path.replace("\\", "/")))
    icon_path = os.path.join(builtin_dir, "54.ico")
    write_icon(th, icon_path)
    rc.append('54 ICON "%s"' % icon_path.replace("\\", "/"))
    files, ini, buttons, radios = control_pictures(th, pics[158][0])
    for name, img in files.items():
        write_bmp(img, os.path.join(install_dir, name))
    with open(os.path.join(install_dir, "skin.ini"), "w", newline="") as f:
        f.write(ini)
    face = compose_face(th, pics, files, buttons, radios)
    face.save(os.path.join(out, "face.png"))
    contact_sheet(face, pics, os.path.join(out, "contact_sheet.png"), "QuoviraPlayer built-in pictures")

    # the example skin: every key of the picture table names a file of its own
    mid = THEMES["Midnight"]
    skin_dir = os.path.join(out, "skins", "Midnight")
    os.makedirs(skin_dir, exist_ok=True)
    mpics = builtin_pictures(mid)
    lines = ["; Midnight: an example skin for QuoviraPlayer.", "[Quovira Skin]", "Version=3",
             "Background=background.bmp", "Disp=1"]
    lines += ["%s=%s" % kv for kv in MIDNIGHT_COLOURS.items()]
    written = set()
    pause_done = False
    for rid in sorted(mpics):
        img, key_name, _, _ = mpics[rid]
        if not key_name or rid == 158:
            continue
        if key_name == "PauseButton":
            if pause_done:
                continue
            pause_done = True
        fname = key_name.lower() + ".bmp"
        write_bmp(img, os.path.join(skin_dir, fname))
        if key_name not in written:
            lines.append("%s=%s" % (key_name, fname))
            written.add(key_name)
    write_bmp(mpics[158][0], os.path.join(skin_dir, "background.bmp"))
    with open(os.path.join(skin_dir, "Midnight.qvs"), "w", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")
    # The buttons come from the installation's "skin.ini", whatever the skin.
    compose_face(mid, mpics, files, buttons, radios).save(os.path.join(out, "face_midnight.png"))

    with open(os.path.join(out, "builtin.rc"), "w") as f:
        f.write("\n".join(rc) + "\n")


if __name__ == "__main__":
    main()
