#!/usr/bin/env python3
"""Builds the Windows installer of one build with NSIS:
    make_installer.py BUILD VERSION EXE OUT.exe [--sign]   (BUILD: win32 or win64)
It installs tessafold.exe and the README.txt of that build's zip
(installer/tessafold.nsi says how). With --sign, scripts/sign_file.py signs
the uninstaller inside and the installer (the certificate from the
environment, as sign_file.py says); EXE is then the signed program. The same
inputs give the same bytes: makensis stores each file's modification time,
so the staged files all get the zips' one time stamp."""
import calendar
import os
import pathlib
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import pack_release  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parent.parent


def main(build, version, exe, out, sign=False):
    signer = [f'-DSIGN="{sys.executable}" "{ROOT / "scripts" / "sign_file.py"}"'] if sign else []
    stamp = calendar.timegm(pack_release.STAMP + (0, 0, 0))
    template = (ROOT / "release" / "README.txt").read_text(encoding="utf-8")
    out = pathlib.Path(out).resolve()
    with tempfile.TemporaryDirectory(prefix="tessafold-setup-") as stage:
        stage = pathlib.Path(stage)
        (stage / "tessafold.exe").write_bytes(pathlib.Path(exe).read_bytes())
        (stage / "README.txt").write_bytes(pack_release.note(template, version, build))
        for path in stage.iterdir():
            path.chmod(0o644)
            os.utime(path, (stamp, stamp))
        subprocess.run(["makensis", "-V2", "-INPUTCHARSET", "UTF8",
                        f"-DVERSION={version}", f"-DBUILD={build}", f"-DSTAGE={stage}",
                        f"-DICON={ROOT / 'src' / 'app' / 'window' / 'win' / 'tessafold.ico'}",
                        f"-DOUTFILE={out}", *signer, str(ROOT / "installer" / "tessafold.nsi")],
                       check=True)


if __name__ == "__main__":
    arguments = sys.argv[1:]
    main(*[a for a in arguments if a != "--sign"], sign="--sign" in arguments)
