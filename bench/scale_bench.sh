#!/usr/bin/env bash
# How the copy engine scales, against cp -a and rsync: with the number of
# files, with the number of files in one folder, with the depth of a tree and
# with the size of the files. Run by hand on a quiet machine; not a test.
#
# Cases (CASES picks some, in this order whatever order it names them):
#   full     first backup into an empty folder: zandvast (checked mode, no
#            date filter) against cp -a and rsync -a, for 20 000 and 200 000
#            small files, 100 000 files in one folder, chains of 75, 300 and 600
#            folders (and 4 files of 1 GiB with BIG=1, with the throughput);
#   memory   the largest resident size of zandvast, rsync -a and cp -a during
#            a first backup of the one-folder tree and of 200 000 files;
#   rerun    a run with nothing to do (checked mode, date filter on) against
#            rsync -a, for 20 000 and 200 000 files (and 1 000 000 with HUGE=1);
#   sync     the same as a synchronising run, against rsync -a --delete;
#   changed  a synchronising run after 1 % of the files changed and 1 % were
#            deleted, against rsync -a --delete;
#   depth    a daily run (date filter on) into a backup that lacks a deep
#            branch whose deepest folder holds the only new files: how many
#            stat calls zandvast makes for chains of 75, 150, 300 and 600
#            folders, which shows whether the count grows with the folders or
#            with the square of the depth;
#   perfile  what a file costs at depth: first backups of the deepest chain
#            of the first-backup case, of as many files in copies of the
#            shallowest one side by side (8 chains of 75 for one of 600),
#            and of an empty folder, by zandvast, cp -a and rsync -a; each
#            tool's processor time a file (perf stat, less its empty run's)
#            deep against shallow. Best with ONE_CORE=1 TMPFS_OUT=1 and
#            ROUNDS=11 (the runs are short).
# Every timed figure is the median of ROUNDS runs (default 3). The tools take
# turns within a round, and round r starts with tool r mod n, so that a slow
# spell of the machine, or what one tool leaves behind for the next, falls on
# all of them alike. The page cache holds the source (it is read once before
# each case) and the disk has written everything before each timed run; cp
# and rsync leave their copies to be written afterwards, zandvast flushes its
# own, so the first-backup figures favour them a little.
#
# Environment:
#   ROUNDS=3       runs per tool and figure (2 with SCALE_SMOKE=1)
#   CASES="..."    a space-separated subset of the cases above
#   HUGE=1         1 000 000 files too (minutes to make, about 5 GB)
#   BIG=1          4 files of 1 GiB in the first-backup case
#   ONE_CORE=1     every tool and driver runs on core 0 alone (taskset -c 0)
#   FULL_TREES=".." the first-backup case on these trees only (say big4x1024m)
#   TMPFS_OUT=1    the backups go to a tmpfs (root; 16 GiB at most): what each
#                  tool costs itself, without the disk's write-back
#   BENCH_DATA=... the trees and the backups (default /work/bench-data/scale)
#   SCALE_SMOKE=1  tiny trees, to see that the script works (under a minute)
#
# One line per figure goes to stdout and is appended to BENCH_DATA/results.txt
# after a header line naming the machine, the file system and the mode.
# The trees (t20k, t200k, t1m, wide100k, chainN, big4x1024m in
# BENCH_DATA/trees) are made once and kept; the backups are removed at the
# end. Needs about 20 GB of free space (30 GB more with HUGE=1 and BIG=1), and
# rsync, python3, strace (depth) and GNU time (memory).
set -euo pipefail
shopt -s inherit_errexit
export LC_NUMERIC=C  # a decimal point in $EPOCHREALTIME and awk

repo="$(cd "$(dirname "$0")/.." && pwd)"
smoke=${SCALE_SMOKE:-0}
if [ "$smoke" = 1 ]; then
    data=${BENCH_DATA:-/work/bench-data/scale-smoke}
    rounds=${ROUNDS:-2}
