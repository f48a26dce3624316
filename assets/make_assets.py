#!/usr/bin/python3
"""Makes the pictures, the cursor, the icons and the sounds that ship with
Quelvo 3.0, and the layout notes LAYOUT.md that go with them.

    /usr/bin/python3 assets/make_assets.py [--out DIR] [--only PART] [--layout-tool TOOL]

DIR defaults to this folder; PART is pictures, icons or sounds (LAYOUT.md is
written only when every part is made). The controls' places come from the
program's window tables through TOOL (default: $QUELVO_WINDOW_LAYOUT, else
build/tools/window_layout, made by `cmake --build build --target window_layout`). Needs python3-pil, python3-numpy and
the fonts-liberation2 fonts. Every run writes byte-identical files; at the end
the script checks what it wrote into DIR and exits non-zero if a check fails.
The drawing and synthesis live in the package make/, one module per part.
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree

from make import icons, layout, notes, pictures, sounds  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
PARTS = ("pictures", "icons", "sounds")


def main():
    parser = argparse.ArgumentParser(description="Makes Quelvo's pictures, icons and sounds.")
    parser.add_argument("--out", default=HERE, help="folder to write into (default: %(default)s)")
    parser.add_argument("--only", choices=PARTS, help="make only this part")
    parser.add_argument("--layout-tool", help="the program that prints the window tables")
    args = parser.parse_args()
    out = args.out
    wanted = [args.only] if args.only else PARTS
    os.makedirs(out, exist_ok=True)

    problems = notes.Problems()
    places = layout.load(args.layout_tool) if "pictures" in wanted else None
    if "pictures" in wanted:
        notes.check_pictures(out, pictures.make(out), places, problems)
    if "icons" in wanted:
        hotspot = icons.make(out)
        notes.check_icons(out, hotspot, problems)
    if "sounds" in wanted:
        sounds.make(out)
        notes.check_sounds(out, problems)
    if not args.only:
        notes.write_layout(os.path.join(out, "LAYOUT.md"), hotspot, places)
    for p in problems:
        print("make_assets: check failed:", p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
