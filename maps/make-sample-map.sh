#!/usr/bin/env bash
# Draws the sample map shipped in this folder: the coasts of Sussex, Kent and northern France
# around the Strait of Dover, from the GSHHG shorelines, borders and rivers that Debian packages
# with GMT. The projection is plate carree (longitude and latitude both linear in pixels), which
# is what the calibration file beside a map assumes, and the picture holds exactly the region
# written in the ".inf" file: no frame or margin around it.
# Not needed to build, run or test Skyvane; run it only to redraw the picture.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(gmt gmt-gshhg-low ghostscript libjpeg-turbo-progs)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

name=strait-of-dover
west=-0.5 east=2.5 south=50.5 north=51.5
width_px=1200 height_px=640 dpi=100 # 12 x 6.4 inches at 100 dots per inch

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
region="-R$west/$east/$south/$north"
proj="-JX$((width_px / dpi))i/$(awk "BEGIN{print $height_px/$dpi}")i"

gmt set PS_MEDIA A0 MAP_FRAME_PEN 0p,white MAP_GRID_PEN_PRIMARY 0.25p,110/130/150 \
    FONT_ANNOT_PRIMARY 8p,Helvetica,60/70/80 PS_PAGE_ORIENTATION portrait \
    MAP_ORIGIN_X 0i MAP_ORIGIN_Y 0i
{
    # Sea and land, the intermediate-resolution shoreline, rivers and the border.
    gmt pscoast $region $proj -Di -A5 -S190/220/240 -G238/232/205 -W0.6p,60/80/100 \
        -I1/0.5p,90/140/200 -N1/0.8p,150/60/60,- -K
    # A graticule every 10 minutes so that positions can be checked by eye.
    gmt psbasemap $region $proj -Bxg10m -Byg10m -Bnesw -O -K
    # Towns and headlands.
    printf '%s\n' \
        "0.14 50.82 Brighton" "0.28 50.77 Eastbourne" "0.57 50.86 Hastings" \
        "0.98 50.91 Dungeness" "1.18 51.08 Folkestone" "1.31 51.13 Dover" \
        "1.08 51.28 Canterbury" "0.87 51.15 Ashford" "1.39 51.39 Margate" \
        "1.86 50.95 Calais" "1.61 50.73 Boulogne-sur-Mer" \
        "-0.37 50.81 Worthing" "0.52 51.27 Maidstone" > places.txt
    gmt psxy places.txt $region $proj -Sc0.07i -G40/40/40 -O -K
    gmt pstext places.txt $region $proj -F+f9p,Helvetica-Bold,30/30/30+jLM -D0.08i/0 -O
} > "$name.ps"

# Exactly the map rectangle: the plot starts at the page's corner and the page is cut to it.
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=jpeg -dJPEGQ=88 -r$dpi \
    -dTextAlphaBits=4 -dGraphicsAlphaBits=4 \
    -g${width_px}x${height_px} -dFIXEDMEDIA -sOutputFile="$here/$name.jpg" -f "$name.ps"

deg_min() { # "51.5" "N"/"S" width -> "51.30.00N"
    awk -v v="$1" -v h="$2" -v w="$3" 'BEGIN{
        if (v < 0) v = -v; d = int(v); m = (v - d) * 60;
        printf "%0*d.%05.2f%s\n", w, d, m, h }'
}
hemi() { awk -v v="$1" -v p="$2" -v n="$3" 'BEGIN{ print (v < 0 ? n : p) }'; }
{
    echo "$(deg_min $north "$(hemi $north N S)" 2), $(deg_min $west "$(hemi $west E W)" 3)"
    echo "$(deg_min $south "$(hemi $south N S)" 2), $(deg_min $east "$(hemi $east E W)" 3)"
    echo "Strait of Dover (sample map, GSHHG shorelines)"
} > "$here/$name.inf"
echo "Wrote $here/$name.jpg and $here/$name.inf"
