#!/usr/bin/env bash
# tsytool validate over every installed font: it must finish (a font it
# cannot open is a one-line error, never a crash); the repaired font must
# open, and validating it again must find none of the problems the repairs
# remove. Crossings and duplicate knots have no repair; a direction test that
# was not run because of crossings is no finding.
set -u
tool=$1
dir=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
checked=0
repaired_kinds='^  (Duplicate components|Empty components|Duplicate contours|Contours with one or two points|Off-curve extreme coordinates|Redundant points)$'
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
  if grep -Eq "$repaired_kinds" <(tr -d '\r' <"$tmp/again.txt"); then
    echo "FAIL repaired $font still has:"; tr -d '\r' <"$tmp/again.txt" | grep -E -B1 -A2 "$repaired_kinds" | head -20
    fail=1
  fi
  if tr -d '\r' <"$tmp/again.txt" | grep -A1 '^  Contours with incorrect direction$' | grep -q '^    Contour index'; then
    echo "FAIL repaired $font still has wrongly directed contours"; fail=1
  fi
  checked=$((checked + 1))
done < <(find "$dir" -type f \( -name '*.ttf' -o -name '*.otf' \) -print0 | sort -z)
echo "validated and repaired $checked fonts"
[ "$checked" -gt 0 ] || { echo "FAIL no font could be validated"; fail=1; }
exit $fail
