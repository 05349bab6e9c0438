#!/usr/bin/env bash
# Measures the copy engine against cp -a and rsync -a on generated trees:
#  - a first full backup (checked mode) of many small files and of a few large
#    files, into an empty backup folder;
#  - a re-run with nothing changed (checked mode, date filter on);
#  - a re-run after 1 % of the files changed (checked mode, date filter on);
#  - what durability costs: zandvast beside itself with every flush left out
#    (the replaced files' data before their rename, the backup's file system
#    before the run reports);
#  - the cost of the window's progress display: the real executable with its
#    window on Qt's offscreen platform against the same job with the window
#    hidden ("-qu");
#  - a sparse file (4 GiB with 1 MiB of data) against cp -a --sparse=auto:
#    the time and the space the copy takes.
# Every figure is the median of REPS runs (default 3). The trees live in
# BENCH_DATA (default /work/bench-data). The backups are made twice: on a
# tmpfs (when this user may mount one), which shows the program's own cost per
# file, and on the disk that holds BENCH_DATA, where a virtual machine's disk
# can make every tool wait alike and the figures vary much more.
# SPARSE_ONLY=1 measures the sparse file alone.
# Needs about 3 GB of free space (and 3 GB of memory for the tmpfs); takes
# ten minutes or so on two cores.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
data="${BENCH_DATA:-/work/bench-data}"
reps="${REPS:-3}"
out=""
bench_build="$repo/build-bench"
gui_build="$repo/build-bench-gui"
results="$data/results.txt"

# The tools compared against, and bc for the arithmetic.
for tool in rsync bc python3; do
    command -v "$tool" >/dev/null || { echo "$tool is needed: apt-get install $tool" >&2; exit 1; }
done

log() { printf '%s\n' "$*" | tee -a "$results"; }

build() {
    cmake -S "$repo/bench" -B "$bench_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    ninja -C "$bench_build" zv_bench >/dev/null
    if [ "${SKIP_GUI:-0}" != 1 ]; then
        cmake -S "$repo" -B "$gui_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DZV_BUILD_TESTS=OFF >/dev/null
        ninja -C "$gui_build" zandvast >/dev/null || echo "executable not built; display cost skipped"
    fi
}

# Seconds a command takes (wall clock), its output dropped.
seconds() {
    local start end
    start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
    end=$EPOCHREALTIME
    echo "$end - $start" | bc -l
}

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)]}'; }
ratio() { echo "scale=3; $1 / $2" | bc -l; }

fresh_target() {
    rm -rf "$out/target"
    mkdir -p "$out/target"
    sync
}

zv() { (cd "$out" && "$bench_build/zv_bench" "$@"); }
cp_full() { cp -a "$1/." "$2/"; }
rsync_run() { rsync -a "$1/" "$2/"; }
# The same, waiting until the copy is on the disk, as zandvast does.
cp_synced() { cp -a "$1/." "$2/" && sync; }

# One timed first full backup by one tool, into an empty backup folder.
full_once() {
    local tool="$1" tree="$2"
    fresh_target
    case "$tool" in
        cp) seconds cp_full "$tree" "$out/target" ;;
        cp_synced) seconds cp_synced "$tree" "$out/target" ;;
        rsync) seconds rsync_run "$tree" "$out/target" ;;
        zandvast) seconds zv full "$tree" "$out/target" ;;
    esac
}

# One timed run that finds nothing to do; the backup is a copy of the tree
# made at least a second before (the from-date of the re-run lies after it).
no_change_once() {
    local tool="$1" tree="$2"
    case "$tool" in
        rsync) seconds rsync_run "$tree" "$out/target" ;;
        zandvast) seconds zv rerun "$tree" "$out/target" ;;
    esac
}

# The tools take turns within each round, so that a change in the machine's
# load falls on all of them alike.
measure_full() {
    local tree="$1" i cp_t=() cs_t=() rs_t=() zv_t=()
    for ((i = 0; i < reps; i++)); do
        cp_t+=("$(full_once cp "$tree")")
        cs_t+=("$(full_once cp_synced "$tree")")
        rs_t+=("$(full_once rsync "$tree")")
        zv_t+=("$(full_once zandvast "$tree")")
    done
    echo "$(median "${cp_t[@]}") $(median "${rs_t[@]}") $(median "${zv_t[@]}") $(median "${cs_t[@]}")"
}

