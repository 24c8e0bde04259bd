#!/usr/bin/env python3
"""Writes the release archives and their checksums into a folder:
    pack_release.py DIST VERSION NOTE_TEMPLATE BUILD=EXE... [--setup SETUP.exe]...
                    [--download-base URL]
One tessafold-VERSION-BUILD.zip per BUILD (win32, win64) holding the .exe and
README.txt, the installers (copied as they are), then SHA256SUMS. Archives of
the same inputs are byte-identical: names in a fixed order, one fixed time
stamp and fixed permissions.
With --download-base, the URL under which the files of DIST will be published,
it also writes manifests/ for winget and Scoop (see manifests.py)."""
import argparse
import hashlib
import pathlib
import shutil
import sys
import zipfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import manifests  # noqa: E402

# Per build: the line after the title, the Chinese and the English closing note.
BUILDS = {
    "win32": ("32-bit",
              "这是 32 位程序，可在 32 位和 64 位 Windows 上运行。",
              "This is the 32-bit program; it runs on 32- and 64-bit Windows."),
    "win64": ("64-bit",
              "这是 64 位程序，只能在 64 位 Windows 上运行。",
              "This is the 64-bit program; it runs on 64-bit Windows only."),
}
STAMP = (1980, 1, 1, 0, 0, 0)


def note(template, version, build):
    title, chinese, english = BUILDS[build]
    text = (template.replace("@VERSION@", version).replace("@BUILD_EN@", title)
            .replace("@BUILD_ZH@", chinese).replace("@BUILD_EN_LONG@", english))
    # Notepad on every Windows version reads UTF-8 with a byte order mark and
    # CRLF line ends.
    return "\ufeff".encode() + text.replace("\n", "\r\n").encode()


def add(archive, name, data):
    entry = zipfile.ZipInfo(name, date_time=STAMP)
    entry.create_system = 3
    entry.external_attr = 0o100644 << 16
    entry.compress_type = zipfile.ZIP_DEFLATED
    archive.writestr(entry, data, compresslevel=9)


def main(dist, version, template_path, builds, setups=(), download_base=None, sums_name="SHA256SUMS"):
    dist = pathlib.Path(dist)
    template = pathlib.Path(template_path).read_text(encoding="utf-8")
    for setup in setups:
        shutil.copyfile(setup, dist / pathlib.Path(setup).name)
    for pairing in builds:
        build, exe = pairing.split("=", 1)
        folder = f"tessafold-{version}-{build}"
        files = {f"{folder}/README.txt": note(template, version, build),
                 f"{folder}/tessafold.exe": pathlib.Path(exe).read_bytes()}
        with zipfile.ZipFile(dist / f"{folder}.zip", "w") as archive:
            for name in sorted(files):
                add(archive, name, files[name])
    sums = {path.name: hashlib.sha256(path.read_bytes()).hexdigest()
            for path in sorted(dist.iterdir()) if path.is_file() and path.name != sums_name}
    (dist / sums_name).write_text("".join(f"{digest}  {name}\n" for name, digest in sums.items()))
    if download_base:
        manifests.write(dist / "manifests", version, download_base, sums)
    else:
        print("no package manifests written: they need --download-base URL, where the files will be published")


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("dist")
    parser.add_argument("version")
    parser.add_argument("template")
    parser.add_argument("builds", nargs="+", metavar="BUILD=EXE")
    parser.add_argument("--setup", action="append", default=[])
    parser.add_argument("--download-base")
    args = parser.parse_args()
    main(args.dist, args.version, args.template, args.builds, args.setup, args.download_base)
