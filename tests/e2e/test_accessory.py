"""The real Perchling.exe under Wine: it perches on the foreground window, shows its skin cut to
shape, and closes cleanly on the close keystroke."""
import unittest

from perchling import (TITLE_OVERLAP, WINE_VERSION, Install, Screenshot, Target, accessory_rect,
                       click_accessory, main, misshapen_on_screen, settings_naming, still_screen,
                       wait_for, xdotool)
from pictures import MAGENTA, Bmp


class AccessoryOnTheDesktop(unittest.TestCase):
    def setUp(self):
        self.install = Install()
        self.skin = Bmp(self.install.path("skin", "default.bmp"))
        self.target = None

    def tearDown(self):
        if self.target:
            self.target.close()
        self.install.remove()

    def test_perches_shows_its_shape_and_closes_cleanly(self):
        self.target = Target("Target", 400, 500, 500, 300)
        self.assertTrue(self.target.wait_shown(), "the target window was never drawn")
        expected = self.target.perch(self.skin)
        left, top = expected[0], expected[1]
        before = still_screen(expected)
        self.assertTrue(before, "the screen under the perch never settled")
        process = self.install.start()
        self.assertTrue(wait_for(accessory_rect, 20), "no accessory window appeared")
        xdotool("mousemove", 650, 700, "click", 1)  # the target to the front again
        self.assertEqual(expected, wait_for(lambda: accessory_rect() == expected and expected, 20)
                         or accessory_rect())

        # Skin pixels are shown as they are; where the skin is magenta, what was on the screen
        # before shows through. (Only the rows above the target are compared for skin pixels, and
        # not where this Wine's X shape is not the window's region.)
        misshapen = misshapen_on_screen(self.skin)
        self.assertLess(len(misshapen), len(self.skin.opaque()) // 10, WINE_VERSION)

        def differences(shot):
            wrong = []
            for y in range(self.skin.height):
                for x in range(self.skin.width):
                    colour = self.skin.pixel(x, y)
                    if (x, y) in misshapen:
                        continue
                    elif colour == MAGENTA:
                        seen, wanted = shot.pixel(left + x, top + y), before.pixel(left + x, top + y)
                    elif y < self.skin.height - TITLE_OVERLAP:
                        seen, wanted = shot.pixel(left + x, top + y), colour
                    else:
                        continue
                    if seen != wanted:
                        wrong.append(((x, y), wanted, seen))
            return wrong

        shot = wait_for(lambda: (lambda s: not differences(s) and s)(Screenshot()), 20, step=0.2)
        wrong = differences(shot or Screenshot())
        self.assertEqual([], wrong[:5], f"{len(wrong)} pixels differ (skin pixel, wanted, seen)")
        opaque = self.skin.opaque()
        shown = sum(1 for (x, y) in opaque if y < self.skin.height - TITLE_OVERLAP)
        self.assertGreater(shown, 500)
        self.assertGreater(self.skin.width * self.skin.height - len(opaque), 500)

        # A click on the bird brings it to the front; the close keystroke ends it.
        click_accessory(self.skin)
        xdotool("key", "alt+F4")
        self.assertEqual(0, process.wait(timeout=20))
        self.assertEqual(settings_naming("default"), self.install.settings())


if __name__ == "__main__":
    main()
