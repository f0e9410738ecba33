"""Perchling on a Western system (ANSI code page 1252) installed in a folder named Café: "é" is
0xE9 there, a character of its own, so the install folder is the Café folder, not its parent.
The skin is found and setting.ini is written beside the program."""
import os
import unittest

from perchling import (SETTINGS_FILE, Bmp, Install, accessory_rect, main, probe, settings_naming,
                       wait_for)

# Wine takes the ANSI code page from the Unix locale: C.UTF-8 gives 1252. The probe runs in that
# locale too.
WESTERN = {**os.environ, "LANG": "C.UTF-8"}


class WesternCodePage(unittest.TestCase):
    def setUp(self):
        self.install = Install(name="Café")

    def tearDown(self):
        self.install.remove()

    def test_an_accented_install_folder_is_the_install_folder(self):
        process = self.install.start(env=WESTERN)
        rect = wait_for(lambda: accessory_rect(env=WESTERN), 30)
        self.assertTrue(rect, "no accessory window appeared")
        self.assertNotEqual(0, probe("dialog", "Perchling", env=WESTERN)[0],
                            "a message box: the skin was not found")
        picture = Bmp(self.install.path("skin", "default.bmp"))
        self.assertEqual((picture.width, picture.height), (rect[2] - rect[0], rect[3] - rect[1]))

        probe("close", env=WESTERN)
        self.assertEqual(0, process.wait(timeout=30), "the accessory must end with code 0")
        self.assertEqual(settings_naming("default"), self.install.settings())
        self.assertFalse(os.path.exists(os.path.join(self.install.root, SETTINGS_FILE)),
                         "setting.ini went to the folder above the install folder")


if __name__ == "__main__":
    main()
