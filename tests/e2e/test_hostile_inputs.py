"""Hostile inputs with the real Perchling.exe under Wine, a representative set of the in-process
tables: broken and unusual pictures, a crowded skin folder with odd names, a broken or unwritable
setting.ini, deep and Japanese install paths, and another program's window titled "Perchling".
Each ends as the program should: the message with its exact text, answered from outside; never a
crash, a hang, a write outside the install folder, or a lost setting."""
import os
import unittest

from perchling import (FOLDER_PATH_TOO_LONG, NO_IMMUTABLE, PICTURE_SIZE_FAILED, SETTINGS_FILE,
                       Install, Target, accessory_count, accessory_rect, accessory_shape,
                       accessory_window, answer_box, close_all, fold, immutable, main, post,
                       probe, settings_naming, tree, wait_for, write_file)
from pictures import MAGENTA, bmp_bytes
from program_values import IDS

FIRST_SKIN = IDS["IDM_FIRST_SKIN"]


def save_failed(install):
    """The message shown when the install's setting.ini cannot be written: the line, the file as
    Wine names it, the advice."""
    path = "Z:" + install.path(SETTINGS_FILE).replace("/", "\\")
    return ("設定を保存できませんでした。\n" + path + "\n\nファイルが読み取り専用になっているか、"
            "管理者の権限がないと書き込めないフォルダ（C:\\Program Files の中など）に置かれている"
            "ためと思われます。\nファイルのプロパティで「読み取り専用」を外すか、Perchling の"
            "フォルダを書き込める場所（たとえば C:\\Tools\\Perchling）に移してください。")


def bird(x, y):
    dx, dy = x - 15, y - 10
    return MAGENTA if dx * dx * 4 + dy * dy * 9 > 900 or (x, y) == (21, 8) else (
        0x204060 if (x + y) % 3 else 0xE0A040)


