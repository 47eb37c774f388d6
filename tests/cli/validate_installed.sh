#!/usr/bin/env bash
# tsytool validate over the given fonts (every installed one with
# /usr/share/fonts): it must finish (a font it
# cannot open is a one-line error, never a crash); the repaired font must
# open, and validating it again must find none of the problems the repairs
# remove. Crossings and duplicate knots have no repair; a direction test that
# was not run because of crossings is no finding.
set -u
tool=$1
shift  # then font files or folders to search for fonts
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
checked=0
# Findings the repairs must have removed, as "kind: test" (composites have no
# extreme repair: a rotated member can keep an extreme on the outside).
leftovers() {
  tr -d '\r' <"$1" | awk '
    /^[A-Z]/ { kind = $1; next }
    /^  [A-Z]/ { test = substr($0, 3); direction = (test == "Contours with incorrect direction"); next }
    /^    / {
      if (direction && $0 ~ /^    Contour index/) print kind ": " test
      if (test ~ /^(Duplicate components|Empty components|Duplicate contours|Contours with one or two points|Redundant points)$/) print kind ": " test
      if (kind == "Simple" && test == "Off-curve extreme coordinates") print kind ": " test
    }' | sort | uniq -c
}
while IFS= read -r -d '' font; do
  "$tool" validate "$font" --report "$tmp/report.txt" >"$tmp/out" 2>"$tmp/err"
  status=$?
  if [ "$status" -ge 2 ]; then
    echo "FAIL validate $font: exit $status"; cat "$tmp/err"; fail=1; continue
  fi
  [ "$status" -eq 1 ] && continue  # not a font this build opens
  "$tool" validate "$font" --fix "$tmp/fixed.ttf" --report "$tmp/fix.txt" >"$tmp/out" 2>"$tmp/err"
  status=$?
  if [ "$status" -ne 0 ]; then
    echo "FAIL validate --fix $font: exit $status"; cat "$tmp/err"; fail=1; continue
  fi
  "$tool" validate "$tmp/fixed.ttf" --report "$tmp/again.txt" >"$tmp/out" 2>"$tmp/err"
  status=$?
  if [ "$status" -ne 0 ]; then
    echo "FAIL the repaired $font does not validate: exit $status"; cat "$tmp/err"; fail=1; continue
  fi
  left=$(leftovers "$tmp/again.txt")
  if [ -n "$left" ]; then
    echo "FAIL the repaired $font still has:"; echo "$left"; fail=1
  fi
  checked=$((checked + 1))
done < <(find "$@" -type f \( -name '*.ttf' -o -name '*.otf' \) -print0 2>/dev/null | sort -z)
echo "validated and repaired $checked fonts"
[ "$checked" -gt 0 ] || { echo "FAIL no font could be validated"; fail=1; }
exit $fail
