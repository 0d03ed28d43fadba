#!/usr/bin/env bash
# scripts/fuzz.sh [SECONDS [TARGET...]]: builds the libFuzzer targets (clang,
# AddressSanitizer and UndefinedBehaviorSanitizer) in build-fuzz and runs each (or
# the TARGETs named, e.g. gauge_answers) for SECONDS (default 20) from a copy of its
# seed corpus, so the corpus in the repository does not grow.
# A crash, a leak, a sanitizer report or a hang fails the script; the input that
# caused it is kept in build-fuzz/artifacts/<target>/ and named in the summary.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
only=("$@")
root=$PWD
build=$root/build-fuzz

# target name, longest input
all_targets=(
  "archive_reader 4096"
  "gauge_answers 8192"
  "workbook_writers 4096"
)
targets=()
for entry in "${all_targets[@]}"; do
  if [ ${#only[@]} -eq 0 ] || [[ " ${only[*]} " == *" ${entry%% *} "* ]]; then targets+=("$entry"); fi
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "unknown fuzz target: ${only[*]}" >&2
  exit 1
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DRZ47_FUZZ=ON -DRZ47_SANITIZE=address,undefined \
  -DRZ47_BUILD_TESTS=OFF -DRZ47_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS=-Wno-unknown-warning-option >/dev/null
names=()
for entry in "${targets[@]}"; do names+=("fuzz_${entry%% *}"); done
cmake --build "$build" -j"$(nproc)" --target "${names[@]}"

# Memory-backed when possible: the writers flush their files, which on a disk costs
# more than the run itself.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then work=$(mktemp -d -p /dev/shm); else work=$(mktemp -d); fi
trap 'rm -rf "$work"' EXIT
failed=()
summary=()
for entry in "${targets[@]}"; do
  name=${entry%% *}
  maxlen=${entry##* }
  mkdir -p "$work/$name/corpus" "$work/$name/tmp" "$build/artifacts/$name"
  cp "$root/fuzz/corpus/$name/"* "$work/$name/corpus/"
  log=$build/artifacts/$name/last-run.log
  echo "== fuzz_$name for ${seconds}s"
  status=0
  # Files a target writes go to its own temporary folder, removed afterwards.
  TMPDIR=$work/$name/tmp ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len="$maxlen" -print_final_stats=1 -artifact_prefix="$build/artifacts/$name/" \
    "$work/$name/corpus" >"$log" 2>&1 || status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  if [ "$status" -ne 0 ]; then
    failed+=("$name")
    tail -n 40 "$log"
    artifact=$(grep -o "Test unit written to [^ ]*" "$log" | tail -n 1 | sed 's/Test unit written to //' || true)
    summary+=("fuzz_$name: FAILED (exit $status) after ${runs:-?} runs; input: ${artifact:-none}; log: $log")
  else
    summary+=("fuzz_$name: ${runs:-?} runs, no crash")
  fi
done

printf '%s\n' "${summary[@]}"
[ ${#failed[@]} -eq 0 ]
