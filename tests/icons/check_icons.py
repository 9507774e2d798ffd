#!/usr/bin/env python3
# Checks a wonder's own icon in a mod folder against the picture it was made from, by the test's
# own means: Pillow decodes the textures and the kept square, and fits and scales the picture
# itself (premultiplied, Lanczos), as the issue of the icon asks of the program.
#
# Each texture Icons/<folder>_Icon_<S>.dds is S rounded up to a multiple of 4 on each side, as
# Direct3D 11 takes a texture of blocks only so (40 for 38, 52 for 50), and must have the header of
# Microsoft's "DDS" programming guide for DXT5 (BC3) with a full mip chain of that side down to
# 1 x 1: DDSD_CAPS | HEIGHT | WIDTH | PIXELFORMAT | MIPMAPCOUNT | LINEARSIZE, the top level's size
# in bytes as its linear size, FourCC "DXT5", DDSCAPS_TEXTURE | MIPMAP | COMPLEX, and each level
# max(1, (w + 3) / 4) x max(1, (h + 3) / 4) blocks of 16 bytes; its top-left S x S must decode to
# the picture fitted into 256 x 256 and scaled to S x S, within BLOCKS on average, the rest of it
# transparent; and each of its transparent texels must have, within BLEED, the colour of the
# nearest texel that is not, so that no black enters the colours of a block at the icon's edge. The kept square Icons/<folder>_Icon.png must decode to the
# fitted picture within FILTERS on average and EDGE at any pixel, where a dark fringe would show,
# and exactly where the picture is 256 x 256. Pixels are compared as they are shown: premultiplied.
#
# check_icons.py <mod folder> <picture>
import pathlib
import struct
import sys

from PIL import Image, ImageChops, ImageOps, ImageStat

SIZES = [32, 38, 50, 64, 80, 128, 256]
FILTERS = 3.0  # the mean difference of a channel, out of 255, of two good filters
EDGE = 96  # at one pixel: their ringing at a sharp edge differs, a dark fringe more
BLOCKS = 8.0  # on average, where DXT5 gives each 4 x 4 block four colours
BLEED = 24.0  # on average, the colours of a transparent texel and of the nearest one that is not


def fitted(picture):
    if picture.mode in ("I", "I;16"):  # 16 bits, which Pillow would clip, not scale, to 8
        picture = picture.convert("I").point(lambda value: value * (1 / 256), "L")
    picture = ImageOps.exif_transpose(picture).convert("RGBA")
    if picture.size == (256, 256):
        return picture
    scale = min(256 / picture.width, 256 / picture.height)
    size = (max(1, round(picture.width * scale)), max(1, round(picture.height * scale)))
    square = Image.new("RGBa", (256, 256))
    square.paste(picture.convert("RGBa").resize(size, Image.LANCZOS),
                 ((256 - size[0]) // 2, (256 - size[1]) // 2))
    return square.convert("RGBA")


def scaled(square, side):
    return square.convert("RGBa").resize((side, side), Image.LANCZOS).convert("RGBA")


def differs(found, wanted, mean_bound, largest_bound=255):
    difference = ImageChops.difference(found.convert("RGBA").convert("RGBa"), wanted.convert("RGBa"))
    mean, largest = max(ImageStat.Stat(difference).mean), max(b for _, b in difference.getextrema())
    return f"differs by {mean:.2f} on average, {largest} at most" \
        if mean > mean_bound or largest > largest_bound else None


def check_texture(path, side, square):
    padded = (side + 3) // 4 * 4
    texture = Image.open(path).convert("RGBA")
    rest = texture.copy()
    rest.paste((0, 0, 0, 0), (0, 0, side, side))
    return check_header(path, padded) or differs(texture.crop((0, 0, side, side)), scaled(
        square, side), BLOCKS) or (rest.getextrema()[3] != (0, 0) and "not transparent beyond the "
                                   "icon") or check_bleed(texture)


# The colour of each transparent texel against that of the nearest one that is not, which a walk
# outwards from those finds.
def check_bleed(texture):
    width, height = texture.size
    pixels = list(texture.getdata())
    nearest = {i: pixels[i][:3] for i in range(len(pixels)) if pixels[i][3] > 0}
    frontier = list(nearest)
    while frontier:
        following = []
        for i in frontier:
            x, y = i % width, i // width
            for j in (i - 1 if x else i, i + 1 if x + 1 < width else i, i - width if y else i,
                      i + width if y + 1 < height else i):
                if j not in nearest:
                    nearest[j] = nearest[i]
                    following.append(j)
        frontier = following
    away = [sum(abs(a - b) for a, b in zip(pixels[i][:3], nearest[i])) / 3
            for i in range(len(pixels)) if pixels[i][3] == 0 and i in nearest]
    mean = sum(away) / len(away) if away else 0
    return mean > BLEED and f"transparent texels {mean:.1f} from the colour beside them"


def check_header(path, side):
    data = path.read_bytes()
    header = struct.unpack("<4s31I", data[:128])
    levels, expected_length, level = 1, 128, side
    while True:
        expected_length += max(1, (level + 3) // 4) ** 2 * 16
        if level == 1:
            break
        level, levels = level // 2, levels + 1
    wanted = (b"DDS ", 124, 0x1 | 0x2 | 0x4 | 0x1000 | 0x20000 | 0x80000, side, side,
              max(1, (side + 3) // 4) ** 2 * 16, 0, levels, *[0] * 11, 32, 0x4,
              struct.unpack("<I", b"DXT5")[0], 0, 0, 0, 0, 0, 0x1000 | 0x400000 | 0x8, 0, 0, 0, 0)
    if header != wanted or len(data) != expected_length:
        return f"header {header}, {len(data)} bytes; wanted {wanted}, {expected_length} bytes"


def main():
    mod, picture = pathlib.Path(sys.argv[1]), Image.open(sys.argv[2])
    square, whole = fitted(picture), picture.size == (256, 256)
    icons = mod / "Icons"
    checks = [(f"{mod.name}_Icon.png", lambda path: differs(
        Image.open(path), square, *((0, 0) if whole else (FILTERS, EDGE))))]
    for side in SIZES:
        checks.append((f"{mod.name}_Icon_{side}.dds",
                       lambda path, side=side: check_texture(path, side, square)))
    problems = [f"{name}: {problem}" for name, check in checks
                if (problem := check(icons / name))]
    print("\n".join(f"FAIL  {problem}" for problem in problems) or
          f"ok    {mod.name}: its square and its {len(SIZES)} textures")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
