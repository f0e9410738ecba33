"""Plumbing for the end-to-end tests: the real Perchling.exe in a temporary install folder under
Wine, looked at from outside with perch_probe.exe, X screenshots and xdotool, as a user would.

Run through tests/wine-session.sh, which provides the display and the Wine prefix, from ctest,
which puts tools/ (the program's named values, the pictures) on the module path.
"""
import getpass
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

from pictures import MAGENTA, Bmp
from program_values import IDS

# What the tests judge the program by, written here and not read from its headers (a test that
# read them would agree with any fault in them): the perch, the settings file, the messages.
FOLLOW_INSET = 60  # the perch's right edge, left of the window's
TITLE_OVERLAP = 22  # the perch's lowest rows over the window's top
SETTINGS_FILE = "setting.ini"
TITLE = "Perchling"  # of the window and of every message box
REGISTERED = "スタートアップへの登録は完了しました。"
SKIN_MISSING = ("指定されたスキンは存在しません。\nスキン情報を更新しておきますので\n"
                "再度、指定し直して下さい。")
PICTURE_SIZE_FAILED = "画像サイズの取得に失敗しました。"
FOLDER_PATH_TOO_LONG = ("Perchling を置いたフォルダのパスが長すぎます。\n短いパスのフォルダ"
                        "（たとえば C:\\Tools\\Perchling）に移してから起動してください。")


def perch(right, top, width, height):
    """Where an accessory of width x height perches on a window whose right and top edges are
    given: (left, top, right, bottom)."""
    return (right - FOLLOW_INSET - width, top + TITLE_OVERLAP - height, right - FOLLOW_INSET,
            top + TITLE_OVERLAP)


def settings_naming(skin):
    """What setting.ini holds once the program wrote it naming skin (bytes, or a str, written in
    Shift-JIS)."""
    return b"[MAIN]\r\nSKIN=" + (skin.encode("cp932") if isinstance(skin, str) else skin) + b"\r\n"

# The Windows build folder, from ctest; the Wine the tests run under as "wine --version" says it
# (the host's or the userland's), from tests/wine-session.sh.
WINDOWS_BUILD = os.environ.get("PERCHLING_WINDOWS_BUILD", "")
DIST = os.path.join(WINDOWS_BUILD, "dist")
PROBE = os.path.join(WINDOWS_BUILD, "perch_probe.exe")
WINE_VERSION = os.environ.get("PERCHLING_WINE_VERSION", "")


def run_wine(*args, timeout=60, env=None, preexec_fn=None, stdin=b""):
    """Runs a Windows program to its end: (exit code, stdout bytes, stderr bytes). The output goes
    through files, not pipes: a Wine service the program happens to start (or, in a locale other
    than the session's, a helper process) would hold a pipe open, and reading it would wait for
    that process, not for the program. preexec_fn runs in the child before Wine starts."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(["wine", *args], input=stdin, stdout=out, stderr=err,
                              timeout=timeout, env=env, preexec_fn=preexec_fn).returncode
        out.seek(0)
        err.seek(0)
        return code, out.read(), err.read()


def wine(*args, timeout=60, env=None):
    """Runs a Windows program to its end and returns (exit code, stdout), read as text mode would:
    Windows line ends become "\n"."""
    code, out, _ = run_wine(*args, timeout=timeout, env=env)
    return code, out.decode(errors="replace").replace("\r\n", "\n")


def start_wine(*args, cwd=None, env=None):
    """Starts a Windows program and returns its process; what it prints is dropped."""
    return subprocess.Popen(["wine", *args], cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def probe(*args, timeout=30, env=None):
    """Runs perch_probe.exe; a wait it gave up on says on stderr what it waited for."""
    code, out, err = run_wine(PROBE, *args, timeout=timeout, env=env)
    if code and err:
        sys.stderr.write(err.decode(errors="replace"))
    return code, out.decode(errors="replace").replace("\r\n", "\n")


def accessory_rect(env=None):
    code, out = probe("rect", env=env)
    return tuple(int(v) for v in out.split()) if code == 0 else None


def accessory_window():
    """The accessory window's handle, to tell copies apart; None if there is none."""
    code, out = probe("window")
    return out.strip() if code == 0 else None


def accessory_shape():
    """The pixels the accessory's shape covers, as (x, y) in window coordinates."""
    covered = set()
    for line in probe("region")[1].splitlines()[1:]:
        left, top, right, bottom = (int(v) for v in line.split())
        covered.update((x, y) for y in range(top, bottom) for x in range(left, right))
    return covered


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
    """How many popup menus are open on the screen; -1 if the probe could not tell."""
    code, out = probe("menus")
    return int(out) if code == 0 and out.strip() else -1


def post(command):
    """Chooses a menu command as the menu does: posts WM_COMMAND with its number (a number, or its
    name in res/resource.h) to the accessory window. False if there is no accessory."""
    return probe("post", str(IDS[command] if isinstance(command, str) else command))[0] == 0


def wait_for(condition, seconds=10.0, step=0.1):
    until = time.time() + seconds
    while time.time() < until:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return condition()


