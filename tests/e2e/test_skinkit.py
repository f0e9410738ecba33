"""perchskin.exe, the skin kit, under Wine as a skin maker uses it: a PNG with an alpha channel
becomes a skin that Perchling.exe shows with exactly the expected shape, a skin with a fringe of
near-magenta is reported with its coordinates, the shape's rectangles are counted as the window
Perchling shows has them, every shipped skin checks clean, every bad input ends with exit code 2
and its message, a failed write leaves the file it would have replaced as it was, and pictures
dropped on the kit become skins in the skin folder of the Perchling it sits beside (else beside
themselves) and are checked. Its texts read right under code pages 932, 1252 and 65001, in a file
and in a terminal, and only dropped files wait for Enter.

Every expected message is written here as the kit prints it (a long one as far as its first
line), its numbers (the limits, the colours) filled in, its names and counts as printf fields. Into a file the kit writes Shift-JIS when the ANSI
code page is 932 (the session's Japanese locale), else UTF-8, the same for the whole run."""
import os
import re
import resource
import select
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import unittest
import zlib

from perchling import (NO_IMMUTABLE, WINDOWS_BUILD, Install, accessory_rect, accessory_shape,
                       give_utf8_manifest, immutable, main, probe, run_wine, wait_for, write_file)
from pictures import MAGENTA, Bmp, bmp_bytes, bmp_file, core_bmp_bytes, png_bytes, rgb

KIT = os.path.join(WINDOWS_BUILD, "perchskin.exe")
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
SHIPPED_SKINS = sorted(os.path.join(SOURCE, "skin", name)
                       for name in os.listdir(os.path.join(SOURCE, "skin")) if name.endswith(".bmp"))


TEXTS = {
    "ALL_CUT": '  使えません: すべてのドットが透明なので、何も表示されず、右クリックもできません。\n',
    "BACKGROUND_KEYED": '  透明な部分もマゼンタもないので、周りの背景の色 (%d,%d,%d) を、',
    "BAD_ARGUMENTS": 'コマンドの指定が正しくありません。perchskin --help で使い方を表示します。\n',
    "BAD_THRESHOLD": '--alpha-threshold には 0 から 255 までの整数を指定してください。\n',
    "CANNOT_WRITE": '%s: 書き込めません。出力先のフォルダがあり、書き込めるかを確かめてください。\n',
    "CONVERTED": ('%s を %s に変換しました。透明にしたドット %u、(255,0,254) にして残したマゼンタのドット'
        ' %u。\n'),
    "DEVICE_NAME": '%s: CON・PRN・AUX・NUL・CONIN$・CONOUT$・COM1 から COM9・LPT1 から LPT9 などは Windows',
    "EXISTS": '%s: 既にあるので上書きしません。名前を変えるか消してから、もう一度どうぞ。\n',
    "FLOATS": '  警告: 下から %d ドットに不透明なドットがありません。タイトルバーに届かず、浮いて見え',
    "FRINGE": ('  警告: マゼンタに近いのに透明にならないドットが %u 個あります（縁どり）。'
               '位置（左上から）: %s\n'),
    "FRINGE_ADVICE": '  BMP を変換しても縁どりは消えません。背景を透明にした PNG で保存して、それを perchskin',
    "HIDDEN_SHAPE": '  使えません: 形の四角形が多すぎます。表示までに何十秒もかかるか、まったく表示されない',
    "LARGE": ('  警告: 大きな画像です（%d × %d ドット）。幅 %d ドット、高さ %d ドットを超えると画面を'
        '大きく覆います。元の画像を perchskin.exe にドロップすると、%d × %d ドットに縮めます。\n'),
    "MISSING": '%s: ファイルが見つかりません。名前と場所を確かめてください。\n',
    "NAME_CODE_PAGE": '  使えません: 名前に、この Windows では扱えない文字があります。名前を変えてください。',
    "NAME_EMPTY": '  使えません: .bmp を除くと名前が残りません。名前を付けてください。\n',
    "NAME_TOO_LONG": '  使えません: 名前が長すぎます（%u バイト、%d バイトまで）。スキンの一覧に載らないので',
    "NEXT_STEP": '  次は Perchling で %s を選んでください。\n',
    "NEXT_STEP_COPY": '  次は %s を Perchling.exe のあるフォルダの skin フォルダにコピーし、Perchling で %s ',
    "NOTHING_CUT": '  警告: 透明な部分がないので、ウィンドウは四角形のままです。背景を透明にした PNG で保存',
    "NOTHING_CUT_PLAIN": ('  警告: 透明な部分がないので、ウィンドウは四角形のままです。元の画像を perchskin.exe に'
        'ドロップすると、周りの背景の色 (%d,%d,%d) を透明にします。\n'),
    "NOT_BMP": '%s: 中身が BMP ではない画像です。このファイルを perchskin.exe にドロップすると、',
    "NOT_LISTED": ('  使えません: skin フォルダのスキンが多すぎて、この名前はスキンの一覧に載りません（名前'
                   'の順に最初の %d 個'),
    "NOT_WRITTEN": '  スキンは書き込んでいません（フォルダはそのままです）。',
    "NO_COPY": '%s: パスが長いので一時フォルダにコピーして調べようとしましたが、コピーできませんでした',
    "NO_PICTURE": '%s: 画像ではありません。スキンにするには、画像を作ったプログラムで PNG か BMP として保存',
    "OPAQUE_PICTURE": '  透明な部分のない画像なので、マゼンタ (255,0,255) のドットをそのまま透明にしました',
    "PATH_TOO_LONG": '%s: パスが長すぎて Perchling では開けません（%u バイト、%d バイトまで）。名前を短くす',
    "PRESS_ENTER": 'Enter キーを押すと閉じます。',
    "REPORT_CUT": '  透明な部分 %u.%u %%\n',
    "REPORT_FILE": '%s\n',
    "REPORT_FORMAT": '  大きさ %d × %d ドット、%d ビット、圧縮 %s\n',
    "REPORT_RECTS": ('  形の四角形 %u 個: 形が細かいほど増え、少ないほど軽く動きます（%d 個から動くウィンドウに'
        '遅れ、%d 個からは表示されないことがあります）\n'),
    "SAME_FILE": '%s: 入力ファイルには上書きしません。別の出力ファイルを指定してください。\n',
    "SHRUNK": '  大きいので、%d × %d ドットから %d × %d ドットに縮めました（縦横の比はそのままです）。\n',
    "TOO_LARGE": '%s: 画像が大きすぎます（%d × %d）。縦横とも %d ドットまでにしてください。\n',
    "TOP_DOWN": ('  警告: 上から順にドットを保存した BMP です。Perchling はこの並びのドットを読めないの'
        'で、透明な部分や形は調べていません。このファイルを perchskin.exe にドロップすると変換します（コ'
        'マンドでは perchskin convert）。\n'),
    "TRUNCATED": '%s: ファイルが途中で切れています。保存かコピーをやり直してください。\n',
    "UNREADABLE": '%s: 画像として読めません。壊れているか、対応していない形式です。PNG・GIF・JPEG・TIFF・',
    "VERDICT_FINE": '  判定: 問題ありません。\n',
    "VERDICT_UNUSABLE": '  判定: このままでは使えません。\n',
    "VERDICT_WARNINGS": '  判定: 使えますが、警告があります。\n',
}
USAGE_LINES = ("  perchskin convert 入力画像 出力.bmp [--alpha-threshold N] [--key-background] [--fit]\n",
               "  perchskin --help\n", "アルファ値が N 未満（既定 128）のドットは透明になるマゼンタ (255,0,255) に",
               "もともとマゼンタの不透明なドットは (255,0,254) になり", "  perchskin check スキン.bmp ...\n")


