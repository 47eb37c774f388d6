#!/usr/bin/env bash
# Exit statuses and one-line errors of tsytool.
set -u
tool=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
expect() {  # expect STATUS DESCRIPTION -- COMMAND...
  local want=$1 what=$2; shift 3
  "$@" >"$tmp/out" 2>"$tmp/err"
  local got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAIL $what: exit $got, wanted $want"; cat "$tmp/err"; fail=1
  fi
}
expect 2 "no arguments" -- "$tool"
expect 2 "unknown command" -- "$tool" frobnicate
expect 2 "save with one argument" -- "$tool" save only-one
expect 2 "glyph without GID" -- "$tool" glyph only-font
expect 2 "glyph with a bad GID" -- "$tool" glyph font.ttf abc
expect 2 "validate without FONT" -- "$tool" validate
expect 2 "validate with an unknown test" -- "$tool" validate font.ttf --only frobs
expect 2 "validate --fix without OUT" -- "$tool" validate font.ttf --fix
expect 1 "validate a missing file" -- "$tool" validate "$tmp/missing.ttf"
expect 1 "missing file" -- "$tool" info "$tmp/missing.ttf"
grep -q "^tsytool: $tmp/missing.ttf: " "$tmp/err" || { echo "FAIL error line: $(cat "$tmp/err")"; fail=1; }
[ "$(wc -l <"$tmp/err")" -eq 1 ] || { echo "FAIL error is not one line"; fail=1; }
printf 'not a font at all' >"$tmp/bad.ttf"
expect 1 "garbage file" -- "$tool" info "$tmp/bad.ttf"
: >"$tmp/empty.ttf"
expect 1 "empty file" -- "$tool" info "$tmp/empty.ttf"
grep -q "Stream is empty!" "$tmp/err" || { echo "FAIL empty file message: $(cat "$tmp/err")"; fail=1; }
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
if [ -f "$font" ]; then
  expect 0 "glyph" -- "$tool" glyph "$font" 36
  grep -Eq '^0 0 -?[0-9.]+ -?[0-9.]+ (on|off)$' "$tmp/out" || { echo "FAIL glyph point line: $(head -1 "$tmp/out")"; fail=1; }
  grep -q '^advance width ' "$tmp/out" || { echo "FAIL glyph metrics missing"; fail=1; }
  expect 1 "glyph out of range" -- "$tool" glyph "$font" 65535
  # Only the redundant-point test, decimal indexes: glyph lines, test lines
  # indented by two spaces, finding lines by four, all ended by CR LF.
  expect 0 "validate" -- "$tool" validate "$font" --only redundant-points --decimal --report "$tmp/report.txt"
  grep -q '^[0-9]* glyphs have problems\.$' "$tmp/out" || { echo "FAIL validate summary: $(cat "$tmp/out")"; fail=1; }
  tr -d '\r' <"$tmp/report.txt" | grep -Evq '^(Simple glyph index [0-9]+|  Redundant points|    Contour index [0-9]+; point index [0-9]+)$' &&
    { echo "FAIL validate report layout"; fail=1; }
  [ "$(grep -c $'\r$' "$tmp/report.txt")" -eq "$(wc -l <"$tmp/report.txt")" ] || { echo "FAIL report lines need CR LF"; fail=1; }
fi
exit $fail
