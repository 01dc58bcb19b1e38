#!/usr/bin/env bash
# The Debian package, as a user gets it: CPack makes it from the build; dpkg installs it; the
# installed kelvane-render, started in a scratch folder, renders the build's own frame at 30 s byte
# for byte; kelvane --version answers; and dpkg removes it again, files and all. Needs root, and
# leaves alone a machine that has a kelvane package installed already (exit 77: skipped).
# Usage: package_test.sh BUILD_FOLDER KELVANE_RENDER VERSION
set -u
build=$1
render=$2
version=$3
source "$(dirname "$0")/../support/xtest.sh"
if [ "$(id -u)" != 0 ]; then
  echo "skipped: installing a package needs root"
  exit 77
fi
if dpkg-query -W -f='${Status}' kelvane 2>/dev/null | grep -q 'ok installed'; then
  echo "skipped: a kelvane package is installed already"
  exit 77
fi
work=$(mktemp -d)
installed=""
trap 'if [ -n "$installed" ]; then dpkg -r kelvane >/dev/null 2>&1; fi; cd /; rm -rf "$work"' EXIT
cd "$work"

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >cpack.log 2>&1 || fail "cpack: $(tail -5 cpack.log)"
deb=$(ls package/*.deb 2>/dev/null | head -1)
check_eq "package file" "kelvane_${version}_$(dpkg --print-architecture).deb" "$(basename "${deb:-none}")"
depends=$(dpkg-deb -f "$deb" Depends 2>&1)
check_eq "Depends from the linked libraries" "libsdl2 libsndfile1 libfltk1.3 libpng16" \
  "$(for library in libsdl2 libsndfile1 libfltk1.3 libpng16; do [[ $depends == *"$library"* ]] && echo -n "$library "; done | sed 's/ $//')"
check_eq "the description names every tool" "kelvane-render hwl texgen" \
  "$(for tool in kelvane-render hwl texgen; do dpkg-deb -f "$deb" Description | grep -Eq "^ +$tool " && echo -n "$tool "; done | sed 's/ $//')"

dpkg -i "$deb" >dpkg.log 2>&1 && installed=1 || fail "dpkg -i: $(tail -5 dpkg.log)"
mkdir scratch && cd scratch
env -u DISPLAY SDL_VIDEODRIVER=offscreen /usr/bin/kelvane-render --at 30000 --png installed.png >render.out 2>&1
check_eq "installed renderer exit code" 0 $?
env -u DISPLAY SDL_VIDEODRIVER=offscreen "$render" --demo "$build/demo" --at 30000 --png built.png >render.out 2>&1
cmp -s installed.png built.png
check_eq "the installed renderer's frame at 30 s is the build's" 0 $?
check_eq "kelvane --version" "kelvane (Kelvane) $version" "$(/usr/bin/kelvane --version 2>&1)"
cd "$work"

dpkg -r kelvane >dpkg.log 2>&1
check_eq "dpkg -r exit code" 0 $?
installed=""
check_eq "removed without a trace" "absent" \
  "$(if [ -e /usr/bin/kelvane ] || [ -e /usr/share/kelvane ] || [ -e /usr/share/man/man1/hwl.1 ]; then echo present; else echo absent; fi)"

finish