def inside(skin):
    """A pixel of the skin (a Bmp) well inside its shape and above the part a title bar covers:
    a click there reaches the accessory, not what lies under it."""
    found = [(x, y) for y in range(1, skin.height - 1 - TITLE_OVERLAP)
             for x in range(1, skin.width - 1)
             if all(skin.pixel(x + dx, y + dy) != MAGENTA
                    for dx, dy in ((0, 0), (-1, 0), (1, 0), (0, -1), (0, 1)))]
    return found[len(found) // 2]

def misshapen_on_screen(skin):
    """The pixels of skin (a Bmp) where the X window's shape is not the window's region, under this
    Wine. Wine 8 shapes the X window exactly as the region. Wine 10.0 makes the X shape from a
    1-bit mask and misplaces a run that lies within one byte of it (8 columns): the run from x to
    x1 shows from x1 to the byte's end instead, so a thin stroke of the skin is missing on the
    screen and a click there falls through. Those bytes' pixels are returned; the region the
    program sets is checked exactly through GetWindowRgn all the same."""
    if not WINE_VERSION.startswith("wine-10."):
        return set()
    misshapen = set()
    for y in range(skin.height):
        x = 0
        while x < skin.width:
            if skin.pixel(x, y) == MAGENTA:
                x += 1
                continue
            start = x
            while x < skin.width and skin.pixel(x, y) != MAGENTA:
                x += 1
            if start // 8 == (x - 1) // 8:
                byte = start // 8 * 8
                misshapen.update((column, y) for column in range(byte, byte + 8))
    return misshapen


def click_accessory(skin, button=1):
    """Clicks the accessory showing skin (a Bmp) inside its shape, as a user would."""
    left, top, _, _ = accessory_rect()
    x, y = inside(skin)
    xdotool("mousemove", left + x, top + y, "click", button)


def open_menu(skin):
    """Right-clicks the accessory showing skin inside its shape; whether its context menu opened."""
    click_accessory(skin, 3)
    return wait_for(lambda: open_menus() == 1, 20)


def choose_skin_by_keys(downs):
    """With the context menu open, the keys a user presses: スキン ▸, then the item downs below the
    submenu's first, and Enter. False if the submenu did not open."""
    xdotool("key", "Down", "Right")
    if not wait_for(lambda: open_menus() == 2, 20):
        return False
    xdotool("key", *["Down"] * downs, "Return")
    return True


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
        """What setting.ini holds; None if there is none."""
        try:
            with open(self.path(SETTINGS_FILE), "rb") as file:
                return file.read()
        except OSError:
            return None

    def start(self, cwd=None, env=None):
        """Starts Perchling.exe as a user would, from its folder (or from cwd)."""
        process = start_wine(self.path("Perchling.exe"), cwd=cwd or self.dir, env=env)
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
        self.process = start_wine(PROBE, "target", title, str(x), str(y), str(width), str(height))
        self.rect = (x, y, x + width, y + height)
        self.centre = (x + width // 2, y + height // 2)

    def perch(self, skin):
        """Where the accessory showing skin (a Bmp, or its (width, height)) perches on this window:
        (left, top, right, bottom)."""
        width, height = (skin.width, skin.height) if isinstance(skin, Bmp) else skin
        return perch(self.rect[2], self.rect[1], width, height)

    def wait_shown(self, seconds=20):
        """Waits until the window is drawn on the screen; False if it never is."""
        return bool(wait_for(lambda: Screenshot().pixel(*self.centre) == self.GREEN, seconds,
                             step=0.2))

    def close(self):
        self.process.kill()
        self.process.wait(timeout=10)


# Windows' UTF-8 option for one program: Wine and Windows honour this manifest beside an exe that
# embeds none of its own, and GetACP() then answers 65001.
UTF8_MANIFEST = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <application>
    <windowsSettings>
      <activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>
    </windowsSettings>
  </application>
</assembly>
"""


def give_utf8_manifest(exe):
    with open(exe + ".manifest", "w", encoding="utf-8") as file:
        file.write(UTF8_MANIFEST)


def startup_folder():
    """The Startup folder of the Wine prefix's user (Wine spells it "StartUp"; Windows names are
    case-insensitive, the Linux file system is not)."""
    programs = os.path.join(os.environ["WINEPREFIX"], "drive_c", "users", getpass.getuser(),
                            "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs")
    name = next((n for n in os.listdir(programs) if n.lower() == "startup"), "Startup")
    return os.path.join(programs, name)


def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True, timeout=30)


def write_file(path, data):
    with open(path, "wb") as file:
        file.write(data)


def fold(name):
    """The catalogue's order, worked out here independently of the program: bytes compared
    unsigned with 'A'-'Z' folded to 'a'-'z'."""
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


def answer_box(seconds=20, button=1):
    """The text of the next message box titled "Perchling", answered with button (OK)."""
    code, text = probe("box", str(seconds), str(button), timeout=seconds + 30)
    return text.rstrip("\n") if code == 0 else None


# Why a test that needs chattr +i did not run: an ordinary user (or a file system without the flag).
NO_IMMUTABLE = "chattr +i needs root (CAP_LINUX_IMMUTABLE) and a file system with the flag"


def immutable(path, on=True):
    """Makes a file or folder read-only even for root; False where chattr is not supported."""
    done = subprocess.run(["chattr", "+i" if on else "-i", path], capture_output=True)
    return done.returncode == 0


def close_all(seconds=20):
    probe("close")
    return wait_for(lambda: probe("count")[1].strip() == "0", seconds)


def main():
    unittest.main(verbosity=2)
