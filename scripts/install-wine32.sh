#!/usr/bin/env bash
# Adds Wine's 32-bit half (wine32:i386), which runs the 32-bit VTX_HA.dll and
# its tests. It needs Debian's i386 architecture. When the i386 package lists
# cannot be fetched, or wine32 cannot be installed beside the packages already
# there, the architecture is removed again (so that apt-get update keeps
# working for everything else) and the script exits 1 having installed nothing.
# On a kernel that runs no 32-bit programs it exits 1 at once: wine32 could not
# run there.
set -euo pipefail
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" && exit 0
if ! reason=$("$(dirname "$0")/runs-32bit-programs.sh"); then
  echo "install-wine32.sh: $reason; wine32:i386 is not installed, the 32-bit DLL's tests under Wine will not run" >&2
  exit 1
fi
sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
added=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  added=1
fi
if $sudo apt-get update && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y wine32:i386; then
  exit 0
fi
if ((added)); then
  $sudo dpkg --remove-architecture i386
  $sudo apt-get update >/dev/null || true
fi
echo "install-wine32.sh: wine32:i386 could not be installed; the 32-bit DLL's tests under Wine will not run" >&2
exit 1
