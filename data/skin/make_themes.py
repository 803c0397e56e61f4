#!/usr/bin/python3
"""Writes the theme files 1.skn .. 48.skn (Qt style sheets) beside this script.

Theme 1 is the plain default look. Every other theme comes from one row of PALETTES:
a window background, a text colour, an accent and a shape. All other colours are
derived from these three, and every text colour is nudged towards black or white
until it reads well (contrast 4.5:1, disabled controls 3:1) on the background it is
drawn on. The script checks the finished sheets the same way the tests do, so a
palette that cannot be made readable stops the run instead of shipping.

Fonts are never named here: the program chooses its Persian face itself.

Run:  /usr/bin/python3 data/skin/make_themes.py
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
THEME_COUNT = 48

# name, window background, text, accent, shape
PALETTES = [
    # light
    ("sky", "#eef4fb", "#1b2a3a", "#2f6fb0", "soft"),
    ("sand", "#f7f1e3", "#3b2f1e", "#b5651d", "soft"),
    ("mint", "#eef8f3", "#1d3b2f", "#2e8b57", "pill"),
    ("rose", "#fbf0f2", "#3d1f27", "#b03a5b", "soft"),
    ("lavender", "#f3f0fa", "#2b2340", "#6a4fb3", "pill"),
    ("slate", "#eceff3", "#1f2933", "#48607a", "square"),
    ("peach", "#fff3ea", "#40271a", "#d2691e", "soft"),
    ("olive", "#f4f4e6", "#2f3019", "#6b7a2a", "square"),
    ("teal", "#eaf6f6", "#163536", "#1f7a7a", "outline"),
    ("lemon", "#fffbe6", "#3a3410", "#a68a00", "pill"),
    ("stone", "#f2efeb", "#2e2a26", "#7a6a58", "square"),
    ("coral", "#fff1ee", "#3f1f18", "#d9553b", "outline"),
    ("ice", "#f4f9fd", "#12263a", "#0e7490", "soft"),
    ("lilac", "#f8f1fb", "#35203f", "#8e44ad", "outline"),
    ("paper", "#ffffff", "#000000", "#0000a0", "contrast"),
    ("burgundy", "#fbf7ef", "#2a1a14", "#7b1e2b", "square"),
    ("pistachio", "#f1f7e8", "#24311a", "#5b8c2a", "pill"),
    ("steel", "#e9edf1", "#1a1f24", "#35516b", "outline"),
    ("saffron", "#fff7e0", "#3b2a06", "#c77700", "soft"),
    ("turquoise", "#e8f7f8", "#0f3033", "#1794a3", "pill"),
    ("clay", "#f5ebe4", "#3a251b", "#9c4f2f", "square"),
    ("mauve", "#f3eff0", "#2d2628", "#8a5a6a", "outline"),
    ("fern", "#edf3ec", "#1b2b1a", "#2f5d32", "soft"),
    ("indigo", "#eef0fb", "#1b1d3b", "#3f48a8", "square"),
    ("sepia", "#efe3cf", "#2d2113", "#8a5a2b", "outline"),
    # dark
    ("night", "#1e2430", "#e6e9ef", "#5a8fd6", "soft"),
    ("charcoal", "#232323", "#ececec", "#e0a030", "square"),
    ("deep sea", "#0f2533", "#dcecf5", "#2aa1c9", "pill"),
    ("plum", "#2a1d2e", "#f1e6f3", "#b07cc6", "soft"),
    ("forest", "#17241b", "#e2efe4", "#5fb376", "outline"),
    ("espresso", "#2b211c", "#f2e8df", "#c98a4b", "square"),
    ("graphite", "#2d3136", "#e9ecef", "#8aa4bf", "outline"),
    ("midnight", "#161a33", "#e3e6fb", "#7a86e8", "pill"),
    ("wine", "#2e1519", "#f6e6e8", "#d0607a", "soft"),
    ("lagoon", "#102a2b", "#dff3f2", "#3fb8b0", "square"),
    ("moss", "#262717", "#eeeedc", "#b8b44a", "outline"),
    ("harbour", "#1f2933", "#e4e7eb", "#52a8d6", "soft"),
    ("rust", "#2a1a12", "#f5e9e0", "#e07a3f", "pill"),
    ("dusk", "#2b2540", "#eee9f7", "#e39b5c", "square"),
    ("violet night", "#1a2238", "#e8ecf7", "#9da9ff", "outline"),
    ("cocoa", "#3a2a24", "#f4ebe6", "#e2a06f", "soft"),
    ("cobalt", "#22313f", "#e8eef3", "#4fa3e0", "pill"),
    ("ruby", "#1f1416", "#f5e8ea", "#e0455f", "square"),
    # high contrast
    ("contrast yellow", "#000000", "#ffffff", "#ffd400", "contrast"),
    ("contrast cyan", "#000000", "#ffff00", "#00e5ff", "contrast"),
    ("contrast navy", "#00205b", "#ffffff", "#ffcc00", "contrast"),
    ("contrast ink", "#fffff0", "#000000", "#8b0000", "contrast"),
]

# radius of buttons and fields, menu button style, border width of panels
SHAPES = {
    "soft": dict(radius=6, menu="filled", panel_border=1, menu_radius=8),
    "pill": dict(radius=12, menu="filled", panel_border=1, menu_radius=14),
    "square": dict(radius=3, menu="filled", panel_border=1, menu_radius=3),
    "outline": dict(radius=6, menu="outline", panel_border=1, menu_radius=6),
    "contrast": dict(radius=4, menu="outline", panel_border=2, menu_radius=4),
}

TEXT_RATIO = 4.5
DISABLED_RATIO = 3.0


# ---- colour arithmetic -------------------------------------------------------------

def rgb(hex_colour):
    h = hex_colour.lstrip("#")
    if len(h) == 3:
        h = "".join(c * 2 for c in h)
    return tuple(int(h[i:i + 2], 16) for i in (0, 2, 4))


def to_hex(c):
    return "#%02x%02x%02x" % tuple(max(0, min(255, round(v))) for v in c)


def mix(a, b, t):
    """a moved the fraction t towards b."""
    ca, cb = rgb(a), rgb(b)
    return to_hex(tuple(x + (y - x) * t for x, y in zip(ca, cb)))


def luminance(c):
    def channel(v):
        v /= 255.0
        return v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(v) for v in rgb(c))
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    hi, lo = max(la, lb), min(la, lb)
    return (hi + 0.05) / (lo + 0.05)


def is_dark(c):
    return luminance(c) < 0.2


def readable(fg, bg, ratio=TEXT_RATIO):
    """fg, moved towards black or white (whichever the background allows) until it reads on bg."""
    if contrast(fg, bg) >= ratio:
        return fg
    target = "#000000" if contrast("#000000", bg) >= contrast("#ffffff", bg) else "#ffffff"
    for step in range(1, 21):
        c = mix(fg, target, step / 20)
        if contrast(c, bg) >= ratio:
            return c
    return target


def readable_on_all(fg, bgs, ratio=TEXT_RATIO):
    for _ in range(4):
        for bg in bgs:
            fg = readable(fg, bg, ratio)
    return fg


def carrier(bg, fg, ratio=TEXT_RATIO):
    """bg, moved away from fg until fg reads on it (for filled buttons)."""
    if contrast(fg, bg) >= ratio:
        return bg
    target = "#000000" if luminance(fg) > 0.5 else "#ffffff"
    for step in range(1, 21):
        c = mix(bg, target, step / 20)
        if contrast(fg, c) >= ratio:
            return c
    return target


def on_colour(bg):
    return "#ffffff" if contrast("#ffffff", bg) >= contrast("#111111", bg) else "#111111"


# ---- one theme -----------------------------------------------------------------------

def derive(name, bg, text, accent, shape_name):
    s = dict(SHAPES[shape_name])
    dark = is_dark(bg)
    contrast_theme = shape_name == "contrast"
    white, black = "#ffffff", "#000000"
    lift = white if dark else black  # the direction of "more emphasis" on this background

    p = dict(name=name, bg=bg, accent=accent, **s)
    if contrast_theme:
        p["surface"] = bg
        p["field"] = bg
    else:
        p["surface"] = mix(bg, white, 0.07) if dark else mix(bg, white, 0.6)
        p["field"] = mix(bg, black, 0.28) if dark else mix(bg, white, 0.85)
    p["text"] = readable_on_all(text, [bg, p["surface"], p["field"]])
    p["border"] = text if contrast_theme else mix(bg, text, 0.3)
    p["field_border"] = text if contrast_theme else mix(p["field"], accent, 0.55)

    # filled accent: the selection, pressed buttons, filled menu buttons
    p["on_accent"] = on_colour(accent)
    p["accent_fill"] = carrier(accent, p["on_accent"])
    p["accent_hover"] = carrier(mix(p["accent_fill"], white if not dark else black, 0.15), p["on_accent"])
    p["accent_pressed"] = carrier(mix(p["accent_fill"], lift if dark else black, 0.22), p["on_accent"])
    # the accent used as a text colour
    p["accent_text"] = readable_on_all(accent, [bg, p["surface"]])

    # ordinary buttons: tinted with the accent
    if contrast_theme:
        p["button"] = bg
        p["button_hover"] = mix(bg, accent, 0.25)
    else:
        p["button"] = mix(p["surface"], accent, 0.14)
        p["button_hover"] = mix(p["surface"], accent, 0.26)
    p["button_text"] = readable_on_all(p["text"], [p["button"], p["button_hover"]])
    p["button_border"] = accent if contrast_theme else mix(p["button"], accent, 0.45)
    p["disabled"] = mix(p["surface"], text, 0.06)
    p["disabled_text"] = readable(mix(text, p["disabled"], 0.5), p["disabled"], DISABLED_RATIO)

    # the main menu column
    p["menu_top"] = mix(bg, accent, 0.10)
    p["menu_bottom"] = mix(bg, accent, 0.22)
    if contrast_theme:
        p["menu_top"] = p["menu_bottom"] = bg
    if s["menu"] == "filled":
        p["menu"] = p["accent_fill"]
        p["menu_text"] = p["on_accent"]
        p["menu_hover"] = p["accent_hover"]
        p["menu_hover_text"] = p["on_accent"]
        p["menu_border"] = p["accent_pressed"]
    else:
        p["menu"] = p["surface"]
        p["menu_text"] = p["accent_text"] if not contrast_theme else p["text"]
        p["menu_text"] = readable(p["menu_text"], p["menu"])
        p["menu_hover"] = p["accent_fill"]
        p["menu_hover_text"] = p["on_accent"]
        p["menu_border"] = accent
    p["menu_pressed"] = p["accent_pressed"]
    p["menu_panel_text"] = readable_on_all(p["text"], [p["menu_top"], p["menu_bottom"]])

    # labels
    p["title"] = p["accent_text"]
    p["clinic"] = readable_on_all(mix(p["text"], accent, 0.35), [bg, p["surface"]])
    p["hint_bg"] = bg if contrast_theme else mix(bg, accent, 0.13)
    p["hint_text"] = readable(p["text"], p["hint_bg"])
    p["hint_border"] = accent
    p["notice"] = readable_on_all(mix(p["text"], bg, 0.3), [bg, p["surface"]])
    p["link"] = p["accent_text"]
    p["link_hover"] = readable_on_all(mix(p["accent_text"], p["text"], 0.5), [bg, p["surface"]])

    # grids and pop-ups
    p["read_only"] = mix(p["field"], bg, 0.5)
    p["alt_row"] = mix(p["field"], accent, 0.06)
    p["header"] = mix(p["surface"], accent, 0.2) if not contrast_theme else bg
    p["header_text"] = readable(p["text"], p["header"])
    p["grid"] = mix(p["field"], text, 0.18)
    p["tip"] = p["text"] if not contrast_theme else accent
    p["tip_text"] = readable(bg if not contrast_theme else on_colour(accent), p["tip"])
    p["scroll_handle"] = mix(p["surface"], text, 0.3)
    p["scroll_hover"] = mix(p["surface"], accent, 0.6)
    return p


SHEET = """\
/* Theme {number}: {name}. Made by make_themes.py; edit the palette there, not here. */

