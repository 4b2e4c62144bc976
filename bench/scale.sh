#!/usr/bin/env bash
# How the dictionary code scales: counting, loading, memory and start-up on generated
# dictionaries of 1,234, 32,766 and 1,000,000 lines (Windows-1251, CR LF).
# Usage: bash bench/scale.sh [build-dir]   (default: build-bench/, configured as Release)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-bench}
count_runs=21   # whole-process runs per command for counting and start-up
load_runs=7     # in-process loads per dictionary

if [[ ! -f $build/CMakeCache.txt ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVOCABUNTA_TESTS=OFF \
        >/dev/null
fi
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
if [[ $build_type != Release ]]; then
    echo "warning: $build is built as '${build_type:-no type}', not Release" >&2
fi
cmake --build "$build" --target count_entries scale_bench startup_bench time_runs >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Everyday pairs made unique by the line number, written as UTF-8 and turned into CP1251.
generate() {
    awk -v n="$1" 'BEGIN {
        ORS = "\r\n"
        split("house water bread window table book street morning evening friend city river " \
              "forest winter summer road garden school teacher question answer kitchen chair " \
              "door apple letter money weather mountain language", en, " ")
        split("дом вода хлеб окно стол книга улица утро вечер друг город река " \
              "лес зима лето дорога сад школа учитель вопрос ответ кухня стул " \
              "дверь яблоко письмо деньги погода гора язык", ru, " ")
        for (i = 1; i <= n; i++) {
            w = (i - 1) % 30 + 1
            print en[w] i "$" ru[w] i
        }
    }' | iconv -f UTF-8 -t CP1251 >"$2"
}

ms() { awk -v a="$1" 'BEGIN { printf "%.2f ms", a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
size() {
    awk -v a="$1" 'BEGIN {
        if (a < 1048576) printf "%.1f KiB", a / 1024; else printf "%.1f MiB", a / 1048576
    }'
}
field() { sed -n "s/.*$1=\([0-9.-]*\).*/\1/p" <<<"$2"; }
verdict() { awk -v a="$1" -v t="$2" 'BEGIN { print (a <= t ? "met" : "MISSED") }'; }

echo "build: $build (${build_type:-no type}); $(nproc) cores; $(uname -r)"
echo "timings are medians: counting and start-up over $count_runs whole-process runs each" \
    "(commands take turns, 3 warm-up rounds), loading over $load_runs in-process loads"

for lines in 1234 32766 1000000; do
    file=$scratch/engl-$lines.voc
    generate "$lines" "$file"
    size=$(stat -c %s "$file")
    counted=$("$build/bench/count_entries" "$file")
    wc_lines=$(wc -l <"$file")
    echo
    echo "== $lines lines, $size bytes (count_entries says $counted, wc -l says $wc_lines)"

    times=$("$build/bench/time_runs" "$count_runs" 3 "$build/bench/count_entries" "$file" ::: \
        wc -l "$file")
    count_ms=$(sed -n 1p <<<"$times" | cut -d' ' -f1)
    wc_ms=$(sed -n 2p <<<"$times" | cut -d' ' -f1)
    count_ratio=$(ratio "$count_ms" "$wc_ms")
    echo "counting:  count_entries $(ms "$count_ms")   wc -l $(ms "$wc_ms")" \
        "  ratio $count_ratio  (target <= 2.00 at 1,000,000 lines:" \
        "$([[ $lines == 1000000 ]] && verdict "$count_ratio" 2 || echo "n/a here"))"

    load=$("$build/bench/scale_bench" "$file" "$load_runs")
    load_ms=$(field load_ms "$load")
    kept=$(field kept_bytes "$load")
    peak=$(field peak_bytes "$load")
    live=$(field live_bytes "$load")
    echo "           in process: counting $(ms "$(field count_ms "$load")"), of which a pass" \
        "that only reads $(ms "$(field read_ms "$load")")"
    echo "loading:   $(ms "$load_ms") for all lines  (target <= 300 ms at 1,000,000 lines:" \
        "$([[ $lines == 1000000 ]] && verdict "$load_ms" 300 || echo "n/a here"))"
    kept_ratio=$(ratio "$kept" "$size")
    echo "memory:    resident $(size "$kept") above the empty program, file $(size "$size")," \
        "ratio $kept_ratio  (target <= 2.00: $(verdict "$kept_ratio" 2))"
    echo "           allocated and live $(size "$live"), ratio $(ratio "$live" "$size");" \
        "resident peak while loading $(size "$peak"), ratio $(ratio "$peak" "$size")"
done

echo
small=$scratch/engl-10.voc
generate 10 "$small"
big=$scratch/engl-32766.voc
export QT_QPA_PLATFORM=offscreen
shown_small=$("$build/bench/startup_bench" "$small" 2>/dev/null)
shown_big=$("$build/bench/startup_bench" "$big" 2>/dev/null)
echo "== start-up, offscreen, to the window counted and first painted" \
    "(10 lines: $shown_small; 32,766 lines: $shown_big)"
times=$("$build/bench/time_runs" "$count_runs" 3 \
    "$build/bench/startup_bench" "$small" ::: "$build/bench/startup_bench" "$big" ::: \
    "$build/bench/startup_bench" --no-paint "$small" ::: \
    "$build/bench/startup_bench" --no-paint "$big")
start_ms() { sed -n "$1p" <<<"$times" | cut -d' ' -f1; }
start_ratio=$(ratio "$(start_ms 2)" "$(start_ms 1)")
echo "start-up:  10 lines $(ms "$(start_ms 1)")   32,766 lines $(ms "$(start_ms 2)")   ratio" \
    "$start_ratio  (target <= 1.30: $(verdict "$start_ratio" 1.3))"
echo "           quitting right after show(), before the first paint: 10 lines" \
    "$(ms "$(start_ms 3)")   32,766 lines $(ms "$(start_ms 4)")   ratio" \
    "$(ratio "$(start_ms 4)" "$(start_ms 3)")"
