#!/usr/bin/env bash
# Installs what building and testing edbrecover needs on Debian 12, and is
# quick and quiet when everything is already there.
#
# libesedb must be 20240420 or newer: Debian 12's own 20181229 loses long
# values and mangles UTF-16 surrogate pairs. Debian 13 (trixie) ships
# 20240420, whose packages depend only on libc6 >= 2.33, so they are fetched
# for trixie through a private apt configuration (own sources list and state
# folders; the system's sources stay untouched) and installed with apt.
#
# Usage: tools/install-deps.sh [--gui]
#   --gui also installs Qt 6 Widgets for edbrecover-gui, a font, and what the
#   real-window test needs (Xvfb, openbox, xdotool, ImageMagick's import).
set -euo pipefail

want_gui=0
[ "${1:-}" = "--gui" ] && want_gui=1

SUDO=""
if [ "$(id -u)" != "0" ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

PACKAGES=(cmake g++ make pkg-config libgtest-dev libcli11-dev nlohmann-json3-dev zlib1g-dev clang libclang-rt-14-dev
          libgmime-3.0-dev libical-dev)
# What the export tests read the written stores back with: Python's parsers
# for vCard and iCalendar, a real IMAP server over the Maildir, and khard
# over the contact folders.
PACKAGES+=(python3 python3-vobject python3-icalendar dovecot-imapd khard)
[ "$want_gui" = 1 ] && PACKAGES+=(qt6-base-dev fonts-dejavu-core xvfb xauth openbox xdotool imagemagick)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

apt_updated=0
apt_update_once() {
  if [ "$apt_updated" = 0 ]; then
    $SUDO apt-get update -qq
    apt_updated=1
  fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  apt_update_once
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

esedb_version_ok() {
  command -v esedbinfo >/dev/null 2>&1 || return 1
  local v
  v=$(esedbinfo -V 2>/dev/null | grep -o '[0-9]\{8\}' | head -n 1)
  [ -n "$v" ] && [ "$v" -ge 20240420 ] || return 1
  [ -f /usr/include/libesedb.h ] || return 1
}

# The first Debian archive URI that the machine's own apt sources name.
debian_archive_uri() {
  local uri=""
  if ls /etc/apt/sources.list.d/*.sources >/dev/null 2>&1; then
    uri=$(awk '/^URIs:/ {for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) {print $i; exit}}' \
          /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
  fi
  if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
    uri=$(awk '$1 == "deb" {for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) {print $i; exit}}' \
          /etc/apt/sources.list | head -n 1)
  fi
  echo "${uri:-http://deb.debian.org/debian}"
}

install_trixie_libesedb() {
  local root=/var/cache/edbrecover-trixie-apt
  local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  [ -f /usr/share/keyrings/debian-archive-trixie-stable.gpg ] && keyring=/usr/share/keyrings/debian-archive-trixie-stable.gpg
  $SUDO mkdir -p "$root/lists/partial" "$root/archives/partial" "$root/debs"
  printf 'deb [signed-by=%s] %s trixie main\n' "$keyring" "$(debian_archive_uri)" \
    | $SUDO tee "$root/sources.list" >/dev/null
  local opts=(-o "Dir::Etc::SourceList=$root/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
              -o "Dir::State::Lists=$root/lists" -o "Dir::Cache=$root" -o "Dir::Cache::archives=$root/archives"
              -o "APT::Get::List-Cleanup=0" -o "Debug::NoLocking=1" -o "APT::Sandbox::User=root")
  echo "install-deps: fetching libesedb 20240420 from Debian trixie"
  $SUDO apt-get "${opts[@]}" update -qq
  (cd "$root/debs" && $SUDO rm -f ./*.deb && \
   $SUDO apt-get "${opts[@]}" download libesedb1t64 libesedb-dev libesedb-utils >/dev/null)
  apt_update_once
  $SUDO apt-get install -y -qq --no-install-recommends "$root"/debs/*.deb >/dev/null
}

if ! esedb_version_ok; then
  install_trixie_libesedb
  if ! esedb_version_ok; then
    echo "install-deps: libesedb 20240420 or newer could not be installed" >&2
    esedbinfo -V >&2 || true
    exit 1
  fi
fi
