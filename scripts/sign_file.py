#!/usr/bin/env python3
"""Signs Windows programs in place with Authenticode, SHA-256 (osslsigncode):
    sign_file.py FILE...
The certificate comes from the environment; scripts/release.sh sets it from
its options, and makensis runs this for the uninstaller and the installer:
    TESSAFOLD_SIGN_CERT, TESSAFOLD_SIGN_KEY   PEM certificate (with its chain)
                                              and private key
    TESSAFOLD_SIGN_PKCS12                     or a PKCS#12 file (.pfx), whose
    TESSAFOLD_SIGN_PASSWORD                   password this holds (if any)
    TESSAFOLD_TIMESTAMP_URL                   optional RFC 3161 time-stamp server
Without a time stamp a signature is valid only while its certificate is."""
import os
import pathlib
import subprocess
import sys
import tempfile


def signing_options(work):
    env = os.environ
    if env.get("TESSAFOLD_SIGN_PKCS12"):
        options = ["-pkcs12", env["TESSAFOLD_SIGN_PKCS12"]]
        if env.get("TESSAFOLD_SIGN_PASSWORD"):
            # From a private file: a command line is visible to every user.
            secret = work / "password"
            secret.touch(0o600)
            secret.write_text(env["TESSAFOLD_SIGN_PASSWORD"])
            options += ["-readpass", str(secret)]
    elif env.get("TESSAFOLD_SIGN_CERT") and env.get("TESSAFOLD_SIGN_KEY"):
        options = ["-certs", env["TESSAFOLD_SIGN_CERT"], "-key", env["TESSAFOLD_SIGN_KEY"]]
    else:
        sys.exit("sign_file.py: no certificate: set TESSAFOLD_SIGN_CERT and TESSAFOLD_SIGN_KEY, "
                 "or TESSAFOLD_SIGN_PKCS12")
    if env.get("TESSAFOLD_TIMESTAMP_URL"):
        options += ["-ts", env["TESSAFOLD_TIMESTAMP_URL"]]
    return options + ["-h", "sha256", "-n", "Tessafold"]


def main(files):
    with tempfile.TemporaryDirectory(prefix="tessafold-sign-") as work:
        work = pathlib.Path(work)
        options = signing_options(work)
        for name in files:
            path = pathlib.Path(name)
            signed = work / "signed"
            subprocess.run(["osslsigncode", "sign", *options, "-in", str(path), "-out", str(signed)],
                           check=True, stdout=subprocess.DEVNULL)
            path.write_bytes(signed.read_bytes())
            signed.unlink()


if __name__ == "__main__":
    main(sys.argv[1:])
