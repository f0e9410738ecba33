#!/usr/bin/env python3
"""Writes the release zip and its SHA256SUMS so that the same commit always gives the same bytes.

    make_zip.py --out ZIP --sums SUMS --top FOLDER --source-dir DIR
                [--file NAME PATH]... [--text NAME PATH]... [--utf8-text NAME PATH]...

Every entry lands under FOLDER/ in the zip as NAME, a relative name with '/' between folders (so
"skin/a=b.bmp" is a name like any other); a name that is absolute, holds a ".." part or a
backslash is refused, as it could unpack outside the folder. --file entries are copied as they
are; --text entries are UTF-8 files with any line ends, shipped as Shift-JIS (code page 932) with
CRLF, as Notepad on a Japanese Windows reads them; --utf8-text entries stay UTF-8, shipped with CRLF
and a byte-order mark, by which Notepad on any Windows knows them.

What makes it reproducible: entries sorted by name, with the folders they need; every entry dated
with the last commit's time (SOURCE_DATE_EPOCH if set, otherwise git); fixed MS-DOS attributes
(archive for files, directory for folders); one compression level; no comment, no extra fields.
"""
import argparse
import codecs
import hashlib
import os
import re
import subprocess
import sys
import time
import zipfile

FILE_ATTRIBUTES = 0x20  # FILE_ATTRIBUTE_ARCHIVE
FOLDER_ATTRIBUTES = 0x10  # FILE_ATTRIBUTE_DIRECTORY


def commit_time(source_dir):
    """Seconds since 1970 of the last commit, or SOURCE_DATE_EPOCH when the caller sets it."""
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    done = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                          capture_output=True, text=True)
    if done.returncode != 0 or not done.stdout.strip():
        sys.exit(f"make_zip: no commit time in {source_dir} (not a git checkout? "
                 "set SOURCE_DATE_EPOCH)")
    return int(done.stdout)


def shift_jis_crlf(path):
    """A UTF-8 text file as Shift-JIS with CRLF line ends; fails on a character Shift-JIS lacks."""
    with open(path, encoding="utf-8") as file:
        lines = file.read().splitlines()
    for number, line in enumerate(lines, 1):
        try:
            line.encode("cp932")
        except UnicodeEncodeError as error:
            sys.exit(f"make_zip: {path}:{number}: {line[error.start:error.end]!r} "
                     "has no Shift-JIS code")
    return "".join(line + "\r\n" for line in lines).encode("cp932")


def utf8_crlf(path):
    """A UTF-8 text file as UTF-8 with a byte-order mark and CRLF line ends."""
    with open(path, encoding="utf-8") as file:
        lines = file.read().splitlines()
    return codecs.BOM_UTF8 + "".join(line + "\r\n" for line in lines).encode("utf-8")


def check_entry_name(kind, name):
    """Exits with a message unless name is a plain relative name inside the zip's folder."""
    if not name or name.startswith("/") or re.match(r"[A-Za-z]:", name):
        sys.exit(f"make_zip: --{kind} {name!r}: an entry name must be relative")
    if "\\" in name:
        sys.exit(f"make_zip: --{kind} {name!r}: folders in an entry name are separated by '/'")
    if ".." in name.split("/"):
        sys.exit(f"make_zip: --{kind} {name!r}: an entry name may not hold '..'")


def read_entries(arguments, top):
    """{name in the zip: contents} from the --file, --text and --utf8-text arguments."""
    entries = {}
    for kind, pairs in (("file", arguments.file), ("text", arguments.text),
                        ("utf8-text", arguments.utf8_text)):
        for name, path in pairs:
            check_entry_name(kind, name)
            if kind == "text":
                data = shift_jis_crlf(path)
            elif kind == "utf8-text":
                data = utf8_crlf(path)
            else:
                with open(path, "rb") as file:
                    data = file.read()
            entries[f"{top}/{name}"] = data
    return entries


def with_folders(entries):
    """The entries and every folder above them (names ending in '/', empty contents)."""
    named = dict(entries)
    for name in entries:
        parts = name.split("/")[:-1]
        for depth in range(1, len(parts) + 1):
            named.setdefault("/".join(parts[:depth]) + "/", b"")
    return named


def write_zip(path, entries, seconds):
    stamp = time.gmtime(max(seconds, 315532800))[:6]  # the zip format starts in 1980
    temporary = path + ".part"
    with zipfile.ZipFile(temporary, "w") as archive:
        for name in sorted(entries, key=lambda n: n.encode("utf-8")):
            info = zipfile.ZipInfo(name, stamp)
            info.create_system = 0  # MS-DOS attributes, as a Windows zip carries them
            folder = name.endswith("/")
            info.external_attr = FOLDER_ATTRIBUTES if folder else FILE_ATTRIBUTES
            info.compress_type = zipfile.ZIP_STORED if folder else zipfile.ZIP_DEFLATED
            archive.writestr(info, entries[name], compresslevel=9)
    os.replace(temporary, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", required=True)
    parser.add_argument("--sums", required=True)
    parser.add_argument("--top", required=True)
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--file", action="append", default=[], nargs=2, metavar=("NAME", "PATH"))
    parser.add_argument("--text", action="append", default=[], nargs=2, metavar=("NAME", "PATH"))
    parser.add_argument("--utf8-text", action="append", default=[], nargs=2,
                        metavar=("NAME", "PATH"))
    arguments = parser.parse_args()

    entries = with_folders(read_entries(arguments, arguments.top))
    os.makedirs(os.path.dirname(os.path.abspath(arguments.out)), exist_ok=True)
    write_zip(arguments.out, entries, commit_time(arguments.source_dir))
    with open(arguments.out, "rb") as file:
        digest = hashlib.sha256(file.read()).hexdigest()
    with open(arguments.sums, "w", newline="\n") as file:
        file.write(f"{digest}  {os.path.basename(arguments.out)}\n")


if __name__ == "__main__":
    main()
