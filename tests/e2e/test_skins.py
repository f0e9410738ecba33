"""Switching skins as a user does: a right-click on the bird, the スキン submenu, a skin chosen
with the keyboard. The running copy saves the choice and hands over to a new copy of itself."""
import unittest

from perchling import (Install, accessory_rect, accessory_shape, accessory_window,
                       choose_skin_by_keys, main, open_menu, settings_naming, wait_for)
from pictures import Bmp


class SkinSwitch(unittest.TestCase):
    def setUp(self):
        self.install = Install()
        self.process = self.install.start()
        self.window = wait_for(lambda: accessory_rect() and accessory_window(), 20)
        self.assertTrue(self.window, "no accessory window appeared")

    def tearDown(self):
        self.install.remove()

    def choose_skin(self, downs):
        """Right-click on the bird, then スキン ▸ and the skin downs items below the first."""
        self.assertTrue(open_menu(Bmp(self.install.path("skin", "default.bmp"))),
                        "the context menu did not open")
        self.assertTrue(choose_skin_by_keys(downs), "the skins submenu did not open")

    def expect_new_copy_showing(self, skin):
        self.assertEqual(0, self.process.wait(timeout=20), "the old copy must end with code 0")
        new_window = wait_for(lambda: (accessory_window() or self.window) != self.window
                              and accessory_window(), 20)
        self.assertTrue(new_window, "no new copy came up")
        picture = Bmp(self.install.path("skin", skin + ".bmp"))
        rect = wait_for(accessory_rect, 10)
        self.assertEqual((picture.width, picture.height), (rect[2] - rect[0], rect[3] - rect[1]))
        self.assertEqual(picture.opaque(), accessory_shape())
        self.assertEqual(settings_naming(skin), self.install.settings())

    def test_choosing_another_skin_restarts_with_it(self):
        self.choose_skin(1)  # default, night, ソラ: the second is night
        self.expect_new_copy_showing("night")

    def test_choosing_the_current_skin_restarts_all_the_same(self):
        self.choose_skin(0)
        self.expect_new_copy_showing("default")


if __name__ == "__main__":
    main()
