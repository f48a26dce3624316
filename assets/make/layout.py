"""Where the controls sit on each window picture. The places come from the
program's own window tables (forms/window_tables.h), which the small tool
tools/window_layout prints as JSON; the pictures keep those areas free of
see-through pixels, LAYOUT.md lists them, and the self-check holds the
pictures to them."""

import json
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
# Where a build in the source tree's build/ folder puts the tool.
DEFAULT_TOOL = os.path.join(HERE, "..", "..", "build", "tools", "window_layout")

# What LAYOUT.md says of a control besides its caption (buttons and labels)
# or its kind (the others).
NOTES = {
    ("fundo_main", "iHide"): "click area over the hide symbol",
    ("fundo_main", "bHide"): "right-aligned under the right column",
    ("fundo_list", "iHide"): "click area over the close symbol",
    ("fundo_list", "Label1"): "13 px font",
    ("fundo_list", "eInicio"): "start date field",
    ("fundo_list", "Label2"): "13 px font",
    ("fundo_list", "eFim"): "end date field",
    ("fundo_list", "mTexto"): "text of the selected reminder",
    ("fundo_config", "iHide"): "click area over the close symbol",
    ("fundo_config", "csFront"): "text colour selector",
    ("fundo_config", "csBack"): "background colour selector",
    ("fundo_config", "mExemplo"): "sample text",
    ("fundo_config", "lbWave"): "sound list",
    ("fundo_config", "bOuvir"): "right-aligned under the list",
    ("fundo_config", "lbInfo"): "click exception",
    ("fundo_config", "bSync"): "opens the sync window",
    ("fundo_sync", "iHide"): "click area over the close symbol",
    ("fundo_sync", "eEndereco"): "server or calendar address",
    ("fundo_sync", "eUsuario"): "user name",
    ("fundo_sync", "eSenha"): "password, never filled in by the program",
    ("fundo_sync", "lStatus"): "status line, word-wrapped, transparent",
    ("fundo_lembrete", "cbRepeat"): "repetition list",
    ("fundo_lembrete", "pLembrete"): "panel holding the memo",
    ("fundo_lembrete", "mLembrete"): "reminder text, inside the panel's bevel and border",
    ("fundo_lembrete", "bAlternate"): "the caption changes with the window's mode",
    ("fundo_lembrete", "iExpand"): "click area over the turned-up corner",
    ("fundo_lembrete", "scroll"): "events area (white scroll box)",
}

# The kinds whose caption is what the picture shows round them.
CAPTIONED = {"flat button", "push button", "label"}

# Controls whose rectangle may contain see-through pixels by design.
MAY_OVERLAP_HOLES = {"iExpand"}

# The pin-holes of the main picture: single see-through pixels in free spots.
PINHOLES = [
    # clusters where the pad was pinned up more than once: near each corner
    # and at the top centre, clear of the title and the controls
    (46, 10), (50, 13), (44, 15),
    (298, 18), (303, 21), (299, 25),
    (392, 44), (397, 47), (391, 50),
    (48, 257), (53, 261), (46, 264),
    (396, 255), (401, 259), (394, 262),
]


def tool_path(given=None):
    """The table tool: as given, else $QUELVO_WINDOW_LAYOUT, else the build folder's."""
    return given or os.environ.get("QUELVO_WINDOW_LAYOUT") or os.path.normpath(DEFAULT_TOOL)


def note(picture, control):
    extra = NOTES.get((picture, control["name"]))
    if control["kind"] in CAPTIONED and control["caption"]:
        return ", ".join(['"%s"' % control["caption"]] + ([extra] if extra else []))
    return extra or control["kind"]


def load(tool=None):
    """Picture name -> [(name, x, y, w, h, note)] for every control on it,
    from the window tables."""
    path = tool_path(tool)
    if not os.path.isfile(path):
        raise SystemExit("make_assets: %s not found; build it (cmake --build build --target window_layout) "
                         "or give --layout-tool" % path)
    tables = json.loads(subprocess.run([path], check=True, stdout=subprocess.PIPE).stdout.decode("utf-8"))
    return {picture: [(c["name"], c["x"], c["y"], c["w"], c["h"], note(picture, c)) for c in controls]
            for picture, controls in tables.items()}