else
    data=${BENCH_DATA:-/work/bench-data/scale}
    rounds=${ROUNDS:-3}
fi
huge=${HUGE:-0}
big=${BIG:-0}
one_core=${ONE_CORE:-0}
tmpfs_out=${TMPFS_OUT:-0}
full_trees=${FULL_TREES:-}
all_cases="full memory rerun sync changed depth perfile"
cases=${CASES:-$all_cases}
build="$repo/build-bench"
zv_bench="$build/zv_bench"
zv_sync_bench="$build/zv_sync_bench"
trees="$data/trees"
out="$data/out"
trash="$data/trash"
results="$data/results.txt"
tool_log="$out/tool.log"
make_tree="$repo/bench/make_scale_trees.py"

kPerFolder=5  # files in each folder of a chain

if [ "$smoke" = 1 ]; then
    n_small=200 n_mid=2000 n_huge=10000 n_wide=1000 big_mib=16
    full_chains=(10 20) depth_chains=(5 10 20 40)
else
    n_small=20000 n_mid=200000 n_huge=1000000 n_wide=100000 big_mib=1024
    full_chains=(75 300 600) depth_chains=(75 150 300 600)
fi

pin=()
if [ "$one_core" = 1 ]; then pin=(taskset -c 0); fi

fail() {
    echo "scale_bench: $1" >&2
    if [ -n "${2:-}" ]; then tail -n 20 "$2" >&2; fi
    exit 1
}

log() { printf '%s\n' "$*" | tee -a "$results"; }
note() { printf '%s\n' "$*" >&2; }

# --- Trees -----------------------------------------------------------------

# 20000 -> 20k, 1000000 -> 1m.
count_name() {
    awk -v n="$1" 'BEGIN {
        if (n >= 1000000 && n % 1000000 == 0) printf "%dm", n / 1000000
        else if (n >= 1000 && n % 1000 == 0) printf "%dk", n / 1000
        else printf "%d", n }'
}

t_small="t$(count_name "$n_small")"
t_mid="t$(count_name "$n_mid")"
t_huge="t$(count_name "$n_huge")"
t_wide="wide$(count_name "$n_wide")"
t_big="big4x${big_mib}m"

# What make_scale_trees.py makes for each tree name.
declare -A tree_spec=(
    [$t_small]="files $n_small 1024 8192"
    [$t_mid]="files $n_mid 0 2048"
    [$t_huge]="files $n_huge 0 2048"
    [$t_wide]="wide $n_wide 0 2048"
    [$t_big]="big 4 $big_mib"
)
for depth in "${full_chains[@]}" "${depth_chains[@]}"; do
    tree_spec[chain$depth]="chain $depth $kPerFolder"
done

ensure_tree() {
    local name=$1 kind words start
    [ -f "$trees/$name.complete" ] && return
    read -r kind _ <<<"${tree_spec[$name]}"
    read -r -a words <<<"${tree_spec[$name]#* }"
    note "making $name ..."
    start=$EPOCHREALTIME
    python3 "$make_tree" "$kind" "$trees/$name" "${words[@]}"
    log "# made $name ($kind ${words[*]}) in $(awk -v a="$start" -v b="$EPOCHREALTIME" \
        'BEGIN {printf "%.1f", b - a}') s"
}

