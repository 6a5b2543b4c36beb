"""Where things sit on the 261 x 383 player face (client pixels).

The painter's positions (digits, marks, seek bar, volume, playlist, banner)
are fixed by the player; the skinned controls' positions are ours and go
into the generated "skin.ini".
"""

FACE = (261, 383)

TITLE_BAR = (0, 0, 261, 22)
TITLE_TEXT = (35, 6, 195, 21)
PANEL = (5, 22, 256, 55)
PLAYLIST_FRAME = (6, 59, 251, 261)
PLAYLIST = (9, 63, 249, 257)
SCROLL_TRACK = (240, 63, 249, 257)
ARROW = (250, 120, 11, 75)
SEEK_GROOVE = (11, 294, 145, 298)
BANNER = (3, 324, 258, 379)

# Painter positions of the display pictures.
ANIMATION_AT = (11, 32)
TRACK_DIGITS_X = (57, 66, 75)
TIME_DIGITS_X = (94, 103, 115, 124, 133)
DIGITS_Y = 37
BITRATE_X = (176, 181, 186, 191)
RATE_X = (221, 226, 231)
STEREO_AT = (183, 25)
SHUFFLE_AT = (218, 23)
REPEAT_AT = (236, 25)
VOLUME_AT = (163, 291)
MUTE_AT = (154, 293)

# Push buttons of "skin.ini": name, x, y, width, height, icon.
TITLE_BUTTONS = [
    ("MENUBUTTON", 6, 3, 22, 17, "menu"),
    ("MINIBUTTON", 210, 3, 22, 17, "minimize"),
    ("CLOSEBUTTON", 234, 3, 22, 17, "close"),
]
TRANSPORT_Y = 264
TRANSPORT_H = 24
TRANSPORT = [
    ("OPENBUTTON", 8, 24, "eject"),
    ("PREVTRACK", 40, 24, "prev"),
    ("PREVSEEK", 66, 24, "rew"),
    ("PLAYBUTTON", 92, 32, "play"),
    ("PAUSEBUTTON", 92, 32, "pause"),
    ("STOPBUTTON", 126, 24, "stop"),
    ("NEXTSEEK", 152, 24, "ff"),
    ("NEXTTRACK", 178, 24, "next"),
]

# Two-state buttons in entry order: entries 9 and 10 must be the speaker and
# earphone selectors. name, x, y, width, height, label or icon.
MODE_Y = 305
MODE_H = 16
MODE_W = 25
MODE_GAP = 2
MODE_X0 = 10
_modes = ["EQBUTTON", "COBUTTON", "QVBUTTON", "WEBUTTON", "EFBUTTON", "EFBUTTON2", "CPBUTTON", "EPBUTTON",
          "DRCBUTTON"]
MODE_LABELS = {"EQBUTTON": "EQ", "COBUTTON": "XO", "QVBUTTON": "QV", "WEBUTTON": "WE", "EFBUTTON": "WIDE",
               "EFBUTTON2": "REV", "CPBUTTON": "CMP", "EPBUTTON": "EXP", "DRCBUTTON": "DRC"}
MODE_X = {name: MODE_X0 + i * (MODE_W + MODE_GAP) for i, name in enumerate(_modes)}

RADIOS = [
    ("EQBUTTON", MODE_X["EQBUTTON"], MODE_Y, MODE_W, MODE_H, "label"),
    ("COBUTTON", MODE_X["COBUTTON"], MODE_Y, MODE_W, MODE_H, "label"),
    ("QVBUTTON", MODE_X["QVBUTTON"], MODE_Y, MODE_W, MODE_H, "label"),
    ("EFBUTTON", MODE_X["EFBUTTON"], MODE_Y, MODE_W, MODE_H, "label"),
    ("EFBUTTON2", MODE_X["EFBUTTON2"], MODE_Y, MODE_W, MODE_H, "label"),
    ("CPBUTTON", MODE_X["CPBUTTON"], MODE_Y, MODE_W, MODE_H, "label"),
    ("EPBUTTON", MODE_X["EPBUTTON"], MODE_Y, MODE_W, MODE_H, "label"),
    ("DRCBUTTON", MODE_X["DRCBUTTON"], MODE_Y, MODE_W, MODE_H, "label"),
    ("SPKBUTTON", 208, 266, 21, 20, "speaker"),
    ("EARBUTTON", 231, 266, 21, 20, "headphones"),
    ("ARROWBUTTON", ARROW[0], ARROW[1], ARROW[2], ARROW[3], "arrow"),
]
# The WE mode is a push button in the mode row.
WE_BUTTON = ("WEBUTTON", MODE_X["WEBUTTON"], MODE_Y, MODE_W, MODE_H, "label")
