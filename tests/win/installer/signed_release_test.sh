#!/usr/bin/env bash
# The signed release of a build, with a certificate made here: the program,
# the installer and the uninstaller it writes pass osslsigncode's check
# against that certificate, the unsigned release still matches its
# SHA256SUMS (signing left the build alone), the signed files match
# SHA256SUMS.signed, and the signed installer installs and uninstalls as the
# unsigned one does (installer_test.sh).
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
mkdir "$work/dist"
python3 "$scripts/pack_release.py" "$work/dist" "$version" "$here/../../../release/README.txt" \
  "$build=$program" --setup "$setup" >/dev/null
python3 "$scripts/pack_signed.py" "$work/dist/signed" "$version" "$build=$program" >/dev/null

echo "== the unsigned build is as it was, and as SHA256SUMS says"
[ "$(sha256sum "$program" "$setup")" = "$before" ] || fail "signing changed the build's own files"
(cd "$work/dist" && sha256sum --quiet -c SHA256SUMS) || fail "the unsigned release does not match SHA256SUMS"
(cd "$work/dist/signed" && sha256sum --quiet -c SHA256SUMS.signed) || fail "the signed release does not match SHA256SUMS.signed"
signed_setup=$work/dist/signed/tessafold-$version-$build-setup.exe
signed_program=$work/signed-tessafold.exe
python3 -c 'import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))' \
  "$work/dist/signed/tessafold-$version-$build.zip" "tessafold-$version-$build/tessafold.exe" >"$signed_program"
! cmp -s "$signed_program" "$program" || fail "the signed zip holds the unsigned program"

echo "== the signed installer installs and uninstalls"
chmod 644 "$signed_setup" "$signed_program"
TESSAFOLD_KEEP_UNINSTALLER=$work/uninstall.exe bash "$here/installer_test.sh" "$signed_setup" "$signed_program" "$version"

echo "== every signed file passes the check against the test's certificate"
for file in "$signed_program" "$signed_setup" "$work/uninstall.exe"; do
  osslsigncode verify -CAfile "$work/cert.pem" -in "$file" >"$work/verify.log" 2>&1 ||
    fail "$(basename "$file") does not verify: $(tail -5 "$work/verify.log")"
  grep -q "Signature verification: ok" "$work/verify.log" || fail "$(basename "$file"): $(cat "$work/verify.log")"
  grep -qi "sha256" "$work/verify.log" || fail "$(basename "$file") is not signed with SHA-256"
done
# An unsigned file does not pass, or the check above would prove nothing.
! osslsigncode verify -CAfile "$work/cert.pem" -in "$program" >/dev/null 2>&1 || fail "the unsigned program verifies"
echo "signed program, installer and uninstaller verify; the unsigned release still matches SHA256SUMS"