def text(name, *fields):
    """A text of the kit with its printf fields filled in, as the kit prints it."""
    name = name.replace("TEXT_KIT_", "")
    return TEXTS[name] % fields if fields else TEXTS[name].replace("%%", "%")


def windows_path(path):
    """The path as the kit sees it: Wine maps the Linux root to drive Z:."""
    return "Z:" + path.replace("/", "\\")


def decoded(output):
    """The kit's output into a file as text: UTF-8 where the ANSI code page lacks a character of
    it (a Japanese text never reads as UTF-8 by chance), else Shift-JIS or ASCII."""
    try:
        return output.decode("utf-8")
    except UnicodeDecodeError:
        return output.decode("cp932", errors="replace")


def kit(*args, timeout=120, exe=KIT, preexec_fn=None, env=None, stdin=b""):
    """Runs perchskin.exe to its end: (exit code, stdout, stderr) as text."""
    code, out, err = run_wine(exe, *args, timeout=timeout, preexec_fn=preexec_fn, env=env,
                              stdin=stdin)
    return code, decoded(out), decoded(err)


def in_a_console(exe, args, answers, deadline=120):
    """Runs the kit in a console of its own (a pseudo-terminal): (exit code, screen). Each
    (prompt, keys) of answers waits for prompt on the screen, then types keys."""
    # Enter sends a carriage return, which the terminal must hand over as it is.
    command = "stty -icrnl; wine " + " ".join(f"'{part}'" for part in (exe, *args))
    with subprocess.Popen(["script", "-qec", command, "/dev/null"],
                          stdin=subprocess.PIPE, stdout=subprocess.PIPE) as run:
        screen, end, answers = b"", time.monotonic() + deadline, list(answers)
        while True:
            if time.monotonic() > end:
                run.kill()
                raise AssertionError(f"waited in vain for {answers[:1]} or the end: {screen!r}")
            if select.select([run.stdout], [], [], 1)[0]:
                seen = os.read(run.stdout.fileno(), 4096)
                if not seen:
                    break
                screen += seen
            if answers and answers[0][0].encode() in screen:
                run.stdin.write(answers.pop(0)[1])
                run.stdin.flush()
        return run.wait(), screen.decode("utf-8", errors="replace")


KEPT_MAGENTA = (255, 0, 254)
WIDEST, TALLEST = 960, 540  # half a 1920 x 1080 screen
TITLE_ROWS = 22  # the accessory's rows that rest on the title bar
MOST_PATH_BYTES, MOST_NAME_BYTES, MOST_SIDE = 259, 99, 8192
# The way through Perchling's menu to a new skin, in the menu's words.
MENU_WAY = "右クリック → スキン情報を更新 → スキン → "


def drawn_bird(x, y):
    """A 24 x 20 bird: an opaque oval with a soft edge (alpha 100 is cut, 200 kept), an exact
    magenta eye that must stay, and nothing around it (alpha 0, any colour)."""
    dx, dy = x - 12, y - 10
    distance = dx * dx * 9 + dy * dy * 16
    if (x, y) == (16, 7):
        return (*MAGENTA, 255)
    if distance <= 1000:
        return (40, 90, 200, 255)
    if distance <= 1300:
        return (40, 90, 200, 200)
    if distance <= 1600:
        return (40, 90, 200, 100)
    return (255, 255, 255, 0)


class Folder(unittest.TestCase):
    """A temporary folder for the pictures of one test."""

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="perchskin-e2e-")

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data):
        write_file(self.path(name), data)
        return windows_path(self.path(name))

    def kit_beside_perchling(self, folder):
        """A copy of the kit where the release zip puts it: beside Perchling.exe and skin."""
        os.makedirs(os.path.join(folder, "skin"))
        shutil.copy(os.path.join(WINDOWS_BUILD, "Perchling.exe"), folder)
        shutil.copy(KIT, folder)
        return os.path.join(folder, "perchskin.exe")

    def install_of(self, fill, total):
        """An install folder whose skin path for bird.bmp is total bytes of code page 932 long:
        folders of 40 fill characters (a Linux name holds at most 255 bytes), then one of 'k's."""
        parts = []

        def skin_bytes(last):
            path = os.path.join(*parts, last, "skin", "bird.bmp")
            return len(windows_path(self.path(path)).encode("cp932"))
        while skin_bytes("k") + 41 * len(fill.encode("cp932")) < total:
            parts.append(fill * 40)
        return self.path(os.path.join(*parts, "k" * (total - skin_bytes("") - 1)))


