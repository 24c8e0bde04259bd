"""Package-manager manifests of a release, from the files' SHA256SUMS entries:
    manifests/winget/Tessafold.Tessafold{,.locale.en-US,.installer}.yaml
    manifests/scoop/tessafold.json
winget gets the installers (nullsoft, per user) and the zips (a portable .exe
inside), each for x86 and x64; Scoop gets the zips. Every URL is the download
base followed by the file's name in dist/, so the files must be published
there as they are. Written by pack_release.py when given --download-base."""
import json

import yaml

PACKAGE = "Tessafold.Tessafold"
NAME = "Tessafold"
PUBLISHER = "Tessafold"
HOMEPAGE = "https://www.tessafold.com"
# No licence is published with the sources; both package managers want one
# named. Change this when there is one.
LICENSE = "Proprietary"
MANIFEST_VERSION = "1.6.0"
SUMMARY = "Scrambles a file in place by a byte shift and unscrambles it again"
DESCRIPTION = (
    "Tessafold shifts every byte of a file by a key, in place, and shifts it back. "
    "It is not encryption: every key and repeat count comes down to one of 256 byte "
    "shifts, so anyone can undo a scrambled file by trying them all. It keeps a file "
    "from being opened by chance, not from someone who tries; for secrets use real "
    "encryption (an AES archive, or disk encryption).")
ARCHITECTURES = {"win32": ("x86", "32bit"), "win64": ("x64", "64bit")}


def _yaml(kind, fields):
    schema = f"https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json"
    return (f"# yaml-language-server: $schema={schema}\n\n"
            + yaml.safe_dump(fields, sort_keys=False, allow_unicode=True, width=1000))


def write(folder, version, base, sums):
    base = base.rstrip("/")

    def url(name):
        return f"{base}/{name}"

    def digest(name):
        if name not in sums:
            raise SystemExit(f"the manifests name {name}, which the release does not hold")
        return sums[name]

    common = {"PackageIdentifier": PACKAGE, "PackageVersion": version}
    installers = []
    for build, (arch, _) in ARCHITECTURES.items():
        setup = f"tessafold-{version}-{build}-setup.exe"
        installers.append({
            "Architecture": arch, "InstallerType": "nullsoft", "Scope": "user",
            "InstallerUrl": url(setup), "InstallerSha256": digest(setup),
            "InstallerSwitches": {"Silent": "/S", "SilentWithProgress": "/S"},
            "UpgradeBehavior": "install", "ProductCode": NAME})
    for build, (arch, _) in ARCHITECTURES.items():
        archive = f"tessafold-{version}-{build}.zip"
        installers.append({
            "Architecture": arch, "InstallerType": "zip", "NestedInstallerType": "portable",
            "NestedInstallerFiles": [{"RelativeFilePath": f"tessafold-{version}-{build}\\tessafold.exe",
                                      "PortableCommandAlias": "tessafold"}],
            "InstallerUrl": url(archive), "InstallerSha256": digest(archive)})

    winget = folder / "winget"
    winget.mkdir(parents=True)
    (winget / f"{PACKAGE}.yaml").write_text(_yaml("version", {
        **common, "DefaultLocale": "en-US", "ManifestType": "version", "ManifestVersion": MANIFEST_VERSION}))
    (winget / f"{PACKAGE}.locale.en-US.yaml").write_text(_yaml("defaultLocale", {
        **common, "PackageLocale": "en-US", "Publisher": PUBLISHER, "PublisherUrl": HOMEPAGE,
        "PackageName": NAME, "PackageUrl": HOMEPAGE, "License": LICENSE,
        "ShortDescription": SUMMARY, "Description": DESCRIPTION,
        "ManifestType": "defaultLocale", "ManifestVersion": MANIFEST_VERSION}), encoding="utf-8")
    (winget / f"{PACKAGE}.installer.yaml").write_text(_yaml("installer", {
        **common, "InstallModes": ["interactive", "silent", "silentWithProgress"],
        "Installers": installers, "ManifestType": "installer", "ManifestVersion": MANIFEST_VERSION}))

    scoop = {
        "version": version, "description": SUMMARY + ". " + DESCRIPTION.split(". ", 1)[1],
        "homepage": HOMEPAGE, "license": LICENSE,
        "architecture": {
            key: {"url": url(f"tessafold-{version}-{build}.zip"),
                  "hash": digest(f"tessafold-{version}-{build}.zip"),
                  "extract_dir": f"tessafold-{version}-{build}"}
            for build, (_, key) in sorted(ARCHITECTURES.items(), reverse=True)},
        "shortcuts": [["tessafold.exe", NAME]],
    }
    (folder / "scoop").mkdir(parents=True)
    (folder / "scoop" / "tessafold.json").write_text(json.dumps(scoop, indent=4) + "\n")
