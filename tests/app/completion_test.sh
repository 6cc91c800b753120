#!/usr/bin/env bash
# The bash completions of orvalin-table and orvalin-places: they know every option of the
# programs' --help, and complete commands, options and values.
# Usage: completion_test.sh COMPLETIONS_DIR PATH/TO/orvalin-table PATH/TO/orvalin-places
set -uo pipefail
dir=$1 table=$2 places=$3
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Every option named by a program's --help is in its completion, and the other way round.
same_options() {
  local program=$1 script=$2 from_help from_script
  from_help=$("$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u | tr '\n' ' ')
  from_script=$(grep -o -- '--[a-z][a-z-]*' "$script" | sort -u | tr '\n' ' ')
  [[ $from_help == "$from_script" ]] ||
    fail "$(basename "$script"): --help names [$from_help], the completion [$from_script]"
}
same_options "$table" "$dir/orvalin-table"
same_options "$places" "$dir/orvalin-places"

bash_completion=/usr/share/bash-completion/bash_completion
if [[ ! -r $bash_completion ]]; then
  echo "bash-completion is not installed: only the options were compared"
  exit $((failures > 0))
fi
# shellcheck disable=SC1090
source "$bash_completion"
source "$dir/orvalin-table"
source "$dir/orvalin-places"

# The completions offered for a command line; the last word is the one being typed.
offered() {
  local function=$1
  shift
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  "$function" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  ((${#COMPREPLY[@]} == 0)) || printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}

expect() {
  local wanted=$1 got
  shift
  got=$(offered "$@")
  [[ $got == "$wanted" ]] || fail "${*:2}: offered [$got], expected [$wanted]"
}

expect_in() {
  local wanted=$1 got
  shift
  got=" $(offered "$@")"
  [[ $got == *" $wanted "* ]] || fail "${*:2}: [$wanted] not in [$got]"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch a.csv b.txt chart.png places.dat

expect "--file --format --from " _orvalin_table orvalin-table --f
expect_in "--plot" _orvalin_table orvalin-table ""
expect "csv ics json text " _orvalin_table orvalin-table --format ""
expect "places.dat " _orvalin_table orvalin-table --file ""
expect "chart.png " _orvalin_table orvalin-table --date 21-06-2009 --plot ""
expect "" _orvalin_table orvalin-table --record ""
if [[ -f /usr/share/zoneinfo/Europe/Zurich ]]; then
  expect "Europe/Zurich " _orvalin_table orvalin-table --tz Europe/Zu
fi

expect "--file --help --version check export find import list remove " _orvalin_places orvalin-places ""
expect "export " _orvalin_places orvalin-places --file places.dat ex
expect "--file --format --help --progress --quiet --version " _orvalin_places orvalin-places list --
expect "--output " _orvalin_places orvalin-places export --o
expect "csv json text " _orvalin_places orvalin-places list --format ""
expect "a.csv " _orvalin_places orvalin-places import ""
expect "--replace " _orvalin_places orvalin-places import a.csv --r
expect "cp1252 utf-8 " _orvalin_places orvalin-places import a.csv --encoding ""
expect "a.csv b.txt chart.png places.dat " _orvalin_places orvalin-places --file ""

if ((failures > 0)); then
  echo "$failures failures"
  exit 1
fi
echo "all completions as expected"