# chainsKxN: K copies of chainN side by side, as many files as a chain K
# times as deep.
ensure_chain_copies() {
    local name=$1 copies depth i
    [ -f "$trees/$name.complete" ] && return
    copies=${name#chains}
    copies=${copies%x*}
    depth=${name#*x}
    ensure_tree "chain$depth"
    rm -rf "${trees:?}/$name"
    mkdir -p "$trees/$name"
    for ((i = 0; i < copies; i++)); do cp -a "$trees/chain$depth" "$trees/$name/c$i"; done
    touch "$trees/$name.complete"
}

declare -A nfiles=()

# One untimed read of every file of a tree, so that every tool finds it in the
# page cache; counts its files the first time.
warm() {
    local name=$1
    find "$trees/$name" -type f -print0 | xargs -0 -r cat >/dev/null
    if [ -z "${nfiles[$name]:-}" ]; then
        nfiles[$name]=$(find "$trees/$name" -type f | wc -l)
    fi
}

# --- Timing ----------------------------------------------------------------

# Seconds one tool run takes (wall clock), after the disk has written what
# came before. Its output goes to $tool_log; a failure stops the script.
timed() {
    local start end
    sync
    start=$EPOCHREALTIME
    "${pin[@]}" "$@" >"$tool_log" 2>&1 || fail "failed: $*" "$tool_log"
    end=$EPOCHREALTIME
    awk -v a="$start" -v b="$end" 'BEGIN {printf "%.4f\n", b - a}'
}

# Seconds of processor time one tool run takes, all its processes together
# (perf stat's task-clock): what a run costs itself, whatever else the
# machine does meanwhile.
processor_timed() {
    local stat="$out/perf-stat.txt"
    sync
    "${pin[@]}" perf stat -x, -o "$stat" -e task-clock "$@" >"$tool_log" 2>&1 ||
        fail "failed: $*" "$tool_log"
    awk -F, '$3 == "task-clock" {printf "%.5f\n", $1 / 1000}' "$stat"
}

timer=timed  # how full_one times a run

# The counters a driver printed, e.g. expect copied 200 failed 0: a run that
# did not do the work it was timed for measures nothing.
expect() {
    local word value got
    while [ $# -gt 0 ]; do
        word=$1 value=$2
        shift 2
        got=$(grep -oE "${word}[ =][0-9]+" "$tool_log" | grep -oE '[0-9]+$' | tail -n 1) || true
        [ "$got" = "$value" ] || fail "expected $word $value: $(cat "$tool_log")"
    done
}

same_files() {  # source backup: the backup holds as many files
    local want got
    want=$(find "$1" -type f | wc -l)
    got=$(find "$2" -type f | wc -l)
    [ "$want" = "$got" ] || fail "$2 holds $got files, $1 $want"
}

median() {
    printf '%s\n' "$@" | sort -g | awk '{a[NR] = $1} END {
        m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2
        printf "%.4f", m }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0) ? a / b : 0}'; }

declare -A medians=()

# ROUNDS rounds of one timed run per tool, in turns; leaves each tool's
# median in medians[tool]. $1 is a function called as "$1 TOOL ROUND" that
# prepares, times and checks one run and prints its seconds.
take_turns() {
    local run_one=$1 tools n r k tool t runs
    shift
    tools=("$@")
    n=$#
    local -A samples=()
    for ((r = 0; r < rounds; r++)); do
        for ((k = 0; k < n; k++)); do
            tool=${tools[(r + k) % n]}
            t=$("$run_one" "$tool" "$r")
            samples[$tool]+="$t "
        done
    done
    for tool in "${tools[@]}"; do
        read -r -a runs <<<"${samples[$tool]}"
        medians[$tool]=$(median "${runs[@]}")
    done
}

# --- First backup ----------------------------------------------------------

tree=""  # the tree the current case works on

# Each run writes into a new folder: removing many files shortly before
# making many slows every tool down several times on ext4, so the backups
# stay until the end. The large files' backups are the exception (4 GiB
# each): they go at once, and the sync and the pause let the disk finish
# freeing them before the next run.
full_one() {
    local tool=$1 round=$2 src="$trees/$tree" t
    local target="$out/full-$tree/$tool-$round"
    mkdir -p "$target"
    case $tool in
        zandvast)
            t=$("$timer" "$zv_bench" full "$src" "$target")
            expect copied "${nfiles[$tree]}" failed 0
            ;;
        cp) t=$("$timer" cp -a "$src/." "$target/") ;;
        # The same promise as zandvast's: the copy is on the disk at the end.
        cpsync) t=$("$timer" sh -c "cp -a \"\$1/.\" \"\$2/\" && sync" sh "$src" "$target") ;;
        rsync) t=$("$timer" rsync -a "$src/" "$target/") ;;
    esac
    if [ "$round" = 0 ]; then same_files "$src" "$target"; fi
    if [ "$tmpfs_out" = 1 ]; then
        rm -rf "$target"  # a tmpfs frees at once, and holds little
    elif [ "$tree" = "$t_big" ]; then
        rm -rf "$target"
        sync
        sleep 5
    fi
    echo "$t"
}