measure_no_change() {
    local tree="$1" i rs_t=() zv_t=()
    fresh_target
    cp -a "$tree/." "$out/target/"
    sync
    sleep 1
    for ((i = 0; i < reps; i++)); do
        rs_t+=("$(no_change_once rsync "$tree")")
        zv_t+=("$(no_change_once zandvast "$tree")")
    done
    echo "$(median "${rs_t[@]}") $(median "${zv_t[@]}")"
}

# One timed re-run after 1 % of the files changed: the backup is a copy of the
# tree whose changed files are older there. $3 is the from-date (seconds).
changed_once() {
    local tool="$1" tree="$2" since="$3"
    fresh_target
    cp -a "$tree/." "$out/target/"
    (cd "$out/target" && xargs -d '\n' -a "$out/changed.txt" touch -d "@$((since - 100))")
    sync
    case "$tool" in
        rsync) seconds rsync_run "$tree" "$out/target" ;;
        zandvast) seconds zv since "$tree" "$out/target" "$since" ;;
        noflush) seconds zv since "$tree" "$out/target" "$since" noflush ;;
    esac
}

measure_changed() {
    local tree="$1" i since rs_t=() zv_t=() nf_t=()
    (cd "$tree" && find . -type f | sort | awk 'NR % 100 == 0') >"$out/changed.txt"
    since=$(date +%s)
    sleep 1.1
    (cd "$tree" && xargs -d '\n' -a "$out/changed.txt" touch)
    for ((i = 0; i < reps; i++)); do
        rs_t+=("$(changed_once rsync "$tree" "$since")")
        zv_t+=("$(changed_once zandvast "$tree" "$since")")
        nf_t+=("$(changed_once noflush "$tree" "$since")")
    done
    echo "$(median "${rs_t[@]}") $(median "${zv_t[@]}") $(median "${nf_t[@]}")"
}

# zandvast with and without its flushes, first full backup and no change.
measure_durability() {
    local tree="$1" i with=() without=() rerun=() rerunNf=()
    for ((i = 0; i < reps; i++)); do
        fresh_target
        with+=("$(seconds zv full "$tree" "$out/target")")
        fresh_target
        without+=("$(seconds zv full "$tree" "$out/target" noflush)")
        # (what the unflushed run left in the page cache is not the re-run's to write)
        sync
        sleep 1
        rerun+=("$(seconds zv rerun "$tree" "$out/target")")
        rerunNf+=("$(seconds zv rerun "$tree" "$out/target" noflush)")
    done
    echo "$(median "${with[@]}") $(median "${without[@]}") $(median "${rerun[@]}") $(median "${rerunNf[@]}")"
}

# A 4 GiB file with 1 MiB of data in the middle, made once.
make_sparse_tree() {
    local tree="$data/sparse"
    [ -f "$tree/holes.img" ] && return
    mkdir -p "$tree"
    truncate -s 4G "$tree/holes.img"
    dd if=/dev/urandom of="$tree/holes.img" bs=1M count=1 seek=2048 conv=notrunc status=none
}

# Kilobytes a tree takes on the disk.
allocated_kb() { du -sk "$1" | cut -f1; }

measure_sparse() {
    local tree="$data/sparse" i cp_t=() zv_t=() cp_kb zv_kb
    make_sparse_tree
    for ((i = 0; i < reps; i++)); do
        fresh_target
        cp_t+=("$(seconds cp -a --sparse=auto "$tree/." "$out/target/")")
        cp_kb=$(allocated_kb "$out/target")
        fresh_target
        zv_t+=("$(seconds zv full "$tree" "$out/target")")
        zv_kb=$(allocated_kb "$out/target")
    done
    echo "$(median "${cp_t[@]}") $(median "${zv_t[@]}") $cp_kb $zv_kb"
}

version_text() {
    sed -n 's/^project(zandvast VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt"
}

job_file() {
    local job="$out/Job.dat" tree="$1"
    printf '%s\r\n' "version =Zandvast v.$(version_text)" "pathsource =$tree" \
        "pathdestination =$out/target" "pathrecycler =" "dedato =1-1-2000 00:00:00" \
        "checkdate =0" "syncactive =0" "doverify =1" "dustbin =0" "killempty =0" \
        "volumelabel =" "-ps $tree -pd $out/target -dd 1-1-2000 00:00:00 -cd 0 -sy 0 -vf 1 -ke 0" \
        >"$job"
    echo "$job"
}

