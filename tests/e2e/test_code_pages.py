"""Perchling on a Western system (ANSI code page 1252) installed in a folder named Café: "é" is
0xE9 there, a character of its own, so the install folder is the Café folder, not its parent.
The skin is found and setting.ini is written beside the program.

Then the real Perchling.exe under code pages 932 (the session's Japanese locale), 1252 and 65001
(Windows' UTF-8 option, asked for by a manifest beside the exe): its messages read as written (read
as UTF-16 from outside), a skin the code page cannot name is not offered (nor a file that is no
NAME.bmp picture, a folder or a device), a Japanese one is offered
and chosen under UTF-8, and an install folder the code page cannot name, or whose paths take more
bytes in it than the program's path buffers hold, is refused. Another process's menu cannot be
read under Wine, so the menu texts are checked by the in-process tests of the EveryCodePage group,
and the About box's by its own, run here again under 1252 and 65001."""
import os
import shutil
import tempfile
import unittest

from perchling import (FOLDER_PATH_TOO_LONG, REGISTERED, SETTINGS_FILE, SKIN_MISSING, TITLE,
                       WINDOWS_BUILD, Install, accessory_rect, give_utf8_manifest, main, probe,
                       run_wine, settings_naming, startup_folder, wait_for)
from pictures import Bmp
from program_values import IDS

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


JAPANESE = {**os.environ, "LANG": "ja_JP.UTF-8"}
# Each code page: the locale Wine is started in, and whether the UTF-8 manifest goes beside the exe.
CODE_PAGES = {932: (JAPANESE, False), 1252: (WESTERN, False), 65001: (WESTERN, True)}


def answered_box(seconds=30):
    """The text of the message box titled Perchling, read as UTF-16, once answered with OK."""
    code, out = probe("box", str(seconds), timeout=seconds + 30)
    return out.rstrip("\n") if code == 0 else None


def no_box():
    return probe("dialog", TITLE)[0] != 0


class EveryCodePage(unittest.TestCase):
    def setUp(self):
        self.installs = []

    def tearDown(self):
        for install in self.installs:
            install.remove()

    def start(self, code_page, name="install", skins_removed=(), skins=(), others=()):
        """Perchling started from a fresh install folder under the code page: (install, process).
        Given skins, the skin folder holds only those (the default picture under their names) and
        others, file names given whole (a folder's ends in "/"), and setting.ini names the first."""
        install = Install(name=name)
        self.installs.append(install)
        for skin in skins_removed:
            os.remove(install.path("skin", skin + ".bmp"))
        if skins:
            os.rename(install.path("skin"), install.path("shipped"))
            os.mkdir(install.path("skin"))
            for skin in skins:
                shutil.copy(install.path("shipped", "default.bmp"),
                            install.path("skin", skin + ".bmp"))
            for other in others:
                if other.endswith("/"):
                    os.mkdir(install.path("skin", other))
                else:
                    shutil.copy(install.path("shipped", "default.bmp"), install.path("skin", other))
            shutil.rmtree(install.path("shipped"))
            with open(install.path(SETTINGS_FILE), "wb") as file:
                file.write(settings_naming(skins[0]))
        env, manifest = CODE_PAGES[code_page]
        if manifest:
            give_utf8_manifest(install.path("Perchling.exe"))
        return install, install.start(env=env)

    def test_messages_read_as_written(self):
        shortcut = os.path.join(startup_folder(), "Perchling.lnk")
        for code_page in CODE_PAGES:
            with self.subTest(code_page=code_page):
                if os.path.exists(shortcut):
                    os.remove(shortcut)
                install, _ = self.start(code_page, skins_removed=["ソラ"])
                self.assertEqual(0, probe("wait", "30", timeout=60)[0], "no accessory appeared")
                probe("post", str(IDS["IDM_STARTUP"]))
                self.assertEqual(REGISTERED, answered_box())
                # The skins are default and night; night vanishes before it is chosen.
                os.remove(install.path("skin", "night.bmp"))
                probe("post", str(IDS["IDM_FIRST_SKIN"] + 1))
                self.assertEqual(SKIN_MISSING, answered_box())
                install.remove()
                self.installs.remove(install)
        if os.path.exists(shortcut):
            os.remove(shortcut)

    def test_a_skin_the_code_page_cannot_name_is_not_offered(self):
        # The ANSI file search reports such a name with '?' or a look-alike, which would sort
        # before zzz: ソラ as "??", Star＊ as "Star*" (a wildcard), ＡＢＣ as "ABC", café as "cafe".
        # Under every code page, nor are names "*.bmp" matches only through their short names, a
        # folder, or devices: made from the Linux side, as Windows refuses "x.bmp." and "CON.bmp".
        never = ("bird.bmpx", "zz.bmp~", "only.bmpold", "dir.bmp/", "x.bmp.", "CON.bmp", "nul.bmp")
        rows = [(1252, ("ソラ.bmp",)), (1252, ("Star＊.bmp",)), (1252, ("ＡＢＣ.bmp",)),
                (932, ("café.bmp",))] + [(code_page, never) for code_page in CODE_PAGES]
        for code_page, others in rows:
            with self.subTest(code_page=code_page, others=others):
                install, _ = self.start(code_page, skins=["zzz"], others=others)
                self.assertEqual(0, probe("wait", "30", timeout=60)[0], "no accessory appeared")
                self.assertEqual(0, probe("switch", str(IDS["IDM_FIRST_SKIN"]), "30",
                                          timeout=60)[0],
                                 "the first skin's command started no new copy")
                self.assertEqual(settings_naming("zzz"), install.settings())
                self.assertTrue(wait_for(lambda: probe("rect")[0] == 0, 30))
                self.assertTrue(no_box(), "the new copy reported a fault")
                install.remove()
                self.installs.remove(install)

    def test_a_japanese_skin_is_offered_and_chosen_under_utf8(self):
        # default, night, ソラ: the third item.
        install, _ = self.start(65001, name="ソラの家")
        self.assertEqual(0, probe("wait", "30", timeout=60)[0], "no accessory: the folder refused?")
        self.assertEqual(0, probe("switch", str(IDS["IDM_FIRST_SKIN"] + 2), "30", timeout=60)[0],
                         "the third skin's command started no new copy")
        self.assertEqual(settings_naming("ソラ".encode("utf-8")), install.settings())
        picture = Bmp(install.path("skin", "ソラ.bmp"))
        left, top, right, bottom = wait_for(accessory_rect, 30)
        self.assertEqual((picture.width, picture.height), (right - left, bottom - top))
        self.assertTrue(no_box(), "the new copy reported a fault")

    def test_an_install_folder_the_code_page_cannot_name_is_refused(self):
        # Under 932 "ë" has no character of its own; under 1252 no Japanese character has one.
        for code_page, name in ((1252, "ソラの家"), (932, "Zoë")):
            with self.subTest(code_page=code_page):
                install, process = self.start(code_page, name=name)
                before = sorted(os.listdir(install.dir))
                self.assertEqual("Perchling を置いたフォルダの名前に、この Windows では扱えない文字が含まれて"
                                 "います。\n英数字だけの名前のフォルダに移してから起動してください。",
                                 answered_box())
                self.assertEqual(1, process.wait(timeout=30))
                self.assertEqual(before, sorted(os.listdir(install.dir)), "it wrote a file")
                self.assertEqual([name], os.listdir(install.root), "it wrote beside the folder")

    def test_an_install_path_too_long_for_the_code_page_is_refused(self):
        # The longest path the program forms at start, skin\default.bmp's, is made to take the
        # given bytes in the code page (a Japanese character takes 2 under 932, 3 under 65001):
        # at most 259 fit. Under 932 the exe's own path is too long for the ANSI buffers as well.
        for code_page, size, refused in ((932, 300, True), (65001, 260, True), (932, 259, False)):
            with self.subTest(code_page=code_page, size=size):
                install, process = self.start(code_page, name=folder_taking(code_page, size))
                windows_path = "Z:" + install.path("skin", "default.bmp").replace("/", "\\")
                self.assertEqual(size, len(windows_path.encode(ENCODINGS[code_page])))
                if refused:
                    before = sorted(os.listdir(install.dir))
                    self.assertEqual(FOLDER_PATH_TOO_LONG, answered_box())
                    self.assertEqual(1, process.wait(timeout=30))
                    self.assertEqual(before, sorted(os.listdir(install.dir)), "it wrote a file")
                else:
                    self.assertEqual(0, probe("wait", "30", timeout=60)[0], "no accessory")
                    self.assertTrue(no_box(), "a message box: the path was refused or cut")
                    probe("close")
                    self.assertEqual(0, process.wait(timeout=30))
                    self.assertEqual(settings_naming("default"), install.settings())
                install.remove()
                self.installs.remove(install)


