"""The real Perchling.exe under Wine, driven through its context menu with the mouse and keys: the
About box, which the accessory climbs onto, and the registration in the Startup folder."""
import os
import unittest

from perchling import (TEXTS, Bmp, Install, accessory_rect, dialog, main, open_menus,
                       startup_folder, wait_for, xdotool)

ABOUT_CAPTION = TEXTS["TEXT_ABOUT_CAPTION"]
ABOUT_DOWNS = 4  # スキン, スキン情報を更新, スタートアップに登録, Perchling について (separators skipped)
STARTUP_DOWNS = 3


class MenuCommands(unittest.TestCase):
    def setUp(self):
        self.install = Install()
        self.skin = Bmp(self.install.path("skin", "default.bmp"))
        self.shortcut = os.path.join(startup_folder(), "Perchling.lnk")
        self.remove_shortcut()
        self.process = self.install.start()
        self.assertTrue(wait_for(accessory_rect, 20), "no accessory window appeared")

    def tearDown(self):
        self.install.remove()
        self.remove_shortcut()

    def remove_shortcut(self):
        if os.path.isfile(self.shortcut):
            os.remove(self.shortcut)

    def choose(self, downs):
        """Opens the context menu on the bird and chooses an item by keys."""
        left, top, _, _ = accessory_rect()
        x, y = self.skin.body_pixel()
        xdotool("mousemove", left + x, top + y, "click", 3)
        self.assertTrue(wait_for(lambda: open_menus() == 1, 20), "the context menu did not open")
        xdotool("key", *["Down"] * downs, "Return")

    def test_about_box_is_where_the_accessory_perches_and_enter_closes_it(self):
        self.choose(ABOUT_DOWNS)
        about = wait_for(lambda: dialog(ABOUT_CAPTION), 20)
        self.assertTrue(about, "no About box appeared")
        (left, top, right, bottom), texts = about
        self.assertIn(TEXTS["TEXT_URL_MAKER"], texts)
        self.assertIn(TEXTS["TEXT_URL_CHARACTER"], texts)
        expected = (right - 60 - self.skin.width, top + 22 - self.skin.height, right - 60, top + 22)
        self.assertEqual(expected, wait_for(lambda: accessory_rect() == expected and expected, 20)
                         or accessory_rect())

        xdotool("key", "Return")
        self.assertTrue(wait_for(lambda: dialog(ABOUT_CAPTION) is None, 20), "Enter left it open")

    def test_startup_command_writes_the_shortcut_and_says_so(self):
        self.choose(STARTUP_DOWNS)
        box = wait_for(lambda: dialog(TEXTS["TEXT_TITLE"]), 20)
        self.assertTrue(box, "no message box appeared")
        self.assertIn(TEXTS["TEXT_REGISTERED"], box[1])
        self.assertTrue(os.path.isfile(self.shortcut), self.shortcut)
        with open(self.shortcut, "rb") as file:
            self.assertIn(b"Perchling.exe", file.read())

        xdotool("key", "Return")
        self.assertTrue(wait_for(lambda: dialog(TEXTS["TEXT_TITLE"]) is None, 20), "the box stayed")


if __name__ == "__main__":
    main()
