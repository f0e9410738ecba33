"""The release zip is the same, byte for byte, when the same commit is built again.

    reproducible.py SOURCE_DIR WINDOWS_BUILD SECOND_BUILD

Builds the shipped programs and the zip a second time from scratch, in another folder (so neither
the build's path nor the time of compiling and linking may reach the bytes), as scripts/package.sh
does, and compares that zip with the one the normal build writes. The normal build's zip is
written again first: it is dated with the last commit, and a commit may have come since it was
built. On a difference it names the entries that differ.
"""
import glob
import os
import shutil
import subprocess
import sys
import zipfile


def the_zip(build):
    found = glob.glob(os.path.join(build, "release", "Perchling-*-win64.zip"))
    if len(found) != 1:
        sys.exit(f"FAIL: not one release zip in {build}/release: {found}")
    return found[0]


def differences(first, second):
    """What differs between two zips: entries, their headers or their contents."""
    with zipfile.ZipFile(first) as a, zipfile.ZipFile(second) as b:
        found = [f"entries: {a.namelist()} against {b.namelist()}"] \
            if a.namelist() != b.namelist() else []
        for x, y in zip(a.infolist(), b.infolist()):
            if a.read(x) != b.read(y):
                found.append(f"{x.filename}: contents differ")
            for field in ("date_time", "external_attr", "create_system", "flag_bits",
                          "compress_type", "extra"):
                if getattr(x, field) != getattr(y, field):
                    found.append(f"{x.filename}: {field} {getattr(x, field)} against "
                                 f"{getattr(y, field)}")
    return found or ["the zips' own structure (entries and contents agree)"]


def main():
    source, first_build, second_build = sys.argv[1:4]
    shutil.rmtree(second_build, ignore_errors=True)
    toolchain = os.path.join(source, "cmake", "mingw-w64-x86_64.cmake")
    for command in (["cmake", "--build", first_build, "--target", "release_zip"],
                    ["cmake", "-S", source, "-B", second_build, "-DCMAKE_BUILD_TYPE=Release",
                     f"-DCMAKE_TOOLCHAIN_FILE={toolchain}"],
                    ["cmake", "--build", second_build, "--target", "release_zip", "-j", "2"]):
        done = subprocess.run(command, capture_output=True, text=True)
        if done.returncode != 0:
            sys.exit(f"FAIL: {' '.join(command)}\n{done.stdout}{done.stderr}")
    first = the_zip(first_build)
    second = the_zip(second_build)
    with open(first, "rb") as a, open(second, "rb") as b:
        same = a.read() == b.read()
    if not same:
        sys.exit("FAIL: the second build's zip differs:\n  " +
                 "\n  ".join(differences(first, second)))
    print(f"The second build gave the same {os.path.basename(first)} "
          f"({os.path.getsize(first)} bytes)")
    shutil.rmtree(second_build, ignore_errors=True)


if __name__ == "__main__":
    main()
