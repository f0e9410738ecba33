"""Plumbing for the hostile-input and concurrency tests: the catalogue's order computed
independently, snapshots of a folder tree, and read-only folders and files that hold even for root
(chattr +i). The pictures and the accessory window come from perchling.py (kept here by name for
the tests that import them from this module)."""
import os
import subprocess

from perchling import (MAGENTA, TEXTS, accessory_window, bmp_bytes, bmp_size,  # noqa: F401
                       probe, wait_for)

PICTURE_SIZE_FAILED = TEXTS["TEXT_PICTURE_SIZE_FAILED"]
SAVE_FAILED = TEXTS["TEXT_SAVE_FAILED"]
SKIN_MISSING = TEXTS["TEXT_SKIN_MISSING"]


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

