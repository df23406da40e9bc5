#!/usr/bin/env bash
# Draws the pictures built into Lumivo.exe: the splash/logo, the four quick-exit
# indicator marks and the program icon. The outputs are committed; run this
# again only to change them.
#
# Colour keys: the splash is shown with pure red (#FF0000) see-through, the
# marks sit on the clock where pure black is see-through. So the outer edge of
# every picture is hard (no blend towards the key colour), and nothing inside
# may be exactly the key colour.
#
# Needs ImageMagick 6 (convert), fontconfig (fc-match) and awk.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/assets"
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

font_title=$(fc-match -f '%{file}' 'URW Gothic:style=Demi')
font_text=$(fc-match -f '%{file}' 'DejaVu Sans:style=Bold')

# 24-bit BMP without colour-space headers, which every loader reads.
bmp24() { convert "$1" -alpha off -type TrueColor "BMP3:$2"; }

# ---------------------------------------------------------------- clock face
# clock_face SIZE FILE [small]: an analogue clock at 10:09:35 on a transparent
# square, drawn at SIZE pixels. "small" is the bolder, plainer drawing that
# stays readable once reduced to 16 pixels.
clock_face() {
    local s=$1 file=$2 small=${3:+1}
    local ring_light='#F4F7FB' ring_dark='#5F6E86'
    [[ -n $small ]] && ring_light='#D5DEEC' ring_dark='#33415C'
    local c r_out r_face
    c=$(awk -v s="$s" 'BEGIN{printf "%.2f", s/2}')
    r_out=$(awk -v s="$s" 'BEGIN{printf "%.2f", s*0.49}')
    r_face=$(awk -v s="$s" 'BEGIN{printf "%.2f", s*0.42}')

    # Metal ring: a diagonal light-to-dark gradient cut to a disc.
    convert -size "${s}x${s}" -define gradient:angle=135 gradient:"$ring_light"-"$ring_dark" \
        \( -size "${s}x${s}" xc:black -fill white -draw "circle $c,$c $c,$(awk -v c="$c" -v r="$r_out" 'BEGIN{print c-r}')" \) \
        -alpha off -compose CopyOpacity -composite "$tmp/ring.png"

    # Face: warm white, a little darker towards the rim.
    convert -size "${s}x${s}" radial-gradient:'#FFFDF7'-'#E4DAC4' \
        \( -size "${s}x${s}" xc:black -fill white -draw "circle $c,$c $c,$(awk -v c="$c" -v r="$r_face" 'BEGIN{print c-r}')" \) \
        -alpha off -compose CopyOpacity -composite "$tmp/face.png"

    # Ticks and hands as one drawing, coordinates from the angles.
    awk -v s="$s" -v c="$c" -v rf="$r_face" -v small="${small:-0}" 'BEGIN {
        pi = atan2(0, -1)
        printf "stroke-linecap round\n"
        for (i = 0; i < 60; i++) {
            a = i * 6 * pi / 180
            if (i % 15 == 0)      { r1 = rf * 0.70; w = s * 0.035; col = "#1C2B4A" }
            else if (small)       continue
            else if (i % 5 == 0)  { r1 = rf * 0.78; w = s * 0.022; col = "#1C2B4A" }
            else if (s >= 96)     { r1 = rf * 0.88; w = s * 0.008; col = "#6A7890" }
            else continue
            r2 = rf * 0.94
            printf "stroke %s stroke-width %.2f line %.2f,%.2f %.2f,%.2f\n", col, w,
                c + r1 * sin(a), c - r1 * cos(a), c + r2 * sin(a), c - r2 * cos(a)
        }
        # hour, minute, second
        split("304.8 57.5 210", ang, " "); split("0.52 0.80 0.86", len, " ")
        split("0.060 0.042 0.016", wid, " "); split("#1C2B4A #1C2B4A #D62828", hc, " ")
        for (k = 1; k <= 3; k++) {
            if (k == 3 && small) continue
            a = ang[k] * pi / 180; l = rf * len[k]; t = (k == 3 ? rf * 0.22 : rf * 0.12)
            printf "stroke %s stroke-width %.2f line %.2f,%.2f %.2f,%.2f\n", hc[k], s * wid[k] * (small ? 1.7 : 1),
                c - t * sin(a), c + t * cos(a), c + l * sin(a), c - l * cos(a)
        }
        printf "stroke none fill #1C2B4A circle %.2f,%.2f %.2f,%.2f\n", c, c, c, c - s * 0.045
        if (!small) printf "fill #D62828 circle %.2f,%.2f %.2f,%.2f\n", c, c, c, c - s * 0.02
    }' >"$tmp/hands.mvg"

    convert "$tmp/ring.png" "$tmp/face.png" -compose Over -composite \
        -draw "$(cat "$tmp/hands.mvg")" "$file"
}

