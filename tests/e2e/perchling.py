"""Plumbing for the end-to-end tests: the real Perchling.exe in a temporary install folder under
Wine, looked at from outside with perch_probe.exe, X screenshots and xdotool, as a user would.

Run through tests/wine-session.sh, which provides the display and the Wine prefix.
"""
import getpass
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

WINDOWS_BUILD = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else None
DIST = os.path.join(WINDOWS_BUILD or "", "dist")
PROBE = os.path.join(WINDOWS_BUILD or "", "perch_probe.exe")


def defines(path):
    """The #define NAME value lines of a C header: "strings" (adjacent ones joined, escapes read)
    as str, numbers as int. The program's texts and command numbers are named there once."""
    with open(path, encoding="utf-8") as file:
        source = file.read().replace("\\\n", " ")
    found = {}
    for name, value in re.findall(r"^#define (\w+)[ \t]+(.+)$", source, re.MULTILINE):
        if value.startswith('"'):
            strings = re.findall(r'"((?:[^"\\]|\\.)*)"', value)
            found[name] = "".join(s.encode("utf-8").decode("unicode_escape").encode("latin-1")
                                  .decode("utf-8") for s in strings)
        else:
            value = re.sub(r"\s*//.*$", "", value).strip()
            if re.fullmatch(r"\d+", value):
                found[name] = int(value)
    return found


# The Wine the tests run under, as "wine --version" says it (the host's or the userland's).
WINE_VERSION = subprocess.run(["wine", "--version"], capture_output=True, text=True,
                              timeout=60).stdout.strip()

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
TEXTS = defines(os.path.join(SOURCE, "res", "texts.h"))
IDS = defines(os.path.join(SOURCE, "res", "resource.h"))


def wine(*args, timeout=60, check=False):
    """Runs a Windows program to its end and returns (exit code, stdout). The output goes through
    files, not pipes: a Wine service the program happens to start would hold a pipe open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(["wine", *args], stdout=out, stderr=err, timeout=timeout).returncode
        out.seek(0)
        err.seek(0)
        # Read as text mode would: Windows line ends become "\n".
        stdout, stderr = (f.read().decode(errors="replace").replace("\r\n", "\n")
                          for f in (out, err))
    if check and code != 0:
        raise AssertionError(f"{args} exited {code}: {stderr}")
    return code, stdout


def probe(*args, timeout=30):
    return wine(PROBE, *args, timeout=timeout)


def accessory_rect():
    code, out = probe("rect")
    return tuple(int(v) for v in out.split()) if code == 0 else None


def dialog(prefix):
    """The first visible dialog box whose title starts with prefix: (rect, static texts) or None."""
    code, out = probe("dialog", prefix)
    if code != 0:
        return None
    lines = out.splitlines()
    return tuple(int(v) for v in lines[0].split()), lines[1:]


def accessory_count():
    return int(probe("count")[1].strip() or 0)


def open_menus():
    return int(probe("menus")[1].strip() or 0)


def wait_for(condition, seconds=10.0, step=0.1):
    until = time.time() + seconds
    while time.time() < until:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return condition()


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

    def body_pixel(self):
        """A pixel well inside the bird, where a user clicks it: opaque with its four neighbours,
        above the 22 rows that rest on a title bar, the middle one of all such."""
        inside = [(x, y) for y in range(1, self.height - 23) for x in range(1, self.width - 1)
                  if all(self.rows[y + dy][x + dx] != MAGENTA
                         for dx, dy in ((0, 0), (-1, 0), (1, 0), (0, -1), (0, 1)))]
        return inside[len(inside) // 2]

    def misshapen_on_screen(self):
        """The pixels where the X window's shape is not the window's region, under this Wine.
        Wine 8 shapes the X window exactly as the region. Wine 10.0 makes the X shape from a
        1-bit mask and misplaces a run that lies within one byte of it (8 columns): the run from x
        to x1 shows from x1 to the byte's end instead, so a thin stroke of the skin is missing on
        the screen and a click there falls through. Those bytes' pixels are returned; the region
        the program sets is checked exactly through GetWindowRgn all the same."""
        if not WINE_VERSION.startswith("wine-10."):
            return set()
        misshapen = set()
        for y in range(self.height):
            x = 0
            while x < self.width:
                if self.rows[y][x] == MAGENTA:
                    x += 1
                    continue
                start = x
                while x < self.width and self.rows[y][x] != MAGENTA:
                    x += 1
                if start // 8 == (x - 1) // 8:
                    misshapen.update((column, y) for column in range(start // 8 * 8,
                                                                      start // 8 * 8 + 8))
        return misshapen


MAGENTA = (255, 0, 255)


class Screenshot:
    """The whole X screen, taken with ImageMagick's import."""

    def __init__(self):
        raw = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                             capture_output=True, timeout=30, check=True).stdout
        header_end = 0
        for _ in range(4):  # P6, width, height, maxval, each followed by one white-space byte
            while raw[header_end:header_end + 1].isspace():
                header_end += 1
            while not raw[header_end:header_end + 1].isspace():
                header_end += 1
        fields = raw[:header_end].split()
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = raw[header_end + 1:]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def area(self, left, top, right, bottom):
        """The bytes of a rectangle of the screen, row by row."""
        return b"".join(self.pixels[(y * self.width + left) * 3:(y * self.width + right) * 3]
                        for y in range(top, bottom))


