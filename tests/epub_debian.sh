#!/usr/bin/env bash
# liang --epub on the EPUBs that Debian ships (live-manual-epub,
# ubuntu-packaging-guide-epub-*), outside CI: for each book, the content
# documents that gained hyphens, epubcheck's summary before and after, and
# the time liang took. Install the books and epubcheck first:
#   apt-get install epubcheck live-manual-epub 'ubuntu-packaging-guide-epub*'
# usage: tests/epub_debian.sh LIANG [BOOK...]   (default: every EPUB under /usr/share/doc)
set -uo pipefail
liang=$1
shift
jar=${EPUBCHECK_JAR:-/usr/share/java/epubcheck.jar}
if (($#)); then books=("$@"); else mapfile -t books < <(find /usr/share/doc -name '*.epub' | sort); fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
summary() { java -jar "$jar" "$1" 2>&1 | grep -E '^Messages:' | sed 's/^Messages: //'; }
total_documents=0
for book in "${books[@]}"; do
  out="$work/out.epub"
  start=$(date +%s.%N)
  "$liang" --epub "$book" "$out" 2>"$work/notes"
  status=$?
  seconds=$(echo "$(date +%s.%N) - $start" | bc)
  if ((status)); then
    printf '%s: status %d: %s\n' "$book" "$status" "$(cat "$work/notes")"
    continue
  fi
  # Content documents that gained hyphens: entries whose contents changed.
  changed=$(python3 -c '
import sys, zipfile
a, b = (zipfile.ZipFile(p) for p in sys.argv[1:])
crc = {i.filename: i.CRC for i in a.infolist()}
print(sum(crc.get(i.filename) != i.CRC for i in b.infolist()))' "$book" "$out")
  total_documents=$((total_documents + changed))
  before=$(summary "$book")
  after=$(summary "$out")
  printf '%s: %d documents hyphenated in %.2f s; epubcheck before: %s; after: %s\n' \
    "$book" "$changed" "$seconds" "$before" "$after"
done
echo "books: ${#books[@]}, documents hyphenated: $total_documents"
