#!/usr/bin/env bash
# Measures what the tests catch: plants the faults of scripts/faults.txt one
# at a time in a scratch copy of the working tree (uncommitted changes
# included), runs the test command on each and prints a Markdown table of
# which faults made it fail.
#
#   scripts/mutate.sh [--keep] [--build-only] [fault-id ...] [-- test arguments]
#
# All faults unless some are named. Arguments after -- go to the test command
# (ctest arguments, e.g. -R E2E). --build-only checks that each fault builds
# in every preset and runs no tests; --keep leaves the scratch copy and its
# logs. Exits 0 whatever the tests say, non-zero only when it cannot measure.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
vexo_script=mutate
source "$root/scripts/lib/wine.sh"

fault_file="$root/scripts/faults.txt"
test_command=(scripts/test.sh)

keep=false build_only=false selected=() test_args=()
while (($#)); do
  case "$1" in
  --keep) keep=true ;;
  --build-only) build_only=true ;;
  --) shift; test_args=("$@"); break ;;
  -*) fail "unknown option $1" ;;
  *) selected+=("$1") ;;
  esac
  shift
done

# One entry per fault, and one part per file it changes; originals and
# replacements are whole lines, each ending in a line break, so that a part
# without replacement deletes lines.
ids=() mistakes=()
part_faults=() part_files=() originals=() replacements=()
lineno=0 n=-1 p=-1
while IFS= read -r line || [[ -n "$line" ]]; do
  ((++lineno))
  where="$fault_file:$lineno"
  case "$line" in
  '' | '#'*) continue ;;
  'id: '*)
    n=${#ids[@]} p=-1
    ids+=("${line#id: }") mistakes+=("")
    [[ "${ids[n]}" =~ ^[A-Za-z0-9-]+$ ]] || fail "$where: bad id" ;;
  *) ((n >= 0)) || fail "$where: expected 'id: ' first" ;;&
  'file: '*)
    p=${#part_files[@]}
    part_faults+=("$n") part_files+=("${line#file: }") originals+=("") replacements+=("") ;;
  'mistake: '*) mistakes[n]="${line#mistake: }" ;;
  -*) ((p >= 0 && part_faults[p] == n)) || fail "$where: original line before 'file: '"
    [[ -z "${replacements[p]}" ]] || fail "$where: original line after a replacement"
    originals[p]+="${line:1}"$'\n' ;;
  +*) ((p >= 0 && part_faults[p] == n)) || fail "$where: replacement line before 'file: '"
    replacements[p]+="${line:1}"$'\n' ;;
  *) fail "$where: cannot read: $line" ;;
  esac
done <"$fault_file"
# The parts of fault $1, as indices into the part arrays.
parts_of() {
  local q
  for q in "${!part_faults[@]}"; do ((part_faults[q] == $1)) && echo "$q"; done
}
for i in "${!ids[@]}"; do
  [[ -n "${mistakes[i]}" && -n "$(parts_of "$i")" ]] || fail "fault ${ids[i]} needs a mistake and a file"
  for q in $(parts_of "$i"); do
    [[ -n "${originals[q]}" ]] || fail "fault ${ids[i]}: no original lines for ${part_files[q]}"
  done
  for ((j = 0; j < i; ++j)); do [[ "${ids[j]}" != "${ids[i]}" ]] || fail "fault ${ids[i]} is listed twice"; done
done

