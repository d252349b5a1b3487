/* A C program that uses liang the way an outside project does: through
   <liang/liang.h> and the liang::liang target (or pkg-config's flags). The
   README's "Using it from C" shows it. */
#include <liang/liang.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(void) {
  const liang_hyphenator* german = liang_language("de-CH");
  const char* word = "Silbentrennung";
  const char* text = "Hyphenation is tricky.";
  size_t points[8];
  ptrdiff_t count, length, i;
  char* hyphenated;

  if (german == NULL) {
    fprintf(stderr, "%s\n", liang_last_error());
    return 1;
  }
  /* Byte offsets where a hyphen may go: 3 6 10 */
  count = liang_points(german, word, strlen(word), points, 8);
  if (count < 0 || count > 8) return 1;
  for (i = 0; i < count; ++i) printf("%zu ", points[i]);
  printf("\n");

  /* Running text, snprintf-style: ask for the length, then fill. */
  length = liang_insert_hyphens(liang_language("en-US"), text, strlen(text), "-", NULL, 0);
  if (length < 0) return 1;
  hyphenated = malloc((size_t)length + 1);
  if (hyphenated == NULL) return 1;
  liang_insert_hyphens(liang_language("en-US"), text, strlen(text), "-", hyphenated,
                       (size_t)length + 1);
  printf("%s\n", hyphenated); /* Hy-phen-ation is tricky. */
  free(hyphenated);
  return 0;
}
