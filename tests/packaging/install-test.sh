#!/usr/bin/env bash
# cmake --install into a scratch DESTDIR: every file of the package is there and passes its
# validator, and the installed programs, started through their /usr/bin links, find their
# program folder and drive a virtual board.
# Usage: install-test.sh BUILD_DIR INSTALL_PREFIX DESKTOP_ID VERSION
set -euo pipefail
build=$1 prefix=$2 id=$3 version=$4
dest=$(mktemp -d)
root=$dest$prefix
port=""
cleanup() {
  [ -n "$port" ] && "$root/bin/hx9-board-sim" --port "$port" shutdown >/dev/null 2>&1 || true
  rm -rf "$dest"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$dest cmake --install "$build" >/dev/null

program=lib/hx9-control-panel
share=share
expected=(
  "$program/hx9-control-panel" "$program/hx9ctl" "$program/hx9-board-sim"
  "$program/KELVARO_JTAG.so" "$program/KELVARO_DOWNLOAD.so" "$program/HX9_ControlPanel.sof"
  "$program/quartus/bin/quartus_pgm"
  "$share/applications/$id.desktop" "$share/applications/$id.VirtualBoard.desktop"
  "$share/metainfo/$id.metainfo.xml"
  "$share/man/man1/hx9-control-panel.1.gz" "$share/man/man1/hx9ctl.1.gz"
  "$share/man/man1/hx9-board-sim.1.gz"
  "$share/bash-completion/completions/hx9ctl" "$share/bash-completion/completions/hx9-board-sim"
  "$share/doc/hx9-control-panel/copyright" "$share/doc/hx9-control-panel/changelog.Debian.gz"
)
for size in 16 32 48 64 128 256; do
  expected+=("$share/icons/hicolor/${size}x$size/apps/hx9-control-panel.png")
done
for path in "${expected[@]}"; do
  [ -f "$root/$path" ] || fail "not installed: $path"
done
for size in 16 32 48 64 128 256; do
  got=$(identify -format '%wx%h' "$root/$share/icons/hicolor/${size}x$size/apps/hx9-control-panel.png")
  [ "$got" = "${size}x$size" ] || fail "the ${size}px icon is $got"
done
for name in hx9-control-panel hx9ctl hx9-board-sim; do
  link=$(readlink "$root/bin/$name") || fail "bin/$name is no link"
  [ "$link" = "../$program/$name" ] || fail "bin/$name links to $link"
done

# Each file passes the tool that judges its kind.
for entry in "$root/$share/applications/"*.desktop; do
  desktop-file-validate "$entry" || fail "desktop-file-validate $entry"
done
appstreamcli validate --no-net "$root/$share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "appstreamcli validate --no-net $id.metainfo.xml"
for page in "$root/$share/man/man1/"*.1.gz; do
  warnings=$(zcat "$page" | groff -man -ww -z -Tutf8 2>&1)
  [ -z "$warnings" ] || fail "groff -ww $(basename "$page"): $warnings"
done

# Through the links, from elsewhere: a blank virtual board is configured with the
# installed image and answers.
cd "$dest"
[ "$("$root/bin/hx9-control-panel" --version)" = "hx9-control-panel $version" ] ||
  fail "hx9-control-panel --version"
[ "$("$root/bin/hx9-board-sim" --version)" = "hx9-board-sim $version" ] || fail "hx9-board-sim --version"
port_line=$("$root/bin/hx9-board-sim" serve --port 0 --detach)
port=${port_line#port }
export KELVARO_JTAG_SERVER=127.0.0.1:$port
export QUARTUS_ROOTDIR=$root/$program/quartus
"$root/bin/hx9ctl" connect | grep -qx Connected || fail "hx9ctl connect through its link"
"$root/bin/hx9ctl" leds 0x2A5 >/dev/null || fail "hx9ctl leds"
[ "$("$root/bin/hx9-board-sim" --port "$port" leds)" = 0x002a5 ] || fail "the board's LEDs"

# The man page and the completion name every control command the board knows.
completion=$root/$share/bash-completion/completions/hx9-board-sim
page=$(zcat "$root/$share/man/man1/hx9-board-sim.1.gz" | sed 's/\\-/-/g')
for command in $("$root/bin/hx9-board-sim" --port "$port" help); do
  grep -Eq "^\.B[IR]? \"?$command( |\"|$)" <<<"$page" || fail "hx9-board-sim.1 lacks $command"
  grep -Eq "(^|[ \"])$command([ \"]|$)" "$completion" || fail "the completion lacks $command"
done
echo "installed and working: ${#expected[@]} files"
