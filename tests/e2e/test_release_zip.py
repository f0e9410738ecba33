"""The release zip as a Windows user gets it: one folder with the program, its skins and three
texts; a readme.txt that Notepad on a Japanese Windows shows cleanly, and an English one that names
the menu's items as the menu shows them; and Perchling started from the unpacked folder in a path
with Japanese and spaces, taken through every skin of its menu and closed from it; a picture
dropped on the kit there, offered after the rescan and shown; and the skin kit run from there,
finding every shipped skin fine."""
import glob
import hashlib
import os
import re
import tempfile
import unittest
import zipfile

from perchling import (SETTINGS_FILE, WINDOWS_BUILD, Install, Target, accessory_count,
                       accessory_rect, accessory_shape, accessory_window, choose_skin_by_keys, fold,
                       main, open_menu, open_menus, run_wine, settings_naming, wait_for, wine,
                       xdotool)
from pictures import Bmp, png_bytes
from program_values import TEXTS
from test_skinkit import drawn_bird, text, windows_path

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
RELEASE = os.path.join(WINDOWS_BUILD, "release")
TOP = "Perchling/"
SECTIONS = ["概要", "動作環境", "インストール", "使い方", "スキンの作り方", "アンインストール",
            "困ったとき", "既知の制限", "補足", "免責", "ライセンス", "更新履歴"]
# The texts of res/texts.h that are no message box of their own.
NOT_MESSAGES = re.compile(r"TEXT_(MENU_|ABOUT_|URL_|TITLE$|SHORTCUT_|SAVE_FAILED_ADVICE$)")
TARGET = (400, 500, 500, 300)  # x, y, width, height of the window the accessory perches on


def shown(menu_text):
    """A menu text as the menu shows it: '&' marks the next character, '&&' is one '&'."""
    return re.sub(r"&(.)", r"\1", menu_text)


def shipped_skins():
    return sorted(name for name in os.listdir(os.path.join(SOURCE, "skin"))
                  if name.endswith(".bmp"))


def release_zip():
    found = glob.glob(os.path.join(RELEASE, "Perchling-*-win64.zip"))
    if len(found) != 1:
        raise AssertionError(f"not one release zip in {RELEASE}: {found}")
    return found[0]


class ReleaseZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.path = release_zip()
        with zipfile.ZipFile(cls.path) as archive:
            cls.names = archive.namelist()
            cls.files = {name: archive.read(name) for name in cls.names}

    def test_holds_one_folder_with_the_program_its_skins_and_three_texts(self):
        expected = [TOP, TOP + "LICENSE.txt", TOP + "Perchling.exe", TOP + "perchskin.exe",
                    TOP + "readme.txt", TOP + "readme_en.txt", TOP + "skin/"] + [
                        TOP + "skin/" + name for name in shipped_skins()]
        self.assertEqual(sorted(expected, key=lambda name: name.encode()), self.names)
        with open(os.path.join(WINDOWS_BUILD, "Perchling.exe"), "rb") as file:
            self.assertEqual(file.read(), self.files[TOP + "Perchling.exe"], "not this build's")

    def test_the_programs_are_small_and_carry_no_cxx_runtime_exception_or_demangler_strings(self):
        for name in ("Perchling.exe", "perchskin.exe"):
            for sign in (b"terminate called", b"(anonymous namespace)", b"std::bad_exception"):
                self.assertNotIn(sign, self.files[TOP + name], name)
        self.assertLess(len(self.files[TOP + "perchskin.exe"]), 70000)

    def test_name_checksum_and_readme_carry_the_version(self):
        version = "0.00"
        self.assertEqual(f"Perchling-{version}-win64.zip", os.path.basename(self.path))
        with open(self.path, "rb") as file:
            digest = hashlib.sha256(file.read()).hexdigest()
        with open(os.path.join(RELEASE, "SHA256SUMS"), encoding="ascii") as file:
            self.assertEqual(f"{digest}  {os.path.basename(self.path)}\n", file.read())
        self.assertIn(f"ver {version}", self.files[TOP + "readme.txt"].decode("cp932"))
        self.assertIn(f"ver {version}", self.files[TOP + "readme_en.txt"].decode("utf-8"))

    def test_texts_are_shift_jis_or_marked_utf8_with_crlf_line_ends(self):
        # Notepad reads the Japanese texts as Shift-JIS, the English one by its UTF-8 mark.
        for name, encoding, start in (("readme.txt", "cp932", b""), ("LICENSE.txt", "cp932", b""),
                                      ("readme_en.txt", "utf-8", b"\xef\xbb\xbf")):
            data = self.files[TOP + name]
            data.decode(encoding)  # raises on anything that is not in that encoding
            self.assertTrue(data.startswith(start) and data.endswith(b"\r\n"), name)
            lines = data.count(b"\r\n")
            self.assertEqual((lines, lines), (data.count(b"\n"), data.count(b"\r")), name)
        self.assertIn("Copyright (c) 2026 Fenwobble", self.files[TOP + "LICENSE.txt"].decode())

    def test_readme_has_its_sections_in_order_names_every_menu_item_message_and_the_wine(self):
        readme = self.files[TOP + "readme.txt"].decode("cp932")
        self.assertEqual(SECTIONS, [line[2:] for line in readme.splitlines()
                                    if line.startswith("■ ")])
        english = self.files[TOP + "readme_en.txt"].decode("utf-8")
        menu = {name: text for name, text in TEXTS.items() if name.startswith("TEXT_MENU_")}
        self.assertGreaterEqual(len(menu), 6)
        for name, text in menu.items():
            for file, body in (("readme.txt", readme), ("readme_en.txt", english)):
                self.assertTrue(shown(text) in body, f"{file} lacks {shown(text)} ({name})")
        # 困ったとき quotes every message's first line, wrapped at any space or line end.
        messages = {name: text for name, text in TEXTS.items() if not NOT_MESSAGES.match(name)}
        self.assertGreaterEqual(len(messages), 11)
        unwrapped = re.sub(r"\s", "", readme.split("■ 困ったとき")[1].split("\n■ ")[0])
        for name, text in messages.items():
            first = re.sub(r"\s", "", text.split("\n")[0])
            self.assertTrue(f"「{first}" in unwrapped, f"readme.txt does not quote {name}")
        tested = wine("--version")[1].strip()
        self.assertTrue(tested in readme, f"readme.txt does not name the Wine tested on: {tested}")


class Unpacked(Install):
    """The release zip unpacked with zipfile into a folder whose path holds Japanese and spaces."""

    def __init__(self, archive):
        self.root = tempfile.mkdtemp(prefix="perchling-e2e-")
        parent = os.path.join(self.root, "ダウンロード した ファイル")
        with zipfile.ZipFile(archive) as unpacked:
            unpacked.extractall(parent)
        self.dir = os.path.join(parent, "Perchling")
        self.processes = []

    def files(self):
        return sorted(os.path.relpath(os.path.join(folder, name), self.dir)
                      for folder, _, names in os.walk(self.dir) for name in names)


