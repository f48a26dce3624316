"""The committed assets are exactly what assets/make_assets.py makes.

Runs the generator into a temporary folder and compares every file it writes
with the one in assets/, byte for byte; a committed file that the generator no
longer makes (other than the hand-made ones below) also fails, and so does a
run that touches the source tree.

Usage: reproducible.py SOURCE_DIR LAYOUT_TOOL

LAYOUT_TOOL is tools/window_layout as built: the window tables the layout
comes from.
"""
import os
import subprocess
import sys
import tempfile

# Paths under assets/ that are written by hand, not by the generator.
HAND_MADE = ("CMakeLists.txt", "make_assets.py", "datas/", "make/")


def files_under(root):
    """Relative path -> (size, mtime) of every file below root, caches left out."""
    found = {}
    for folder, dirs, names in os.walk(root):
        dirs[:] = [d for d in dirs if d != "__pycache__"]
        for name in names:
            path = os.path.join(folder, name)
            st = os.stat(path)
            found[os.path.relpath(path, root).replace(os.sep, "/")] = (st.st_size, st.st_mtime_ns)
    return found


def first_difference(a, b):
    """Offset of the first byte where two files differ, or None."""
    with open(a, "rb") as fa, open(b, "rb") as fb:
        da, db = fa.read(), fb.read()
    if da == db:
        return None
    return next((i for i, (x, y) in enumerate(zip(da, db)) if x != y), min(len(da), len(db)))


def compare(made, committed):
    """What keeps the committed folder from being the generator's output."""
    made_files = sorted(files_under(made))
    problems = []
    for rel in made_files:
        mine = os.path.join(committed, rel)
        if not os.path.isfile(mine):
            problems.append("not committed: %s" % rel)
            continue
        at = first_difference(os.path.join(made, rel), mine)
        if at is not None:
            problems.append("differs: %s (from byte %d)" % (rel, at))
    for rel in sorted(set(files_under(committed)) - set(made_files)):
        if not rel.startswith(HAND_MADE):
            problems.append("not made by the generator: %s" % rel)
    return problems, len(made_files)


def main():
    assets = os.path.join(sys.argv[1], "assets")
    before = files_under(assets)
    with tempfile.TemporaryDirectory(prefix="quelvo-assets-") as tmp:
        out = os.path.join(tmp, "assets")
        run = subprocess.run([sys.executable, os.path.join(assets, "make_assets.py"), "--out", out,
                              "--layout-tool", sys.argv[2]],
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if run.returncode != 0:
            print(run.stdout, end="")
            print("assets: the generator failed (exit status %d)" % run.returncode)
            return 1
        problems, count = compare(out, assets)
    if files_under(assets) != before:
        problems.append("the generator wrote into the source tree")
    for p in problems:
        print("assets:", p)
    if problems:
        print("assets: re-make them with /usr/bin/python3 assets/make_assets.py and commit")
        return 1
    print("assets: the %d files made by make_assets.py match the committed ones" % count)
    return 0


if __name__ == "__main__":
    sys.exit(main())
