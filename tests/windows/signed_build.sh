#!/bin/bash
# The Windows packages signed as a maker signs them, and built again by
# anyone from the published signatures. A throwaway certificate authority,
# made here with openssl, issues a code-signing certificate, whose key a
# private SoftHSM2 token holds, and a time-stamping certificate. A second
# build of these sources is signed through the token's PKCS#11 module (the
# PIN in the environment) and time-stamped by that local authority:
# - configuring it is refused without a time-stamp source, and with a
#   certificate inside the sources;
# - osslsigncode accepts, against that authority, the signatures of the
#   program and its libraries, of the setup program, and of the program and
#   the uninstaller that the setup program installs (under Wine), each with
#   its time stamp; this build's unsigned program it refuses;
# - each file of the program's folder without its signature is this build's,
#   bit for bit; the PIN is written into no file of the build;
# - SHA256SUMS holds for the signed downloads;
# - a third build, in another folder, attaches the detached signatures (one
#   per program file, the uninstaller and the setup program) and gives the
#   signed program's folder, setup program, ZIP and SHA256SUMS bit for bit.
# Usage: signed_build.sh SOURCE BUILD EPOCH   (EPOCH: this build's date;
# QUENDRIL_SOFTHSM2_MODULE: SoftHSM2's module, set by CTest)
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
module=${QUENDRIL_SOFTHSM2_MODULE:?SoftHSM2\'s PKCS#11 module}
# -TSA-certs and -TSA-key came with osslsigncode 2.6.
usage=$(osslsigncode sign --help 2>&1 || true)
[[ $usage == *-TSA-certs* ]] || fail "the local time-stamping authority needs osslsigncode 2.6 or later"

open_wine_desktop
signed=$dir/signed
attached=$dir/attached

echo "-- a certificate authority, a code-signing key in a token, a time-stamping authority"
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
[stamps]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = critical, timeStamping
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
END
QUENDRIL_SIGN_PIN=$(openssl rand -hex 16)
export QUENDRIL_SIGN_PIN
export SOFTHSM2_CONF=$dir/softhsm2.conf
mkdir "$dir/tokens"
printf 'directories.tokendir = %s\nobjectstore.backend = file\n' "$dir/tokens" >"$SOFTHSM2_CONF"
(
  cd "$dir"
  openssl req -config certificates.cnf -x509 -newkey rsa:2048 -noenc -days 2 -extensions authority \
    -keyout authority.key -out authority.pem
  for role in signer stamps; do
    openssl req -config certificates.cnf -newkey rsa:2048 -noenc -subj "/CN=Test $role" \
      -keyout "$role.key" -out "$role.csr"
    openssl x509 -req -in "$role.csr" -CA authority.pem -CAkey authority.key -CAcreateserial -days 2 \
      -extfile certificates.cnf -extensions "$role" -out "$role.pem"
  done
  # The signing key lives in the token alone from here on.
  openssl pkcs8 -topk8 -nocrypt -in signer.key -out signer.p8
  softhsm2-util --init-token --free --label quendril-test --so-pin "$(openssl rand -hex 16)" --pin "$QUENDRIL_SIGN_PIN"
  softhsm2-util --import signer.p8 --token quendril-test --label signer --id 01 --pin "$QUENDRIL_SIGN_PIN"
  rm signer.key signer.p8
) >"$dir/openssl.log" 2>&1 || { cat "$dir/openssl.log" >&2; fail "making the certificates and the token"; }
# The time the stamps give, shown as osslsigncode shows it.
stamp_time=$(date +%s)
stamp_text=$(LC_ALL=C date -u -d "@$stamp_time" '+%b %e %H:%M:%S %Y GMT')

echo "-- a signed build"
first_build_options "$build"
export SOURCE_DATE_EPOCH=$3
signing=(-DQUENDRIL_SIGN_PKCS11_MODULE="$module" -DQUENDRIL_SIGN_KEY="pkcs11:token=quendril-test;object=signer;type=private"
  -DQUENDRIL_SIGN_CERTS="$dir/signer.pem")
stamps=(-DQUENDRIL_CHECK_TSA_CERTS="$dir/stamps.pem" -DQUENDRIL_CHECK_TSA_KEY="$dir/stamps.key"
  -DQUENDRIL_CHECK_TSA_TIME="$stamp_time")
# configure_refused WHAT EXPECTED OPTION...: configuring the signed build
# with these options stops, saying EXPECTED.
configure_refused() {
  local what=$1 expected=$2
  shift 2
  if cmake -S "$source" -B "$signed" -DBUILD_TESTING=OFF "${options[@]}" "$@" >"$dir/configure.log" 2>&1; then
    fail "configuring went through $what"
  fi
  # CMake wraps its messages.
  tr -s ' \n' '  ' <"$dir/configure.log" | grep -qF "$expected" || { cat "$dir/configure.log" >&2; fail "configuring $what stopped for another reason"; }
  echo "ok: configuring is refused $what"
}
configure_refused "without a time-stamp source" "time-stamped" "${signing[@]}" \
  -DQUENDRIL_CHECK_TSA_CERTS= -DQUENDRIL_CHECK_TSA_KEY=
configure_refused "with the certificates inside the sources" "outside the sources" "${signing[@]}" "${stamps[@]}" \
  -DQUENDRIL_SIGN_CERTS="$source/CMakeLists.txt"
cmake -S "$source" -B "$signed" -DBUILD_TESTING=OFF "${options[@]}" "${signing[@]}" "${stamps[@]}" \
  >"$dir/configure.log" 2>&1 || { cat "$dir/configure.log" >&2; fail "configuring the signed build"; }
cmake --build "$signed" --target quendril_packages -j2 >"$dir/build.log" 2>&1 \
  || { tail -n 50 "$dir/build.log" >&2; fail "the signed build"; }
grep -rqF "$QUENDRIL_SIGN_PIN" "$dir/configure.log" "$dir/build.log" "$signed" \
  && fail "the PIN was written down by the build"

# Whether osslsigncode accepts the file's signature against our authority,
# time-stamped by ours.
accepted() {
  osslsigncode verify -CAfile "$dir/authority.pem" -TSA-CAfile "$dir/authority.pem" -in "$1" >"$dir/verify.log" 2>&1 \
    && grep -qF "Timestamp time: $stamp_text" "$dir/verify.log" && return 0
  sed 's/^/  /' "$dir/verify.log" >&2
  return 1
}
refused() { ! osslsigncode verify -CAfile "$dir/authority.pem" -in "$1" >/dev/null 2>&1; }
setup_name=quendril-$QUENDRIL_VERSION-setup.exe
check "the unsigned program carries no signature" refused "$build/$folder/quendril.exe"
check "the signed setup program's signature is accepted" accepted "$signed/$setup_name"
programs=$(cd "$build/$folder" && find . -type f \( -name '*.exe' -o -name '*.dll' \) | LC_ALL=C sort)
[ "$(grep -c . <<<"$programs")" -gt 1 ] || fail "the program's folder holds nothing beside the program"
while IFS= read -r file; do
  accepted "$signed/$folder/$file" || fail "the signature of $file is refused"
  rm -f "$dir/signature-removed"
  osslsigncode remove-signature -in "$signed/$folder/$file" -out "$dir/signature-removed" >"$dir/remove.log" 2>&1 \
    || { cat "$dir/remove.log" >&2; fail "osslsigncode could not remove the signature of $file"; }
  cmp "$dir/signature-removed" "$build/$folder/$file" || fail "without its signature $file is not the unsigned build's"
done <<<"$programs"
echo "ok: the $(grep -c . <<<"$programs") program files are signed and, without their signatures, the unsigned build's"
check "SHA256SUMS holds for the signed downloads" sh -c "cd '$signed' && sha256sum --quiet -c SHA256SUMS"

echo "-- built again elsewhere from the published signatures"
published=$dir/published
cp -R "$signed/quendril-$QUENDRIL_VERSION-signatures" "$published"
signatures=$(cd "$published" && find . -type f | grep -c .)
check "one signature for each program file, the uninstaller and the setup program" \
  test "$signatures" = "$(($(grep -c . <<<"$programs") + 2))"
# Neither the token nor its PIN is used here.
env -u QUENDRIL_SIGN_PIN -u SOFTHSM2_CONF cmake -S "$source" -B "$attached" -DBUILD_TESTING=OFF "${options[@]}" \
  -DQUENDRIL_ATTACH_SIGNATURES="$published" -DQUENDRIL_ATTACH_CAFILE="$dir/authority.pem" \
  >"$dir/configure.log" 2>&1 || { cat "$dir/configure.log" >&2; fail "configuring the build that attaches"; }
env -u QUENDRIL_SIGN_PIN -u SOFTHSM2_CONF cmake --build "$attached" --target quendril_packages -j2 >"$dir/build.log" 2>&1 \
  || { tail -n 50 "$dir/build.log" >&2; fail "the build that attaches the signatures"; }
files=$(cd "$signed/$folder" && find . -type f | LC_ALL=C sort)
[ "$files" = "$(cd "$attached/$folder" && find . -type f | LC_ALL=C sort)" ] || fail "the program folders hold other files"
same_as_signed() { cmp "$signed/$1" "$attached/$1" || fail "$1 with the signatures attached is not the signed build's"; }
while IFS= read -r file; do same_as_signed "$folder/${file#./}"; done <<<"$files"
for file in "$setup_name" "quendril-$QUENDRIL_VERSION-windows-x64.zip" SHA256SUMS; do same_as_signed "$file"; done
echo "ok: with the signatures attached, the $(grep -c . <<<"$files") files of the folder, the setup program," \
  "the ZIP and SHA256SUMS are the signed build's"

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
echo "ok: signed, checked, unsigned again and attached again"
