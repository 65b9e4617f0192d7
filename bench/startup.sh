#!/usr/bin/env bash
# Velmora's start-up on a virtual X server: the time from launching the program to its first
# painted window, over several runs, and the resident memory of the idle program once its
# window shows. Builds nothing: give it the benchmarks' build folder (cmake --preset bench),
# which holds the program and the same program with a probe that ends it at its first paint.
# Usage: bench/startup.sh <bench build folder> [runs, default 10]
# Prints: startup_ms=<median> startup_best_ms=<fastest> startup_cpu_ms=<median processor
# time of a run> rss_mib=<idle VmRSS>
# Aims: under 300 ms and under 60 MiB. Needs xvfb-run and xdotool.
set -euo pipefail

build="$(realpath "${1:?usage: $0 <bench build folder> [runs]}")"
program="$build/src/frontend/qt/velmora"
probe="$build/bench/startup_probe"
runs="${2:-10}"
export program probe runs

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    folder="$(mktemp -d)"
    trap "rm -rf \"$folder\"" EXIT
    cd "$folder"
    for i in $(seq 20); do : > "clip$i.MP4"; done

    # The program prints the wall-clock time of its first paint and ends there. The processor
    # time of the whole run is kept too: unlike the wall clock, other busy processes barely
    # change it.
    times=()
    cpus=()
    for _ in $(seq "$runs"); do
        launched="$(date +%s%N)"
        cpu="$( { TIMEFORMAT="%3U %3S"; time "$probe" >shown.txt 2>/dev/null; } 2>&1 )"
        shown="$(sed -n "s/^shown_at_ns=//p" shown.txt)"
        times+=("$(( (shown - launched) / 1000 ))")
        cpus+=("$(awk "{ printf \"%d\", (\$1 + \$2) * 1000000 }" <<<"$cpu")")
    done

    "$program" 2>/dev/null &
    pid=$!
    timeout 20 xdotool search --sync --name "^Velmora\$" >/dev/null
    sleep 2  # idle: the first paint and the font caches are done
    rss_kib="$(awk "/^VmRSS:/ {print \$2}" "/proc/$pid/status")"
    kill "$pid"
    wait "$pid" 2>/dev/null || true

    median() { printf "%s\n" "$@" | sort -n | awk "{ t[NR] = \$1 } END { print t[int((NR + 1) / 2)] }"; }
    fastest() { printf "%s\n" "$@" | sort -n | head -n 1; }
    awk -v wall="$(median "${times[@]}")" -v best="$(fastest "${times[@]}")" \
        -v cpu="$(median "${cpus[@]}")" -v rss="$rss_kib" "BEGIN {
        printf \"startup_ms=%.1f startup_best_ms=%.1f startup_cpu_ms=%.1f rss_mib=%.1f\n\",
               wall / 1000, best / 1000, cpu / 1000, rss / 1024 }"
'