QWidget {{
    background-color: {bg};
    color: {text};
    selection-background-color: {accent_fill};
    selection-color: {on_accent};
}}
QLabel, QRadioButton, QCheckBox {{
    background-color: transparent;
}}
QToolTip {{
    background-color: {tip};
    color: {tip_text};
    border: 1px solid {border};
    padding: 4px 6px;
}}

QPushButton {{
    background-color: {button};
    color: {button_text};
    border: 1px solid {button_border};
    border-radius: {radius}px;
    padding: 3px 8px;
}}
QPushButton:hover {{
    background-color: {button_hover};
    color: {button_text};
}}
QPushButton:pressed, QPushButton:checked {{
    background-color: {accent_pressed};
    color: {on_accent};
}}
QPushButton:default {{
    border-width: 2px;
}}
QPushButton:focus {{
    border-color: {accent};
}}
QPushButton:disabled {{
    background-color: {disabled};
    color: {disabled_text};
    border-color: {border};
}}

QFrame[role="menu-panel"] {{
    background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 {menu_top}, stop:1 {menu_bottom});
    color: {menu_panel_text};
    border: {panel_border}px solid {border};
    border-radius: {menu_radius}px;
}}
QPushButton[role="menu"] {{
    background-color: {menu};
    color: {menu_text};
    border: {menu_border_width}px solid {menu_border};
    border-radius: {menu_radius}px;
    font-weight: bold;
    padding: 2px 2px;
}}
QPushButton[role="menu"]:hover {{
    background-color: {menu_hover};
    color: {menu_hover_text};
}}
QPushButton[role="menu"]:pressed {{
    background-color: {menu_pressed};
    color: {on_accent};
}}
QPushButton[role="menu"]:disabled {{
    background-color: {disabled};
    color: {disabled_text};
    border-color: {border};
}}
QPushButton[role="link"] {{
    background-color: transparent;
    color: {link};
    border: none;
    text-decoration: underline;
    padding: 2px 4px;
}}
QPushButton[role="link"]:hover {{
    background-color: transparent;
    color: {link_hover};
}}
QPushButton[role="link"]:pressed {{
    background-color: transparent;
    color: {text};
}}

