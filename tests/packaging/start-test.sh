#!/usr/bin/env bash
# hx9-control-panel's command line before any window: --help and --version without a
# display, one line and status 1 when there is no display, status 2 for an unknown option.
# Usage: start-test.sh PROGRAM VERSION
set -uo pipefail
program=$1 version=$2
out=$(mktemp) err=$(mktemp)
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -rf "$out" "$err" "$XDG_RUNTIME_DIR"' EXIT
failures=0

# arguments ; environment ; status ; stdout's first line ; stderr (one line, or empty)
cases=(
  "--help;-u DISPLAY -u WAYLAND_DISPLAY;0;Usage: hx9-control-panel [--virtual-board];"
  "-V;-u DISPLAY -u WAYLAND_DISPLAY;0;hx9-control-panel $version;"
  "-platform offscreen --version;DISPLAY=:0;0;hx9-control-panel $version;"
  ";-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM;1;;hx9-control-panel: no display: DISPLAY is not set"
  ";-u WAYLAND_DISPLAY DISPLAY=:9173 QT_QPA_PLATFORM=xcb;1;;hx9-control-panel: no display: could not connect to display :9173"
  "--virtual-board --bogus;QT_QPA_PLATFORM=offscreen;2;;hx9-control-panel: unknown option '--bogus' (try --help)"
)
for row in "${cases[@]}"; do
  IFS=';' read -r args environment status first error <<<"$row"
  # shellcheck disable=SC2086 # words on purpose
  env $environment "$program" $args >"$out" 2>"$err"
  got=$?
  if [ "$got" != "$status" ] || [ "$(head -n1 "$out")" != "$first" ] ||
     [ "$(cat "$err")" != "$error" ]; then
    echo "FAIL: '$args' ($environment): status $got, stdout '$(head -n1 "$out")', stderr '$(cat "$err")'"
    failures=$((failures + 1))
  fi
done
exit $((failures > 0))