def still_screen(area, seconds=20):
    """A screenshot taken once the area (left, top, right, bottom) shows the same pixels in two
    shots in a row: whatever was drawing there has finished. None if it never settles."""
    shots = []

    def settled():
        shots.append(Screenshot())
        return len(shots) > 1 and shots[-2].area(*area) == shots[-1].area(*area) and shots[-1]

    return wait_for(settled, seconds, step=0.2) or None


class Install:
    """A temporary install folder: Perchling.exe and the shipped skins, and nothing else."""

    def __init__(self, parent=None, name="install"):
        self.root = tempfile.mkdtemp(prefix="perchling-e2e-", dir=parent)
        self.dir = os.path.join(self.root, name)
        os.makedirs(os.path.join(self.dir, "skin"))
        shutil.copy(os.path.join(DIST, "Perchling.exe"), self.dir)
        for skin in os.listdir(os.path.join(DIST, "skin")):
            shutil.copy(os.path.join(DIST, "skin", skin), os.path.join(self.dir, "skin"))
        self.processes = []

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def settings(self):
        try:
            with open(self.path("setting.ini"), "rb") as file:
                return file.read()
        except OSError:
            return None

    def start(self):
        """Starts Perchling.exe as a user would, from its folder."""
        process = subprocess.Popen(["wine", self.path("Perchling.exe")], cwd=self.dir,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def remove(self):
        probe("close")
        for process in self.processes:
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
        shutil.rmtree(self.root, ignore_errors=True)


class Target:
    """A green window of another program, brought to the foreground."""
    GREEN = (0, 160, 0)

    def __init__(self, title, x, y, width, height):
        self.process = subprocess.Popen(["wine", PROBE, "target", title, str(x), str(y),
                                         str(width), str(height)],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.centre = (x + width // 2, y + height // 2)

    def wait_shown(self, seconds=20):
        """Waits until the window is drawn on the screen; False if it never is."""
        return bool(wait_for(lambda: Screenshot().pixel(*self.centre) == self.GREEN, seconds,
                             step=0.2))

    def close(self):
        self.process.kill()
        self.process.wait(timeout=10)


def startup_folder():
    """The Startup folder of the Wine prefix's user (Wine spells it "StartUp"; Windows names are
    case-insensitive, the Linux file system is not)."""
    programs = os.path.join(os.environ["WINEPREFIX"], "drive_c", "users", getpass.getuser(),
                            "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs")
    name = next((n for n in os.listdir(programs) if n.lower() == "startup"), "Startup")
    return os.path.join(programs, name)


def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True, timeout=30)


def main():
    unittest.main(verbosity=2)
