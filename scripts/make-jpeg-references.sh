#!/usr/bin/env bash
# Makes what the picture tests compare against, on the build machine:
#
#   make-jpeg-references.sh OUTDIR TESTIMAGES ABOUT.jpg
#
# OUTDIR gets the JPEG files under test (libjpeg-turbo's own test images,
# a few made here with cjpeg: progressive, greyscale, with restart markers,
# 4:2:0 and 4:2:2, and the about picture), djpeg's decoding of each one as
# PPM/PGM at every scale and setting the picture offers, and cases.txt, one
# line per reference: "<file stem> <setting> <scale denominator>". djpeg is
# Debian's (libjpeg-turbo-progs): an independent decoder build to check ours.
set -euo pipefail

out=$1
images=$2
about=$3

rm -rf "$out"
mkdir -p "$out"
cp "$images/testorig.jpg" "$images/testimgint.jpg" "$images/testimgari.jpg" "$out/"
cp "$about" "$out/about.jpg"
src="$images/testorig.ppm"
cjpeg -progressive -quality 85 "$src" >"$out/progressive.jpg"
cjpeg -grayscale -quality 80 "$src" >"$out/grey.jpg"
cjpeg -restart 1 -quality 90 -sample 1x1 "$src" >"$out/restart.jpg"
cjpeg -sample 2x2 -quality 70 "$src" >"$out/s420.jpg"
cjpeg -sample 2x1 -progressive -quality 75 "$src" >"$out/s422.jpg"
# A progressive file cut short: its later scans are missing, which libjpeg
# only warns about, and block smoothing shows in what it decodes.
size=$(stat -c %s "$out/progressive.jpg")
head -c $((size * 6 / 10)) "$out/progressive.jpg" >"$out/cut.jpg"

# Settings as the picture names them, and djpeg's options for each. A
# greyscale file (or greyscale output) is always decoded to 236 levels, and
# fast decoding of such a file dithers in order in one pass.
declare -A options=(
    [colour]=""
    [grey]="-grayscale -colors 236"
    [eightbit]="-colors 236"
    [fast]="-dct fast"
    [fasteightbit]="-dct fast -onepass -dither ordered -colors 236"
)
: >"$out/cases.txt"
for file in "$out"/*.jpg; do
    stem=$(basename "$file" .jpg)
    for setting in colour grey eightbit fast fasteightbit; do
        extra=${options[$setting]}
        if [ "$stem" = grey ] && [ "$setting" = fast ]; then
            extra=${options[fasteightbit]}
        elif [ "$stem" = grey ] && [[ "$extra" != *-colors* ]]; then
            extra="$extra -colors 236"
        fi
        for denom in 1 2 4 8; do
            # shellcheck disable=SC2086
            # Exit status 2: djpeg warned (the file cut short), and decoded.
            djpeg $extra -scale "1/$denom" -pnm "$file" >"$out/$stem.$setting.$denom.pnm" 2>/dev/null ||
                [ $? = 2 ]
            echo "$stem $setting $denom" >>"$out/cases.txt"
        done
    done
done
echo "$(wc -l <"$out/cases.txt") references in $out"
