#!/usr/bin/env python3
"""The zip builder's arguments: an entry is a NAME and a PATH, so any character may stand in a
name ("a=b.bmp" is a skin like any other), and a name that could unpack outside the zip's folder
(absolute, with a ".." part or a backslash) is refused with a message and no zip is written."""
import os
import subprocess
import sys
import tempfile
import unittest
import zipfile

MAKE_ZIP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                        "make_zip.py")


class MakeZip(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory(prefix="make-zip-test-")
        self.skin = os.path.join(self.folder.name, "a=b.bmp")
        with open(self.skin, "wb") as file:
            file.write(b"BM a skin")
        self.zip = os.path.join(self.folder.name, "out", "test.zip")

    def tearDown(self):
        self.folder.cleanup()

    def make_zip(self, *entries):
        return subprocess.run(
            [sys.executable, MAKE_ZIP, "--out", self.zip, "--sums",
             os.path.join(self.folder.name, "SUMS"), "--top", "Top", "--source-dir",
             self.folder.name, *entries],
            capture_output=True, text=True, env={**os.environ, "SOURCE_DATE_EPOCH": "1700000000"})

    def test_a_name_with_an_equals_sign_is_an_entry_like_any_other(self):
        done = self.make_zip("--file", "skin/a=b.bmp", self.skin)
        self.assertEqual(0, done.returncode, done.stderr)
        with zipfile.ZipFile(self.zip) as archive:
            self.assertEqual(["Top/", "Top/skin/", "Top/skin/a=b.bmp"], archive.namelist())
            self.assertEqual(b"BM a skin", archive.read("Top/skin/a=b.bmp"))

    def test_names_that_would_unpack_elsewhere_are_refused(self):
        for name in ("/etc/a.bmp", "C:/a.bmp", "c:a.bmp", "../a.bmp", "skin/../../a.bmp", "..",
                     "skin\\a.bmp", ""):
            for kind in ("--file", "--text", "--utf8-text"):
                done = self.make_zip(kind, name, self.skin)
                self.assertNotEqual(0, done.returncode, f"{kind} {name!r}")
                self.assertIn(repr(name), done.stderr, f"{kind} {name!r}: say which name")
                self.assertFalse(os.path.exists(self.zip), f"{kind} {name!r}")


if __name__ == "__main__":
    unittest.main(verbosity=2)
