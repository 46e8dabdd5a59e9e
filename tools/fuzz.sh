#!/usr/bin/env bash
# The fuzz targets of fuzz/ (libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer),
# built with clang in a tree of their own, build-fuzz (or MONDRAL_FUZZ_TREE).
#   bash tools/fuzz.sh [TARGET] [SECONDS]  long run of one target, or of each in turn (TARGET
#                                          "all", the default): until MONDRAL_FUZZ_RUNS executions
#                                          (default 1000000) or SECONDS (default 600) per target
#   bash tools/fuzz.sh --short             the test command's run: each target for a fixed number
#                                          of executions with a fixed seed; skipped without clang
#                                          (except on CI)
# Seeds are made anew at every run from the shared bank files. A long run keeps the inputs that
# reached new code in build-fuzz/corpus/TARGET and a failing input in build-fuzz/findings/TARGET;
# copy a failing input into fuzz/regressions/TARGET/ once understood: every run replays that
# folder. Prints per target: executions, coverage (edges and features) at start and end, the
# inputs that added coverage, and the findings.
set -euo pipefail
cd "$(dirname "$0")/.."

short=false
if [ "${1:-}" = --short ]; then
  short=true
  shift
fi
target=${1:-all}
seconds=${2:-600}
runs=${MONDRAL_FUZZ_RUNS:-1000000}
tree=${MONDRAL_FUZZ_TREE:-build-fuzz}

# clang with libFuzzer's runtime, or nothing to do here.
probe_libfuzzer() {
  command -v clang++ >/dev/null 2>&1 || return 1
  local out
  out=$(mktemp -d)
  echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' \
    >"$out/probe.cpp"
  clang++ -fsanitize=fuzzer,address,undefined "$out/probe.cpp" -o "$out/probe" >/dev/null 2>&1
  local ok=$?
  rm -rf "$out"
  return $ok
}
if ! probe_libfuzzer; then
  if [ "${CI:-}" = true ] || ! $short; then
    echo "fuzz: clang++ with libFuzzer is needed (tools/setup.sh installs clang and libclang-rt-dev)" >&2
    exit 1
  fi
  echo "fuzz: clang++ with libFuzzer not found here: the fuzz targets are skipped."
  exit 0
fi

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$tree" -G Ninja -Wno-dev "${launcher[@]}" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMONDRAL_FUZZ=ON -DMONDRAL_GUI=OFF -DMONDRAL_BENCH=OFF \
  -DMONDRAL_SANITIZE=address,undefined >/dev/null
cmake --build "$tree" --target fuzz_all -- -j"$(nproc)" >/dev/null
"$tree/fuzz/fuzz_seeds" "$tree/seeds"

# Executions of each target in the short run: a few seconds each.
declare -A short_runs=(
  [fuzz_bank_file]=3000 [fuzz_library_file]=10000 [fuzz_library_doubles]=10000
  [fuzz_sysex_reply]=100000 [fuzz_sysex_input]=20000
  [fuzz_wildcard_search]=20000 [fuzz_sysex_repair]=3000 [fuzz_dump_reply]=5000
)

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# field NAME LINE: the number after "NAME:" in a libFuzzer status line.
field() { sed -n "s/.* $1: \([0-9]*\).*/\1/p" <<<"$2"; }

failed=0
summary=()
while read -r name max_len; do
  [ "$target" = all ] || [ "$target" = "$name" ] || continue
  corpus_args=("$tree/seeds/$name")
  [ -d "fuzz/regressions/$name" ] && corpus_args+=("fuzz/regressions/$name")
  findings="$tree/findings/$name"
  mkdir -p "$findings"
  log="$tree/logs/$name.log"
  mkdir -p "$(dirname "$log")"
  if $short; then
    # New inputs go to a folder thrown away, so every short run starts from the same corpus.
    work="$tree/corpus-short/$name"
    rm -rf "$work"
    limits=(-runs="${short_runs[$name]}" -seed=1)
  else
    work="$tree/corpus/$name"
    limits=(-runs="$runs" -max_total_time="$seconds")
  fi
  mkdir -p "$work"
  before=$(find "$findings" -type f | wc -l)
  start=$(date +%s)
  status=0
  "$tree/fuzz/$name" "${limits[@]}" -max_len="$max_len" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$work" "${corpus_args[@]}" >"$log" 2>&1 || status=$?
  elapsed=$(($(date +%s) - start))
  inited=$(grep -m1 'INITED' "$log" || true)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  added=$(sed -n 's/^stat::new_units_added: *//p' "$log")
  found=$(($(find "$findings" -type f | wc -l) - before))
  line=$(printf '%-22s %10s execs %5ss  cov %s->%s  ft %s->%s  new inputs %s  findings %s' \
    "$name" "${execs:-?}" "$elapsed" "$(field cov "$inited")" "$(field cov "$last")" \
    "$(field ft "$inited")" "$(field ft "$last")" "${added:-?}" "$found")
  echo "$line"
  summary+=("$line")
  if [ "$status" -ne 0 ]; then
    failed=1
    echo "fuzz: $name failed (exit $status); input kept in $findings/, log $log:" >&2
    grep -E 'check failed|ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -20 >&2
  fi
done <"$tree/fuzz/targets.txt"

if [ ${#summary[@]} -eq 0 ]; then
  echo "fuzz: no target named $target (see $tree/fuzz/targets.txt)" >&2
  exit 2
fi
exit $failed
