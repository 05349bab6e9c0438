#!/usr/bin/env bash
# Synchronisation benchmark.
#  1. No-change synchronising run (checked mode, synchronise on, no orphans)
#     on a tree of 20 000 small files in 1 000 folders, against the no-change
#     run of `rsync -a --delete`. The whole run (copy check, sync walk,
#     empty-folder pass), the same with the removal of empty folders switched
#     on, and the sync walk alone are timed.
#  2. A run that moves 5 000 orphans into a dustbin folder, against
#     `rsync -a --delete --backup --backup-dir=...` doing the same.
# Every figure is the median of RUNS runs on a warm cache.
#
# Usage: bench/sync_bench.sh [work-folder]   (default /tmp/zv-sync-bench)
# Environment: RUNS (default 5), FOLDERS (1000), FILES_PER_FOLDER (20),
#              ORPHANS (5000), ORPHAN_RUNS (3).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=${1:-/tmp/zv-sync-bench}
RUNS=${RUNS:-5}
FOLDERS=${FOLDERS:-1000}
FILES_PER_FOLDER=${FILES_PER_FOLDER:-20}
ORPHANS=${ORPHANS:-5000}
ORPHAN_RUNS=${ORPHAN_RUNS:-3}
BUILD="$ROOT/build-bench"

# The tools compared against, and bc for the arithmetic.
for tool in rsync bc python3; do
    command -v "$tool" >/dev/null || { echo "$tool is needed: apt-get install $tool" >&2; exit 1; }
done

median() { sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc -l; }

build_driver() {
    cmake -S "$ROOT/bench" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    ninja -C "$BUILD" zv_sync_bench >/dev/null
}

# FOLDERS folders in two levels (top/sub), FILES_PER_FOLDER small files each.
make_tree() {
    local dir=$1
    python3 - "$dir" "$FOLDERS" "$FILES_PER_FOLDER" <<'PY'
import os, sys
root, folders, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
top = max(1, int(folders ** 0.5))
for i in range(folders):
    d = os.path.join(root, f"top{i % top:03d}", f"sub{i:04d}")
    os.makedirs(d, exist_ok=True)
    for j in range(per):
        with open(os.path.join(d, f"file{j:03d}.txt"), "w") as f:
            f.write(f"{i}-{j}\n" * (1 + (i * j) % 50))
PY
}

# ORPHANS files the source does not have: half beside existing backup files,
# half in folders only the backup has.
add_orphans() {
    local dir=$1
    python3 - "$dir" "$ORPHANS" "$FILES_PER_FOLDER" <<'PY'
import os, sys
root, count, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
subs = sorted(dp for dp, dn, fn in os.walk(root) if not dn and fn) or [root]
half = count // 2
for k in range(half):
    with open(os.path.join(subs[k % len(subs)], f"orphan{k:05d}.txt"), "w") as f:
        f.write("gone\n")
for k in range(count - half):
    d = os.path.join(root, "only-in-backup", f"o{k // per:04d}")
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, f"orphan{k:05d}.txt"), "w") as f:
        f.write("gone\n")
PY
}

time_runs() {  # label, command...
    shift  # the label names the timing for the reader

    for _ in $(seq "$RUNS"); do
        local a; a=$(now); "$@" >/dev/null; local b; b=$(now)
        elapsed "$a" "$b"
    done | median
}

echo "building the driver ..." >&2
build_driver
rm -rf "$WORK"; mkdir -p "$WORK"
echo "making the tree ($FOLDERS folders x $FILES_PER_FOLDER files) ..." >&2
make_tree "$WORK/src"
cp -a "$WORK/src" "$WORK/backup"
cp -a "$WORK/src" "$WORK/rsync"
# Warm the cache and check that the trees are in step.
rsync -a --delete "$WORK/src/" "$WORK/rsync/"
# A run that is refused, or sees nothing, measures nothing.
warm=$("$BUILD/zv_sync_bench" whole "$WORK/src" "$WORK/backup")
echo "$warm" >&2
seen=$(sed -n 's/.* seen=\([0-9]*\) .*/\1/p' <<<"$warm")
expected=$((FOLDERS * FILES_PER_FOLDER))
if [ "${seen:-0}" -lt "$expected" ] || [[ "$warm" != *" failed=0 break=0" ]]; then
    echo "the engine's run saw ${seen:-no} files of $expected, or failed or broke off: $warm" >&2
    exit 1
fi

