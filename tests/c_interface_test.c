/* The C interface as a C program uses it: compiled as C99 with every warning
 * an error, so liang.h is checked to be plain C as much as the functions are
 * checked to work. Each group prints what failed; the exit status is the
 * number of failed checks (0: all passed).
 *
 * The group that races threads through first use runs first, before any
 * other call has built a shared hyphenator. With the argument "threads" it
 * runs alone (the ThreadSanitizer build runs it so). */
#define _POSIX_C_SOURCE 200809L

#include <liang/liang.h>

#include <pthread.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

static int failures = 0;

#define CHECK(condition)                                                      \
  do {                                                                        \
    if (!(condition)) {                                                       \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                             \
    }                                                                         \
  } while (0)

/* The last error is `expected`, exactly. */
#define CHECK_ERROR(expected)                                                            \
  do {                                                                                   \
    if (strcmp(liang_last_error(), (expected)) != 0) {                                   \
      fprintf(stderr, "%s:%d: last error \"%s\", expected \"%s\"\n", __FILE__, __LINE__, \
              liang_last_error(), (expected));                                           \
      ++failures;                                                                        \
    }                                                                                    \
  } while (0)

/* The points of `word` equal the `count` values of `expected`. */
static int points_are(const liang_hyphenator* h, const char* word, const size_t* expected,
                      size_t count) {
  size_t points[32];
  size_t i;
  const ptrdiff_t found = liang_points(h, word, strlen(word), points, 32);
  if (found != (ptrdiff_t)count) return 0;
  for (i = 0; i < count; ++i) {
    if (points[i] != expected[i]) return 0;
  }
  return 1;
}

/* ---- threads racing the first use of the shared hyphenators ---- */

enum { kThreads = 8, kNamed = 4 };
static const char* const kNames[kNamed] = {"en-US", "German_1996", "fr_FR.UTF-8", "nl"};
static const char* const kWords[kNamed] = {"hyphenation", "Silbentrennung", "anticonstitutionnel",
                                           "woordafbreking"};

struct race {
  pthread_barrier_t* start;
  pthread_barrier_t* failed;
  int index;
  const liang_hyphenator* handles[kNamed];
  ptrdiff_t counts[kNamed];
  size_t points[kNamed][16];
  int error_was_empty;
  int error_was_own;
};

static void* race_first_use(void* argument) {
  struct race* r = (struct race*)argument;
  char unknown[32];
  int k;
  r->error_was_empty = strcmp(liang_last_error(), "") == 0;
  pthread_barrier_wait(r->start);
  for (k = 0; k < kNamed; ++k) {
    /* Each thread starts at another language, so that first uses collide
       on every one of them. */
    const int n = (k + r->index) % kNamed;
    r->handles[n] = liang_language(kNames[n]);
    r->counts[n] = liang_points(r->handles[n], kWords[n], strlen(kWords[n]), r->points[n], 16);
  }
  /* Every thread fails at once; each must read its own message back. */
  sprintf(unknown, "nowhere-%d", r->index);
  (void)liang_language(unknown);
  pthread_barrier_wait(r->failed);
  {
    char expected[96];
    sprintf(expected, "liang_language: no language is named \"%s\"", unknown);
    r->error_was_own = strcmp(liang_last_error(), expected) == 0;
  }
  return NULL;
}