class Convert(Folder):
    def test_png_with_alpha_becomes_the_shape_perchling_shows(self):
        source = self.write("bird.png", png_bytes(24, 20, drawn_bird))
        target = windows_path(self.path("bird.bmp"))
        code, out, err = kit("convert", source, target)
        self.assertEqual(0, code, err)
        pixels = {(x, y): drawn_bird(x, y) for y in range(20) for x in range(24)}
        cut = {p for p, rgba in pixels.items() if rgba[3] < 128}
        self.assertEqual(text("TEXT_KIT_CONVERTED", source, target, len(cut), 1), out)

        picture = Bmp(self.path("bird.bmp"))
        with open(self.path("bird.bmp"), "rb") as file:
            height, _, bits = struct.unpack_from("<iHH", file.read(30), 22)
        self.assertEqual((24, 20, 24), (picture.width, height, bits), "24 bits, bottom-up")
        for (x, y), rgba in pixels.items():
            expected = MAGENTA if (x, y) in cut else (
                KEPT_MAGENTA if rgba[:3] == MAGENTA else rgba[:3])
            self.assertEqual(expected, picture.pixel(x, y), (x, y))

        install = Install()
        try:
            shutil.copy(self.path("bird.bmp"), install.path("skin", "default.bmp"))
            install.start()
            rect = wait_for(accessory_rect, 30)
            self.assertTrue(rect, "Perchling showed no window with the converted skin")
            self.assertEqual((24, 20), (rect[2] - rect[0], rect[3] - rect[1]))
            shape = wait_for(accessory_shape, 10)
            self.assertEqual(set(pixels) - cut, shape)
        finally:
            install.remove()

    def test_alpha_threshold_moves_the_cut(self):
        source = self.write("bird.png", png_bytes(24, 20, drawn_bird))
        alphas = [drawn_bird(x, y)[3] for y in range(20) for x in range(24)]
        for threshold in ("1", "150", "255"):
            target = windows_path(self.path(f"bird{threshold}.bmp"))
            code, out, err = kit("convert", source, target, "--alpha-threshold", threshold)
            self.assertEqual(0, code, err)
            cut = sum(1 for a in alphas if a < int(threshold))
            self.assertEqual(text("TEXT_KIT_CONVERTED", source, target, cut, 1), out, threshold)

    def test_an_opaque_picture_keeps_magenta_as_its_key(self):
        # With magenta, that is the key; without (what ペイント saves), what to do.
        for name, key, note, cut in (("flat", MAGENTA, "TEXT_KIT_OPAQUE_PICTURE", 3),
                                     ("white", (255, 255, 255), "TEXT_KIT_NOTHING_CUT", 0)):
            source = self.write(name + ".png", png_bytes(4, 3, lambda x, y: (
                (*key, 255) if x == 0 else (10, 20, 30, 255))))
            target = windows_path(self.path(name + ".bmp"))
            code, out, err = kit("convert", source, target)
            self.assertEqual(0, code, err)
            self.assertTrue(out.startswith(text("TEXT_KIT_CONVERTED", source, target, cut, 0) +
                                           text(note)), out)
        self.assertEqual({(x, y) for x in range(1, 4) for y in range(3)},
                         Bmp(self.path("flat.bmp")).opaque())


def bird_colour(x, y):
    """A 6 x 5 skin: magenta around a dark body on the bottom row."""
    return 0x203040 if 1 <= x <= 4 and y >= 1 else MAGENTA