echo "no-change runs ..." >&2
ZV_WHOLE=$(time_runs whole "$BUILD/zv_sync_bench" whole "$WORK/src" "$WORK/backup")
ZV_TIDY=$(time_runs tidy "$BUILD/zv_sync_bench" tidy "$WORK/src" "$WORK/backup")
ZV_SYNC=$(time_runs sync "$BUILD/zv_sync_bench" sync "$WORK/src" "$WORK/backup")
RSYNC=$(time_runs rsync rsync -a --delete "$WORK/src/" "$WORK/rsync/")

# Orphans are old files: their data is on the disk (hence the sync) before
# they are removed.
orphan_round() {  # dustbin|delete
    rm -rf "${WORK:?}/bin" "${WORK:?}/bin-rsync"
    mkdir -p "$WORK/bin" "$WORK/bin-rsync"
    find "$WORK/backup" "$WORK/rsync" -depth -mindepth 1 -type d -empty -delete
    add_orphans "$WORK/backup"
    add_orphans "$WORK/rsync"
    sync
    local a b
    if [ "$1" = dustbin ]; then
        a=$(now); "$BUILD/zv_sync_bench" sync "$WORK/src" "$WORK/backup" "$WORK/bin" >/dev/null; b=$(now)
        echo "zv $(elapsed "$a" "$b")"
        a=$(now); rsync -a --delete --backup --backup-dir="$WORK/bin-rsync" "$WORK/src/" "$WORK/rsync/"; b=$(now)
        echo "rsync $(elapsed "$a" "$b")"
        local moved; moved=$(find "$WORK/bin" -type f | wc -l)
        [ "$moved" -eq "$ORPHANS" ] || { echo "expected $ORPHANS files in the dustbin, found $moved" >&2; exit 1; }
    else
        a=$(now); "$BUILD/zv_sync_bench" sync "$WORK/src" "$WORK/backup" >/dev/null; b=$(now)
        echo "zv $(elapsed "$a" "$b")"
        a=$(now); rsync -a --delete "$WORK/src/" "$WORK/rsync/"; b=$(now)
        echo "rsync $(elapsed "$a" "$b")"
    fi
    local left; left=$(find "$WORK/backup" -name 'orphan*' | wc -l)
    [ "$left" -eq 0 ] || { echo "$left orphans left in the backup" >&2; exit 1; }
}

orphan_medians() {  # dustbin|delete -> "zv rsync"
    local out; out=$(for _ in $(seq "$ORPHAN_RUNS"); do orphan_round "$1"; done)
    echo "$(grep '^zv ' <<<"$out" | cut -d' ' -f2 | median) $(grep '^rsync ' <<<"$out" | cut -d' ' -f2 | median)"
}

echo "orphan runs ..." >&2
read -r ZV_BIN RSYNC_BIN <<<"$(orphan_medians dustbin)"
read -r ZV_DEL RSYNC_DEL <<<"$(orphan_medians delete)"

# What an unlink costs on this disk: the floor of every removing run.
mkdir -p "$WORK/rm"
add_orphans "$WORK/rm"
sync
a=$(now); rm -rf "$WORK/rm"; b=$(now)
RM=$(elapsed "$a" "$b")

ratio() { echo "scale=2; $1 / $2" | bc -l; }
printf '\n%-58s %9s %9s %7s\n' "run (median of $RUNS / $ORPHAN_RUNS)" "zandvast" "rsync" "ratio"
printf '%-58s %8.3fs %8.3fs %7s\n' "no change, whole run (copy check + sync + empty pass)" \
    "$ZV_WHOLE" "$RSYNC" "$(ratio "$ZV_WHOLE" "$RSYNC")"
printf '%-58s %8.3fs %8.3fs %7s\n' "the same with empty folders removed (-ke 1)" \
    "$ZV_TIDY" "$RSYNC" "$(ratio "$ZV_TIDY" "$RSYNC")"
printf '%-58s %8.3fs %8.3fs %7s\n' "no change, synchronisation walk alone" \
    "$ZV_SYNC" "$RSYNC" "$(ratio "$ZV_SYNC" "$RSYNC")"
printf '%-58s %8.3fs %8.3fs %7s\n' "$ORPHANS orphans into the dustbin (rsync: --backup-dir)" \
    "$ZV_BIN" "$RSYNC_BIN" "$(ratio "$ZV_BIN" "$RSYNC_BIN")"
printf '%-58s %8.3fs %8.3fs %7s\n' "$ORPHANS orphans deleted (rsync: --delete)" \
    "$ZV_DEL" "$RSYNC_DEL" "$(ratio "$ZV_DEL" "$RSYNC_DEL")"
printf '%-58s %8.3fs\n' "rm -rf of the same $ORPHANS files (for reference)" "$RM"