static void test_threads_race_first_use(void) {
  pthread_t threads[kThreads];
  struct race races[kThreads];
  pthread_barrier_t start, failed;
  int t, k;
  CHECK(pthread_barrier_init(&start, NULL, kThreads) == 0);
  CHECK(pthread_barrier_init(&failed, NULL, kThreads) == 0);
  for (t = 0; t < kThreads; ++t) {
    memset(&races[t], 0, sizeof races[t]);
    races[t].start = &start;
    races[t].failed = &failed;
    races[t].index = t;
    CHECK(pthread_create(&threads[t], NULL, race_first_use, &races[t]) == 0);
  }
  for (t = 0; t < kThreads; ++t) CHECK(pthread_join(threads[t], NULL) == 0);
  pthread_barrier_destroy(&start);
  pthread_barrier_destroy(&failed);

  /* Every thread saw the same handles and the same points as one thread
     alone sees now. */
  for (k = 0; k < kNamed; ++k) {
    size_t alone[16];
    const ptrdiff_t count =
        liang_points(liang_language(kNames[k]), kWords[k], strlen(kWords[k]), alone, 16);
    CHECK(count > 0 && count <= 16);
    for (t = 0; t < kThreads; ++t) {
      CHECK(races[t].handles[k] != NULL && races[t].handles[k] == liang_language(kNames[k]));
      CHECK(races[t].counts[k] == count);
      CHECK(count > 0 && memcmp(races[t].points[k], alone, (size_t)count * sizeof alone[0]) == 0);
    }
  }
  for (t = 0; t < kThreads; ++t) {
    CHECK(races[t].error_was_empty);
    CHECK(races[t].error_was_own);
  }
}

/* ---- shared hyphenators ---- */

static void test_shared_hyphenators(void) {
  const liang_hyphenator* english = liang_language("en-US");
  const liang_hyphenator* german = liang_language("de-1996");
  static const size_t hyphenation[] = {2, 6};
  static const size_t silbentrennung[] = {3, 6, 10};
  /* "Über-set-zung": offsets in bytes, and Ü takes two. */
  static const size_t uebersetzung[] = {5, 8};
  CHECK(english != NULL && german != NULL && english != german);
  /* Every way of naming a language gives the one handle. */
  CHECK(liang_language("English_US") == english);
  CHECK(liang_language("english_us") == english);
  CHECK(liang_language("en_US.UTF-8") == english);
  CHECK(liang_language("en-us") == english);
  CHECK(liang_language("German_1996") == german);

  CHECK(points_are(english, "hyphenation", hyphenation, 2));
  CHECK(points_are(german, "Silbentrennung", silbentrennung, 3));
  CHECK(points_are(german,
                   "\xC3\x9C"
                   "bersetzung",
                   uebersetzung, 2));
  CHECK(points_are(english, "", NULL, 0));
  /* The length is the word: no NUL is needed, and none is looked for. */
  {
    size_t points[4];
    CHECK(liang_points(english, "hyphenationXXXX", 11, points, 4) == 2);
    CHECK(points[0] == 2 && points[1] == 6);
  }
  /* A shared hyphenator given to liang_free stays as it was. */
  liang_free((liang_hyphenator*)english);
  CHECK(liang_language("en-US") == english);
  CHECK(points_are(english, "hyphenation", hyphenation, 2));
  liang_free(NULL);
}

/* ---- more breaks than room ---- */

static void test_points_need_more_room(void) {
  const liang_hyphenator* german = liang_language("de-1996");
  const char* word = "Silbentrennung";
  size_t points[3] = {99, 99, 99};
  ptrdiff_t count;
  /* No room at all: only the count, and out may be NULL. */
  CHECK(liang_points(german, word, strlen(word), NULL, 0) == 3);
  /* Room for one: the first is written, nothing past it. */
  count = liang_points(german, word, strlen(word), points, 1);
  CHECK(count == 3);
  CHECK(points[0] == 3 && points[1] == 99 && points[2] == 99);
  /* Called again with room for the count: all of them. */
  CHECK(liang_points(german, word, strlen(word), points, (size_t)count) == 3);
  CHECK(points[0] == 3 && points[1] == 6 && points[2] == 10);
}

/* ---- the snprintf convention ---- */

