"""Transport and tool icons, drawn into a box of a Canvas."""


def draw_icon(c, name, box, colour):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    col = tuple(colour) + (255,)
    if name == "play":
        c.poly([(cx - 3.2, cy - 4.5), (cx + 4.8, cy), (cx - 3.2, cy + 4.5)], col)
    elif name == "pause":
        c.rrect((int(cx - 4), int(cy - 4.5), int(cx - 1), int(cy + 4.5 + 0.5)), 0.8, fill=col)
        c.rrect((int(cx + 1), int(cy - 4.5), int(cx + 4), int(cy + 4.5 + 0.5)), 0.8, fill=col)
    elif name == "stop":
        c.d.rounded_rectangle(((cx - 3.6) * 4, (cy - 3.6) * 4, (cx + 3.6) * 4, (cy + 3.6) * 4), radius=4, fill=col)
    elif name in ("prev", "next"):
        s = 1 if name == "next" else -1
        c.poly([(cx - s * 3.5, cy - 4), (cx + s * 2.5, cy), (cx - s * 3.5, cy + 4)], col)
        bx = cx + s * 2.6
        c.d.rectangle(((min(bx, bx + s * 1.6)) * 4, (cy - 4) * 4, (max(bx, bx + s * 1.6)) * 4, (cy + 4) * 4), fill=col)
    elif name in ("rew", "ff"):
        s = 1 if name == "ff" else -1
        for off in (-3.2, 1.0):
            a = cx + s * off
            c.poly([(a - s * 1.4, cy - 3.6), (a + s * 3.0, cy), (a - s * 1.4, cy + 3.6)], col)
    elif name == "eject":
        c.poly([(cx - 4.5, cy + 0.6), (cx, cy - 4.4), (cx + 4.5, cy + 0.6)], col)
        c.d.rounded_rectangle(((cx - 4.5) * 4, (cy + 2.2) * 4, (cx + 4.5) * 4, (cy + 4.0) * 4), radius=2, fill=col)
    elif name == "menu":
        for dy in (-3, 0, 3):
            c.line([(cx - 4.5, cy + dy), (cx + 4.5, cy + dy)], col, 1.3)
    elif name == "minimize":
        c.line([(cx - 4, cy + 3), (cx + 4, cy + 3)], col, 1.4)
    elif name == "close":
        c.line([(cx - 3.5, cy - 3.5), (cx + 3.5, cy + 3.5)], col, 1.4)
        c.line([(cx - 3.5, cy + 3.5), (cx + 3.5, cy - 3.5)], col, 1.4)
    elif name == "speaker":
        c.poly([(cx - 5.5, cy - 2), (cx - 3, cy - 2), (cx + 0.5, cy - 5), (cx + 0.5, cy + 5), (cx - 3, cy + 2),
                (cx - 5.5, cy + 2)], col)
        c.d.arc(((cx - 1.5) * 4, (cy - 3) * 4, (cx + 3.5) * 4, (cy + 3) * 4), -55, 55, fill=col, width=5)
        c.d.arc(((cx - 2) * 4, (cy - 5.5) * 4, (cx + 6) * 4, (cy + 5.5) * 4), -55, 55, fill=col, width=5)
    elif name == "headphones":
        c.d.arc(((cx - 5.5) * 4, (cy - 5.5) * 4, (cx + 5.5) * 4, (cy + 6) * 4), 180, 360, fill=col, width=6)
        c.rrect((int(cx - 6), int(cy), int(cx - 2), int(cy + 6)), 1.2, fill=col)
        c.rrect((int(cx + 2 + 0.5), int(cy), int(cx + 6 + 0.5), int(cy + 6)), 1.2, fill=col)
    elif name in ("chevron_right", "chevron_left"):
        s = 1 if name == "chevron_right" else -1
        c.line([(cx - s * 1.6, cy - 4), (cx + s * 1.8, cy), (cx - s * 1.6, cy + 4)], col, 1.5)
    elif name == "shuffle":
        c.line([(x0 + 1, y1 - 2.5), (cx - 1.5, y1 - 2.5), (cx + 1.5, y0 + 2.5), (x1 - 3, y0 + 2.5)], col, 1.1)
        c.line([(x0 + 1, y0 + 2.5), (cx - 1.5, y0 + 2.5), (cx + 1.5, y1 - 2.5), (x1 - 3, y1 - 2.5)], col, 1.1)
        for yy in (y0 + 2.5, y1 - 2.5):
            c.poly([(x1 - 3.5, yy - 2), (x1 - 0.5, yy), (x1 - 3.5, yy + 2)], col)
    elif name == "repeat":
        c.d.rounded_rectangle(((x0 + 1.5) * 4, (y0 + 1.5) * 4, (x1 - 3.5) * 4, (y1 - 1.5) * 4), radius=8,
                              outline=col, width=4)
        c.poly([(x1 - 5.5, y0 - 0.2), (x1 - 2.5, y0 + 1.6), (x1 - 5.5, y0 + 3.4)], col)
    else:
        raise KeyError(name)
