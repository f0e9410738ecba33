"""Pictures in the Windows file formats, written and read back: BMP files of any depth from rows of
bytes or from a colour for each pixel, PNG files with an alpha channel, and an uncompressed BMP
read into pixels. Used by tools/make_art.py for the shipped artwork and by the end-to-end tests.
Colours are (r, g, b); MAGENTA is pure magenta, written here: the tests judge shapes by it."""
import struct
import zlib


def rgb(colour):
    """A colour given as 0xRRGGBB or (r, g, b), as (r, g, b)."""
    if isinstance(colour, int):
        return (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF
    return tuple(colour)


MAGENTA = (255, 0, 255)


def bmp_file(width, height, bits, rows, palette=(), clr_used=None):
    """BMP file bytes; rows run top to bottom, unpadded. Written bottom-up, each row padded to 4
    bytes, BI_RGB, biClrUsed = palette length unless clr_used says otherwise."""
    stride = (width * bits + 31) // 32 * 4
    data = b"".join(r + b"\0" * (stride - len(r)) for r in reversed(rows))
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                       len(palette) if clr_used is None else clr_used, 0)
    off = 14 + len(info) + len(pal)
    return struct.pack("<2sIHHI", b"BM", off + len(data), 0, 0, off) + info + pal + data


def bmp_bytes(width, height, colour, bits=24, alpha=0):
    """A bottom-up BMP of 24 or 32 bits; colour(x, y) gives the colour of each pixel, top row
    y = 0; the fourth byte of a 32-bit pixel is alpha."""
    extra = bytes([alpha]) if bits == 32 else b""
    rows = [b"".join(bytes(rgb(colour(x, y))[::-1]) + extra for x in range(width))
            for y in range(height)]
    return bmp_file(width, height, bits, rows)


def core_bmp_bytes(width, height, colour):
    """A 24-bit BMP with the old 12-byte core header (its width and height unsigned 16-bit)."""
    stride = (3 * width + 3) // 4 * 4
    rows = b"".join(b"".join(bytes(rgb(colour(x, y))[::-1]) for x in range(width))
                    .ljust(stride, b"\0") for y in reversed(range(height)))
    info = struct.pack("<IHHHH", 12, width, height, 1, 24)
    return struct.pack("<2sIHHI", b"BM", 26 + len(rows), 0, 0, 26) + info + rows


def png_bytes(width, height, rgba):
    """An 8-bit RGBA PNG; rgba(x, y) gives (r, g, b, a), top row y = 0."""
    rows = b"".join(b"\0" + b"".join(bytes(rgba(x, y)) for x in range(width))
                    for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows)) +
            chunk(b"IEND", b""))


def bmp_size(path):
    """A BMP's width and height from its header, whatever its depth."""
    with open(path, "rb") as file:
        width, height = struct.unpack_from("<ii", file.read(26), 18)
    return width, abs(height)


class Bmp:
    """An uncompressed 8-, 24- or 32-bit BMP read into rows of (r, g, b), top row first."""

    def __init__(self, path):
        with open(path, "rb") as file:
            data = file.read()
        offset, = struct.unpack_from("<I", data, 10)
        header_size, self.width, height, _, bits = struct.unpack_from("<IiiHH", data, 14)
        self.height = abs(height)
        if bits not in (8, 24, 32):
            raise ValueError(f"{path}: {bits}-bit pictures are not read here")
        palette = [(data[i + 2], data[i + 1], data[i])
                   for i in range(14 + header_size, offset, 4)]
        stride = (self.width * bits // 8 + 3) // 4 * 4
        self.rows = []
        for stored in range(self.height):
            row = data[offset + stored * stride:]
            if bits == 8:
                self.rows.append([palette[row[x]] for x in range(self.width)])
            else:
                self.rows.append([(row[x * bits // 8 + 2], row[x * bits // 8 + 1],
                                   row[x * bits // 8]) for x in range(self.width)])
        if height > 0:
            self.rows.reverse()  # the bottom row is stored first

    def pixel(self, x, y):
        return self.rows[y][x]

    def opaque(self):
        """The pixels that are not magenta, as (x, y)."""
        return {(x, y) for y in range(self.height) for x in range(self.width)
                if self.rows[y][x] != MAGENTA}