class HostileInputs(unittest.TestCase):
    def setUp(self):
        self.install = Install()
        self.elsewhere = os.path.join(self.install.root, "elsewhere")  # the working folder
        os.makedirs(self.elsewhere)
        self.locked = []

    def tearDown(self):
        for path in self.locked:
            immutable(path, False)
        close_all()
        self.install.remove()

    def start(self, install=None):
        return (install or self.install).start(cwd=self.elsewhere)

    def lock(self, path):
        if not immutable(path):
            self.skipTest(NO_IMMUTABLE)
        self.locked.append(path)

    def close_and_wait(self, process):
        probe("close")
        self.assertEqual(0, process.wait(timeout=20))

    def test_broken_pictures_are_reported_and_leave_a_120_window(self):
        header = bytearray(bmp_bytes(4, 4, lambda x, y: 0x336699))
        header[18:26] = (100000).to_bytes(4, "little") * 2
        for what, data in [("zero-byte", b""), ("text", b"not a picture\r\n"),
                           ("100000 x 100000", bytes(header))]:
            with self.subTest(what):
                write_file(self.install.path("skin", "default.bmp"), data)
                process = self.start()
                self.assertEqual(PICTURE_SIZE_FAILED, answer_box())
                rect = wait_for(accessory_rect, 10)
                self.assertEqual((120, 120), (rect[2] - rect[0], rect[3] - rect[1]))
                self.close_and_wait(process)
                self.assertEqual(settings_naming("default"), self.install.settings())

    def test_32_bit_picture_with_opaque_fourth_byte_is_cut_to_its_shape(self):
        os.remove(self.install.path("skin", "default.bmp"))
        write_file(self.install.path("skin", "default.BMP"), bmp_bytes(31, 21, bird, 32, 0xFF))
        process = self.start()
        self.assertTrue(wait_for(accessory_rect, 20))
        rect = accessory_rect()
        self.assertEqual((31, 21), (rect[2] - rect[0], rect[3] - rect[1]))
        expected = {(x, y) for y in range(21) for x in range(31) if bird(x, y) != MAGENTA}
        self.assertEqual(expected, accessory_shape())
        self.close_and_wait(process)

    def test_crowded_folder_with_odd_names_switches_to_the_chosen_name(self):
        names = [f"p{i:03}".encode() for i in range(150)]
        names += [b"[x", b"_y", b"`z", b"a b", b"a.b", "さくら".encode("cp932"), b"n" * 99]
        for name in names:
            write_file(os.fsdecode(os.path.join(os.fsencode(self.install.path("skin")),
                                                name.decode("cp932").encode() + b".bmp")),
                       bmp_bytes(8, 8, lambda x, y: 0x404040))
        write_file(self.install.path("skin", "l" * 200 + ".bmp"), bmp_bytes(8, 8, lambda x, y: 0))
        catalogue = sorted(names + [b"default", b"night", "ソラ".encode("cp932")], key=fold)[:100]
        process = self.start()
        self.assertTrue(wait_for(accessory_rect, 20))
        for chosen in (b"`z", b"a.b"):
            with self.subTest(chosen):
                command = FIRST_SKIN + catalogue.index(chosen)
                self.assertEqual(0, probe("switch", str(command), "30", timeout=60)[0])
                self.assertEqual(settings_naming(chosen), self.install.settings())
        self.assertEqual(0, process.wait(timeout=20), "the first copy ends with code 0")
        self.assertEqual(1, accessory_count())
        self.assertTrue(close_all())

    def test_too_long_setting_is_left_alone_and_garbage_stays_readable(self):
        long_setting = settings_naming("l" * 300)
        write_file(self.install.path(SETTINGS_FILE), long_setting)
        process = self.start()
        self.assertEqual(PICTURE_SIZE_FAILED, answer_box())
        self.close_and_wait(process)
        self.assertEqual(long_setting, self.install.settings())

        write_file(self.install.path(SETTINGS_FILE), bytes(range(256)) * 3)
        process = self.start()
        self.assertTrue(wait_for(accessory_rect, 20))
        self.close_and_wait(process)
        self.assertIn(settings_naming("default"), self.install.settings())

    def test_read_only_settings_or_folder_refuse_the_switch_and_lose_nothing(self):
        write_file(self.install.path(SETTINGS_FILE), settings_naming("night"))
        self.lock(self.install.path(SETTINGS_FILE))
        process = self.start()
        window = wait_for(lambda: accessory_rect() and accessory_window(), 20)
        post(FIRST_SKIN)  # default
        self.assertEqual(save_failed(self.install), answer_box())
        # A relaunch would replace the window within moments; watched for a while, it stays.
        self.assertFalse(wait_for(lambda: accessory_window() != window, 0.5),
                         "the same copy goes on running")
        self.close_and_wait(process)
        self.assertEqual(settings_naming("night"), self.install.settings())

        immutable(self.install.path(SETTINGS_FILE), False)
        os.remove(self.install.path(SETTINGS_FILE))
        self.lock(self.install.dir)
        process = self.start()
        self.assertTrue(wait_for(accessory_rect, 20))
        post(FIRST_SKIN + 1)  # night
        self.assertEqual(save_failed(self.install), answer_box())
        self.close_and_wait(process)
        self.assertIsNone(self.install.settings())

    def test_deep_install_folders_are_refused_before_anything_is_written(self):
        # Z:\tmp\...\ as Wine names it: the exe's path is 259 characters, the picture's does not fit.
        unix_root = self.install.root
        # Install makes parent/perchling-e2e-XXXXXXXX/NAME; "Z:" + that + "\\" is to be 246 long.
        remaining = 246 - 2 - (len(unix_root) + len("/perchling-e2e-XXXXXXXX/")) - 1
        parts = []
        while remaining > 10:
            parts.append("d" * 9)
            remaining -= 10
        deep = Install(parent=unix_root, name=os.path.join(*parts, "e" * remaining))
        windows_dir = "Z:" + deep.dir.replace("/", "\\") + "\\"
        self.assertEqual(246, len(windows_dir))
        before = tree(unix_root)
        process = self.start(deep)
        self.assertEqual(FOLDER_PATH_TOO_LONG, answer_box())
        self.assertEqual(1, process.wait(timeout=20))
        self.assertEqual(before, tree(unix_root))
        self.assertEqual([], os.listdir(self.elsewhere))
        deep.remove()

    def test_japanese_path_with_spaces_works_as_any_other(self):
        japanese = Install(parent=self.install.root, name="ぺるりん の 止まり木")
        process = self.start(japanese)
        self.assertTrue(wait_for(accessory_rect, 20))
        self.assertEqual(0, probe("switch", str(FIRST_SKIN + 2), "30", timeout=60)[0])  # ソラ
        self.assertEqual(0, process.wait(timeout=20))
        self.assertEqual(settings_naming("ソラ"), japanese.settings())
        self.assertTrue(close_all())
        self.assertEqual([], os.listdir(self.elsewhere))
        japanese.remove()

    def test_another_programs_window_titled_perchling_is_not_climbed(self):
        process = self.start()
        self.assertTrue(wait_for(accessory_rect, 20))
        target = Target("Perchling", 300, 400, 500, 300)
        try:
            self.assertTrue(target.wait_shown(), "the namesake window was never drawn")
            rect = accessory_rect()
            # Ten follow ticks a second: watched for a while, it never moves.
            self.assertFalse(wait_for(lambda: accessory_rect() != rect, 1.0),
                             "it moved while its namesake was in front")
            self.assertNotEqual(target.perch((rect[2] - rect[0], rect[3] - rect[1])), rect,
                                "it must not perch on its namesake")
        finally:
            target.close()
        self.close_and_wait(process)


if __name__ == "__main__":
    main()
