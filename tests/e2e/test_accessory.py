"""The real Perchling.exe under Wine: it perches on the foreground window, shows its skin cut to
shape, and closes cleanly on the close keystroke."""
import time
import unittest

from perchling import (MAGENTA, Bmp, Install, Screenshot, Target, accessory_rect, main, wait_for,
                       xdotool)


class AccessoryOnTheDesktop(unittest.TestCase):
    def setUp(self):
        self.install = Install()
        self.skin = Bmp(self.install.path("skin", "default.bmp"))
        self.target = None

    def tearDown(self):
        if self.target:
            self.target.close()
        self.install.remove()

    def perch(self, right, top):
        return (right - self.skin.width - 60, top - self.skin.height + 22,
                right - 60, top + 22)

    def test_perches_shows_its_shape_and_closes_cleanly(self):
        self.target = Target("Target", 400, 500, 500, 300)
        time.sleep(1.5)
        before = Screenshot()
        process = self.install.start()
        self.assertTrue(wait_for(accessory_rect, 20), "no accessory window appeared")
        xdotool("mousemove", 650, 700, "click", 1)  # the target to the front again
        expected = self.perch(900, 500)
        self.assertEqual(expected, wait_for(lambda: accessory_rect() == expected and expected, 20)
                         or accessory_rect())

        # Skin pixels are shown as they are; where the skin is magenta, what was on the screen
        # before shows through. (Only the rows above the target are compared for skin pixels.)
        time.sleep(0.5)
        shot = Screenshot()
        left, top = expected[0], expected[1]
        shown = cut = 0
        for y in range(self.skin.height):
            for x in range(self.skin.width):
                colour = self.skin.pixel(x, y)
                if colour == MAGENTA:
                    self.assertEqual(before.pixel(left + x, top + y),
                                     shot.pixel(left + x, top + y), (x, y))
                    cut += 1
                elif y < self.skin.height - 22:
                    self.assertEqual(colour, shot.pixel(left + x, top + y), (x, y))
                    shown += 1
        self.assertGreater(shown, 500)
        self.assertGreater(cut, 500)

        # A click on an opaque pixel brings it to the front; the close keystroke ends it.
        x, y = next((x, y) for y in range(self.skin.height) for x in range(self.skin.width)
                    if self.skin.pixel(x, y) != MAGENTA)
        xdotool("mousemove", left + x, top + y, "click", 1)
        xdotool("key", "alt+F4")
        self.assertEqual(0, process.wait(timeout=20))
        self.assertEqual(b"[MAIN]\r\nSKIN=default\r\n", self.install.settings())


if __name__ == "__main__":
    main()
