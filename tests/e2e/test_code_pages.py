"""Perchling on a Western system (ANSI code page 1252) installed in a folder named Café: "é" is
0xE9 there, a character of its own, so the install folder is the Café folder, not its parent.
The skin is found and setting.ini is written beside the program."""
import os
import subprocess
import tempfile
import unittest

from perchling import PROBE, Bmp, Install, main, wait_for

# Wine takes the ANSI code page from the Unix locale: C.UTF-8 gives 1252.
WESTERN = {**os.environ, "LANG": "C.UTF-8"}


def western_probe(*args):
    """Runs the probe in the Western locale too. Its output goes through a file, not a pipe: a
    Wine process in a locale other than the session's can leave a helper process holding a pipe
    open, and reading it would wait for that helper, not for the probe."""
    with tempfile.TemporaryFile("w+") as output:
        code = subprocess.run(["wine", PROBE, *args], stdout=output, stderr=subprocess.DEVNULL,
                              timeout=60, env=WESTERN).returncode
        output.seek(0)
        return code, output.read()


def accessory_rect():
    code, out = western_probe("rect")
    return tuple(int(v) for v in out.split()) if code == 0 else None


class WesternCodePage(unittest.TestCase):
    def setUp(self):
        self.install = Install(name="Café")

    def tearDown(self):
        self.install.remove()

    def test_an_accented_install_folder_is_the_install_folder(self):
        process = subprocess.Popen(["wine", self.install.path("Perchling.exe")],
                                   cwd=self.install.dir, env=WESTERN,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.install.processes.append(process)
        rect = wait_for(accessory_rect, 30)
        self.assertTrue(rect, "no accessory window appeared")
        self.assertNotEqual(0, western_probe("dialog", "Perchling")[0],
                            "a message box: the skin was not found")
        picture = Bmp(self.install.path("skin", "default.bmp"))
        self.assertEqual((picture.width, picture.height), (rect[2] - rect[0], rect[3] - rect[1]))

        western_probe("close")
        self.assertEqual(0, process.wait(timeout=30), "the accessory must end with code 0")
        self.assertEqual(b"[MAIN]\r\nSKIN=default\r\n", self.install.settings())
        self.assertFalse(os.path.exists(os.path.join(self.install.root, "setting.ini")),
                         "setting.ini went to the folder above the install folder")


if __name__ == "__main__":
    main()