QLabel[role="title"] {{
    color: {title};
    font-size: 17pt;
    font-weight: bold;
}}
QLabel[role="clinic"] {{
    color: {clinic};
    font-size: 13pt;
    font-weight: bold;
}}
QLabel[role="hint"] {{
    background-color: {hint_bg};
    color: {hint_text};
    border: 1px solid {hint_border};
    border-radius: {radius}px;
    padding: 3px 8px;
}}
QLabel[role="notice"] {{
    color: {notice};
    font-size: 9pt;
}}
QFrame[role="panel"] {{
    background-color: {surface};
    color: {text};
    border: {panel_border}px solid {border};
    border-radius: {radius}px;
}}

QLineEdit, QAbstractSpinBox, QComboBox {{
    background-color: {field};
    color: {text};
    border: 1px solid {field_border};
    border-radius: {field_radius}px;
    padding: 2px 6px;
    min-height: 20px;
}}
QLineEdit:focus, QAbstractSpinBox:focus, QComboBox:focus {{
    border: 2px solid {accent};
}}
QLineEdit:read-only {{
    background-color: {read_only};
    color: {text};
}}
QLineEdit:disabled, QAbstractSpinBox:disabled, QComboBox:disabled {{
    background-color: {disabled};
    color: {disabled_text};
}}
QComboBox QAbstractItemView {{
    background-color: {field};
    color: {text};
    border: 1px solid {field_border};
    selection-background-color: {accent_fill};
    selection-color: {on_accent};
    outline: none;
}}
QPlainTextEdit, QTextEdit, QListView, QListWidget {{
    background-color: {field};
    color: {text};
    border: 1px solid {field_border};
    border-radius: {field_radius}px;
}}
QPlainTextEdit:focus, QTextEdit:focus {{
    border: 1px solid {accent};
}}