static void test_snprintf_convention(void) {
  const liang_hyphenator* english = liang_language("en-US");
  const char* text = "hyphenation";
  const char* hyphenated = "hy-phen-ation";
  const size_t whole = strlen(hyphenated);
  char out[32];

  /* Capacity 0: nothing written (out may be NULL), the length returned. */
  CHECK(liang_insert_hyphens(english, text, strlen(text), "-", NULL, 0) == (ptrdiff_t)whole);
  memset(out, '#', sizeof out);
  CHECK(liang_insert_hyphens(english, text, strlen(text), "-", out, 0) == (ptrdiff_t)whole);
  CHECK(out[0] == '#');
  /* Capacity 1: only the NUL. */
  memset(out, '#', sizeof out);
  CHECK(liang_insert_hyphens(english, text, strlen(text), "-", out, 1) == (ptrdiff_t)whole);
  CHECK(out[0] == '\0' && out[1] == '#');
  /* One byte short: all but the last byte, then the NUL. */
  memset(out, '#', sizeof out);
  CHECK(liang_insert_hyphens(english, text, strlen(text), "-", out, whole) == (ptrdiff_t)whole);
  CHECK(strncmp(out, hyphenated, whole - 1) == 0 && out[whole - 1] == '\0' && out[whole] == '#');
  /* Exact: the whole result and its NUL, not a byte more. */
  memset(out, '#', sizeof out);
  CHECK(liang_insert_hyphens(english, text, strlen(text), "-", out, whole + 1) == (ptrdiff_t)whole);
  CHECK(strcmp(out, hyphenated) == 0 && out[whole + 1] == '#');

  /* NULL: the soft hyphen U+00AD. */
  CHECK(liang_insert_hyphens(english, text, strlen(text), NULL, out, sizeof out) == 15);
  CHECK(strcmp(out,
               "hy\xC2\xADphen\xC2\xAD"
               "ation") == 0);
  /* Running text: what is no word passes through. */
  CHECK(liang_insert_hyphens(english, "(hyphenation!)", 14, "=", out, sizeof out) == 16);
  CHECK(strcmp(out, "(hy=phen=ation!)") == 0);

  /* liang_hyphenate: one word, its pieces joined, the same convention. */
  CHECK(liang_hyphenate(english, text, strlen(text), "-", NULL, 0) == (ptrdiff_t)whole);
  memset(out, '#', sizeof out);
  CHECK(liang_hyphenate(english, text, strlen(text), "-", out, 1) == (ptrdiff_t)whole);
  CHECK(out[0] == '\0' && out[1] == '#');
  CHECK(liang_hyphenate(english, text, strlen(text), "-", out, whole + 1) == (ptrdiff_t)whole);
  CHECK(strcmp(out, hyphenated) == 0);
  CHECK(liang_hyphenate(english, text, strlen(text), NULL, out, sizeof out) == 15);
  CHECK(strcmp(out,
               "hy\xC2\xADphen\xC2\xAD"
               "ation") == 0);
  CHECK(liang_hyphenate(english, "", 0, "-", out, sizeof out) == 0 && out[0] == '\0');
}

/* ---- hyphenators of one's own ---- */

static void test_own_hyphenators(void) {
  /* Patterns: a break between a and b. Exceptions: "abab" breaks in the
     middle only. */
  const char* patterns = "a1b\n";
  const char* exceptions = "ab-ab\n";
  static const size_t everywhere[] = {1, 3};
  static const size_t middle[] = {2};
  static const size_t last[] = {3};
  liang_hyphenator* plain = liang_new(patterns, strlen(patterns), "", 0, NULL, 1, 1);
  liang_hyphenator* listed =
      liang_new(patterns, strlen(patterns), exceptions, strlen(exceptions), NULL, 1, 1);
  /* Folding as English does: capitals become small letters. */
  liang_hyphenator* folding = liang_new(patterns, strlen(patterns), exceptions, strlen(exceptions),
                                        liang_language("en-US"), 1, 1);
  liang_hyphenator* wider;
  CHECK(plain != NULL && listed != NULL && folding != NULL);

  CHECK(points_are(plain, "abab", everywhere, 2));
  CHECK(points_are(listed, "abab", middle, 1));
  CHECK(points_are(listed, "ABAB", NULL, 0)); /* no fold: capitals match nothing */
  CHECK(points_are(folding, "ABAB", middle, 1));

  /* Other minima share everything else and outlive their source. */
  wider = liang_with_minima(plain, 2, 1);
  CHECK(wider != NULL);
  liang_free(plain);
  CHECK(points_are(wider, "abab", last, 1));
  liang_free(wider);
  {
    liang_hyphenator* english_wide = liang_with_minima(liang_language("en-US"), 1, 1);
    static const size_t hyphenation[] = {2, 6};
    CHECK(english_wide != NULL);
    CHECK(points_are(english_wide, "hyphenation", hyphenation, 2));
    liang_free(english_wide);
  }

  /* No patterns at all: no breaks, and no failure. */
  {
    liang_hyphenator* empty = liang_new("", 0, "", 0, NULL, 1, 1);
    CHECK(empty != NULL && points_are(empty, "abab", NULL, 0));
    liang_free(empty);
  }
  liang_free(listed);
  liang_free(folding);
}

