#!/usr/bin/env bash
# The signed release of a build, with a certificate made here: signing leaves
# the unsigned release as SHA256SUMS says, the signed files are as
# SHA256SUMS.signed says, the signed installer installs and uninstalls
# (installer_test.sh), and program, installer and uninstaller verify.
#   signed_release_test.sh BUILD PROGRAM.exe SETUP.exe VERSION
set -euo pipefail
build=$1 program=$(readlink -f "$2") setup=$(readlink -f "$3") version=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
scripts=$here/../../../scripts
work=$(mktemp -d "${TMPDIR:-/tmp}/tessafold-signed.XXXXXX")
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tessafold test signer" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
export TESSAFOLD_SIGN_CERT=$work/cert.pem TESSAFOLD_SIGN_KEY=$work/key.pem
before=$(sha256sum "$program" "$setup")
mkdir "$work/unsigned"
python3 "$scripts/pack_release.py" "$work/unsigned" "$version" "$here/../../../release/README.txt" \
  "$build=$program" --setup "$setup" >/dev/null
python3 "$scripts/pack_signed.py" "$work/signed" "$version" "$build=$program" >/dev/null
[ "$(sha256sum "$program" "$setup")" = "$before" ] || fail "signing changed the build's own files"
(cd "$work/unsigned" && sha256sum --quiet -c SHA256SUMS) || fail "the unsigned release does not match SHA256SUMS"
(cd "$work/signed" && sha256sum --quiet -c SHA256SUMS.signed) || fail "the signed files do not match SHA256SUMS.signed"
signed_setup=$work/signed/tessafold-$version-$build-setup.exe
python3 -c 'import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))' \
  "$work/signed/tessafold-$version-$build.zip" "tessafold-$version-$build/tessafold.exe" >"$work/tessafold.exe"
chmod 644 "$signed_setup" "$work/tessafold.exe"

echo "== the signed installer installs and uninstalls"
TESSAFOLD_KEEP_UNINSTALLER=$work/uninstall.exe bash "$here/installer_test.sh" "$signed_setup" "$work/tessafold.exe" "$version"

echo "== every signed file verifies against the test's certificate, an unsigned one does not"
for file in "$work/tessafold.exe" "$signed_setup" "$work/uninstall.exe" "$program"; do
  rc=0; osslsigncode verify -CAfile "$work/cert.pem" -in "$file" >"$work/verify.log" 2>&1 || rc=$?
  if [ "$file" = "$program" ]; then [ "$rc" != 0 ] || fail "the unsigned program verifies"; continue; fi
  [ "$rc" = 0 ] && grep -q "Signature verification: ok" "$work/verify.log" && grep -qi sha256 "$work/verify.log" ||
    fail "$(basename "$file") has no good SHA-256 signature: $(tail -5 "$work/verify.log")"
done
echo "signed program, installer and uninstaller verify; the unsigned release still matches SHA256SUMS"