QGroupBox {{
    background-color: transparent;
    border: 1px solid {border};
    border-radius: {radius}px;
    margin-top: 14px;
    padding-top: 6px;
}}
QGroupBox::title {{
    subcontrol-origin: margin;
    subcontrol-position: top right;
    padding: 0 6px;
    color: {accent_text};
}}
QRadioButton, QCheckBox {{
    color: {text};
    spacing: 6px;
}}
QRadioButton:disabled, QCheckBox:disabled {{
    color: {disabled_text};
}}
QRadioButton::indicator, QCheckBox::indicator {{
    width: 12px;
    height: 12px;
    background-color: {field};
    border: 1px solid {field_border};
}}
QRadioButton::indicator {{
    border-radius: 7px;
}}
QCheckBox::indicator {{
    border-radius: 3px;
}}
QRadioButton::indicator:checked {{
    background-color: qradialgradient(cx:0.5, cy:0.5, radius:0.5, fx:0.5, fy:0.5, stop:0 {accent_fill}, stop:0.55 {accent_fill}, stop:0.65 {field}, stop:1 {field});
}}
QCheckBox::indicator:checked {{
    background-color: {accent_fill};
    border-color: {accent_pressed};
}}
QRadioButton::indicator:hover, QCheckBox::indicator:hover {{
    border-color: {accent};
}}
QRadioButton::indicator:disabled, QCheckBox::indicator:disabled {{
    background-color: {disabled};
    border-color: {border};
}}

QTableView, QTableWidget {{
    background-color: {field};
    alternate-background-color: {alt_row};
    color: {text};
    gridline-color: {grid};
    border: 1px solid {field_border};
    selection-background-color: {accent_fill};
    selection-color: {on_accent};
}}
QHeaderView {{
    background-color: {header};
    color: {header_text};
}}
QHeaderView::section {{
    background-color: {header};
    color: {header_text};
    border: none;
    border-left: 1px solid {border};
    border-bottom: 1px solid {border};
    padding: 3px 6px;
    font-weight: bold;
}}
QTableCornerButton::section {{
    background-color: {header};
    border: none;
}}

