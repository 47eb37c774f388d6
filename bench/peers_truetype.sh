#!/usr/bin/env bash
# Times opening (every glyph decoded) and saving TrueType fonts with
# `tsytool save` beside FontForge and fontTools, and prints the ratios.
# Not part of ctest: timings depend on the machine and its load.
#
#   bench/peers_truetype.sh [FONT...]
#
# TSYTOOL names the tool (default: build-rel/bin/tsytool, a Release build);
# RUNS the number of runs per tool and font (default 3; the best is kept).
# Needs fontforge-nox, python3-fontforge and python3-fonttools (scripts/bootstrap).
set -euo pipefail
cd "$(dirname "$0")/.."

TSYTOOL="${TSYTOOL:-build-rel/bin/tsytool}"
RUNS="${RUNS:-3}"
PY=/usr/bin/python3  # the system Python, which has the Debian modules

if [ ! -x "$TSYTOOL" ]; then
  echo "peers_truetype: build tsytool first:" >&2
  echo "  cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build build-rel --target tsytool" >&2
  exit 2
fi
if [ $# -eq 0 ]; then
  set -- /usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf \
         /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
         /usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cat >"$work/fontforge_save.py" <<'EOF'
import sys, fontforge
font = fontforge.open(sys.argv[1])  # reads and converts every glyph
font.generate(sys.argv[2])
EOF
cat >"$work/fonttools_save.py" <<'EOF'
import sys
from fontTools.ttLib import TTFont
font = TTFont(sys.argv[1], lazy=False)
if "glyf" in font:
    glyf = font["glyf"]
    for name in font.getGlyphOrder():
        glyf[name]  # decodes the glyph record into coordinates
font.ensureDecompiled()
font.save(sys.argv[2])
EOF

# Runs a command RUNS times; prints "wall cpu peakKB" of the fastest run.
measure() {
  local best="" line wall cpu rss
  for _ in $(seq "$RUNS"); do
    /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" || {
      echo "failed: $*" >&2
      cat "$work/err.txt" >&2
      echo "- - -"
      return
    }
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, p, ":"); s = 0; for (i = 1; i <= n; ++i) s = s * 60 + p[i]; print s}' "$work/time.txt")
    cpu=$(awk -F': ' '/User time/ {u = $2} /System time/ {s = $2} END {print u + s}' "$work/time.txt")
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
    line="$wall $cpu $rss"
    if [ -z "$best" ] || awk -v a="$wall" -v b="${best%% *}" 'BEGIN {exit !(a < b)}'; then best="$line"; fi
  done
  echo "$best"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0 && a != "-") printf "%.1fx", a / b; else printf "-"}'; }

printf '%-34s %-10s %9s %9s %10s %12s %12s\n' font tool "wall s" "cpu s" "peak MB" "wall ratio" "mem ratio"
for font in "$@"; do
  name="$(basename "$font")"
  read -r tw tc tm < <(measure "$TSYTOOL" save "$font" "$work/tsy.ttf")
  read -r fw fc fm < <(measure fontforge -quiet -lang=py -script "$work/fontforge_save.py" "$font" "$work/ff.ttf")
  read -r pw pc pm < <(measure "$PY" "$work/fonttools_save.py" "$font" "$work/ft.ttf")
  for row in "tsytool $tw $tc $tm" "fontforge $fw $fc $fm" "fonttools $pw $pc $pm"; do
    read -r tool w c m <<<"$row"
    mb=$(awk -v k="$m" 'BEGIN {if (k == "-") print "-"; else printf "%.0f", k / 1024}')
    printf '%-34s %-10s %9s %9s %10s %12s %12s\n' "$name" "$tool" "$w" "$c" "$mb" "$(ratio "$w" "$tw")" \
      "$(ratio "$m" "$tm")"
  done
done
