#!/usr/bin/env bash
# Fuzzes each reader for N seconds (default 30) with libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer, built with clang in
# build-fuzz/. A target starts from its committed corpus
# (tests/fuzz/corpus/<target>/); what it learns stays in build-fuzz/corpus/.
# A finding fails the run and is copied into the committed corpus as a
# regression file, to be committed with its fix. Prints each target's
# executions per second and the coverage it reached.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
build=build-fuzz
targets=(scenario save json midi)

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DYUUNAGI_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  >/dev/null
cmake --build "$build" -j "${JOBS:-$(nproc)}" --target "${targets[@]/#/fuzz-}"

failed=()
figures=()
for target in "${targets[@]}"; do
  work="$build/corpus/$target"
  findings="$build/findings/$target/"
  log="$build/fuzz-$target.log"
  rm -rf "$findings"
  mkdir -p "$work" "$findings"
  echo "fuzz: $target for $seconds s"
  if ! "$build/bin/fuzz-$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings" "$work" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
    failed+=("$target")
    tail -n 40 "$log"
    for finding in "$findings"*; do
      [[ -f $finding ]] || continue
      cp "$finding" "tests/fuzz/corpus/$target/regression-$(sha1sum "$finding" | cut -c1-16)"
    done
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
  figures+=("$target: ${runs:-?} runs, ${speed:-?} exec/s, ${coverage:-cov: ?} (edges, features), $(find "$work" -type f | wc -l) inputs learnt")
done
printf '%s\n' "${figures[@]}"
if ((${#failed[@]})); then
  echo "fuzz: findings in ${failed[*]}; added to tests/fuzz/corpus/<target>/regression-*" >&2
  exit 1
fi