chosen=()
if ((${#selected[@]} == 0)); then
  chosen=("${!ids[@]}")
fi
for id in "${selected[@]}"; do
  for i in "${!ids[@]}"; do [[ "${ids[i]}" == "$id" ]] && chosen+=("$i") && continue 2; done
  fail "no fault named $id in $fault_file"
done

# The user's tree and its build stay untouched: everything happens in a copy
# with a build directory of its own, reused from fault to fault.
scratch="$(mktemp -d "${TMPDIR:-/tmp}/vexo-mutate.XXXXXX")"
tree="$scratch/tree"
finish() { if $keep; then say "scratch copy and logs kept in $scratch"; else rm -rf "$scratch"; fi; }
trap finish EXIT
# A test command that handles the interrupt itself would otherwise read as a
# caught fault and the run would go on.
trap 'exit 130' INT TERM
mkdir -p "$tree" "$scratch/logs"
say "copying the working tree to $tree"
(cd "$root" && copy_working_tree "$tree") || fail "cannot copy the working tree"

# Every preset this host can configure: a fault must build in each.
mapfile -t presets < <(cd "$tree" && cmake --list-presets | sed -n 's/^ *"\([^"]*\)".*/\1/p')
((${#presets[@]})) || fail "no configure presets found"

build_all() { # log file
  local preset
  for preset in "${presets[@]}"; do
    (cd "$tree" && cmake --preset "$preset" && cmake --build --preset "$preset" --parallel "$(nproc)") \
      >>"$1" 2>&1 || return 1
  done
}

# Exact text replacement in every file of the fault; refuses text that is
# missing or not unique, and then changes nothing.
planted=() refusal=""
plant() { # fault index; on refusal says why in $refusal
  local q path content after contents=()
  for q in $(parts_of "$1"); do
    path="$tree/${part_files[q]}"
    [[ -f "$path" ]] || { refusal="no file ${part_files[q]}"; return 1; }
    IFS= read -r -d '' content <"$path" || true
    [[ "$content" == *"${originals[q]}"* ]] || { refusal="original text not found in ${part_files[q]}"; return 1; }
    after="${content#*"${originals[q]}"}"
    [[ "$after" != *"${originals[q]}"* ]] || { refusal="original text found more than once in ${part_files[q]}"; return 1; }
    contents+=("${content%%"${originals[q]}"*}${replacements[q]}$after")
  done
  local k=0
  for q in $(parts_of "$1"); do
    cp "$tree/${part_files[q]}" "$scratch/pristine.$q"
    printf '%s' "${contents[k++]}" >"$tree/${part_files[q]}"
    planted+=("$q")
  done
}
# Rewritten rather than moved back, so their modification times are new and
# the next build recompiles them.
restore() {
  local q
  for q in "${planted[@]}"; do cat "$scratch/pristine.$q" >"$tree/${part_files[q]}"; done
  planted=()
}

# ctest names each failed test in a block under this heading; the test
# command may run ctest more than once.
failed_tests() { # log file
  awk '/^The following tests FAILED:/ { block = 1; next }
       block && /^[ \t]+[0-9]+ - / { sub(/^[ \t]+[0-9]+ - /, ""); sub(/ \(Failed\)$/, ""); print; next }
       { block = 0 }' "$1" | sort -u | paste -sd ',' | sed 's/,/, /g'
}

# A fault is caught by its first failing test: each ctest run stops there.
run_tests() { # log file
  (cd "$tree" && "${test_command[@]}" --stop-on-failure "${test_args[@]}") >>"$1" 2>&1
}

# The tests must pass on the tree as it is, or no fault's result means anything.
say "building the copy as it is (presets: ${presets[*]})"
build_all "$scratch/logs/clean.log" || { tail -n 30 "$scratch/logs/clean.log" >&2; fail "the copy does not build as it is"; }
if ! $build_only; then
  say "running the tests on the copy as it is"
  run_tests "$scratch/logs/clean.log" ||
    fail "the tests fail without any fault: $(failed_tests "$scratch/logs/clean.log")"
fi

rows=() caught=0 measured=0 built=0 count=0 run_start=$SECONDS
for i in "${chosen[@]}"; do
  ((++count))
  id="${ids[i]}" log="$scratch/logs/${ids[i]}.log" tests="" start=$SECONDS
  say "[$count/${#chosen[@]}] $id: ${mistakes[i]}"
  if ! plant "$i"; then
    result=INVALID tests="$refusal"
  elif ! build_all "$log"; then
    result=BROKEN tests="does not build"
    grep -m 5 -E 'error|Error' "$log" >&2 || true
  elif $build_only; then
    result=BUILT built=$((built + 1))
  elif run_tests "$log"; then
    result=MISSED measured=$((measured + 1))
  else
    result=CAUGHT measured=$((measured + 1)) caught=$((caught + 1))
    tests="$(failed_tests "$log")"
    if [[ -z "$tests" ]]; then
      tests="no test named"
      tail -n 15 "$log" >&2
    fi
  fi
  restore
  seconds=$((SECONDS - start))
  say "$id: $result in ${seconds} s${tests:+ ($tests)}"
  rows+=("| $id | ${mistakes[i]//|/\\|} | $result | ${tests//|/\\|} | $seconds |")
done

say "faults took $(((SECONDS - run_start + 30) / 60)) min"
echo "| fault | mistake | result | failing tests | seconds |"
echo "|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
echo
if $build_only; then
  echo "built $built of ${#chosen[@]}"
else
  echo "caught $caught of $measured"
  ((measured == ${#chosen[@]})) || echo "$((${#chosen[@]} - measured)) not measured: they could not be planted or built"
fi