class Check(Folder):
    def check_one(self, name, data):
        path = self.write(name, data)
        code, out, err = kit("check", path)
        return path, code, out, err

    def test_one_pixel_fringe_is_reported_with_its_coordinates(self):
        picture = bmp_bytes(6, 5, lambda x, y: 0xF010E8 if (x, y) == (5, 2) else bird_colour(x, y))
        path, code, out, err = self.check_one("fringe.bmp", picture)
        self.assertEqual(1, code, err)
        self.assertIn(text("TEXT_KIT_FRINGE", 1, "(5, 2)") + text("TEXT_KIT_FRINGE_ADVICE"), out)
        self.assertTrue(out.endswith(text("TEXT_KIT_VERDICT_WARNINGS")), out)

    def test_a_fine_skin_gets_its_facts_and_exit_code_0(self):
        path, code, out, err = self.check_one("fine.bmp", bmp_bytes(6, 5, bird_colour))
        self.assertEqual(0, code, err)
        # 4 alike rows of one run: one rectangle; 14 of 30 pixels cut
        rects, cut_share = 1, "46.6"
        self.assertEqual(
            text("TEXT_KIT_REPORT_FILE", path) +
            text("TEXT_KIT_REPORT_FORMAT", 6, 5, 24, "なし") +
            text("TEXT_KIT_REPORT_CUT", *map(int, cut_share.split("."))) +
            text("TEXT_KIT_REPORT_RECTS", rects, 6000, 25000) +
            text("TEXT_KIT_VERDICT_FINE"), out)

    def test_each_problem_gets_its_warning(self):
        top_down = bytearray(bmp_bytes(6, 5, lambda x, y: 0x203040))
        struct.pack_into("<i", top_down, 22, -5)
        cases = [
            # Its pixels are not Perchling's to read: that is all that is said, nothing on them.
            ("top-down.bmp", bytes(top_down), "\n" + text("TEXT_KIT_REPORT_FORMAT", 6, 5, 24,
                                                          "なし") +
             text("TEXT_KIT_TOP_DOWN") + text("TEXT_KIT_VERDICT_WARNINGS")),
            ("floating.bmp", bmp_bytes(6, TITLE_ROWS + 8, lambda x, y: bird_colour(x, y + 1)
                                       if y < 8 else MAGENTA),
             text("TEXT_KIT_FLOATS", TITLE_ROWS)),
            ("square.bmp", bmp_bytes(6, 5, lambda x, y: 0x203040), text("TEXT_KIT_NOTHING_CUT")),
            ("canvas.bmp", bmp_bytes(6, 5, lambda x, y: 0x203040 if x == 2 < y else 0xFFFFFF),
             text("TEXT_KIT_NOTHING_CUT_PLAIN", 255, 255, 255)),
            ("wide.bmp", bmp_bytes(961, 5, bird_colour),
             text("TEXT_KIT_LARGE", 961, 5, 960, 540, 960, 5)),
            ("tall.bmp", bmp_bytes(5, 541, bird_colour),
             text("TEXT_KIT_LARGE", 5, 541, 960, 540, 5, 540)),
        ]
        for name, data, finding in cases:
            path, code, out, err = self.check_one(name, data)
            self.assertEqual(1, code, f"{name}: {out}{err}")
            self.assertIn(finding, out, name)

    def test_what_perchling_shows_well_gets_no_warning(self):
        cases = [
            # The menu shows '&' as written.
            ("R&B.bmp", bmp_bytes(6, 5, bird_colour)),
            # Drawn down to the highest row over the title bar, a few empty rows below it.
            ("perched.bmp", bmp_bytes(6, TITLE_ROWS + 8, lambda x, y: bird_colour(x, y)
                                      if y < 9 else MAGENTA)),
            ("half a screen.bmp", bmp_bytes(WIDEST, TALLEST, bird_colour)),
        ]
        for name, data in cases:
            path, code, out, err = self.check_one(name, data)
            self.assertEqual(0, code, f"{name}: {out}{err}")

    def test_every_shipped_skin_checks_clean(self):
        code, out, err = kit("check", *map(windows_path, SHIPPED_SKINS))
        self.assertEqual(0, code, out + err)
        self.assertEqual(len(SHIPPED_SKINS), out.count(text("TEXT_KIT_VERDICT_FINE")), out)

    def test_what_perchling_cannot_use_gets_exit_code_2(self):
        cases = [
            ("a" * 100 + ".bmp", bmp_bytes(6, 5, bird_colour),
             text("TEXT_KIT_NAME_TOO_LONG", 100, MOST_NAME_BYTES)),
            ("새.bmp", bmp_bytes(6, 5, bird_colour), text("TEXT_KIT_NAME_CODE_PAGE")),
            ("empty.bmp", bmp_bytes(6, 5, lambda x, y: MAGENTA), text("TEXT_KIT_ALL_CUT")),
            (".bmp", bmp_bytes(6, 5, bird_colour), text("TEXT_KIT_NAME_EMPTY")),
            ("checkers.bmp", bmp_bytes(400, 160, lambda x, y: MAGENTA if (x + y) % 2 else 0),
             text("TEXT_KIT_HIDDEN_SHAPE")),
        ]
        for name, data, finding in cases:
            path, code, out, err = self.check_one(name, data)
            self.assertEqual(2, code, f"{name}: {out}{err}")
            self.assertIn(finding, out, name)
            self.assertTrue(out.endswith(text("TEXT_KIT_VERDICT_UNUSABLE")), out)


def reported_rects(report):
    """The shape's rectangle count a check's report gives."""
    before = re.escape(TEXTS["REPORT_RECTS"].split("%u")[0])
    return int(re.search(before + r"(\d+)", report).group(1))


def window_rects(picture):
    """The rectangles of the shape Perchling gives its window when it shows the picture file."""
    install = Install()
    try:
        shutil.copy(picture, install.path("skin", "default.bmp"))
        install.start()
        # A detailed shape takes Wine long to show on a busy machine: a generous deadline.
        if not wait_for(accessory_rect, 120):
            return None
        return len(probe("region")[1].splitlines()) - 1  # the first line says the region's kind
    finally:
        install.remove()


def pixels_after_headers(bmp):
    """The BMP with its pixel offset 0: "the pixels follow the header and the palette"."""
    data = bytearray(bmp)
    struct.pack_into("<I", data, 10, 0)
    return bytes(data)


def palette_bmp(width, height, colour, palette_size):
    """An 8-bit BMP of magenta and one other colour, its palette palette_size entries long (0:
    the 256 a full palette has, as the header then says)."""
    colours = [MAGENTA, rgb(0x203040)] + [rgb(0x123456)] * ((palette_size or 256) - 2)
    rows = [bytes(colours.index(rgb(colour(x, y))) for x in range(width)) for y in range(height)]
    return bmp_file(width, height, 8, rows, colours, clr_used=palette_size)


class ShapeRects(Folder):
    """The kit counts the rectangles of the shape Perchling builds, read back from the platform,
    and judges by them: the count is the one the window really has."""

    def expect_windows_count(self, path, expected=None):
        code, out, err = kit("check", windows_path(path))
        self.assertEqual(0, code, out + err)
        rects = reported_rects(out)
        if expected is not None:
            self.assertEqual(expected, rects, path)
        self.assertEqual(window_rects(path), rects, path)

    def test_the_count_is_the_windows_count(self):
        # Stripes one pixel wide: 200 runs in each of 300 alike rows, 200 rectangles.
        write_file(self.path("stripes.bmp"),
                   bmp_bytes(400, 300, lambda x, y: MAGENTA if x % 2 else 0))
        for path, expected in ((os.path.join(SOURCE, "skin", "default.bmp"), 65),
                               (self.path("stripes.bmp"), 200)):
            self.expect_windows_count(path, expected)

    def test_pixels_that_follow_the_headers_are_read_as_perchling_reads_them(self):
        # A pixel offset of 0: the pixels follow the header, the bit masks and the palette.
        cases = {
            "24-bit.bmp": bmp_bytes(6, 5, bird_colour),
            "palette of 256.bmp": palette_bmp(6, 5, bird_colour, 0),
            "palette of 2.bmp": palette_bmp(6, 5, bird_colour, 2),
            "core header.bmp": core_bmp_bytes(6, 5, bird_colour),
        }
        for name, data in cases.items():
            write_file(self.path(name), pixels_after_headers(data))
            self.expect_windows_count(self.path(name), 1)