ENCODINGS = {932: "cp932", 65001: "utf-8"}


def folder_taking(code_page, size):
    """An install folder's name, Japanese in folders of 80 characters (Linux holds 255 bytes a
    name) and a few letters, such that the picture's path "Z:\\tmp\\perchling-e2e-XXXXXXXX\\" +
    name + "\\skin\\default.bmp" takes size bytes in the code page."""
    prefix = "Z:" + tempfile.gettempdir() + "/perchling-e2e-XXXXXXXX/"
    left = size - len(prefix) - len("/skin/default.bmp")
    width = len("鳥".encode(ENCODINGS[code_page]))
    characters = (left - 10) // width
    parts = ["鳥" * min(80, characters - start) for start in range(0, characters, 80)]
    left -= characters * width + len(parts)  # each part ends with a separator
    return "/".join(parts + ["x" * left])


class InProcessTexts(unittest.TestCase):
    """The EveryCodePage group of the Win32 tests under 1252 and, beside the manifest, 65001."""

    def test_every_code_page_group_passes_under_western_and_utf8(self):
        tests = os.path.join(WINDOWS_BUILD, "perchling_win32_tests.exe")
        for code_page in (1252, 65001):
            with self.subTest(code_page=code_page), tempfile.TemporaryDirectory() as folder:
                exe = shutil.copy(tests, folder)
                env, manifest = CODE_PAGES[code_page]
                if manifest:
                    give_utf8_manifest(exe)
                code, out, err = run_wine(
                    exe, "--gtest_filter=EveryCodePage.*:"
                    "StartupRegistration.WritesTheShortcutAndReportsCompletion:"
                    "AboutBox.ShowsItsPartsInsideIt_ClicksOnALinksTextAndOnOkReachThem",
                    timeout=120, env=env)
                text = (out + err).decode(errors="replace").replace("\r\n", "\n")
                self.assertIn(f"ANSI code page {code_page}\n", text)
                self.assertEqual(0, code, text)


if __name__ == "__main__":
    main()