/* ---- running-text options and the stream ---- */

static void test_text_options_and_stream(void) {
  const liang_hyphenator* english = liang_language("en-US");
  const char* text = "Hyphenation is tricky, hyphenation is everywhere.\n";
  const size_t length = strlen(text);
  liang_text_options options;
  char expected[128], got[128];
  ptrdiff_t expected_length;

  liang_text_options_init(&options);
  CHECK(options.hyphen == NULL && options.markup == 0 && options.min_word_length == 0);
  CHECK(options.left_min == 0 && options.right_min == 0);
  CHECK(options.capitalized == 1 && options.all_caps == 1 && options.mixed_case == 0);

  /* Default options, or none at all: liang_insert_hyphens with U+00AD. */
  expected_length = liang_insert_hyphens(english, text, length, NULL, expected, sizeof expected);
  CHECK(expected_length > (ptrdiff_t)length && expected_length < (ptrdiff_t)sizeof expected);
  CHECK(liang_insert_hyphens_with(english, text, length, &options, got, sizeof got) ==
        expected_length);
  CHECK(strcmp(got, expected) == 0);
  CHECK(liang_insert_hyphens_with(english, text, length, NULL, got, sizeof got) == expected_length);
  CHECK(strcmp(got, expected) == 0);

  /* The hyphen option reaches the text. */
  options.hyphen = "-";
  expected_length = liang_insert_hyphens(english, text, length, "-", expected, sizeof expected);
  CHECK(liang_insert_hyphens_with(english, text, length, &options, got, 0) == expected_length);
  CHECK(liang_insert_hyphens_with(english, text, length, &options, got, sizeof got) ==
        expected_length);
  CHECK(strcmp(got, expected) == 0);

  /* The stream: chunks of 1 to 7 bytes in, reads of 1 to 5 bytes out, and
     twice, since a finished stream takes a new text. */
  {
    liang_text_stream* stream = liang_text_stream_new(english, &options);
    int round;
    CHECK(stream != NULL);
    options.hyphen = "this must not matter: the stream copied the options";
    for (round = 0; round < 2 && stream != NULL; ++round) {
      size_t fed = 0, step = 0, received = 0;
      ptrdiff_t ready;
      while (fed < length) {
        size_t chunk = 1 + (step * 3 + (size_t)round) % 7;
        if (chunk > length - fed) chunk = length - fed;
        ready = liang_text_stream_feed(stream, text + fed, chunk);
        CHECK(ready >= 0);
        fed += chunk;
        ++step;
        /* Read part of what is ready, so that output is left over. */
        if (ready > 0) {
          const ptrdiff_t moved = liang_text_stream_read(stream, got + received, 1 + step % 5);
          CHECK(moved > 0 && moved <= ready);
          received += (size_t)(moved > 0 ? moved : 0);
        }
      }
      ready = liang_text_stream_finish(stream);
      CHECK(ready >= 0 && received + (size_t)ready == (size_t)expected_length);
      while (received < (size_t)expected_length) {
        const ptrdiff_t moved = liang_text_stream_read(stream, got + received, 4);
        CHECK(moved > 0);
        if (moved <= 0) break;
        received += (size_t)moved;
      }
      CHECK(liang_text_stream_read(stream, got, sizeof got) == 0);
      CHECK(received == (size_t)expected_length && memcmp(got, expected, received) == 0);
    }
    liang_text_stream_free(stream);
    liang_text_stream_free(NULL);
  }
}