case_full() {
    local list=("$t_small" "$t_mid" "$t_wide") depth bytes
    for depth in "${full_chains[@]}"; do list+=("chain$depth"); done
    if [ "$big" = 1 ]; then list+=("$t_big"); fi
    if [ -n "$full_trees" ]; then read -r -a list <<<"$full_trees"; fi
    for tree in "${list[@]}"; do
        warm "$tree"
        take_turns full_one zandvast cp cpsync rsync
        local zv=${medians[zandvast]} cp=${medians[cp]} cs=${medians[cpsync]} rs=${medians[rsync]}
        local rate=""
        if [ "$tree" = "$t_big" ]; then
            bytes=$(du -sb "$trees/$tree" | cut -f1)
            rate=$(awk -v b="$bytes" -v z="$zv" -v c="$cp" -v r="$rs" \
                'BEGIN {printf " (MB/s: zandvast %.0f, cp -a %.0f, rsync -a %.0f)", \
                        b / 1e6 / z, b / 1e6 / c, b / 1e6 / r}')
        fi
        log "full $tree (${nfiles[$tree]} files): zandvast $zv s, cp -a $cp s, cp -a + sync $cs s," \
            "rsync -a $rs s; zandvast/cp $(ratio "$zv" "$cp"), zandvast/(cp + sync)" \
            "$(ratio "$zv" "$cs"), zandvast/rsync $(ratio "$zv" "$rs")$rate"
    done
}

# --- Memory ----------------------------------------------------------------

# Kilobytes of the largest resident size of one first backup (rsync's is that
# of the largest of its two or three processes).
max_rss() {
    local tool=$1 src="$trees/$tree" rss="$out/rss.txt"
    local target="$out/memory-$tree/$tool"
    mkdir -p "$target"
    sync
    case $tool in
        zandvast) "${pin[@]}" /usr/bin/time -o "$rss" -f %M "$zv_bench" full "$src" "$target" \
            >"$tool_log" 2>&1 || fail "failed: zandvast full $src" "$tool_log"
            expect copied "${nfiles[$tree]}" failed 0 ;;
        cp) "${pin[@]}" /usr/bin/time -o "$rss" -f %M cp -a "$src/." "$target/" >"$tool_log" 2>&1 ||
            fail "failed: cp -a $src" "$tool_log" ;;
        rsync) "${pin[@]}" /usr/bin/time -o "$rss" -f %M rsync -a "$src/" "$target/" \
            >"$tool_log" 2>&1 || fail "failed: rsync -a $src" "$tool_log" ;;
    esac
    tail -n 1 "$rss"
}

mib() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }

case_memory() {
    local zv cp rs
    for tree in "$t_wide" "$t_mid"; do
        warm "$tree"
        zv=$(max_rss zandvast)
        rs=$(max_rss rsync)
        cp=$(max_rss cp)
        log "memory $tree (${nfiles[$tree]} files, first backup): max RSS zandvast $(mib "$zv") MiB," \
            "rsync -a $(mib "$rs") MiB, cp -a $(mib "$cp") MiB; zandvast/rsync $(ratio "$zv" "$rs")"
    done
}

# --- Runs into an existing backup ------------------------------------------

