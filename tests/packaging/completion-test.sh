#!/usr/bin/env bash
# The bash completion scripts, driven as bash drives them: each line, completed at its end,
# gives these words.
# Usage: completion-test.sh COMPLETION_FILE...
set -uo pipefail
for script in "$@"; do
  # shellcheck disable=SC1090
  source "$script"
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
touch "$scratch/dump.bin" "$scratch/image.sof" "$scratch/notes.txt"
mkdir "$scratch/dir"

# Words offered for the last word of LINE, sorted, one line.
complete_line() {
  local line=$1
  read -ra COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE=$line
  COMP_POINT=${#line}
  COMPREPLY=()
  local spec function
  spec=$(complete -p "${COMP_WORDS[0]}") || return
  function=${spec#*-F }
  function=${function%% *}
  "$function" "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
  printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' ' -
}

# line => expected words
cases=(
  "hx9ctl me|mem"
  "hx9ctl mem s|save"
  "hx9ctl mem save $scratch/d|$scratch/dir $scratch/dump.bin"
  "hx9ctl -m s|sram"
  "hx9ctl --mem|--memory"
  "hx9ctl --memory sram mem l|load"
  "hx9ctl -c hdmi blue|blue blue-scale"
  "hx9ctl help sw|switches"
  "hx9-board-sim sw|switch switches"
  "hx9-board-sim --port 45480 sd card sds|sdsc"
  "hx9-board-sim program $scratch/|$scratch/dir $scratch/image.sof"
  "hx9-board-sim serve --st|--stay"
)
failures=0
for row in "${cases[@]}"; do
  line=${row%%|*} expected=${row#*|}
  got=$(complete_line "$line")
  if [ "$got" != "$expected" ]; then
    echo "FAIL: '$line' completes to '$got', not '$expected'"
    failures=$((failures + 1))
  fi
done
exit $((failures > 0))
