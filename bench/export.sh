#!/usr/bin/env bash
# Times the command line's file export against ImageMagick's montage in its
# resize-first form (the picture shrunk to the ticket once, then tiled), on
# the same pictures in the same run, runs interleaved. Prints medians of
# wall time, CPU time (user + system) and peak resident memory, the file's
# size, and montage's figures divided by ours.
#   bench/export.sh ZORVANE_BINARY PICTURE_DIRECTORY [RUNS]
set -euo pipefail
zorvane=$(realpath "$1")
pictures=$(realpath "$2")
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen

have_montage=0
command -v montage >/dev/null && have_montage=1
# Debian's ImageMagick policy forbids writing PDF; montage then writes the
# page as a JPEG, the nearest file it may write.
montage_pdf=pdf
if ((have_montage)) && ! montage -size 8x8 xc:white "$work/probe.pdf" 2>/dev/null; then
    montage_pdf=jpg
    echo "ImageMagick may not write PDF here: its PDF jobs write a JPEG page instead"
fi

# Type B on A4: 30 tickets of 57.9 x 25.2 mm, 3 across and 10 down.
sheet=(--type B --paper A4 --count 30)
ticket_px() { # dpi -> WIDTHxHEIGHT of one ticket in pixels
    echo "$(($1 * 579 / 254))x$(($1 * 252 / 254))"
}
montage_job() { # picture dpi output
    local size
    size=$(ticket_px "$2")
    convert "$1" -resize "$size!" "$work/tile.ppm" &&
        montage $(printf "$work/tile.ppm %.0s" $(seq 30)) -tile 3x10 -geometry "$size+4+4" \
            -density "$2" -units PixelsPerInch "$3"
}

jobs=(
    "pdf24|24 MP JPEG -> PDF, 600 dpi|photo24.jpg|600|pdf"
    "pdf24adobe|24 MP Adobe RGB JPEG -> PDF|photo24-adobe.jpg|600|pdf"
    "pdf100|100 MP JPEG -> PDF, 600 dpi|photo100.jpg|600|pdf"
    "pdfturn|24 MP JPEG, EXIF-turned -> PDF|photo24-turned.jpg|600|pdf"
    "pdfpng|24 MP PNG -> PDF, 600 dpi|photo24.png|600|pdf"
    "png600|24 MP JPEG -> PNG, 600 dpi|photo24.jpg|600|png"
    "png600adobe|24 MP Adobe RGB JPEG -> PNG 600|photo24-adobe.jpg|600|png"
    "png1200|24 MP JPEG -> PNG, 1200 dpi|photo24.jpg|1200|png"
)

measure() { # name command...
    local name=$1
    shift
    /usr/bin/time -f "%e %U %S %M" -o "$work/t" "$@" >/dev/null 2>"$work/err" || {
        tail -n 1 "$work/err" >"$work/$name.failed"
        return 1
    }
    read -r wall user sys rss <"$work/t"
    echo "$wall $(echo "$user + $sys" | bc) $rss" >>"$work/$name.times"
}

for ((run = 0; run < runs; ++run)); do
    for job in "${jobs[@]}"; do
        IFS='|' read -r name _ picture dpi format <<<"$job"
        out="$work/$name.$format"
        if ! measure "z_$name" "$zorvane" --print-to "$out" --picture "$pictures/$picture" \
            --dpi "$dpi" "${sheet[@]}"; then
            echo "Zorvane failed: $(cat "$work/z_$name.failed")" >&2
            exit 1
        fi
        stat -c %s "$out" >"$work/z_$name.size"
        if ((have_montage)); then
            mformat=$format
            [[ $format == pdf ]] && mformat=$montage_pdf
            mout="$work/m_$name.$mformat"
            if measure "m_$name" bash -c "$(declare -f ticket_px montage_job); work=$work; \
                montage_job '$pictures/$picture' $dpi '$mout'"; then
                stat -c %s "$mout" >"$work/m_$name.size"
            fi
        fi
    done
done

median() { # file column
    awk -v c="$2" '{print $c}' "$1" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

printf "%-32s %9s %9s %8s %9s | %9s %9s %8s | %s\n" "job ($runs runs, medians)" "wall s" "CPU s" \
    "RSS MB" "file MB" "montage" "CPU s" "RSS MB" "montage/ours wall, CPU"
for job in "${jobs[@]}"; do
    IFS='|' read -r name title _ _ _ <<<"$job"
    zw=$(median "$work/z_$name.times" 1)
    zc=$(median "$work/z_$name.times" 2)
    zr=$(median "$work/z_$name.times" 3)
    zs=$(cat "$work/z_$name.size")
    line=$(printf "%-32s %9.3f %9.3f %8.0f %9.2f" "$title" "$zw" "$zc" "$(echo "$zr/1024" | bc -l)" \
        "$(echo "$zs/1000000" | bc -l)")
    if ((have_montage)) && [[ ! -s "$work/m_$name.times" ]]; then
        line+=" | montage failed: $(cat "$work/m_$name.failed" 2>/dev/null)"
    elif ((have_montage)); then
        mw=$(median "$work/m_$name.times" 1)
        mc=$(median "$work/m_$name.times" 2)
        mr=$(median "$work/m_$name.times" 3)
        line+=$(printf " | %9.3f %9.3f %8.0f | %.1fx, %.1fx" "$mw" "$mc" "$(echo "$mr/1024" | bc -l)" \
            "$(echo "$mw/$zw" | bc -l)" "$(echo "$mc/$zc" | bc -l)")
    fi
    echo "$line"
done
