"""Two copies at once, and skin switches in a quick row, with the real Perchling.exe under Wine:
each copy follows and writes the same setting.ini at teardown without spoiling it; after twenty
switches exactly one copy runs, showing the last skin chosen, and setting.ini names it."""
import unittest

from perchling import (SETTINGS_FILE, Install, Target, accessory_count, accessory_rect, close_all,
                       main, probe, settings_naming, wait_for)
from pictures import bmp_size
from program_values import IDS

FIRST_SKIN = IDS["IDM_FIRST_SKIN"]


class Concurrency(unittest.TestCase):
    def setUp(self):
        self.install = Install()

    def tearDown(self):
        close_all()
        self.install.remove()

    def test_two_copies_follow_and_share_the_settings_file(self):
        with open(self.install.path(SETTINGS_FILE), "wb") as file:
            file.write(settings_naming("night"))
        first, second = self.install.start(), self.install.start()
        self.assertTrue(wait_for(lambda: accessory_count() == 2, 30))
        target = Target("Target", 300, 400, 500, 300)
        try:
            expected = target.perch(bmp_size(self.install.path("skin", "night.bmp")))
            self.assertTrue(wait_for(lambda: accessory_rect() == expected, 20), accessory_rect())
        finally:
            target.close()
        probe("close")
        self.assertEqual(0, first.wait(timeout=20))
        self.assertEqual(0, second.wait(timeout=20))
        self.assertEqual(settings_naming("night"), self.install.settings())

    def test_twenty_switches_in_a_row_end_with_one_copy_of_the_last_skin(self):
        # The shipped skins sort as default, night, ソラ.
        default, night, sora = FIRST_SKIN, FIRST_SKIN + 1, FIRST_SKIN + 2
        names = {default: "default", night: "night", sora: "ソラ"}
        files = {default: "default.bmp", night: "night.bmp", sora: "ソラ.bmp"}
        first = self.install.start()
        self.assertTrue(wait_for(accessory_rect, 20))
        commands = [night, sora, default, sora, night] * 4
        for number, command in enumerate(commands):
            code, _ = probe("switch", str(command), "30", timeout=60)
            self.assertEqual(0, code, f"switch {number + 1} did not bring up a new copy")
        self.assertEqual(0, first.wait(timeout=20))
        self.assertTrue(wait_for(lambda: accessory_count() == 1, 20), "exactly one copy runs")
        last = commands[-1]
        rect = accessory_rect()
        self.assertEqual(bmp_size(self.install.path("skin", files[last])),
                         (rect[2] - rect[0], rect[3] - rect[1]))
        self.assertEqual(settings_naming(names[last]), self.install.settings())
        self.assertTrue(close_all())
        self.assertEqual(settings_naming(names[last]), self.install.settings())


if __name__ == "__main__":
    main()