QScrollBar:vertical {{
    background-color: {surface};
    width: 12px;
    margin: 0;
    border: none;
}}
QScrollBar:horizontal {{
    background-color: {surface};
    height: 12px;
    margin: 0;
    border: none;
}}
QScrollBar::handle:vertical {{
    background-color: {scroll_handle};
    min-height: 24px;
    margin: 2px;
    border-radius: 4px;
}}
QScrollBar::handle:horizontal {{
    background-color: {scroll_handle};
    min-width: 24px;
    margin: 2px;
    border-radius: 4px;
}}
QScrollBar::handle:hover {{
    background-color: {scroll_hover};
}}
QScrollBar::add-line, QScrollBar::sub-line {{
    width: 0;
    height: 0;
    border: none;
}}
QScrollBar::add-page, QScrollBar::sub-page {{
    background: none;
}}

QProgressBar {{
    background-color: {field};
    color: {text};
    border: 1px solid {field_border};
    border-radius: {radius}px;
    text-align: center;
}}
QProgressBar::chunk {{
    background-color: {accent_fill};
    border-radius: {radius}px;
}}

QMenu {{
    background-color: {surface};
    color: {text};
    border: 1px solid {border};
}}
QMenu::item:selected {{
    background-color: {accent_fill};
    color: {on_accent};
}}
QMessageBox, QDialog {{
    background-color: {surface};
    color: {text};
}}
QMessageBox QPushButton {{
    min-width: 72px;
}}
"""

PLAIN = """\
/* Theme 1: the plain default look. */
"""


def sheet_for(number, palette):
    p = derive(*palette)
    p["number"] = number
    p["menu_border_width"] = 2 if p["menu"] != p["accent_fill"] else 1
    p["field_radius"] = min(p["radius"], 6)
    return SHEET.format(**p)


# ---- the same readability check the tests run ---------------------------------------

HEX = re.compile(r"#[0-9a-fA-F]{6}\b|#[0-9a-fA-F]{3}\b")


def rules(sheet):
    sheet = re.sub(r"/\*.*?\*/", "", sheet, flags=re.S)
    for block in sheet.split("}"):
        if "{" not in block:
            continue
        selectors, body = block.split("{", 1)
        props = {}
        for decl in body.split(";"):
            if ":" in decl:
                k, v = decl.split(":", 1)
                props[k.strip().lower()] = v.strip()
        for sel in selectors.split(","):
            yield " ".join(sel.split()), props


def backgrounds(props):
    value = props.get("background-color", props.get("background"))
    if value is None or value in ("transparent", "none"):
        return None
    return HEX.findall(value)


def check(sheet):
    """Problems with text contrast; empty when every pair reads well."""
    all_rules = list(rules(sheet))
    by_selector = {s: p for s, p in all_rules}
    window = by_selector["QWidget"]
    base_text = window["color"]
    surfaces = backgrounds(window) + backgrounds(by_selector['QFrame[role="panel"]'])
    problems = []
    for selector, props in all_rules:
        ratio = DISABLED_RATIO if ":disabled" in selector else TEXT_RATIO
        own = backgrounds(props)
        fg = props.get("color")
        if fg is None and ("::" in selector or own is None):
            continue
        fg = fg or base_text
        for bg in own or surfaces:
            if contrast(fg, bg) < ratio:
                problems.append("%s: %s on %s is %.2f" % (selector, fg, bg, contrast(fg, bg)))
        sel_fg, sel_bg = props.get("selection-color"), props.get("selection-background-color")
        if sel_fg and sel_bg and contrast(sel_fg, sel_bg) < TEXT_RATIO:
            problems.append("%s: selection %s on %s" % (selector, sel_fg, sel_bg))
    return problems


def main():
    assert len(PALETTES) == THEME_COUNT - 1, len(PALETTES)
    sheets = {1: PLAIN}
    for number, palette in enumerate(PALETTES, start=2):
        sheets[number] = sheet_for(number, palette)
    failed = False
    for number, sheet in sheets.items():
        if number == 1:
            continue
        for problem in check(sheet):
            print("theme %d: %s" % (number, problem), file=sys.stderr)
            failed = True
    if len(set(sheets.values())) != len(sheets):
        print("two themes are identical", file=sys.stderr)
        failed = True
    if failed:
        return 1
    for number, sheet in sheets.items():
        with open(os.path.join(HERE, "%d.skn" % number), "w", encoding="utf-8", newline="\n") as f:
            f.write(sheet)
    print("wrote %d themes" % len(sheets))
    return 0


if __name__ == "__main__":
    sys.exit(main())