# One timed unattended full backup by the executable, its window shown on
# the offscreen platform or hidden.
display_once() {
    local how="$1" job="$2"
    fresh_target
    if [ "$how" = hidden ]; then
        QT_QPA_PLATFORM=offscreen seconds "$gui_build/zandvast" -if "$job" -qu
    else
        QT_QPA_PLATFORM=offscreen seconds "$gui_build/zandvast" -if "$job" -cf 0
    fi
}

measure_display() {
    local job i hidden=() shown=()
    job="$(job_file "$1")"
    for ((i = 0; i < reps; i++)); do
        hidden+=("$(display_once hidden "$job")")
        shown+=("$(display_once shown "$job")")
    done
    echo "$(median "${hidden[@]}") $(median "${shown[@]}")"
}

# All measurements with the backups in $out; $1 names the place in the log.
measure_all() {
    local where="$1" cp_t cs_t rs_t zv_t nf_t hidden shown tree cp_kb zv_kb
    read -r cp_t zv_t cp_kb zv_kb <<<"$(measure_sparse)"
    log "[$where] sparse 4 GiB with 1 MiB data: cp -a --sparse=auto $cp_t s ($cp_kb KiB)," \
        "zandvast $zv_t s ($zv_kb KiB); zandvast/cp $(ratio "$zv_t" "$cp_t")"
    [ "${SPARSE_ONLY:-0}" = 1 ] && { rm -rf "$out/target"; return; }
    for tree in small large; do
        read -r cp_t rs_t zv_t cs_t <<<"$(measure_full "$data/$tree")"
        log "[$where] full $tree: cp -a $cp_t s, rsync -a $rs_t s, zandvast $zv_t s;" \
            "zandvast/cp $(ratio "$zv_t" "$cp_t"), zandvast/rsync $(ratio "$zv_t" "$rs_t");" \
            "cp -a + sync $cs_t s, zandvast/(cp -a + sync) $(ratio "$zv_t" "$cs_t")"
    done
    for tree in small large; do
        read -r rs_t zv_t <<<"$(measure_no_change "$data/$tree")"
        log "[$where] no change $tree: rsync -a $rs_t s, zandvast $zv_t s;" \
            "zandvast/rsync $(ratio "$zv_t" "$rs_t")"
    done
    read -r rs_t zv_t nf_t <<<"$(measure_changed "$data/small")"
    log "[$where] 1 % changed small: rsync -a $rs_t s, zandvast $zv_t s, without flushes $nf_t s;" \
        "zandvast/rsync $(ratio "$zv_t" "$rs_t"), flushed/unflushed $(ratio "$zv_t" "$nf_t")"
    local full fullNf rerun rerunNf
    read -r full fullNf rerun rerunNf <<<"$(measure_durability "$data/small")"
    log "[$where] durability small: full $full s (without flushes $fullNf s, ratio" \
        "$(ratio "$full" "$fullNf")), no change $rerun s (without $rerunNf s, ratio" \
        "$(ratio "$rerun" "$rerunNf"))"
    if [ -x "$gui_build/zandvast" ]; then
        read -r hidden shown <<<"$(measure_display "$data/small")"
        log "[$where] display small: hidden (-qu) $hidden s, offscreen window $shown s;" \
            "shown/hidden $(ratio "$shown" "$hidden")"
    fi
    rm -rf "$out/target"
}

main() {
    mkdir -p "$data"
    : >"$results"
    build
    python3 "$repo/bench/make_trees.py" "$data"
    log "# $(date -u +%Y-%m-%dT%H:%M:%SZ)  $(nproc) cores, $(uname -r), reps=$reps"

    out="$data/out-tmpfs"
    mkdir -p "$out"
    if mountpoint -q "$out" || mount -t tmpfs -o size=3G zv-bench "$out" 2>/dev/null; then
        trap 'umount "$data/out-tmpfs" 2>/dev/null || true' EXIT
        measure_all tmpfs
    else
        log "(no tmpfs could be mounted; the tmpfs figures are missing)"
    fi
    out="$data/out-disk"
    mkdir -p "$out"
    measure_all disk
}

main "$@"
