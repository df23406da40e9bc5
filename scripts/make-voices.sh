#!/usr/bin/env bash
# Records the voices that ship with the program: one folder per voice under
# assets/Sounds, each with the 32 words the talking clock joins into a phrase.
# The outputs are committed; run this again only to change them.
#
#   scripts/make-voices.sh [output folder]     (default: assets/Sounds)
#
# Needs espeak-ng and sox (apt-get install espeak-ng sox). The files are
# 16-bit mono PCM at 16000 Hz, trimmed of silence, normalised to -1 dBFS and
# made without dither, so the same tools give the same bytes.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/assets/Sounds}
for tool in espeak-ng sox; do
    command -v "$tool" >/dev/null || { echo "make-voices: $tool is missing (apt-get install espeak-ng sox)" >&2; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# file|text. Text in [[ ]] is given as phonemes: the dictionary stresses
# "сорок" and "часа" (after два..четыре) on the wrong syllable.
words=(
    "0|ноль" "1f|одна" "2f|две" "3|три" "4|четыре" "5|пять" "6|шесть" "7|семь"
    "8|восемь" "9|девять" "10|десять" "11|одиннадцать" "12|двенадцать"
    "13|тринадцать" "14|четырнадцать" "15|пятнадцать" "16|шестнадцать"
    "17|семнадцать" "18|восемнадцать" "19|девятнадцать" "20|двадцать"
    "30|тридцать" "40|[[s'orVk]]" "50|пятьдесят" "1m|один" "2m|два"
    "cov|часов" "c|час" "ca|[[tS;Is'A]]" "m|минут" "ma|минута" "my|минуты"
)

# folder|espeak voice|speed (words per minute)|pitch (0-99)
voices=(
    "Мужской голос|ru+m3|150|40"
    "Женский голос|ru+f3|150|60"
)

for v in "${voices[@]}"; do
    IFS='|' read -r name voice speed pitch <<<"$v"
    dir="$out/$name"
    rm -rf "$dir"
    mkdir -p "$dir"
    for w in "${words[@]}"; do
        file=${w%%|*}
        text=${w#*|}
        espeak-ng -v "$voice" -s "$speed" -p "$pitch" -w "$tmp/raw.wav" "$text"
        # Trim both ends, then a short tail so that words played one after
        # another do not run into each other.
        sox -D "$tmp/raw.wav" -c 1 -b 16 -e signed-integer "$dir/$file.wav" \
            silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse \
            rate 16000 norm -1 pad 0 0.06
    done
    echo "$name: $(ls "$dir" | wc -l) files, $(du -sk "$dir" | cut -f1) KB"
done
