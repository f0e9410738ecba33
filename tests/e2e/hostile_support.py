"""Plumbing for the hostile-input and concurrency tests: pictures written on the spot, the
catalogue's order computed independently, snapshots of a folder tree, and read-only folders and
files that hold even for root (chattr +i)."""
import os
import struct
import subprocess
import time

from perchling import TEXTS, probe, wait_for

PICTURE_SIZE_FAILED = TEXTS["TEXT_PICTURE_SIZE_FAILED"]
SAVE_FAILED = TEXTS["TEXT_SAVE_FAILED"]
SKIN_MISSING = TEXTS["TEXT_SKIN_MISSING"]
MAGENTA = 0xFF00FF


def bmp_bytes(width, height, colour, bits=24, alpha=0):
    """A bottom-up BMP of 24 or 32 bits; colour(x, y) gives 0xRRGGBB, top row y = 0."""
    stride = (width * bits // 8 + 3) // 4 * 4
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            c = colour(x, y)
            row += bytes([c & 0xFF, (c >> 8) & 0xFF, c >> 16])
            if bits == 32:
                row.append(alpha)
        rows.append(bytes(row) + b"\0" * (stride - len(row)))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 0, 0, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    return header + info + pixels


def bmp_size(path):
    """A BMP's width and height from its header, whatever its depth."""
    with open(path, "rb") as file:
        width, height = struct.unpack_from("<ii", file.read(26), 18)
    return width, abs(height)


def write_file(path, data):
    with open(path, "wb") as file:
        file.write(data)


def fold(name):
    """The catalogue's order: bytes compared unsigned with 'A'-'Z' folded to 'a'-'z'."""
    return bytes(b + 32 if 0x41 <= b <= 0x5A else b for b in name)


def tree(root):
    """Every file under root with its size and contents' time, to see what a run wrote."""
    found = {}
    for folder, _, files in os.walk(root):
        for name in files:
            path = os.path.join(folder, name)
            status = os.stat(path)
            found[path] = (status.st_size, status.st_mtime_ns)
    return found


def region_pixels(lines):
    """The pixels covered by perch_probe region's rectangles."""
    covered = set()
    for line in lines[1:]:
        left, top, right, bottom = (int(v) for v in line.split())
        covered.update((x, y) for y in range(top, bottom) for x in range(left, right))
    return covered


def answer_box(seconds=20, button=1):
    """The text of the next message box titled "Perchling", answered with button (OK)."""
    code, text = probe("box", str(seconds), str(button), timeout=seconds + 30)
    return text.rstrip("\n") if code == 0 else None


def immutable(path, on=True):
    """Makes a file or folder read-only even for root; False where chattr is not supported."""
    done = subprocess.run(["chattr", "+i" if on else "-i", path], capture_output=True)
    return done.returncode == 0


def start_from(exe, cwd):
    return subprocess.Popen(["wine", exe], cwd=cwd, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def close_all(seconds=20):
    probe("close")
    return wait_for(lambda: probe("count")[1].strip() == "0", seconds)


def accessory_window():
    code, out = probe("window")
    return out.strip() if code == 0 else None


def settle(seconds=0.5):
    time.sleep(seconds)
