#!/usr/bin/env bash
# Runs clang-tidy, as .clang-tidy configures it, over every .cpp file of src/
# with the compile commands of a clang build, one process per core, and
# fails on any finding, naming the file, the line and the check:
#   clang-tidy.sh CLANG_TIDY SOURCE_DIR BUILD_DIR
set -euo pipefail
tidy="$1" source_dir="$2" build_dir="$3"
database="$build_dir/compile_commands.json"
[[ -f "$database" ]] || { echo "no $database: configure the build with CMAKE_EXPORT_COMPILE_COMMANDS" >&2; exit 1; }

mapfile -t files < <(find "$source_dir/src" -name '*.cpp' | sort)
# A file no build compiles would be read with guessed options, or not at all.
missing=()
for file in "${files[@]}"; do
  grep -Fq "\"file\": \"$file\"" "$database" || missing+=("${file#"$source_dir"/}")
done
if ((${#missing[@]} > 0)); then
  echo "not compiled by the build in $build_dir, so not read: ${missing[*]}" >&2
  exit 1
fi

logs="$(mktemp -d "${TMPDIR:-/tmp}/vexo-tidy.XXXXXX")"
trap 'rm -rf "$logs"' EXIT
# Each file's findings in a file of its own, so that parallel runs do not mix.
printf '%s\0' "${files[@]}" | xargs -0 -P "$(nproc 2>/dev/null || echo 2)" -I{} sh -c \
  'log="$4/$(printf %s "$3" | tr / _)"; "$1" -p "$2" --quiet "$3" >"$log.out" 2>"$log.err" || touch "$log.failed"' \
  _ "$tidy" "$build_dir" {} "$logs" || true

failed=0
for file in "${files[@]}"; do
  log="$logs/$(printf %s "$file" | tr / _)"
  cat "$log.out"
  if [[ -e "$log.failed" ]]; then
    failed=$((failed + 1))
    # clang-tidy's own complaints (a file it could not read) come on stderr.
    grep -v -e '^[0-9]* warnings\? \(and [0-9]* errors\? \)\?generated' -e '^Suppressed' -e '^Use -header-filter' \
      -e '^Error while processing' "$log.err" >&2 || true
  fi
done

# The findings once more, one line each: file, line and check.
findings="$(cat "$logs"/*.out | sed -n 's|^'"$source_dir"'/\([^:]*\):\([0-9]*\):[0-9]*: [a-z]*: .*\[\([^],]*\).*\]$|\1:\2 \3|p' | sort -u)"
if [[ -n "$findings" ]]; then
  echo "clang-tidy: $(wc -l <<<"$findings") findings in src/:"
  echo "$findings"
  exit 1
fi
if ((failed > 0)); then
  echo "clang-tidy: failed on $failed files, see above"
  exit 1
fi
echo "clang-tidy: no finding in the ${#files[@]} files of src/"
