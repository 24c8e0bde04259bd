#!/usr/bin/env bash
# Builds the 32- and 64-bit programs and their installers for a release
# (build/release-win32 and build/release-win64: no tests, no symbols) and
# writes dist/:
#   tessafold-<version>-win32.zip, tessafold-<version>-win64.zip
#       each the .exe and README.txt (release/README.txt filled in)
#   tessafold-<version>-win32-setup.exe, tessafold-<version>-win64-setup.exe
#       the NSIS installers (installer/tessafold.nsi)
#   SHA256SUMS of every other file in dist/
#   manifests/winget/ and manifests/scoop/, only with --download-base URL:
#       the URL the files of dist/ will be published under
#   signed/, only with a certificate: the same files signed (both programs,
#       before they are packed, each uninstaller and both installers) with
#       their SHA256SUMS.signed and, with --download-base, the manifests,
#       which then name the signed files (scripts/pack_signed.py)
# The version is the CMake project version. The same commit gives the same
# unsigned bytes in any folder at any time; scripts/check-reproducible.sh
# shows it.
#   scripts/release.sh [--download-base URL]
#                      [--sign-cert PEM --sign-key PEM | --sign-pkcs12 FILE]
#                      [--timestamp-url URL]
# A PKCS#12 file's password is read from TESSAFOLD_SIGN_PASSWORD.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

usage="usage: scripts/release.sh [--download-base URL] [--sign-cert PEM --sign-key PEM | --sign-pkcs12 FILE] [--timestamp-url URL]"
manifest_options=()
unset TESSAFOLD_SIGN_CERT TESSAFOLD_SIGN_KEY TESSAFOLD_SIGN_PKCS12 TESSAFOLD_TIMESTAMP_URL
while [ $# -gt 0 ]; do
  option=${1%%=*}
  case $option in
    --download-base | --sign-cert | --sign-key | --sign-pkcs12 | --timestamp-url) ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
  if [ "$option" != "$1" ]; then value=${1#*=}; shift
  elif [ $# -ge 2 ]; then value=$2; shift 2
  else echo "$1 needs a value; $usage" >&2; exit 2
  fi
  case $option in
    --download-base) manifest_options=(--download-base "$value") ;;
    --sign-cert) export TESSAFOLD_SIGN_CERT; TESSAFOLD_SIGN_CERT=$(readlink -f "$value") ;;
    --sign-key) export TESSAFOLD_SIGN_KEY; TESSAFOLD_SIGN_KEY=$(readlink -f "$value") ;;
    --sign-pkcs12) export TESSAFOLD_SIGN_PKCS12; TESSAFOLD_SIGN_PKCS12=$(readlink -f "$value") ;;
    --timestamp-url) export TESSAFOLD_TIMESTAMP_URL=$value ;;
  esac
done
signing=""
if [ -n "${TESSAFOLD_SIGN_PKCS12:-}" ] && [ -z "${TESSAFOLD_SIGN_CERT:-}${TESSAFOLD_SIGN_KEY:-}" ]; then signing=1
elif [ -n "${TESSAFOLD_SIGN_CERT:-}" ] && [ -n "${TESSAFOLD_SIGN_KEY:-}" ] && [ -z "${TESSAFOLD_SIGN_PKCS12:-}" ]; then signing=1
elif [ -n "${TESSAFOLD_SIGN_CERT:-}${TESSAFOLD_SIGN_KEY:-}${TESSAFOLD_SIGN_PKCS12:-}${TESSAFOLD_TIMESTAMP_URL:-}" ]; then
  echo "signing needs --sign-cert with --sign-key, or --sign-pkcs12 alone; $usage" >&2; exit 2
fi

bash scripts/setup.sh
builds=()
setups=()
for build in win32 win64; do
  echo "== release-$build: configure and build"
  cmake --preset "release-$build" >/dev/null
  cmake --build --preset "release-$build"
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release-win32/CMakeCache.txt)
for build in win32 win64; do
  builds+=("$build=build/release-$build/bin/tessafold.exe")
  setups+=(--setup "build/release-$build/tessafold-$version-$build-setup.exe")
done

rm -rf dist
mkdir dist
if [ -n "$signing" ]; then
  python3 scripts/pack_release.py dist "$version" release/README.txt "${builds[@]}" "${setups[@]}"
  echo "== dist/signed: signing"
  python3 scripts/pack_signed.py dist/signed "$version" "${builds[@]}" "${manifest_options[@]}"
else
  python3 scripts/pack_release.py dist "$version" release/README.txt "${builds[@]}" "${setups[@]}" \
    "${manifest_options[@]}"
fi
echo "== dist/ (version $version)"
(cd dist && ls -lR && cat SHA256SUMS)
if [ -n "$signing" ]; then (cd dist/signed && cat SHA256SUMS.signed); fi