/* ---- every failure, with its message ---- */

/* liang_prepare builds ahead of time and changes no answer: on a shared
   hyphenator (again after it is prepared), on one of the caller's own. */
static void test_prepare(void) {
  static const size_t hyphenation[] = {2, 6};
  const char* patterns = "a1b\n";
  static const size_t everywhere[] = {1, 3};
  const liang_hyphenator* english = liang_language("en-US");
  liang_hyphenator* own = liang_new(patterns, strlen(patterns), "", 0, NULL, 1, 1);
  CHECK(liang_prepare(english) == 0);
  CHECK(liang_prepare(english) == 0);
  CHECK(points_are(english, "hyphenation", hyphenation, 2));
  CHECK(own != NULL && liang_prepare(own) == 0);
  CHECK(points_are(own, "abab", everywhere, 2));
  liang_free(own);
  CHECK(liang_prepare(NULL) == -1);
  CHECK_ERROR("liang_prepare: the hyphenator is NULL");
}

static void test_failures(void) {
  const liang_hyphenator* english = liang_language("en-US");
  liang_text_stream* stream = liang_text_stream_new(english, NULL);
  size_t points[4];
  char out[16];

  CHECK(liang_language(NULL) == NULL);
  CHECK_ERROR("liang_language: the name is NULL");
  CHECK(liang_language("tlh") == NULL);
  CHECK_ERROR("liang_language: no language is named \"tlh\"");
  CHECK(liang_language("") == NULL);
  CHECK_ERROR("liang_language: no language is named \"\"");

  CHECK(liang_new(NULL, 1, "", 0, NULL, 1, 1) == NULL);
  CHECK_ERROR("liang_new: the patterns are NULL but their length is not 0");
  CHECK(liang_new("", 0, NULL, 2, NULL, 1, 1) == NULL);
  CHECK_ERROR("liang_new: the exceptions are NULL but their length is not 0");
  CHECK(liang_with_minima(NULL, 1, 1) == NULL);
  CHECK_ERROR("liang_with_minima: the hyphenator is NULL");

  CHECK(liang_points(NULL, "word", 4, points, 4) == -1);
  CHECK_ERROR("liang_points: the hyphenator is NULL");
  CHECK(liang_points(english, NULL, 1, points, 4) == -1);
  CHECK_ERROR("liang_points: the word is NULL but its length is not 0");
  CHECK(liang_points(english, "word", 4, NULL, 1) == -1);
  CHECK_ERROR("liang_points: out is NULL but capacity is not 0");

  CHECK(liang_hyphenate(NULL, "word", 4, "-", out, sizeof out) == -1);
  CHECK_ERROR("liang_hyphenate: the hyphenator is NULL");
  CHECK(liang_hyphenate(english, NULL, 3, "-", out, sizeof out) == -1);
  CHECK_ERROR("liang_hyphenate: the word is NULL but its length is not 0");
  CHECK(liang_hyphenate(english, "word", 4, "-", NULL, 1) == -1);
  CHECK_ERROR("liang_hyphenate: out is NULL but capacity is not 0");

  CHECK(liang_insert_hyphens(NULL, "text", 4, "-", out, sizeof out) == -1);
  CHECK_ERROR("liang_insert_hyphens: the hyphenator is NULL");
  CHECK(liang_insert_hyphens(english, NULL, 4, "-", out, sizeof out) == -1);
  CHECK_ERROR("liang_insert_hyphens: the text is NULL but its length is not 0");
  CHECK(liang_insert_hyphens(english, "text", 4, "-", NULL, 1) == -1);
  CHECK_ERROR("liang_insert_hyphens: out is NULL but capacity is not 0");

  CHECK(liang_insert_hyphens_with(NULL, "text", 4, NULL, out, sizeof out) == -1);
  CHECK_ERROR("liang_insert_hyphens_with: the hyphenator is NULL");
  CHECK(liang_insert_hyphens_with(english, NULL, 5, NULL, out, sizeof out) == -1);
  CHECK_ERROR("liang_insert_hyphens_with: the text is NULL but its length is not 0");
  CHECK(liang_insert_hyphens_with(english, "text", 4, NULL, NULL, 1) == -1);
  CHECK_ERROR("liang_insert_hyphens_with: out is NULL but capacity is not 0");

  CHECK(liang_text_stream_new(NULL, NULL) == NULL);
  CHECK_ERROR("liang_text_stream_new: the hyphenator is NULL");
  CHECK(liang_text_stream_feed(NULL, "text", 4) == -1);
  CHECK_ERROR("liang_text_stream_feed: the stream is NULL");
  CHECK(liang_text_stream_feed(stream, NULL, 6) == -1);
  CHECK_ERROR("liang_text_stream_feed: the chunk is NULL but its length is not 0");
  CHECK(liang_text_stream_finish(NULL) == -1);
  CHECK_ERROR("liang_text_stream_finish: the stream is NULL");
  CHECK(liang_text_stream_read(NULL, out, sizeof out) == -1);
  CHECK_ERROR("liang_text_stream_read: the stream is NULL");
  CHECK(liang_text_stream_read(stream, NULL, 1) == -1);
  CHECK_ERROR("liang_text_stream_read: out is NULL but capacity is not 0");
  liang_text_stream_free(stream);

  /* A success leaves the last failure in place, as errno does. */
  CHECK(liang_points(english, "word", 4, points, 4) >= 0);
  CHECK_ERROR("liang_text_stream_read: out is NULL but capacity is not 0");
}

