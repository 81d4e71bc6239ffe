#!/usr/bin/env python3
"""Turns the icon art in assets/icons/*.txt into constant C++ picture data.

Art format, one or more icons per file:

    ; a comment line
    @ bmName WxH what the icon shows
    ..##..
    .####.

'#' is a set (foreground) pixel, '.' a clear one. An icon's rows follow its
header line directly; a blank line or the next header ends it.

Outputs (paths relative to the repository root):
    gui/generated/GUI_Icons.cpp   the pictures, rows MSB-first, one shared palette
    docs/icons.png            every icon at 3x with its index and name
    docs/icons.md             index, name, size and meaning of every icon

    python3 tools/icongen/icongen.py            regenerate all three
    python3 tools/icongen/icongen.py --check    fail if any output is stale,
                                                or if gui/GUI_Bitmap.h does not
                                                declare exactly the icons
    python3 tools/icongen/icongen.py --self-test
"""

import argparse
import pathlib
import re
import struct
import sys
import tempfile
import zlib

ROOT = pathlib.Path(__file__).resolve().parents[2]
COMMAND = "python3 tools/icongen/icongen.py"
NAME_RE = re.compile(r"^bm[A-Z][A-Za-z0-9_]*$")
HEADER_RE = re.compile(r"^@\s+(\S+)\s+(\d+)x(\d+)\s+(.+?)\s*$")


class ArtError(Exception):
    pass