class UnpackedRelease(unittest.TestCase):
    def setUp(self):
        self.install = Unpacked(release_zip())
        self.target = Target("展開先から", *TARGET)

    def tearDown(self):
        self.target.close()
        self.install.remove()

    def perched(self, skin):
        """Brings the target window to the front until the accessory sits on it as skin."""
        x, y, width, _ = TARGET
        expected = self.target.perch(skin)

        def brought_forward():
            if accessory_rect() != expected:
                xdotool("mousemove", x + width // 2, y + 200, "click", 1)
            return wait_for(lambda: accessory_rect() == expected, 2)

        self.assertTrue(wait_for(brought_forward, 40),
                        f"never perched at {expected}; now at {accessory_rect()}")
        return expected

    def open_menu(self, skin):
        """Right-clicks the bird perched on the target, inside its shape and above the title bar."""
        self.perched(skin)
        self.assertTrue(open_menu(skin), "no context menu opened")

    def choose_skin(self, skin, downs):
        """スキン ▸, then the item downs below the submenu's first."""
        self.open_menu(skin)
        old = accessory_window()
        self.assertTrue(choose_skin_by_keys(downs), "the スキン submenu did not open")
        self.assertTrue(wait_for(lambda: accessory_window() not in (None, old)
                                 and accessory_count() == 1, 30),
                        f"no new copy replaced the old one after item {downs}")

    def test_runs_from_a_japanese_path_with_spaces_shows_every_skin_and_closes(self):
        self.install.start()
        self.assertTrue(wait_for(accessory_rect, 30), "no accessory window appeared")
        default = Bmp(self.install.path("skin", "default.bmp"))
        self.perched(default)
        self.assertEqual(default.opaque(), accessory_shape())

        # The submenu lists the shipped skins in the catalogue's order, and nothing else: each
        # item starts its skin, and one step past the last is the first again.
        names = sorted((name[:-4] for name in shipped_skins()),
                       key=lambda name: fold(name.encode("cp932")))
        current = default
        for downs in range(1, len(names) + 1):
            name = names[downs % len(names)]
            self.choose_skin(current, downs)
            self.assertEqual(settings_naming(name), self.install.settings(), f"item {downs}")
            current = Bmp(self.install.path("skin", name + ".bmp"))
            self.perched(current)

        # Close (閉じる) writes the settings beside the program, and nothing else is left there.
        os.remove(self.install.path(SETTINGS_FILE))
        self.open_menu(current)
        xdotool("key", "e")
        self.assertTrue(wait_for(lambda: accessory_count() == 0, 30), "閉じる left it running")
        self.assertEqual(settings_naming(names[0]), self.install.settings())
        with zipfile.ZipFile(release_zip()) as archive:
            shipped = [name[len(TOP):] for name in archive.namelist() if not name.endswith("/")]
        self.assertEqual(sorted(shipped + [SETTINGS_FILE]), self.install.files())

    def test_a_picture_dropped_on_the_kit_is_offered_after_the_rescan_and_shown(self):
        self.install.start()
        self.assertTrue(wait_for(accessory_rect, 30), "no accessory window appeared")
        default = Bmp(self.install.path("skin", "default.bmp"))
        # Explorer starts the kit with the dropped file alone; "aa" sorts before every shipped skin.
        picture = os.path.join(self.install.root, "aa.png")
        with open(picture, "wb") as file:
            file.write(png_bytes(24, 20, drawn_bird))
        code, out, err = run_wine(self.install.path("perchskin.exe"), windows_path(picture),
                                  timeout=120)
        self.assertEqual(0, code, out.decode("cp932", "replace") + err.decode("cp932", "replace"))
        self.open_menu(default)
        xdotool("key", "u")  # スキン情報を更新(&U)
        self.assertTrue(wait_for(lambda: open_menus() == 0, 20), "the menu stayed open")
        self.choose_skin(default, 0)
        self.assertEqual(settings_naming("aa"), self.install.settings())
        skin = Bmp(self.install.path("skin", "aa.bmp"))
        self.perched(skin)
        self.assertEqual(skin.opaque(), accessory_shape())


class UnpackedKit(unittest.TestCase):
    def test_the_kit_checks_every_shipped_skin_clean_from_the_unpacked_folder(self):
        install = Unpacked(release_zip())
        try:
            skins = [windows_path(install.path("skin", name)) for name in shipped_skins()]
            code, out, err = run_wine(install.path("perchskin.exe"), "check", *skins, timeout=120)
            out = out.decode("cp932")
            self.assertEqual(0, code, out + err.decode("cp932", "replace"))
            self.assertEqual(len(skins), out.count(text("TEXT_KIT_VERDICT_FINE")), out)
        finally:
            install.remove()


if __name__ == "__main__":
    main()
