#!/usr/bin/env bash
# liang --epub on the test books (made by epub_test in BOOKS): epubcheck says
# the same of each book after as before, a second run gives the same bytes,
# standard input and output give what files give, and the failures exit 2
# with one line and leave nothing behind. Without java or epubcheck's jar,
# all but epubcheck runs, and the test counts as skipped.
# usage: epubcheck.sh LIANG BOOKS  (EPUBCHECK_JAR: the jar, else Debian's)
set -euo pipefail
liang=$1
books=$(cd "$2" && pwd)
jar=${EPUBCHECK_JAR:-/usr/share/java/epubcheck.jar}
have_epubcheck=1
if ! command -v java >/dev/null || [[ ! -f $jar ]]; then
  echo "epubcheck not run: it needs java and $jar (Debian's epubcheck)"
  have_epubcheck=0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "FAILED: $*"
  failed=1
}

# epubcheck's messages on a book, without the book's path (which it may
# shorten), sorted.
messages() {
  java -jar "$jar" "$1" 2>&1 | grep -E '^(FATAL|ERROR|WARNING|INFO|USAGE)' |
    sed -E 's#[^ ]*\.epub##g' | sort || true
}

for book in "$books"/book3.epub "$books"/book2.epub; do
  name=$(basename "$book" .epub)
  [[ -f $book ]] || { fail "$book is missing"; continue; }
  "$liang" --epub "$book" "$work/$name.epub" 2>"$work/$name.notes"
  grep -q "font.otf' is encrypted" "$work/$name.notes" || fail "$name: no note of the encrypted font"
  if ((have_epubcheck)); then
    before=$(messages "$book")
    after=$(messages "$work/$name.epub")
    echo "$name: epubcheck before: ${before:-(nothing)}"
    echo "$name: epubcheck after:  ${after:-(nothing)}"
    [[ $before == "$after" ]] || fail "$name: epubcheck says something else after"
  fi
  "$liang" --epub "$work/$name.epub" "$work/$name-again.epub" 2>/dev/null
  cmp -s "$work/$name.epub" "$work/$name-again.epub" || fail "$name: a second run changed the book"
  "$liang" --epub - - <"$book" >"$work/$name-piped.epub" 2>/dev/null
  cmp -s "$work/$name.epub" "$work/$name-piped.epub" || fail "$name: standard input and output differ"
  cp "$book" "$work/$name-same.epub"
  "$liang" --epub "$work/$name-same.epub" "$work/$name-same.epub" 2>/dev/null
  cmp -s "$work/$name.epub" "$work/$name-same.epub" || fail "$name: in place differs"
done

# Failures: status 2, one line on standard error, no output left.
expect_failure() {
  local what=$1 input=$2
  local status=0
  "$liang" --epub "$input" "$work/out.epub" 2>"$work/error" || status=$?
  [[ $status == 2 ]] || fail "$what: status $status, not 2"
  [[ $(wc -l <"$work/error") == 1 ]] || fail "$what: not one line: $(cat "$work/error")"
  grep -q "$3" "$work/error" || fail "$what: '$(cat "$work/error")' does not say '$3'"
  [[ ! -e $work/out.epub ]] || fail "$what: output left behind"
  echo "$what: $(cat "$work/error")"
}
printf 'not a book' >"$work/text.epub"
expect_failure "not a zip" "$work/text.epub" "not a zip archive"
(cd "$work" && mkdir -p empty && printf x >empty/x && cd empty && zip -q ../nocontainer.epub x)
expect_failure "no container" "$work/nocontainer.epub" "no META-INF/container.xml"
cp "$books/book3.epub" "$work/nopackage.epub"
zip -qd "$work/nopackage.epub" EPUB/package.opf
expect_failure "no package document" "$work/nopackage.epub" "package document 'EPUB/package.opf'"
# Usage errors: status 2 and one line.
for args in "--epub $books/book3.epub" "--epub --patterns /dev/null $books/book3.epub $work/out.epub" \
  "--epub -l klingon $books/book3.epub $work/out.epub"; do
  status=0
  # shellcheck disable=SC2086
  "$liang" $args 2>"$work/error" || status=$?
  [[ $status == 2 && $(wc -l <"$work/error") == 1 ]] || fail "liang $args: status $status, $(cat "$work/error")"
  [[ ! -e $work/out.epub ]] || fail "liang $args: output left behind"
done
mkdir "$work/book3" && (cd "$work/book3" && unzip -q "$books/book3.epub" &&
  zip -X0q ../password.epub mimetype && zip -Xrq ../password.epub META-INF EPUB -x EPUB/cover.png &&
  zip -Xq -P secret ../password.epub EPUB/cover.png) && rm -r "$work/book3"
expect_failure "zip password" "$work/password.epub" "protected by a zip password"
ls -A "$work" | grep -q '^\.' && fail "a temporary file was left: $(ls -A "$work")"

if ((failed)); then exit 1; fi
if ((!have_epubcheck)); then exit 77; fi
echo "epubcheck: every check passed"