class Icon:
    def __init__(self, name, width, height, meaning, rows, where):
        self.name = name
        self.width = width
        self.height = height
        self.meaning = meaning
        self.rows = rows  # list of strings of '#' and '.'
        self.where = where

    def pixel(self, x, y):
        return self.rows[y][x] == "#"

    def row_bytes(self, y):
        out = bytearray((self.width + 7) // 8)
        for x, ch in enumerate(self.rows[y]):
            if ch == "#":
                out[x // 8] |= 0x80 >> (x % 8)
        return bytes(out)


def parse_art(text, source):
    """Returns the icons of one art file; raises ArtError on any flaw."""
    icons = []
    current = None

    def finish():
        if current is None:
            return
        name, w, h, meaning, rows, line = current
        where = f"{source}:{line}"
        if len(rows) != h:
            raise ArtError(f"{where}: {name} has {len(rows)} rows, header says {h}")
        icons.append(Icon(name, w, h, meaning, rows, where))

    for number, raw in enumerate(text.splitlines(), start=1):
        line = raw.rstrip("\r\n")
        stripped = line.strip()
        if stripped.startswith(";"):
            continue
        if stripped.startswith("@"):
            finish()
            m = HEADER_RE.match(stripped)
            if not m:
                raise ArtError(f"{source}:{number}: bad header {stripped!r}")
            name, w, h, meaning = m.group(1), int(m.group(2)), int(m.group(3)), m.group(4)
            if not NAME_RE.match(name):
                raise ArtError(f"{source}:{number}: bad icon name {name!r}")
            if w < 1 or h < 1 or w > 240 or h > 160:
                raise ArtError(f"{source}:{number}: {name} has impossible size {w}x{h}")
            current = (name, w, h, meaning, [], number)
            continue
        if stripped == "":
            finish()
            current = None
            continue
        if current is None:
            raise ArtError(f"{source}:{number}: pixel row outside an icon")
        bad = set(stripped) - {"#", "."}
        if bad:
            raise ArtError(f"{source}:{number}: unknown character(s) {''.join(sorted(bad))!r}")
        if line != stripped:
            raise ArtError(f"{source}:{number}: whitespace around a pixel row")
        name, w = current[0], current[1]
        if len(stripped) != w:
            raise ArtError(f"{source}:{number}: {name} row is {len(stripped)} wide, header says {w}")
        current[4].append(stripped)
    finish()
    return icons


def load_icons(art_dir):
    files = sorted(pathlib.Path(art_dir).glob("*.txt"))
    if not files:
        raise ArtError(f"no art files in {art_dir}")
    icons = []
    seen = {}
    for path in files:
        for icon in parse_art(path.read_text(encoding="utf-8"), path.name):
            if icon.name in seen:
                raise ArtError(f"{icon.where}: duplicate icon name {icon.name} (first at {seen[icon.name]})")
            seen[icon.name] = icon.where
            icons.append(icon)
    return icons


# ---------------------------------------------------------------- C++ output

def render_cpp(icons, art_dir):
    rel = pathlib.Path(art_dir).resolve()
    try:
        rel = rel.relative_to(ROOT)
    except ValueError:
        pass
    out = [
        "// Generated from the art in " + rel.as_posix() + "/*.txt; do not edit.",
        "// Regenerate with: " + COMMAND,
        "",
        '#include "gui/GUI_Bitmap.h"',
        "",
        "#include <cstdint>",
        "",
        "namespace {",
        "",
        "// Two entries and no colour table: bit 0 draws the background, bit 1 the foreground.",
        "const GUI_PALETTE palMono = {2, 0, nullptr};",
        "",
    ]
    for icon in icons:
        out.append(f"// {icon.name}: {icon.meaning}")
        out.append(f"const std::uint8_t ac_{icon.name}[] = {{")
        for y in range(icon.height):
            data = ", ".join(f"0x{b:02X}" for b in icon.row_bytes(y))
            out.append(f"    {data}, // {icon.rows[y]}")
        out.append("};")
        out.append("")
    out.append("} // namespace")
    out.append("")
    for icon in icons:
        bpr = (icon.width + 7) // 8
        out.append(
            f"const GUI_PICTURE {icon.name} = {{{icon.width}, {icon.height}, {bpr}, 1, "
            f"ac_{icon.name}, &palMono, nullptr}};"
        )
    out.append("")
    return "\n".join(out)


# ------------------------------------------------------------ legend output

def render_legend(icons):
    out = [
        "# Icons",
        "",
        f"Generated by `{COMMAND}` from `assets/icons/*.txt`; the picture sheet is",
        "`icons.png` (every icon at 3x, labelled with the index below).",
        "",
        "| index | name | size | shows |",
        "|---|---|---|---|",
    ]
    for i, icon in enumerate(icons):
        out.append(f"| {i} | `{icon.name}` | {icon.width} x {icon.height} | {icon.meaning} |")
    out.append("")
    return "\n".join(out)


# --------------------------------------------------------------- PNG output

# 3x5 label glyphs: five rows of three bits each (4 = left column), as hex digits.
FONT = {
    "0": "75557", "1": "26227", "2": "71747", "3": "71317", "4": "55711",
    "5": "74717", "6": "74757", "7": "71122", "8": "75757", "9": "75717",
    "A": "25755", "B": "65656", "C": "34443", "D": "65556", "E": "74647",
    "F": "74644", "G": "34557", "H": "55755", "I": "72227", "J": "11153",
    "K": "55655", "L": "44447", "M": "57755", "N": "65555", "O": "25552",
    "P": "65644", "Q": "25573", "R": "65655", "S": "34216", "T": "72222",
    "U": "55557", "V": "55552", "W": "55775", "X": "55255", "Y": "55222",
    "Z": "71247", "_": "00007", " ": "00000",
}


def glyph_rows(ch):
    return [int(c, 16) for c in FONT.get(ch.upper(), "77777")]


def text_width(text, scale):
    return len(text) * 4 * scale


def draw_text(img, stride, x0, y0, text, scale, value):
    for i, ch in enumerate(text):
        for gy, bits in enumerate(glyph_rows(ch)):
            for gx in range(3):
                if bits & (4 >> gx):
                    for sy in range(scale):
                        for sx in range(scale):
                            img[(y0 + gy * scale + sy) * stride + x0 + (i * 4 + gx) * scale + sx] = value


def render_png(icons, scale=3, sheet_width=960):
    margin, label_scale, gap = 8, 2, 6
    label_h = 5 * label_scale
    cells = []
    for i, icon in enumerate(icons):
        label = f"{i} {icon.name[2:]}"
        w = max(icon.width * scale, text_width(label, label_scale)) + 2
        h = icon.height * scale + gap + label_h + 2
        cells.append((icon, label, w, h))
    # Flow layout, rows as tall as their tallest cell.
    placed, x, y, row_h = [], margin, margin, 0
    for icon, label, w, h in cells:
        if x + w > sheet_width - margin and x > margin:
            x, y, row_h = margin, y + row_h + 3 * margin, 0
        placed.append((icon, label, x, y))
        x += w + 3 * margin
        row_h = max(row_h, h)
    height = y + row_h + margin
    width = sheet_width
    img = bytearray([255]) * (width * height)
    for icon, label, x0, y0 in placed:
        for y in range(icon.height):
            for x in range(icon.width):
                value = 0 if icon.pixel(x, y) else 222
                for sy in range(scale):
                    base = (y0 + y * scale + sy) * width + x0 + x * scale
                    img[base:base + scale] = bytes([value]) * scale
        draw_text(img, width, x0, y0 + icon.height * scale + gap, label, label_scale, 0)
    raw = b"".join(b"\x00" + bytes(img[r * width:(r + 1) * width]) for r in range(height))

    def chunk(kind, payload):
        return struct.pack(">I", len(payload)) + kind + payload + struct.pack(">I", zlib.crc32(kind + payload))

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


# ------------------------------------------------------------------- driver

def declared_names(header_text):
    return set(re.findall(r"extern\s+const\s+GUI_PICTURE\s+(bm\w+)\s*;", header_text))


def outputs(icons, art_dir):
    return {
        ROOT / "gui/generated/GUI_Icons.cpp": render_cpp(icons, art_dir).encode("utf-8"),
        ROOT / "docs/icons.md": render_legend(icons).encode("utf-8"),
        ROOT / "docs/icons.png": render_png(icons),
    }


def png_content(data):
    """Header and pixels of a PNG: the compressed bytes vary with the zlib version."""
    pos, header, idat = 8, b"", b""
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        payload = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = payload
        elif kind == b"IDAT":
            idat += payload
        pos += 12 + length
    try:
        return header, zlib.decompress(idat)
    except zlib.error:
        return header, None


def same_output(path, data):
    if not path.exists():
        return False
    if path.suffix == ".png":
        return png_content(path.read_bytes()) == png_content(data)
    return path.read_bytes() == data


def check(icons, art_dir):
    problems = []
    for path, data in outputs(icons, art_dir).items():
        if not same_output(path, data):
            problems.append(f"{path.relative_to(ROOT)} is not up to date with the art")
    header = ROOT / "gui/GUI_Bitmap.h"
    names = {icon.name for icon in icons}
    declared = declared_names(header.read_text(encoding="utf-8"))
    for name in sorted(names - declared):
        problems.append(f"gui/GUI_Bitmap.h does not declare {name}")
    for name in sorted(declared - names):
        problems.append(f"gui/GUI_Bitmap.h declares {name}, which has no art")
    return problems


def self_test():
    """The converter must refuse flawed art rather than emit odd pictures."""
    good = "@ bmA 3x2 a\n#.#\n.#.\n"
    bad = {
        "ragged row": "@ bmA 3x2 a\n#.#\n.#\n",
        "too few rows": "@ bmA 3x2 a\n#.#\n",
        "too many rows": "@ bmA 3x2 a\n#.#\n.#.\n###\n",
        "unknown character": "@ bmA 3x2 a\n#.#\n.o.\n",
        "bad header": "@ bmA 3*2 a\n#.#\n.#.\n",
        "bad name": "@ Foo 3x2 a\n#.#\n.#.\n",
        "row outside an icon": "#.#\n",
        "zero size": "@ bmA 0x2 a\n\n",
    }
    failures = []
    icons = parse_art(good, "good")
    if len(icons) != 1 or icons[0].row_bytes(0) != b"\xA0" or icons[0].row_bytes(1) != b"\x40":
        failures.append("good art: wrong row bytes")
    wide = parse_art("@ bmW 9x1 w\n########.\n", "wide")[0]
    if wide.row_bytes(0) != b"\xFF\x00":
        failures.append("9-pixel row: second byte must only carry the ninth pixel")
    for what, text in bad.items():
        try:
            parse_art(text, what)
            failures.append(f"{what}: accepted")
        except ArtError:
            pass
    with tempfile.TemporaryDirectory() as tmp:
        pathlib.Path(tmp, "a.txt").write_text(good)
        pathlib.Path(tmp, "b.txt").write_text(good)
        try:
            load_icons(tmp)
            failures.append("duplicate name across files: accepted")
        except ArtError:
            pass
    png = render_png(parse_art(good, "good"))
    header, pixels = png_content(png)
    if not png.startswith(b"\x89PNG") or len(header) != 13 or pixels is None:
        failures.append("sheet is not a PNG")
    elif png_content(render_png(parse_art("@ bmA 3x2 a\n#.#\n##.\n", "b"))) == (header, pixels):
        failures.append("sheet does not change with a changed pixel")
    for f in failures:
        print("FAIL:", f, file=sys.stderr)
    return 1 if failures else 0


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--art", default=str(ROOT / "assets/icons"), help="directory of the art files")
    parser.add_argument("--check", action="store_true", help="only verify that the outputs are current")
    parser.add_argument("--self-test", action="store_true", help="test the converter itself")
    args = parser.parse_args(argv)
    if args.self_test:
        return self_test()
    try:
        icons = load_icons(args.art)
    except ArtError as e:
        print(f"icongen: error: {e}", file=sys.stderr)
        return 1
    if args.check:
        problems = check(icons, args.art)
        for p in problems:
            print(f"icongen: {p}", file=sys.stderr)
        if problems:
            print(f"icongen: run '{COMMAND}' and review the result", file=sys.stderr)
        return 1 if problems else 0
    for path, data in outputs(icons, args.art).items():
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
    print(f"icongen: {len(icons)} icons written")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
