#!/usr/bin/env bash
# Times the CFF-to-TrueType conversion of tsytool beside FontForge and
# fontTools on the same fonts: wall time and peak memory of each run.
# Run by hand (it takes minutes); ctest does not run it.
#   bench/peers.sh [TSYTOOL]   (default: build-rel/bin/tsytool)
set -u
tool=${1:-build-rel/bin/tsytool}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
serif=/usr/share/fonts/opentype/freefont/FreeSerif.otf
cjk=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc

measure() {  # measure LABEL COMMAND...
  local label=$1; shift
  if /usr/bin/time -f "%e %M" -o "$tmp/time" "$@" >"$tmp/log" 2>&1; then
    read -r secs kb <"$tmp/time"
    printf '%-34s %8.2f s %8d MB\n' "$label" "$secs" $((kb / 1024))
  else
    printf '%-34s failed: %s\n' "$label" "$(tail -1 "$tmp/log")"
  fi
}

# fontTools: cubic to quadratic with its default error of 1/1000 em.
cat >"$tmp/ft.py" <<'PY'
import sys
from fontTools.ttLib import TTFont
from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib.tables._g_l_y_f import table__g_l_y_f
from fontTools.ttLib import newTable
src, number, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
f = TTFont(src, fontNumber=number, lazy=False)
gs = f.getGlyphSet()
upem = f["head"].unitsPerEm
glyf = newTable("glyf"); glyf.glyphOrder = f.getGlyphOrder(); glyf.glyphs = {}
for name in f.getGlyphOrder():
    pen = TTGlyphPen(None)
    gs[name].draw(Cu2QuPen(pen, upem / 1000, reverse_direction=True))
    glyf[name] = pen.glyph()
del f["CFF "]
f["loca"] = newTable("loca"); f["glyf"] = glyf
f["maxp"].tableVersion = 0x00010000
for k in ("maxZones","maxTwilightPoints","maxStorage","maxFunctionDefs","maxInstructionDefs","maxStackElements","maxSizeOfInstructions","maxComponentElements"):
    setattr(f["maxp"], k, 0)
f["maxp"].maxZones = 2
f["head"].glyphDataFormat = 0
f.sfntVersion = "\0\1\0\0"
f.save(out)
PY

cat >"$tmp/ff.py" <<'PY'
import sys, fontforge
src, out = sys.argv[1], sys.argv[2]
f = fontforge.open(src)
f.generate(out, flags=("opentype",))
PY

echo "FreeSerif.otf (10,537 glyphs)"
measure "  tsytool convert" "$tool" convert "$serif" "$tmp/t.ttf"
measure "  FontForge (python, generate .ttf)" /usr/bin/python3 "$tmp/ff.py" "$serif" "$tmp/ff.ttf"
measure "  fontTools (cu2qu)" /usr/bin/python3 "$tmp/ft.py" "$serif" 0 "$tmp/fto.ttf"
echo "NotoSansCJK-Regular.ttc member 0 (65,535 glyphs)"
measure "  tsytool convert" "$tool" convert "$cjk#0" "$tmp/t.ttf"
measure "  FontForge (python, generate .ttf)" /usr/bin/python3 "$tmp/ff.py" "$cjk(Noto Sans CJK JP)" "$tmp/ff.ttf"
ls -la "$tmp/ff.ttf" 2>/dev/null | awk '{print "    FontForge wrote " $5 " bytes"}'
measure "  fontTools (cu2qu)" /usr/bin/python3 "$tmp/ft.py" "$cjk" 0 "$tmp/fto.ttf"