# Wine takes the ANSI code page from the Unix locale: C.UTF-8 gives 1252, and 65001 beside a
# manifest asking for UTF-8. Into a file the kit writes what that code page holds, else UTF-8.
WESTERN = {**os.environ, "LANG": "C.UTF-8"}
CODE_PAGES = {932: (None, False, "cp932"), 1252: (WESTERN, False, "utf-8"),
              65001: (WESTERN, True, "utf-8")}


class CodePages(Folder):
    """The kit under each code page: names judged as Perchling's catalogue judges them, texts
    readable in a file and in a terminal."""

    def under(self, code_page):
        """(exe, environment, encoding of its output into a file) for a code page."""
        env, manifest, encoding = CODE_PAGES[code_page]
        exe = KIT
        if manifest:
            exe = self.path("perchskin.exe")
            shutil.copy(KIT, exe)
            give_utf8_manifest(exe)
        return exe, env, encoding

    def test_names_perchling_would_not_offer_are_unusable(self):
        cases = [
            (1252, "Star＊.bmp", 2),  # the ANSI functions spell it "Star*", a wildcard
            (1252, "ＡＢＣ.bmp", 2),  # spelled "ABC": another file
            (932, "café.bmp", 2),  # spelled "cafe"
            (932, "새.bmp", 2),
            (932, "Star＊.bmp", 0),  # Shift-JIS has the wide asterisk
            (65001, "새.bmp", 0),  # UTF-8 spells every name
        ]
        for code_page, name, expected in cases:
            exe, env, _ = self.under(code_page)
            skin = self.write(name, bmp_bytes(6, 5, bird_colour))
            code, out, err = kit("check", skin, exe=exe, env=env)
            self.assertEqual(expected, code, f"{code_page} {name}: {out}{err}")
            self.assertEqual(expected == 2, text("TEXT_KIT_NAME_CODE_PAGE") in out, out)
            os.remove(self.path(name))

    def test_one_run_writes_one_encoding(self):
        fine = self.write("fine.bmp", bmp_bytes(6, 5, bird_colour))
        cafe = self.write("café.bmp", bmp_bytes(6, 5, bird_colour))
        code, out, _ = run_wine(KIT, "check", fine, cafe, timeout=120)  # under 932
        self.assertEqual(2, code)
        shown = out.decode("cp932")  # all of it: what Shift-JIS lacks becomes '?'
        self.assertIn(text("TEXT_KIT_REPORT_FILE", fine), shown)
        self.assertIn(text("TEXT_KIT_REPORT_FILE", cafe.replace("é", "?")), shown)

    def test_help_lists_the_commands_readably_in_a_file(self):
        for code_page in CODE_PAGES:
            exe, env, encoding = self.under(code_page)
            code, out, _ = run_wine(exe, "--help", timeout=120, env=env)
            self.assertEqual(0, code)
            for line in USAGE_LINES:
                self.assertIn(line.encode(encoding), out, code_page)

    def test_a_command_in_a_terminal_reads_right_and_ends_by_itself(self):
        skin = windows_path(os.path.join(SOURCE, "skin", "default.bmp"))
        for code_page in CODE_PAGES:
            exe, env, _ = self.under(code_page)
            # Standard input stays open and silent: a kit that waited for Enter would wait until
            # the deadline. The terminal shows the console's text in the locale's UTF-8.
            silent, kept_open = os.pipe()
            with tempfile.TemporaryFile() as out:
                try:
                    command = f"wine '{exe}' check '{skin}'"
                    code = subprocess.run(["script", "-qec", command, "/dev/null"], stdin=silent,
                                          stdout=out, env=env, timeout=120).returncode
                finally:
                    os.close(silent)
                    os.close(kept_open)
                out.seek(0)
                shown = out.read().decode("utf-8", errors="replace").replace("\r", "")
            self.assertEqual(0, code, shown)
            self.assertIn(text("TEXT_KIT_VERDICT_FINE"), shown, code_page)


def file_size_limit(size):
    """For a child process: files it writes may not grow beyond size bytes, as under a quota; a
    write beyond that fails (the signal that would end the process is ignored)."""
    def limit():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (size, size))
    return limit


class FailedWrite(Folder):
    def test_a_failed_write_leaves_the_old_output_as_it_was(self):
        source = self.write("bird.png", png_bytes(24, 20, drawn_bird))
        target = windows_path(self.path("bird.bmp"))
        old = b"BM the skin the user made yesterday"
        # Converted over an old file, and dropped (nothing there yet). The new skin is 1494 bytes:
        # its write fails part way.
        for args, before in ((("convert", source, target), old), ((source,), None)):
            if before:
                write_file(self.path("bird.bmp"), before)
            code, out, err = kit(*args, preexec_fn=file_size_limit(1000))
            self.assertEqual(2, code, out + err)
            self.assertIn(text("TEXT_KIT_CANNOT_WRITE", target), err)
            if before:
                with open(self.path("bird.bmp"), "rb") as file:
                    self.assertEqual(old, file.read(), "the old output must be kept as it was")
                os.remove(self.path("bird.bmp"))
            self.assertEqual(["bird.png"], os.listdir(self.folder), "nothing half-written is left")