/* ---- NULL with length 0: the empty text, everywhere ---- */

static void test_null_empty_texts(void) {
  const liang_hyphenator* english = liang_language("en-US");
  const char* patterns = "a1b\n";
  static const size_t everywhere[] = {1, 3};
  liang_hyphenator* no_exceptions = liang_new(patterns, strlen(patterns), NULL, 0, NULL, 1, 1);
  liang_hyphenator* nothing = liang_new(NULL, 0, NULL, 0, NULL, 1, 1);
  liang_text_stream* stream = liang_text_stream_new(english, NULL);
  size_t points[4];
  char out[16];
  CHECK(no_exceptions != NULL && points_are(no_exceptions, "abab", everywhere, 2));
  CHECK(nothing != NULL && points_are(nothing, "abab", NULL, 0));
  CHECK(liang_points(english, NULL, 0, points, 4) == 0);
  memset(out, '#', sizeof out);
  CHECK(liang_hyphenate(english, NULL, 0, "-", out, sizeof out) == 0 && out[0] == '\0');
  memset(out, '#', sizeof out);
  CHECK(liang_insert_hyphens(english, NULL, 0, "-", out, sizeof out) == 0 && out[0] == '\0');
  memset(out, '#', sizeof out);
  CHECK(liang_insert_hyphens_with(english, NULL, 0, NULL, out, sizeof out) == 0 && out[0] == '\0');
  CHECK(stream != NULL);
  CHECK(liang_text_stream_feed(stream, "hyphenation", 11) >= 0);
  CHECK(liang_text_stream_feed(stream, NULL, 0) >= 0);
  CHECK(liang_text_stream_feed(stream, " ", 1) >= 0);
  CHECK(liang_text_stream_finish(stream) == 16);
  CHECK(liang_text_stream_read(stream, out, sizeof out) == 16);
  CHECK(memcmp(out,
               "hy\xC2\xADphen\xC2\xAD"
               "ation ",
               16) == 0);
  liang_text_stream_free(stream);
  liang_free(no_exceptions);
  liang_free(nothing);
}

/* ---- the last error is UTF-8 whatever the caller's bytes ---- */

static void test_last_error_is_utf8(void) {
  CHECK(liang_language("de\xFF\xC3") == NULL);
  CHECK_ERROR("liang_language: no language is named \"de\\xFF\\xC3\"");
  /* Well-formed characters stay as they are; broken ones are escaped bytewise. */
  CHECK(liang_language("\xC3\x9C\xE2\x82x\xED\xA0\x80\xF4\x90\x80\x80") == NULL);
  CHECK_ERROR(
      "liang_language: no language is named "
      "\"\xC3\x9C\\xE2\\x82x\\xED\\xA0\\x80\\xF4\\x90\\x80\\x80\"");
}