# -------------------------------------------------------------------- splash
# A dark plate with rounded ends, the clock sitting over its left end, the
# name and a line of what the program does.
splash() {
    local w=300 h=150
    clock_face 520 "$tmp/clock-big.png"
    convert "$tmp/clock-big.png" -filter Lanczos -resize 132x132 "$tmp/clock.png"

    convert -size ${w}x${h} gradient:'#2A4273'-'#0B1324' \
        \( -size ${w}x${h} xc:black -fill white -draw "roundrectangle 40,24 296,126 26,26" \) \
        -alpha off -compose CopyOpacity -composite "$tmp/plate.png"
    # A thin light edge along the plate.
    convert "$tmp/plate.png" -fill none -stroke '#5F7FB8' -strokewidth 1.5 \
        -draw "roundrectangle 41,25 295,125 25,25" "$tmp/plate.png"

    # The clock's shadow falls on the plate only.
    convert -size ${w}x${h} xc:none -fill 'rgba(0,0,0,0.65)' -draw "circle 82,82 82,16" -blur 0x5 "$tmp/shadow.png"
    convert "$tmp/plate.png" "$tmp/shadow.png" -compose Atop -composite "$tmp/plate.png"

    convert "$tmp/plate.png" "$tmp/clock.png" -geometry +9+9 -compose Over -composite \
        -font "$font_title" -pointsize 38 -kerning 1 \
        -fill '#0A1020' -annotate +153+83 'Lumivo' \
        -fill '#FFFFFF' -annotate +151+81 'Lumivo' \
        -font "$font_text" -pointsize 10 -kerning 0 -fill '#A9C1EA' -annotate +154+104 'часы и напоминания' \
        "$tmp/splash-a.png"

    # Hard outline, then the see-through red everywhere outside it.
    convert "$tmp/splash-a.png" -channel A -threshold 50% +channel \
        -background '#FF0000' -flatten "$tmp/splash.png"
    bmp24 "$tmp/splash.png" "$out/Splash.bmp"
}

# ------------------------------------------------------------ quick-exit marks
# mark NAME BASE DARK LIGHT: a 15 px glossy disc, drawn 8x larger and reduced.
mark() {
    local name=$1 base=$2 dark=$3 light=$4 big=120
    convert -size 180x180 radial-gradient:"$light"-"$base" -crop ${big}x${big}+54+54 +repage \
        \( -size ${big}x${big} xc:black -fill white -draw "circle 59.5,59.5 59.5,5" \) \
        -alpha off -compose CopyOpacity -composite -compose Over \
        -fill none -stroke "$dark" -strokewidth 10 -draw "circle 59.5,59.5 59.5,10" \
        -stroke none -fill 'rgba(255,255,255,0.55)' -draw "ellipse 44,40 18,11 0,360" \
        -filter Box -resize 15x15 -channel A -threshold 50% +channel \
        -background black -flatten "$tmp/$name.png"
    bmp24 "$tmp/$name.png" "$out/$name.bmp"
}

# ---------------------------------------------------------------------- icon
icon() {
    clock_face 384 "$tmp/icon-big.png"
    for s in 48 32; do
        convert "$tmp/icon-big.png" -filter Lanczos -resize ${s}x${s} "$tmp/icon-$s.png"
    done
    # 16 pixels (the notification area) needs the plainer drawing.
    clock_face 256 "$tmp/icon-small.png" small
    convert "$tmp/icon-small.png" -filter Lanczos -resize 16x16 "$tmp/icon-16.png"
    convert "$tmp/icon-48.png" "$tmp/icon-32.png" "$tmp/icon-16.png" "$out/Lumivo.ico"
}

splash
mark QsdGreen '#22B83A' '#0E5C1C' '#B8F5B0'
mark QsdYellow '#F2D01E' '#8A6A08' '#FFF7B8'
mark QsdOrange '#F58A12' '#8A4406' '#FFD9A8'
mark QsdRed '#E02424' '#7A0E0E' '#FFB8B0'
icon
echo "assets written to $out"
