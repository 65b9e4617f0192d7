#!/usr/bin/env python3
"""Builds resources/velmora.ico, the Windows icon, from the rendered PNGs in resources/icons:
16, 32 and 48 pixels, each in 256 colours and in 24-bit colour (six images), as classic
BMP images with a 1-bit transparency mask. Needs ImageMagick's convert (Debian: imagemagick).
Run it again after scripts/render-icons.sh."""
import pathlib
import struct
import subprocess
import sys

RESOURCES = pathlib.Path(__file__).resolve().parent.parent / "resources"
SIZES = (16, 32, 48)


def rgba_pixels(png, extra=()):
    """Top-down RGBA bytes of the picture, after the given ImageMagick operations."""
    return subprocess.run(["convert", str(png), *extra, "-depth", "8", "rgba:-"],
                          check=True, capture_output=True).stdout


def row_stride(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def and_mask(alpha, size):
    """1 bit per pixel, bottom row first: set where the picture is transparent."""
    rows = []
    for y in reversed(range(size)):
        row = bytearray(row_stride(size))
        for x in range(size):
            if alpha[y * size + x] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
    return b"".join(rows)


def bitmap_header(size, bit_count, colours):
    # The height counts the colour rows and the mask rows together.
    image_bytes = size * (row_stride(size * bit_count) + row_stride(size))
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bit_count, 0, image_bytes,
                       0, 0, colours, 0)


def true_colour_image(png, size):
    rgba = rgba_pixels(png)
    alpha = rgba[3::4]
    rows = []
    for y in reversed(range(size)):
        row = bytearray()
        for x in range(size):
            r, g, b, a = rgba[(y * size + x) * 4:(y * size + x) * 4 + 4]
            row += bytes((b, g, r)) if a >= 128 else b"\0\0\0"
        row += b"\0" * (row_stride(size * 24) - len(row))
        rows.append(bytes(row))
    return bitmap_header(size, 24, 0) + b"".join(rows) + and_mask(alpha, size)


def palette_image(png, size):
    # Quantised without dithering: at icon sizes dithering only adds noise.
    rgba = rgba_pixels(png, ["+dither", "-colors", "255"])
    alpha = rgba[3::4]
    palette = [(0, 0, 0)]
    index = {(0, 0, 0): 0}
    indices = []
    for i in range(size * size):
        r, g, b, a = rgba[i * 4:i * 4 + 4]
        colour = (r, g, b) if a >= 128 else (0, 0, 0)
        if colour not in index:
            index[colour] = len(palette)
            palette.append(colour)
        indices.append(index[colour])
    if len(palette) > 256:
        sys.exit(f"{png}: {len(palette)} colours after quantising")
    palette += [(0, 0, 0)] * (256 - len(palette))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    rows = []
    for y in reversed(range(size)):
        row = bytes(indices[y * size:(y + 1) * size])
        rows.append(row + b"\0" * (row_stride(size * 8) - len(row)))
    return bitmap_header(size, 8, 256) + table + b"".join(rows) + and_mask(alpha, size)


def main():
    images = []
    for size in SIZES:
        png = RESOURCES / "icons" / f"velmora-{size}.png"
        images.append((size, 256, 8, palette_image(png, size)))
        images.append((size, 0, 24, true_colour_image(png, size)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for size, colours, bits, image in images:
        directory += struct.pack("<BBBBHHII", size, size, colours % 256, 0, 1, bits,
                                 len(image), offset + len(data))
        data += image
    (RESOURCES / "velmora.ico").write_bytes(directory + data)
    print(f"Wrote {RESOURCES / 'velmora.ico'}: {len(images)} images")


if __name__ == "__main__":
    main()