/* ---- the options carry their size ---- */

static void test_options_size(void) {
  const liang_hyphenator* english = liang_language("en-US");
  struct {
    liang_text_options options;
    unsigned char after[16];
  } sized;
  liang_text_options zeroed;
  char out[64];
  size_t i;
  int untouched = 1;

  /* The macro passes the size of the caller's structure. */
  liang_text_options_init(&sized.options);
  CHECK(sized.options.size == sizeof(liang_text_options));
  /* A size from a newer header: the fields this library knows are filled, no
     byte past its structure is written, and the options are refused. */
  memset(&sized, 0xAB, sizeof sized);
  liang_text_options_init_sized(&sized.options, sizeof(liang_text_options) + 16);
  for (i = 0; i < sizeof sized.after; ++i) untouched = untouched && sized.after[i] == 0xAB;
  CHECK(untouched);
  CHECK(sized.options.size == sizeof(liang_text_options) + 16);
  CHECK(sized.options.hyphen == NULL && sized.options.capitalized == 1);
  CHECK(liang_insert_hyphens_with(english, "word", 4, &sized.options, out, sizeof out) == -1);
  CHECK(strstr(liang_last_error(), "liang_insert_hyphens_with: the options' size is ") ==
        liang_last_error());
  CHECK(liang_text_stream_new(english, &sized.options) == NULL);
  CHECK(strstr(liang_last_error(), "liang_text_options_init") != NULL);
  /* Options never filled (all zero here) are refused, not read. */
  memset(&zeroed, 0, sizeof zeroed);
  CHECK(liang_insert_hyphens_with(english, "word", 4, &zeroed, out, sizeof out) == -1);
  CHECK(strstr(liang_last_error(), "size is 0") != NULL);
  /* The function itself, for foreign-function interfaces, fills all of it. */
  memset(&zeroed, 0, sizeof zeroed);
  (liang_text_options_init)(&zeroed);
  CHECK(zeroed.size == sizeof zeroed && zeroed.all_caps == 1);
  CHECK(liang_insert_hyphens_with(english, "word", 4, &zeroed, out, sizeof out) == 4);
}

/* ---- the list of languages ---- */

static void test_language_list(void) {
  size_t i;
  CHECK(liang_language_count() == 73);
  CHECK(strcmp(liang_language_name(0), "Afrikaans") == 0);
  CHECK(strcmp(liang_language_affix(0), "af") == 0);
  CHECK(strcmp(liang_language_name(72), "Welsh") == 0);
  CHECK(strcmp(liang_language_affix(72), "cy") == 0);
  CHECK(liang_language_name(73) == NULL && liang_language_affix(73) == NULL);
  CHECK(liang_language_name((size_t)-1) == NULL && liang_language_affix((size_t)-1) == NULL);
  /* Each language is found by its name and by its affix, and they are one. */
  for (i = 0; i < liang_language_count(); ++i) {
    const liang_hyphenator* by_name = liang_language(liang_language_name(i));
    CHECK(by_name != NULL && by_name == liang_language(liang_language_affix(i)));
  }
  CHECK(strcmp(liang_language_name(13), "English_US") == 0);
  CHECK(strcmp(liang_language_affix(13), "en-us") == 0);
}

int main(int argc, char** argv) {
  test_threads_race_first_use();
  if (argc == 2 && strcmp(argv[1], "threads") == 0) {
    printf("%s\n", failures == 0 ? "all checks passed" : "checks failed");
    return failures == 0 ? 0 : 1;
  }
  test_shared_hyphenators();
  test_points_need_more_room();
  test_snprintf_convention();
  test_own_hyphenators();
  test_text_options_and_stream();
  test_prepare();
  test_failures();
  test_null_empty_texts();
  test_last_error_is_utf8();
  test_options_size();
  test_language_list();
  if (failures != 0) {
    fprintf(stderr, "%d checks failed\n", failures);
    return 1;
  }
  printf("all checks passed\n");
  return 0;
}