class BadInput(Folder):
    def expect_refusal(self, args, message):
        code, out, err = kit(*args)
        self.assertEqual(2, code, f"{args}: {out}{err}")
        self.assertIn(message, err, args)

    def test_each_bad_input_gets_exit_code_2_and_its_message(self):
        bird = png_bytes(24, 20, drawn_bird)
        good = self.write("bird.png", bird)
        renamed = self.write("renamed.bmp", bird)
        notes = self.write("notes.bmp", b"not a picture at all\r\n")
        missing = windows_path(self.path("missing.png"))
        cut_png = self.write("cut.png", bird[:len(bird) // 2])
        skin = bmp_bytes(6, 5, bird_colour)
        cut_bmp = self.write("cut.bmp", skin[:len(skin) - 7])
        huge_bmp = bytearray(skin[:54])
        struct.pack_into("<ii", huge_bmp, 18, 100000, 100000)
        huge_bmp = self.write("huge.bmp", bytes(huge_bmp))
        out = windows_path(self.path("out.bmp"))
        no_folder = windows_path(self.path(os.path.join("no such folder", "out.bmp")))
        os.makedirs(self.path("a folder"))
        a_folder = windows_path(self.path("a folder"))
        side = MOST_SIDE
        # Too large to keep, yet a picture: a PNG 9000 dots wide named .bmp is to be converted.
        wide_png = self.write("wide png.bmp", png_bytes(9000, 1, lambda x, y: (0, 0, 0, 255)))
        nul = self.write("nul.bmp", bmp_bytes(6, 5, bird_colour))
        conin = self.write("CONIN$.bmp", bmp_bytes(6, 5, bird_colour))
        conout = self.write("conout$.bmp", bmp_bytes(6, 5, bird_colour))
        long_name = windows_path(self.path("鳥" * 1350))  # 4,050 bytes: its end is shown
        cases = [
            (["check", conin], text("TEXT_KIT_DEVICE_NAME", conin)),
            (["check", conout], text("TEXT_KIT_DEVICE_NAME", conout)),
            (["check", long_name], "..." + "鳥" * 340 + text("TEXT_KIT_MISSING", "")),
            (["check", wide_png], text("TEXT_KIT_NOT_BMP", wide_png)),
            (["check", nul], text("TEXT_KIT_DEVICE_NAME", nul)),
            (["convert", missing, out], text("TEXT_KIT_MISSING", missing)),
            (["check", missing], text("TEXT_KIT_MISSING", missing)),
            (["convert", cut_png, out], text("TEXT_KIT_UNREADABLE", cut_png)),
            (["check", cut_bmp], text("TEXT_KIT_TRUNCATED", cut_bmp)),
            (["check", huge_bmp], text("TEXT_KIT_TOO_LARGE", huge_bmp, 100000, 100000, side)),
            (["convert", huge_bmp, out], text("TEXT_KIT_TOO_LARGE", huge_bmp, 100000, 100000,
                                              side)),
            (["check", good], text("TEXT_KIT_NOT_BMP", good)),
            (["check", renamed], text("TEXT_KIT_NOT_BMP", renamed)),
            (["check", notes], text("TEXT_KIT_NO_PICTURE", notes)),
            (["check", a_folder], text("TEXT_KIT_UNREADABLE", a_folder)),
            (["convert", good, no_folder], text("TEXT_KIT_CANNOT_WRITE", no_folder)),
            (["convert", good, a_folder], text("TEXT_KIT_CANNOT_WRITE", a_folder)),
            (["convert", good, good.upper()], text("TEXT_KIT_SAME_FILE", good.upper())),
            (["convert", good, good], text("TEXT_KIT_SAME_FILE", good)),
            (["convert", good, out, "--alpha-threshold", "256"], text("TEXT_KIT_BAD_THRESHOLD")),
            (["convert", good], text("TEXT_KIT_BAD_ARGUMENTS")),
            (["--bogus"], text("TEXT_KIT_BAD_ARGUMENTS")),
        ]
        for args, message in cases:
            self.expect_refusal(args, message)
        with open(self.path("bird.png"), "rb") as file:
            self.assertEqual(bird, file.read(), "the input must never be overwritten")
        self.assertFalse(os.path.exists(self.path("out.bmp")), "nothing half-written is left")

    def test_the_path_that_counts_is_the_skins_in_perchlings_skin_folder(self):
        skin = bmp_bytes(6, 5, bird_colour)
        # Without a Perchling beside the kit, a good skin in a deep folder checks fine.
        deep = self.path(os.path.join("d" * 150, "e" * 150))
        os.makedirs(deep)
        write_file(os.path.join(deep, "bird.bmp"), skin)
        deep_skin = windows_path(os.path.join(deep, "bird.bmp"))
        code, out, err = kit("check", deep_skin)
        self.assertEqual(0, code, out + err)
        # Loaded from a copy in the temporary folder, removed again; without one, not blamed.
        temp = run_wine("cmd", "/c", "echo %TEMP%")[1].decode().strip()
        temp = run_wine("winepath", "-u", temp)[1].decode().strip()
        self.assertEqual([], [name for name in os.listdir(temp) if name.startswith("psk")])
        long_temp = "C:\\" + "t" * 300
        code, out, err = kit("/c", f"set TMP={long_temp}&& set TEMP={long_temp}&& "
                             f"{windows_path(KIT)} check {deep_skin}", exe="cmd")
        self.assertEqual(2, code, out + err)
        self.assertIn(text("TEXT_KIT_NO_COPY", deep_skin), err)
        # Beside one, the path it has in that skin folder counts, in bytes of code page 932.
        bird = self.write("bird.bmp", skin)
        for fill, length, expected in (("d", 259, 0), ("d", 260, 2), ("鳥", 261, 2)):
            install = self.install_of(fill, length)
            exe = self.kit_beside_perchling(install)
            counted = windows_path(os.path.join(install, "skin", "bird.bmp"))
            self.assertEqual(length, len(counted.encode("cp932")))
            self.assertTrue(fill == "d" or len(counted) < 260, "fewer UTF-16 units than bytes")
            code, out, err = kit("check", bird, exe=exe)
            self.assertEqual(expected, code, out + err)
            if expected:
                self.assertIn(text("TEXT_KIT_PATH_TOO_LONG", counted, length, MOST_PATH_BYTES), err)

    def test_a_folder_that_cannot_be_written(self):
        good = self.write("bird.png", png_bytes(24, 20, drawn_bird))
        os.makedirs(self.path("locked"))
        if not immutable(self.path("locked")):
            self.skipTest(NO_IMMUTABLE)
        try:
            out = windows_path(self.path(os.path.join("locked", "bird.bmp")))
            self.expect_refusal(["convert", good, out], text("TEXT_KIT_CANNOT_WRITE", out))
        finally:
            immutable(self.path("locked"), False)

    def test_a_png_claiming_100000_by_100000(self):
        # Wine's decoder already refuses to open such a picture; Windows opens it lazily and the
        # kit refuses it by its size. Either way: exit code 2 and a message, never a crash.
        header = struct.pack(">IIBBBBB", 100000, 100000, 8, 6, 0, 0, 0)
        data = png_bytes(1, 1, lambda x, y: (0, 0, 0, 0))
        data = data[:16] + header + struct.pack(">I", zlib.crc32(b"IHDR" + header)) + data[33:]
        huge = self.write("huge.png", data)
        code, out, err = kit("convert", huge, windows_path(self.path("out.bmp")))
        self.assertEqual(2, code, out + err)
        side = MOST_SIDE
        self.assertTrue(text("TEXT_KIT_TOO_LARGE", huge, 100000, 100000, side) in err or
                        text("TEXT_KIT_UNREADABLE", huge) in err, err)


def canvas_drawing(x, y):
    """What ペイント saves: a white canvas, a dark frame to its bottom row around white."""
    frame = 8 <= x <= 31 and y >= 6 and not (11 <= x <= 28 and 9 <= y <= 26)
    return (32, 48, 64, 255) if frame else (255, 255, 255, 255)


def large_drawing(x, y):
    """A dark body on a white canvas of 1920 x 1080, its edge a light grey dot wide."""
    if 480 <= x <= 1440 and y >= 270:
        return (32, 48, 64, 255) if 480 < x < 1440 and y > 270 else (200, 200, 200, 255)
    return (255, 255, 255, 255)


class Dropped(Folder):
    def test_dropped_pictures_become_skins_in_the_skin_folder_beside_perchling(self):
        exe = self.kit_beside_perchling(self.path("Perchling"))
        skins = self.path(os.path.join("Perchling", "skin"))
        bird = self.write("bird.png", png_bytes(24, 20, drawn_bird))
        canvas = self.write("canvas.png", png_bytes(40, 30, canvas_drawing))
        large = self.write("large.png", png_bytes(1920, 1080, large_drawing))
        # A BMP from elsewhere is made a skin too; a device's name gets no skin and no next step.
        fine = self.write("fine.bmp", bmp_bytes(6, 5, bird_colour))
        device = self.write("CONIN$.png", png_bytes(6, 5, drawn_bird))
        code, out, err = kit(bird, canvas, large, fine, device, exe=exe)
        self.assertEqual(2, code, out + err)
        self.assertEqual(["bird.bmp", "canvas.bmp", "fine.bmp", "large.bmp"],
                         sorted(os.listdir(skins)))
        for name in ("bird", "canvas", "large", "fine"):
            made = windows_path(os.path.join(skins, name + ".bmp"))
            self.assertIn(text("TEXT_KIT_REPORT_FILE", made), out)
            self.assertIn(text("TEXT_KIT_NEXT_STEP", MENU_WAY + name), out)
        conin = windows_path(os.path.join(skins, "CONIN$.bmp"))
        self.assertIn(text("TEXT_KIT_DEVICE_NAME", conin), err)
        self.assertNotIn(conin, out)
        self.assertEqual(1, out.count(text("TEXT_KIT_OPAQUE_PICTURE")), "fine's alone")
        self.assertIn(text("TEXT_KIT_BACKGROUND_KEYED", 255, 255, 255), out)
        self.assertIn(text("TEXT_KIT_SHRUNK", 1920, 1080, 960, 540), out)
        shrunk = Bmp(os.path.join(skins, "large.bmp"))
        self.assertEqual((960, 540), (shrunk.width, shrunk.height))
        colours = {c for row in shrunk.rows for c in row} - {MAGENTA}
        self.assertEqual([], [c for c in colours if max(c) > 64], "no light or pink fringe")
        # Perchling shows the canvas drawing with its shape: the frame and the white it encloses.
        install = Install()
        try:
            shutil.copy(os.path.join(skins, "canvas.bmp"), install.path("skin", "default.bmp"))
            install.start()
            self.assertTrue(wait_for(accessory_rect, 30), "Perchling showed no window")
            self.assertEqual({(x, y) for x in range(8, 32) for y in range(6, 30)},
                             wait_for(accessory_shape, 10))
        finally:
            install.remove()
        # A skin dropped from the skin folder is only checked; one that is no BMP inside is mended.
        in_folder = windows_path(os.path.join(skins, "bird.bmp"))
        code, out, err = kit(in_folder, exe=exe)
        self.assertEqual(0, code, out + err)
        self.assertTrue(out.startswith(text("TEXT_KIT_REPORT_FILE", in_folder)), out)
        self.assertTrue(out.endswith(text("TEXT_KIT_NEXT_STEP", MENU_WAY + "bird") + "\n"), out)
        write_file(os.path.join(skins, "fake.bmp"), png_bytes(24, 20, drawn_bird))
        code, out, err = kit(windows_path(os.path.join(skins, "fake.bmp")), exe=exe)
        self.assertEqual((0, 24), (code, Bmp(os.path.join(skins, "fake.bmp")).width), out + err)
        # Dropped again without a console to ask in: refused, the old skin kept byte for byte,
        # whatever the input holds.
        write_file(os.path.join(skins, "bird.bmp"), b"BM yesterday's bird")
        code, out, err = kit(bird, exe=exe, stdin=b"y\n")
        self.assertEqual(2, code, out + err)
        self.assertIn(text("TEXT_KIT_EXISTS", in_folder), err)
        with open(os.path.join(skins, "bird.bmp"), "rb") as file:
            self.assertEqual(b"BM yesterday's bird", file.read())

    def test_nothing_unusable_lands_in_the_skin_folder(self):
        exe = self.kit_beside_perchling(self.path("Perchling"))
        full = self.kit_beside_perchling(self.path("Full"))
        for i in range(100):
            write_file(os.path.join(self.path("Full"), "skin", f"a{i:02}.bmp"),
                       bmp_bytes(6, 5, bird_colour))
        deep = self.install_of("d", 260)
        counted = windows_path(os.path.join(deep, "skin", "bird.bmp"))
        bird = png_bytes(24, 20, drawn_bird)
        cases = [  # name, picture, kit, environment, what it is told
            ("white.png", png_bytes(6, 5, lambda x, y: (255, 255, 255, 255)), exe, None,
             text("TEXT_KIT_ALL_CUT")),
            ("ghost.png", png_bytes(30, 20, lambda x, y: (0, 0, 0, 0)), exe, None,
             text("TEXT_KIT_ALL_CUT")),
            ("checkers.png", png_bytes(400, 160, lambda x, y: (
                (*MAGENTA, 255) if (x + y) % 2 else (0, 0, 0, 255))), exe, None,
             text("TEXT_KIT_HIDDEN_SHAPE")),
            ("a" * 100 + ".png", bird, exe, None, text("TEXT_KIT_NAME_TOO_LONG", 100, 99)),
            ("🐦ことり.png", bird, exe, None, text("TEXT_KIT_NAME_CODE_PAGE")),
            ("髙﨑.png", bird, exe, WESTERN, text("TEXT_KIT_NAME_CODE_PAGE")),
            ("zebra.png", bird, full, None, text("TEXT_KIT_NOT_LISTED", 100)),
            ("bird.png", bird, self.kit_beside_perchling(deep), None,
             text("TEXT_KIT_PATH_TOO_LONG", counted, 260, MOST_PATH_BYTES)),
        ]
        for name, picture, kit_exe, env, told in cases:
            skins = os.path.join(os.path.dirname(kit_exe), "skin")
            before = sorted(os.listdir(skins))
            code, out, err = kit(self.write(name, picture), exe=kit_exe, env=env)
            self.assertEqual(2, code, name + out + err)
            self.assertIn(told, out + err, name)
            self.assertNotIn(MENU_WAY, out, "no next step")
            self.assertEqual(before, sorted(os.listdir(skins)), name)

    def test_dropped_pictures_are_converted_beside_themselves_and_checked(self):
        bird = self.write("bird.png", png_bytes(24, 20, drawn_bird))
        fine = self.write("fine.bmp", bmp_bytes(6, 5, bird_colour))
        kept = self.write("kept.png", png_bytes(24, 20, drawn_bird))
        write_file(self.path("kept.bmp"), b"the user's own file")
        # A folder named Perchling.exe is no Perchling: the kit beside it has no skin folder.
        exe = self.kit_beside_perchling(self.path("not Perchling"))
        os.remove(self.path(os.path.join("not Perchling", "Perchling.exe")))
        os.makedirs(self.path(os.path.join("not Perchling", "Perchling.exe")))
        code, out, err = kit(bird, fine, kept, exe=exe)  # as Explorer starts it: file names only
        self.assertEqual(2, code, "one picture could not be converted")
        converted = windows_path(self.path("bird.bmp"))
        self.assertTrue(os.path.exists(self.path("bird.bmp")))
        self.assertIn(text("TEXT_KIT_REPORT_FILE", converted), out)
        self.assertIn(text("TEXT_KIT_REPORT_FILE", fine), out)
        self.assertEqual(3, out.count(text("TEXT_KIT_VERDICT_FINE")), "kept: judged, then refused")
        self.assertEqual(1, out.count(text("TEXT_KIT_NEXT_STEP_COPY", "bird.bmp", MENU_WAY + "bird")),
                         "once, for bird")
        self.assertIn(text("TEXT_KIT_EXISTS", windows_path(self.path("kept.bmp"))), err)
        with open(self.path("kept.bmp"), "rb") as file:
            self.assertEqual(b"the user's own file", file.read(), "never overwritten")
        self.assertEqual([], os.listdir(self.path(os.path.join("not Perchling", "skin"))))
        self.assertNotIn(text("TEXT_KIT_PRESS_ENTER"), out,
                         "without a console of its own the kit must not wait for Enter")
        code, out, _ = kit()
        self.assertEqual(0, code, "no file, no console: the usage, no wait")
        self.assertIn(USAGE_LINES[0], out)


    def test_in_a_console_of_its_own_it_asks_and_waits(self):
        exe = self.kit_beside_perchling(self.path("Perchling"))
        skin = self.path(os.path.join("Perchling", "skin", "bird.bmp"))
        bird = self.write("bird.png", png_bytes(24, 20, drawn_bird))
        ask, enter = "置き換えますか？", text("TEXT_KIT_PRESS_ENTER")
        rows = [  # given, keys typed at the question, exit code, the old skin replaced
            ((), None, 0, False),  # a double-click: how it is used, then the wait
            ((bird,), b"y\r", 0, True),
            ((bird,), b"n\r", 2, False),
            ((bird,), b"\r", 2, False),
            ((bird,), b"\x1a\r", 2, False),  # the end of the input
        ]
        for given, keys, expected, replaced in rows:
            write_file(skin, b"BM yesterday's bird")
            answers = ([(ask, keys)] if keys else []) + [(enter, b"\r")]
            code, screen = in_a_console(exe, given, answers)
            self.assertEqual(expected, code, screen)
            with open(skin, "rb") as file:
                self.assertEqual(replaced, file.read() != b"BM yesterday's bird", screen)
            self.assertEqual(not given, "perchskin: Perchling のスキンを作る道具です。" in screen)


if __name__ == "__main__":
    main()
