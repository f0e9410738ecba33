"""The real Perchling.exe under Wine, its menu commands chosen from outside as the menu does (the
tests of the keys are test_skins.py and test_release_zip.py): the About box, which the accessory
climbs onto, and the registration in the Startup folder; and the menu opened by a right-click on
a single pixel of a checkerboard skin."""
import os
import unittest

from perchling import (REGISTERED, TITLE, WINE_VERSION, Install, accessory_rect, click_accessory,
                       dialog, main, open_menus, perch, post, startup_folder, wait_for, xdotool)
from pictures import MAGENTA, Bmp, bmp_bytes

ABOUT_CAPTION = "□　Perchling について"


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

    def choose(self, command):
        """Chooses a menu command of the accessory, clicked first as a user would (so that what it
        opens may come to the front)."""
        click_accessory(self.skin)
        self.assertTrue(post(command), "no accessory window to post the command to")

    def test_about_box_is_where_the_accessory_perches_and_enter_closes_it(self):
        self.choose("IDM_ABOUT")
        about = wait_for(lambda: dialog(ABOUT_CAPTION), 20)
        self.assertTrue(about, "no About box appeared")
        (left, top, right, bottom), texts = about
        self.assertIn("https://fenwobble.example/", texts)
        self.assertIn("https://fenwobble.example/bird/", texts)
        expected = perch(right, top, self.skin.width, self.skin.height)
        self.assertEqual(expected, wait_for(lambda: accessory_rect() == expected and expected, 20)
                         or accessory_rect())

        xdotool("key", "Return")
        self.assertTrue(wait_for(lambda: dialog(ABOUT_CAPTION) is None, 20), "Enter left it open")

    def test_startup_command_writes_the_shortcut_and_says_so(self):
        self.choose("IDM_STARTUP")
        box = wait_for(lambda: dialog(TITLE), 20)
        self.assertTrue(box, "no message box appeared")
        self.assertIn(REGISTERED, box[1])
        self.assertTrue(os.path.isfile(self.shortcut), self.shortcut)
        with open(self.shortcut, "rb") as file:
            self.assertIn(b"Perchling.exe", file.read())

        xdotool("key", "Return")
        self.assertTrue(wait_for(lambda: dialog(TITLE) is None, 20), "the box stayed")


class CheckerboardClicks(unittest.TestCase):
    """A skin whose every opaque pixel stands alone: a right-click on one pixel opens the menu.
    Wine 8 takes the click on every one. Wine 10.0 misplaces one-pixel runs in the X window's
    shape (misshapen_on_screen): in each byte of a row (8 columns) the shape starts just after
    the first opaque pixel, so a click on that pixel goes to the desktop and no menu can open,
    while the byte's other opaque pixels lie inside the shape and open the menu as under Wine 8.
    Those first pixels are clicked under Wine 8 only."""
    SIDE = 32

    def setUp(self):
        self.install = Install()
        side = self.SIDE
        with open(self.install.path("skin", "default.bmp"), "wb") as file:
            file.write(bmp_bytes(side, side,
                                 lambda x, y: 0xC86432 if (x + y) % 2 == 0 else MAGENTA))
        self.install.start()
        self.assertTrue(wait_for(lambda: (lambda r: r and r[2] - r[0] == side)(accessory_rect()),
                                 20), "no checkerboard accessory appeared")

    def tearDown(self):
        self.install.remove()

    def test_a_right_click_on_one_pixel_opens_the_menu(self):
        pixels = [(2, 0), (11, 1), (21, 11), (31, 31)]
        if not WINE_VERSION.startswith("wine-10."):
            pixels += [(0, 0), (9, 1), (16, 16)]
        for x, y in pixels:
            left, top, _, _ = accessory_rect()
            xdotool("mousemove", left + x, top + y, "click", 3)
            self.assertTrue(wait_for(lambda: open_menus() == 1, 20),
                            f"no menu after a right-click on ({x}, {y}) under {WINE_VERSION}")
            xdotool("key", "Escape")
            self.assertTrue(wait_for(lambda: open_menus() == 0, 20), "Escape left the menu open")


if __name__ == "__main__":
    main()