# The backup of a tree that the rerun, sync and changed cases share: a copy
# with the same dates, older than a second (a from-date of now then lies
# after every file). After the changed case's last run it is a copy again.
base_of() { echo "$out/base-$1"; }

ensure_base() {
    local base
    base=$(base_of "$tree")
    [ -d "$base" ] && return
    cp -a "$trees/$tree" "$base"
    sync
    sleep 1.1
}

rerun_one() {
    local tool=$1 src="$trees/$tree" base t
    base=$(base_of "$tree")
    case $tool in
        zandvast)
            t=$(timed "$zv_bench" rerun "$src" "$base")
            expect copied 0 failed 0
            ;;
        rsync) t=$(timed rsync -a "$src/" "$base/") ;;
    esac
    echo "$t"
}

sync_one() {
    local tool=$1 src="$trees/$tree" base t
    base=$(base_of "$tree")
    case $tool in
        zandvast)
            t=$(timed "$zv_sync_bench" whole "$src" "$base")
            expect copied 0 removed 0 failed 0 break 0
            ;;
        rsync) t=$(timed rsync -a --delete "$src/" "$base/") ;;
    esac
    echo "$t"
}

huge_trees() {
    local list=("$t_small" "$t_mid")
    if [ "$huge" = 1 ]; then list+=("$t_huge"); fi
    echo "${list[@]}"
}

# A run with nothing to do against rsync's, on every tree: $1 times one run,
# $2 names the case, $3 what it does, $4 the rsync it is compared with.
against_rsync() {
    local run_one=$1 name=$2 what=$3 other=$4 list
    read -r -a list <<<"$(huge_trees)"
    for tree in "${list[@]}"; do
        warm "$tree"
        ensure_base
        take_turns "$run_one" zandvast rsync
        log "$name $tree (${nfiles[$tree]} files, $what):" \
            "zandvast ${medians[zandvast]} s, $other ${medians[rsync]} s;" \
            "zandvast/rsync $(ratio "${medians[zandvast]}" "${medians[rsync]}")"
    done
}

case_rerun() { against_rsync rerun_one rerun "nothing changed, date filter on" "rsync -a"; }
case_sync() { against_rsync sync_one sync "nothing changed, synchronising" "rsync -a --delete"; }

# The changed case: $changed lists the 1 % of the files touched in the source
# after $since, $gone the 1 % the source "deleted": the backup holds them as
# NAME.weg, which the source lacks. $since lies after the tree was made (the
# engine takes a file made after the from-date for new, whatever its
# modified date). Before each timed run the backup is put back (the changed
# files dated before $since, the deleted ones made again): cheaper than a
# fresh copy, and no mass deletion.
changed=""
gone=""
since=0

reset_base() {
    local base
    base=$(base_of "$tree")
    (cd "$base" && xargs -d '\n' -a "$changed" touch -d "@$((since - 100))")
    python3 - "$base" "$gone" <<'PY'
import os, sys
base, listing = sys.argv[1], sys.argv[2]
with open(listing, encoding="utf-8") as names:
    for name in names.read().splitlines():
        with open(os.path.join(base, name + ".weg"), "wb") as f:
            f.write(b"weg\n" * 256)
PY
}

no_orphans_left() {
    local base name
    base=$(base_of "$tree")
    while IFS= read -r name; do
        [ ! -e "$base/$name.weg" ] || fail "rsync left $base/$name.weg"
    done <"$gone"
}

changed_one() {
    local tool=$1 round=$2 src="$trees/$tree" base t
    base=$(base_of "$tree")
    reset_base
    case $tool in
        zandvast)
            t=$(timed "$zv_sync_bench" since "$src" "$base" "$since")
            expect copied "$(wc -l <"$changed")" removed "$(wc -l <"$gone")" failed 0 break 0
            ;;
        rsync)
            t=$(timed rsync -a --delete "$src/" "$base/")
            if [ "$round" = 0 ]; then no_orphans_left; fi
            ;;
    esac
    echo "$t"
}

