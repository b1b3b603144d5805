#!/usr/bin/env bash
# Prints the share of the tests in the code, counting the lines that are
# neither blank nor only a comment, of tests/ against all code: src/, tests/,
# bench/, scripts/, cmake/ and the CMake files. A figure to keep in view,
# not a check.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# Files in the repository, committed or not (ignored ones aside), that are text.
files() {
  git ls-files -co --exclude-standard -- src tests bench scripts cmake CMakeLists.txt '**/CMakeLists.txt' |
    sort -u | while read -r file; do
      [[ -f "$file" ]] && grep -Iq . "$file" && echo "$file"
    done
}

# Lines of code of each file named on standard input, as "count path".
count() {
  while read -r file; do
    case "$file" in
    *.cpp | *.h | *.rc | *.in) style=c ;;
    *.manifest | *.xml) style=xml ;;
    *) style=hash ;;
    esac
    awk -v style="$style" -v file="$file" '
      {
        line = $0
        gsub(/^[ \t\r]+|[ \t\r]+$/, "", line)
        if (open) {
          if (index(line, close_mark)) {
            open = 0
            line = substr(line, index(line, close_mark) + length(close_mark))
            gsub(/^[ \t]+/, "", line)
          } else next
        }
        if (line == "") next
        if (style == "c" && line ~ /^\/\//) next
        if (style == "c" && line ~ /^\/\*/) { if (!index(line, "*/")) { open = 1; close_mark = "*/" }; if (line !~ /\*\/.+/) next }
        if (style == "xml" && line ~ /^<!--/) { if (!index(line, "-->")) { open = 1; close_mark = "-->" }; next }
        if (style == "hash" && line ~ /^#/) next
        code++
      }
      END { print code + 0, file }' "$file"
  done
}

counts="$(files | count)"
tests="$(awk '$2 ~ /^tests\// { n += $1 } END { print n + 0 }' <<<"$counts")"
all="$(awk '{ n += $1 } END { print n + 0 }' <<<"$counts")"
echo "tests: $tests of $all lines of code ($(awk -v t="$tests" -v a="$all" 'BEGIN { printf "%.1f", a ? 100 * t / a : 0 }') %)"
