#!/usr/bin/env python3
"""What a publisher relies on in dist/: SHA256SUMS covers every file, and the
winget and Scoop manifests point at the published files with their hashes,
at a program that is where they say inside each zip. Packs stand-in programs
and installers the way scripts/release.sh packs the real ones."""
import hashlib
import json
import pathlib
import subprocess
import sys
import tempfile
import unittest
import zipfile

import yaml

ROOT = pathlib.Path(__file__).resolve().parents[2]
VERSION = "7.8.9"
BASE = "https://example.org/releases/7.8.9/"


class ReleaseFiles(unittest.TestCase):
    def pack(self, *options):
        work = pathlib.Path(self.enterContext(tempfile.TemporaryDirectory()))
        programs, setups = [], []
        for build in ("win32", "win64"):
            (work / f"{build}.exe").write_bytes(b"MZ program " + build.encode())
            setup = work / f"tessafold-{VERSION}-{build}-setup.exe"
            setup.write_bytes(b"MZ installer " + build.encode())
            programs.append(f"{build}={work / f'{build}.exe'}")
            setups += ["--setup", str(setup)]
        dist = work / "dist"
        dist.mkdir()
        run = subprocess.run([sys.executable, str(ROOT / "scripts" / "pack_release.py"), str(dist), VERSION,
                              str(ROOT / "release" / "README.txt"), *programs, *setups, *options],
                             check=True, capture_output=True, text=True)
        sums = dict(reversed(line.split("  ")) for line in (dist / "SHA256SUMS").read_text().splitlines())
        return dist, sums, run.stdout

    def test_the_sums_cover_every_file_and_no_manifests_come_without_a_download_base(self):
        dist, sums, said = self.pack()
        self.assertEqual(sorted(sums), sorted(f"tessafold-{VERSION}-{b}{s}" for b in ("win32", "win64")
                                              for s in (".zip", "-setup.exe")))
        for name, digest in sums.items():
            self.assertEqual(hashlib.sha256((dist / name).read_bytes()).hexdigest(), digest, name)
        self.assertFalse((dist / "manifests").exists())
        self.assertIn("--download-base", said)

    def test_every_manifest_names_a_published_file_with_its_hash_and_a_program_inside(self):
        dist, sums, _ = self.pack("--download-base", BASE)

        def published(url):
            self.assertTrue(url.startswith(BASE), url)
            return url[len(BASE):]

        winget = dist / "manifests" / "winget"
        manifests = [yaml.safe_load(path.read_text(encoding="utf-8")) for path in sorted(winget.glob("*.yaml"))]
        self.assertEqual(sorted(m["ManifestType"] for m in manifests), ["defaultLocale", "installer", "version"])
        self.assertEqual({(m["PackageIdentifier"], m["PackageVersion"]) for m in manifests},
                         {("Tessafold.Tessafold", VERSION)})
        installers = next(m for m in manifests if m["ManifestType"] == "installer")["Installers"]
        self.assertEqual(sorted((i["Architecture"], i["InstallerType"]) for i in installers),
                         [("x64", "nullsoft"), ("x64", "zip"), ("x86", "nullsoft"), ("x86", "zip")])
        for entry in installers:
            name = published(entry["InstallerUrl"])
            self.assertEqual(entry["InstallerSha256"], sums[name], name)
            self.assertIn({"x86": "win32", "x64": "win64"}[entry["Architecture"]], name)
            if entry["InstallerType"] == "nullsoft":
                self.assertEqual(entry["InstallerSwitches"]["Silent"], "/S")
            else:
                self.assertEqual(entry["NestedInstallerType"], "portable")
                inside = [f["RelativeFilePath"].replace("\\", "/") for f in entry["NestedInstallerFiles"]]
                with zipfile.ZipFile(dist / name) as archive:
                    for path in inside:
                        self.assertEqual(archive.read(path)[:2], b"MZ", path)

        scoop = json.loads((dist / "manifests" / "scoop" / "tessafold.json").read_text())
        self.assertEqual(scoop["version"], VERSION)
        self.assertEqual(sorted(scoop["architecture"]), ["32bit", "64bit"])
        for bits, entry in scoop["architecture"].items():
            name = published(entry["url"])
            self.assertEqual(entry["hash"], sums[name], name)
            self.assertIn({"32bit": "win32", "64bit": "win64"}[bits], name)
            with zipfile.ZipFile(dist / name) as archive:
                for target, _ in scoop["shortcuts"]:
                    self.assertEqual(archive.read(f"{entry['extract_dir']}/{target}")[:2], b"MZ")


if __name__ == "__main__":
    unittest.main(verbosity=2)