case_changed() {
    local list
    read -r -a list <<<"$(huge_trees)"
    for tree in "${list[@]}"; do
        ensure_base
        (cd "$trees/$tree" && find . -type f | LC_ALL=C sort) >"$out/all.txt"
        awk 'NR % 100 == 0' "$out/all.txt" >"$out/changed-$tree.txt"
        awk 'NR % 100 == 50' "$out/all.txt" >"$out/gone-$tree.txt"
    done
    sleep 1.1
    since=$(date +%s)
    sleep 1.1
    for tree in "${list[@]}"; do
        (cd "$trees/$tree" && xargs -d '\n' -a "$out/changed-$tree.txt" touch)
    done
    for tree in "${list[@]}"; do
        changed="$out/changed-$tree.txt" gone="$out/gone-$tree.txt"
        warm "$tree"
        take_turns changed_one zandvast rsync
        log "changed $tree ($(wc -l <"$changed") of ${nfiles[$tree]} files changed," \
            "$(wc -l <"$gone") deleted, synchronising): zandvast ${medians[zandvast]} s," \
            "rsync -a --delete ${medians[rsync]} s;" \
            "zandvast/rsync $(ratio "${medians[zandvast]}" "${medians[rsync]}")"
    done
}

# --- Depth -----------------------------------------------------------------

# The engine counts a file as new when it was modified or made after the
# from-date, and a made date cannot be set back: so the from-date lies after
# the chain was made, and the deepest folder's files are touched after it.
# Every other file and folder is then old, and the backup lacks the branch.

