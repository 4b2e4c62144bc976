#!/usr/bin/env bash
# How the dictionary code scales: counting, loading, memory and start-up on generated
# dictionaries of 1,234, 32,766 and 1,000,000 lines (Windows-1251, CR LF), and of 1,000,000 lines
# as UTF-16 against UTF-8.
# Whole processes are timed with hyperfine, whose JSON (every run's time) is kept in the build
# folder's bench/ beside the programs.
# Usage: bash bench/scale.sh [build-dir]   (default: build-bench/, configured as Release)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-bench}
count_runs=21   # whole-process runs per command for counting and start-up
warmup_runs=3   # whole-process runs per command before those, not counted
load_runs=7     # in-process loads per dictionary

if ! command -v hyperfine >/dev/null; then
    echo "scale.sh: hyperfine is missing; sh scripts/deps.sh test installs it" >&2
    exit 1
fi

if [[ ! -f $build/CMakeCache.txt ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVOCABUNTA_TESTS=OFF \
        >/dev/null
fi
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
if [[ $build_type != Release ]]; then
    echo "warning: $build is built as '${build_type:-no type}', not Release" >&2
fi
cmake --build "$build" --target count_entries scale_bench startup_bench >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Everyday pairs made unique by the line number, written as UTF-8 and turned into CP1251, or
# another encoding that iconv knows; UTF-16LE gets its byte-order mark, as Notepad writes it.
generate() {
    local encoding=${3:-CP1251}
    {
        [[ $encoding != UTF-16LE ]] || printf '\xFF\xFE'
        pairs "$1" | iconv -f UTF-8 -t "$encoding"
    } >"$2"
}
pairs() {
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
    }'
}

ms() { awk -v a="$1" 'BEGIN { printf "%.2f ms", a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
size() {
    awk -v a="$1" 'BEGIN {
        if (a < 1048576) printf "%.1f KiB", a / 1024; else printf "%.1f MiB", a / 1048576
    }'
}
field() { sed -n "s/.*$1=\([0-9.-]*\).*/\1/p" <<<"$2"; }

# Times whole processes: time_commands NAME 'LABEL' 'COMMAND' ['LABEL' 'COMMAND']... runs each command
# $warmup_runs + $count_runs times with no shell between, and keeps the summary and every run.
time_commands() {
    local name=$1
    shift
    local args=()
    while (($# > 0)); do
        args+=(--command-name "$1" "$2")
        shift 2
    done
    hyperfine --shell=none --style=none --warmup "$warmup_runs" --runs "$count_runs" \
        --export-csv "$scratch/$name.csv" --export-json "$build/bench/scale-$name.json" "${args[@]}"
}
# The median of a command timed by time_commands, in ms.
median_ms() { awk -F, -v label="$2" '$1 == label { print $4 * 1000 }' "$scratch/$1.csv"; }
# A command line for hyperfine, which splits it as a shell would.
quoted() { printf '%q ' "$@"; }
verdict() { awk -v a="$1" -v t="$2" 'BEGIN { print (a <= t ? "met" : "MISSED") }'; }

echo "build: $build (${build_type:-no type}); $(nproc) cores; $(uname -r)"
echo "timings are medians: counting and start-up over $count_runs whole-process runs each" \
    "(hyperfine, after $warmup_runs warm-up runs), loading over $load_runs in-process loads"

for lines in 1234 32766 1000000; do
    file=$scratch/engl-$lines.voc
    generate "$lines" "$file"
    size=$(stat -c %s "$file")
    counted=$("$build/bench/count_entries" "$file")
    wc_lines=$(wc -l <"$file")
    echo
    echo "== $lines lines, $size bytes (count_entries says $counted, wc -l says $wc_lines)"

    time_commands "count-$lines" count_entries "$(quoted "$build/bench/count_entries" "$file")" \
        "wc -l" "$(quoted wc -l "$file")"
    count_ms=$(median_ms "count-$lines" count_entries)
    wc_ms=$(median_ms "count-$lines" "wc -l")
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
echo "== 1,000,000 lines saved as UTF-16 LE (Notepad's and Excel's \"Unicode\") against UTF-8"
utf8=$scratch/engl-utf8.voc
utf16=$scratch/engl-utf16.voc
generate 1000000 "$utf8" UTF-8
generate 1000000 "$utf16" UTF-16LE
time_commands utf16 utf-16 "$(quoted "$build/bench/count_entries" "$utf16")" \
    utf-8 "$(quoted "$build/bench/count_entries" "$utf8")"
count_ratio=$(ratio "$(median_ms utf16 utf-16)" "$(median_ms utf16 utf-8)")
load_utf16=$(field load_ms "$("$build/bench/scale_bench" "$utf16" "$load_runs")")
load_utf8=$(field load_ms "$("$build/bench/scale_bench" "$utf8" "$load_runs")")
load_ratio=$(ratio "$load_utf16" "$load_utf8")
echo "counting:  UTF-16 $(ms "$(median_ms utf16 utf-16)")   UTF-8 $(ms "$(median_ms utf16 utf-8)")" \
    "  ratio $count_ratio  (target <= 1.50: $(verdict "$count_ratio" 1.5))"
echo "loading:   UTF-16 $(ms "$load_utf16")   UTF-8 $(ms "$load_utf8")   ratio $load_ratio" \
    "(target <= 1.50: $(verdict "$load_ratio" 1.5))"

echo
small=$scratch/engl-10.voc
generate 10 "$small"
big=$scratch/engl-32766.voc
export QT_QPA_PLATFORM=offscreen
shown_small=$("$build/bench/startup_bench" "$small" 2>/dev/null)
shown_big=$("$build/bench/startup_bench" "$big" 2>/dev/null)
echo "== start-up, offscreen, to the window counted and first painted" \
    "(10 lines: $shown_small; 32,766 lines: $shown_big)"
time_commands startup \
    painted-10 "$(quoted "$build/bench/startup_bench" "$small")" \
    painted-32766 "$(quoted "$build/bench/startup_bench" "$big")" \
    shown-10 "$(quoted "$build/bench/startup_bench" --no-paint "$small")" \
    shown-32766 "$(quoted "$build/bench/startup_bench" --no-paint "$big")"
start_ms() { median_ms startup "$1"; }
start_ratio=$(ratio "$(start_ms painted-32766)" "$(start_ms painted-10)")
echo "start-up:  10 lines $(ms "$(start_ms painted-10)")   32,766 lines" \
    "$(ms "$(start_ms painted-32766)")   ratio $start_ratio" \
    "(target <= 1.30: $(verdict "$start_ratio" 1.3))"
echo "           quitting right after show(), before the first paint: 10 lines" \
    "$(ms "$(start_ms shown-10)")   32,766 lines $(ms "$(start_ms shown-32766)")" \
    "  ratio $(ratio "$(start_ms shown-32766)" "$(start_ms shown-10)")"
echo
echo "every run's time: $build/bench/scale-*.json"
