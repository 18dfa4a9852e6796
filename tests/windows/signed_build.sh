#!/bin/bash
# The Windows packages signed as a maker with a code-signing certificate
# signs them. A throwaway certificate authority, and a code-signing
# certificate from it, both made here with openssl, sign a second build of
# these sources (-DQUENDRIL_SIGN_PKCS12, the password in the environment):
# - osslsigncode accepts, against that authority, the signatures of the
#   program and its libraries, of the setup program, and of the program and
#   the uninstaller that the setup program installs (under Wine); this
#   build's unsigned program it refuses;
# - each file of the program's folder without its signature is this build's,
#   bit for bit;
# - SHA256SUMS holds for the signed downloads.
# Usage: signed_build.sh SOURCE BUILD EPOCH   (EPOCH: this build's date)
# CTest windows: windows_signed_build @source@ @build@ @epoch@
set -euo pipefail
source=$1
build=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine_program.sh
. "$here/wine_program.sh"
# shellcheck source=../support/build_again.sh
. "$here/../support/build_again.sh"
folder=package/$QUENDRIL_TITLE
[ -f "$build/$folder/quendril.exe" ] || fail "no $build/$folder: build the target quendril_packages"

open_wine_desktop
signed=$dir/signed

echo "-- a certificate authority and a code-signing certificate"
cat >"$dir/certificates.cnf" <<'END'
[req]
distinguished_name = name
prompt = no
[name]
CN = Throwaway test authority
[authority]
basicConstraints = critical, CA:true
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[signer]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
END
QUENDRIL_SIGN_PASSWORD=$(openssl rand -hex 16)
export QUENDRIL_SIGN_PASSWORD
(
  cd "$dir"
  openssl req -config certificates.cnf -x509 -newkey rsa:2048 -noenc -days 2 -extensions authority \
    -keyout authority.key -out authority.pem
  openssl req -config certificates.cnf -newkey rsa:2048 -noenc -subj "/CN=Test signer" \
    -keyout signer.key -out signer.csr
  openssl x509 -req -in signer.csr -CA authority.pem -CAkey authority.key -CAcreateserial -days 2 \
    -extfile certificates.cnf -extensions signer -out signer.pem
  openssl pkcs12 -export -in signer.pem -inkey signer.key -out signer.p12 -passout env:QUENDRIL_SIGN_PASSWORD
) >"$dir/openssl.log" 2>&1 || { cat "$dir/openssl.log" >&2; fail "openssl could not make the certificates"; }

echo "-- a signed build"
first_build_options "$build"
export SOURCE_DATE_EPOCH=$3
cmake -S "$source" -B "$signed" -DBUILD_TESTING=OFF "${options[@]}" -DQUENDRIL_SIGN_PKCS12="$dir/signer.p12" \
  >"$dir/configure.log" 2>&1 || { cat "$dir/configure.log" >&2; fail "configuring the signed build"; }
cmake --build "$signed" --target quendril_packages -j2 >"$dir/build.log" 2>&1 \
  || { tail -n 50 "$dir/build.log" >&2; fail "the signed build"; }
grep -qF "$QUENDRIL_SIGN_PASSWORD" "$dir/build.log" "$signed/CMakeCache.txt" "$signed/sign-file.cmake" "$signed/quendril.nsi" \
  && fail "the key's password was written down by the build"

# Whether osslsigncode accepts the file's signature against our authority.
accepted() {
  osslsigncode verify -CAfile "$dir/authority.pem" -in "$1" >"$dir/verify.log" 2>&1 && return 0
  sed 's/^/  /' "$dir/verify.log" >&2
  return 1
}
refused() { ! osslsigncode verify -CAfile "$dir/authority.pem" -in "$1" >/dev/null 2>&1; }
setup_name=quendril-$QUENDRIL_VERSION-setup.exe
check "the unsigned program carries no signature" refused "$build/$folder/quendril.exe"
check "the signed setup program's signature is accepted" accepted "$signed/$setup_name"
files=$(cd "$build/$folder" && find . -type f | LC_ALL=C sort)
[ "$(grep -c . <<<"$files")" -gt 1 ] || fail "the program's folder holds nothing beside the program"
while IFS= read -r file; do
  accepted "$signed/$folder/$file" || fail "the signature of $file is refused"
  rm -f "$dir/signature-removed"
  osslsigncode remove-signature -in "$signed/$folder/$file" -out "$dir/signature-removed" >"$dir/remove.log" 2>&1 \
    || { cat "$dir/remove.log" >&2; fail "osslsigncode could not remove the signature of $file"; }
  cmp "$dir/signature-removed" "$build/$folder/$file" || fail "without its signature $file is not the unsigned build's"
done <<<"$files"
echo "ok: the $(grep -c . <<<"$files") files of the program's folder are signed and, without their signatures, the unsigned build's"
check "SHA256SUMS holds for the signed downloads" sh -c "cd '$signed' && sha256sum --quiet -c SHA256SUMS"

echo "-- installed by the signed setup program"
# Wine makes its prefixes as Windows 7, which the setup program refuses.
wine winecfg /v win10 </dev/null >/dev/null 2>&1 || fail "winecfg could not set Windows 10"
status=0
wine "$signed/$setup_name" /S /CurrentUser </dev/null >"$dir/setup.log" 2>&1 || status=$?
[ "$status" = 0 ] || fail "the signed setup program ended with status $status"
uninstaller=$(find "$WINEPREFIX/drive_c" -name "Uninstall $QUENDRIL_TITLE.exe" -print -quit)
[ -n "$uninstaller" ] || fail "the signed setup program installed no uninstaller"
check "the installed uninstaller's signature is accepted" accepted "$uninstaller"
check "the installed program's" accepted "$(dirname "$uninstaller")/quendril.exe"
echo "ok: signed, checked and unsigned again"