deepest_of() {  # chain root -> its deepest folder
    local depth=${tree#chain} path=$1 level
    for ((level = 0; level < depth; level++)); do path+=$(printf '/d%03d' "$level"); done
    echo "$path"
}

# A backup holding the chain's top folder (with its files) and nothing below.
shallow_backup() {
    local backup=$1
    mkdir -p "$backup/d000"
    find "$trees/$tree/d000" -maxdepth 1 -type f -exec cp -a -t "$backup/d000" {} +
}

depth_one() {
    local round=$2 backup="$out/depth-$tree/$2" t deepest
    shallow_backup "$backup"
    t=$(timed "$zv_bench" since "$trees/$tree" "$backup" "$since")
    expect copied "$kPerFolder" failed 0
    if [ "$round" = 0 ]; then
        deepest=$(deepest_of "$backup")
        [ "$(find "$deepest" -maxdepth 1 -type f | wc -l)" = "$kPerFolder" ] ||
            fail "the new files did not arrive in $deepest"
    fi
    echo "$t"
}

# Calls of one system call in an strace -c summary (-U name,calls).
calls_of() { awk -v name="$2" '$1 == name {n = $2} END {print n + 0}' "$1"; }

case_depth() {
    local depth counts backup stat_calls open_calls prev_depth="" prev_calls="" growth
    sleep 1.1
    since=$(date +%s)
    sleep 1.1
    for depth in "${depth_chains[@]}"; do
        tree="chain$depth"
        touch "$(deepest_of "$trees/$tree")"/*
    done
    for depth in "${depth_chains[@]}"; do
        tree="chain$depth"
        warm "$tree"
        take_turns depth_one zandvast
        # The calls of one more run, outside the timed ones (strace slows it).
        counts="$out/strace-$depth.txt"
        backup="$out/depth-$tree/strace"
        shallow_backup "$backup"
        sync
        "${pin[@]}" strace -f -c -U name,calls -o "$counts" \
            -e trace=statx,newfstatat,stat,lstat,openat \
            "$zv_bench" since "$trees/$tree" "$backup" "$since" >"$tool_log" 2>&1 ||
            fail "failed: strace zandvast since $tree" "$tool_log"
        expect copied "$kPerFolder" failed 0
        stat_calls=$(($(calls_of "$counts" statx) + $(calls_of "$counts" newfstatat) +
            $(calls_of "$counts" stat) + $(calls_of "$counts" lstat)))
        open_calls=$(calls_of "$counts" openat)
        growth=""
        if [ -n "$prev_depth" ]; then
            # 1 when the calls grow as the depth does, 2 when as its square.
            growth=$(awk -v c="$stat_calls" -v pc="$prev_calls" -v d="$depth" -v pd="$prev_depth" \
                'BEGIN {printf "; growth exponent from depth %d: %.2f", pd, log(c / pc) / log(d / pd)}')
        fi
        log "depth $depth (${nfiles[$tree]} files, only the deepest folder's $kPerFolder new," \
            "backup with the top folder only): statx+newfstatat+stat+lstat $stat_calls" \
            "($(ratio "$stat_calls" "$depth") a folder), openat $open_calls;" \
            "zandvast ${medians[zandvast]} s$growth"
        prev_depth=$depth prev_calls=$stat_calls
    done
}

# --- A file's cost at depth ------------------------------------------------

# Microseconds a file: $1 seconds less the empty run's $2, over $3 files.
per_file() {
    awk -v t="$1" -v e="$2" -v n="$3" 'BEGIN {printf "%.1f", (t - e) / n * 1e6}'
}

shallow_chains() {
    echo "chains$((full_chains[-1] / full_chains[0]))x${full_chains[0]}"
}

# The three trees take turns within a round as the tools do, so that a slow
# spell of the machine falls on the shallow and the deep chain alike.
case_perfile() {
    local shallow deep="chain${full_chains[-1]}" tool low high line=""
    local tools=(zandvast cp rsync) r k runs
    local -A samples=() took=()
    shallow=$(shallow_chains)
    for tree in empty "$shallow" "$deep"; do warm "$tree"; done
    timer=processor_timed
    for ((r = 0; r < rounds; r++)); do
        for tree in empty "$shallow" "$deep"; do
            for ((k = 0; k < ${#tools[@]}; k++)); do
                tool=${tools[(r + k) % ${#tools[@]}]}
                samples[$tree.$tool]+="$(full_one "$tool" "$r") "
            done
        done
    done
    timer=timed
    for tree in empty "$shallow" "$deep"; do
        for tool in "${tools[@]}"; do
            read -r -a runs <<<"${samples[$tree.$tool]}"
            took[$tree.$tool]=$(median "${runs[@]}")
        done
    done
    for tool in "${tools[@]}"; do
        low=$(per_file "${took[$shallow.$tool]}" "${took[empty.$tool]}" "${nfiles[$shallow]}")
        high=$(per_file "${took[$deep.$tool]}" "${took[empty.$tool]}" "${nfiles[$deep]}")
        line+="; $tool $low and $high µs a file, $(ratio "$high" "$low") ×"
    done
    log "perfile $shallow and $deep (processor time, less an empty run's: zandvast ${took[empty.zandvast]} s," \
        "cp -a ${took[empty.cp]} s, rsync -a ${took[empty.rsync]} s)$line"
}

# --- Main ------------------------------------------------------------------

check_setup() {
    local c tool
    for c in $cases; do
        [[ " $all_cases " == *" $c "* ]] || fail "unknown case $c (cases: $all_cases)"
    done
    [[ "$rounds" =~ ^[1-9][0-9]*$ ]] || fail "ROUNDS must be a positive number"
    for tool in rsync python3 cmake ninja; do
        command -v "$tool" >/dev/null || fail "$tool is needed"
    done
    if [[ " $cases " == *" depth "* ]]; then
        command -v strace >/dev/null || fail "strace is needed for the depth case"
    fi
    if [[ " $cases " == *" perfile "* ]]; then
        perf stat -e task-clock true >/dev/null 2>&1 || fail "perf stat is needed for the perfile case"
    fi
    if [[ " $cases " == *" memory "* ]]; then
        [ -x /usr/bin/time ] || fail "GNU time (/usr/bin/time) is needed for the memory case"
    fi
    if [ "$one_core" = 1 ]; then
        command -v taskset >/dev/null || fail "taskset is needed for ONE_CORE=1"
    fi
}

build_drivers() {
    note "building the drivers ..."
    cmake -S "$repo/bench" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    ninja -C "$build" -j2 zv_bench zv_sync_bench >/dev/null
}

# The trees the chosen cases need, all made before the first measurement.
make_trees() {
    local c depth
    for c in $cases; do
        case $c in
            full)
                ensure_tree "$t_small"
                ensure_tree "$t_mid"
                ensure_tree "$t_wide"
                for depth in "${full_chains[@]}"; do ensure_tree "chain$depth"; done
                if [ "$big" = 1 ]; then ensure_tree "$t_big"; fi
                ;;
            memory)
                ensure_tree "$t_wide"
                ensure_tree "$t_mid"
                ;;
            rerun | sync | changed)
                ensure_tree "$t_small"
                ensure_tree "$t_mid"
                if [ "$huge" = 1 ]; then ensure_tree "$t_huge"; fi
                ;;
            depth)
                for depth in "${depth_chains[@]}"; do ensure_tree "chain$depth"; done
                ;;
            perfile)
                ensure_chain_copies "$(shallow_chains)"
                ensure_tree "chain${full_chains[-1]}"
                mkdir -p "$trees/empty"
                ;;
        esac
    done
}

header() {
    local fs mode commit smoke_note=""
    if command -v findmnt >/dev/null; then
        fs=$(findmnt -n -o FSTYPE,SOURCE,TARGET,OPTIONS -T "$data" | awk '{printf "%s (%s at %s, %s)", $1, $2, $3, $4}')
    else
        fs=$(stat -f -c %T "$data")
    fi
    mode="all cores"
    if [ "$one_core" = 1 ]; then mode="one core (taskset -c 0)"; fi
    if [ "$tmpfs_out" = 1 ]; then mode+="; backups on a tmpfs"; fi
    if [ "$smoke" = 1 ]; then smoke_note="; SMOKE (tiny trees)"; fi
    commit=$(git -C "$repo" describe --always --dirty 2>/dev/null || echo unknown)
    log "# $(date -u +%Y-%m-%dT%H:%M:%SZ) scale_bench at $commit: $(nproc) cores, kernel" \
        "$(uname -r); data $data on $fs; $mode; rounds $rounds; cases $cases$smoke_note"
}

main() {
    local c began started=$EPOCHREALTIME
    check_setup
    mkdir -p "$trees"
    build_drivers
    # Backups a broken-off run left are put aside and removed at the end.
    if [ -d "$out" ]; then
        mkdir -p "$trash"
        mv "$out" "$trash/out-$(date +%s)"
    fi
    mkdir -p "$out"
    if [ "$tmpfs_out" = 1 ]; then
        mount -t tmpfs -o size=16G zv-scale "$out" || fail "no tmpfs could be mounted on $out"
        trap 'cd / && umount "$out" 2>/dev/null || true' EXIT
    fi
    cd "$out"  # the drivers write Error.Log and Init.dat here
    header
    make_trees
    for c in $all_cases; do
        if [[ " $cases " == *" $c "* ]]; then
            note "case $c ..."
            began=$EPOCHREALTIME
            "case_$c"
            note "case $c took $(awk -v a="$began" -v b="$EPOCHREALTIME" 'BEGIN {printf "%.0f", b - a}') s"
        fi
    done
    note "removing the backups ..."
    cd "$data"
    if [ "$tmpfs_out" = 1 ]; then umount "$out"; fi
    rm -rf "$out" "$trash"
    sync
    log "# done in $(awk -v a="$started" -v b="$EPOCHREALTIME" 'BEGIN {printf "%.0f", b - a}') s"
}

main "$@"
