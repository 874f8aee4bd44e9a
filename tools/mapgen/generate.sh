#!/usr/bin/env bash
# Regenerates the shipped geographic data: assets/squares/squares.csv, the
# shapefile template assets/squares/qutm32.*, and the background maps
# assets/maps/ItaliaNEW.wmf, ItaliaREGIONI.wmf and ItaliaNEW_BW.wmf.
#
# Inputs: the ISTAT limits in ../shared/geodata (or $ORTOLAN_GEODATA) and the
# GSHHG shorelines, rivers and borders through GMT (Debian: gmt, gmt-gshhg-high).
# Build the generator first: cmake --build build --target ortolan-mapgen
# Extra arguments go to the generator (e.g. --preview DIR, --tolerance 1.5).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${ORTOLAN_BUILD_DIR:-$here/build}
geodata=${ORTOLAN_GEODATA:-$here/../shared/geodata}
generator=$build/tools/ortolan-mapgen

fail() { echo "generate.sh: $*" >&2; exit 2; }

command -v gmt >/dev/null 2>&1 || fail "GMT is not installed (apt-get install gmt gmt-gshhg-high)"
[ -x "$generator" ] || fail "missing $generator (cmake --build build --target ortolan-mapgen)"
for f in limits_IT_regions.geojson limits_IT_provinces.topo.json; do
  [ -f "$geodata/$f" ] || fail "missing geodata file $geodata/$f"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# GMT keeps its settings below HOME and its history in the current folder.
export HOME=$work/home
mkdir -p "$HOME"
cd "$work"

# The longitude/latitude box the pictures cover, with a margin.
region=$("$generator" --print-region)

# One GMT dump per layer; gmt connect joins the pieces GMT cuts at its bins.
dump() {
  local name=$1
  shift
  gmt coast -R"$region" -Dh -M "$@" > "$work/$name.raw" 2> "$work/$name.log" \
    || fail "gmt coast $* failed: $(head -n 3 "$work/$name.log")"
  [ -s "$work/$name.raw" ] || fail "gmt coast $* gave nothing: are the GSHHG high-resolution data installed (gmt-gshhg-high)?"
  gmt connect -T1e-6 "$work/$name.raw" > "$work/$name.txt" || fail "gmt connect failed on the $name dump"
}
dump land -W -A0/1/1      # shorelines of land (level 1)
dump lakes -W -A0/2/2     # shorelines of lakes (level 2)
dump rivers -I1 -I2       # major permanent rivers
dump borders -N1          # national borders

"$generator" --geodata "$geodata" --gmt "$work" --out "$here/assets" "$@"
