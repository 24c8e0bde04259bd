#!/usr/bin/env python3
"""Writes the signed release into a folder of its own:
    pack_signed.py OUT VERSION BUILD=EXE... [--download-base URL]
For each BUILD (win32, win64) a signed copy of EXE, then the installer holding
it, whose uninstaller and whose own file are signed too (make_installer.py
--sign), then the zips and SHA256SUMS.signed as pack_release.py writes them,
with the manifests when a download base is given. EXE itself stays as it
is: the unsigned release, SHA256SUMS, is what anyone can rebuild. The
certificate comes from the environment (sign_file.py)."""
import argparse
import pathlib
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import pack_release  # noqa: E402
import sign_file  # noqa: E402
import make_installer  # noqa: E402

ROOT = HERE.parent


def main(out, version, builds, download_base=None):
    out = pathlib.Path(out)
    out.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="tessafold-signed-") as work:
        signed_builds, setups = [], []
        for pairing in builds:
            build, exe = pairing.split("=", 1)
            program = pathlib.Path(work) / build / "tessafold.exe"
            program.parent.mkdir()
            program.write_bytes(pathlib.Path(exe).read_bytes())
            sign_file.main([str(program)])
            setup = pathlib.Path(work) / f"tessafold-{version}-{build}-setup.exe"
            make_installer.main(build, version, str(program), str(setup), sign=True)
            signed_builds.append(f"{build}={program}")
            setups.append(str(setup))
        pack_release.main(out, version, ROOT / "release" / "README.txt", signed_builds, setups,
                          download_base, "SHA256SUMS.signed")


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("version")
    parser.add_argument("builds", nargs="+", metavar="BUILD=EXE")
    parser.add_argument("--download-base")
    args = parser.parse_args()
    main(args.out, args.version, args.builds, args.download_base)
