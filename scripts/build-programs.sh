#!/usr/bin/env bash
# Builds the four programs a person runs (KelvoApp, kelvo-sim, kelvo-fixture and kelvo-panel,
# with kelvo-sim-screenshot, which kelvo-sim hands its pictures to) and nothing else, in a tree of
# their own without sanitizers or debug information, optimised as the benchmarks' tree is at -O2:
# what a person then uses runs as fast as what the benchmarks time, its windows opening in two
# thirds of the time they take unoptimised, for twice the build time. Without -g or link-time
# optimisation the objects and links stay small and quick.
# It says first roughly how long the build will take, from the number of steps left and what one
# step costs on an idle machine.
#
# usage: scripts/build-programs.sh [BUILD_DIR [JOBS]]   (defaults: build/run, the cores)
set -euo pipefail

tree=${1:-build/run}
jobs=${2:-$(nproc)}
targets=(KelvoApp kelvo-sim kelvo-fixture kelvo-panel)
# Seconds of one core that one build step takes on average on an idle 8-core machine, with GCC 12
# from a clean clone: the 465 steps of the four programs took 1434 s of processor time there at
# -O2 (3.1 s a step, and 3 min 6 s on the clock), twice what they took without optimisation.
seconds_per_step=3.1

optimised="-O2 -DNDEBUG"
# A tree configured before the programs were optimised is configured again, and so rebuilt.
if [ ! -f "$tree/build.ninja" ] ||
    ! grep -qxF "CMAKE_CXX_FLAGS_RELEASE:STRING=$optimised" "$tree/CMakeCache.txt" 2>/dev/null ||
    ! grep -qxF "CMAKE_BUILD_TYPE:STRING=Release" "$tree/CMakeCache.txt"; then
    echo "Configuring $tree (a few seconds)..."
    mkdir -p "$tree"
    if ! cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS_RELEASE="$optimised" -DKELVO_TESTS=OFF -DKELVO_BENCH=OFF \
        >"$tree/configure.log" 2>&1; then
        cat "$tree/configure.log" >&2
        exit 1
    fi
fi

cores=$(nproc)
parallel=$((jobs < cores ? jobs : cores))
built=1
for target in "${targets[@]}"; do
    [ -x "$tree/bin/$target" ] || built=0
done
if [ "$built" -eq 1 ]; then
    echo "Bringing the programs in $tree/bin up to date (only what changed is built again)."
else
    # Every step the four programs need; on a tree built half-way some are done already.
    steps=$(ninja -C "$tree" -t commands "${targets[@]}" | wc -l)
    estimate=$(awk -v s="$steps" -v c="$seconds_per_step" -v p="$parallel" \
        'BEGIN { t = s * c / p; if (t < 90) { printf "%d seconds", (int(t / 10) + 1) * 10; exit }
                 t = int(t / 5 + 0.5) * 5; printf "%d min %d s", int(t / 60), t % 60 }')
    echo "Building KelvoApp, kelvo-sim, kelvo-fixture and kelvo-panel in $tree: $steps steps," \
        "about $estimate on $parallel cores of an idle machine."
    load=$(cut -d' ' -f1 /proc/loadavg)
    if awk -v l="$load" -v c="$cores" 'BEGIN { exit !(l > c / 2) }'; then
        echo "This machine is busy (load $load on $cores cores), so it will take longer."
    fi
fi
cmake --build "$tree" -j "$jobs" --target "${targets[@]}"
