/* liang: the C interface.
 *
 * Hyphenation by Liang's pattern method from C, and from any language's
 * foreign-function interface. Plain C99; the library behind it is C++.
 *
 * Guarantees:
 *  - No C++ exception ever crosses this interface. A function that fails
 *    returns NULL or -1 and sets this thread's last error (liang_last_error),
 *    whose text is the message of the C++ failure exactly, or for a misuse of
 *    this interface (a NULL hyphenator, word or text) a message that names
 *    the function and the argument. A success leaves the last error as it was.
 *  - Every function may be called from any number of threads at once, with
 *    one hyphenator or several. A text stream is used by one thread at a time.
 *  - The last error is always well-formed UTF-8: a byte of the caller's
 *    (in a language name, say) that is not is written as \xHH.
 *  - As with free(), releasing a hyphenator or a stream twice, or using one
 *    after it is released, is undefined behaviour: nothing can detect it.
 *  - Sizes and offsets are in bytes of UTF-8. Words and texts need not be
 *    NUL-terminated and need not be valid UTF-8: an ill-formed byte is one
 *    character of the same value (0x80..0xFF are U+0080..U+00FF), as in the
 *    C++ UTF-8 functions. A word or text pointer may be NULL when its length
 *    is 0: it is then the empty text (NULL with any other length is a
 *    failure).
 *  - Ownership is stated on each function. Results written into the caller's
 *    buffers stay the caller's; nothing returned needs freeing unless the
 *    function says so.
 *
 * Cost: liang_points allocates nothing for words of ordinary length; the
 * functions that return text build it once and copy what fits. */
#ifndef LIANG_LIANG_H_
#define LIANG_LIANG_H_

#include <stddef.h>
#include <stdint.h>

#include "liang/export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A hyphenator: patterns, exceptions, a character fold and minima. Opaque;
   immutable once made, so any number of threads may use one at once. */
typedef struct liang_hyphenator liang_hyphenator;

/* The shared hyphenator of a language named by a BCP 47 tag, a locale name, an
   affix or a member name ("en-US", "de_DE.UTF-8", "de-1996", "German_Swiss").
   NULL when there is no such language. Lives for the whole process. */
LIANG_EXPORT const liang_hyphenator* liang_language(const char* name);

/* A hyphenator of the caller's own, from UTF-8 pattern and exception text (in
   the library's text formats) and minima; it folds characters as the language
   `fold_as` does, or not at all when `fold_as` is NULL. NULL on failure.
   Release it with liang_free. The texts are read during the call only. */
LIANG_EXPORT liang_hyphenator* liang_new(const char* patterns, size_t patterns_len,
                                         const char* exceptions, size_t exceptions_len,
                                         const liang_hyphenator* fold_as, int64_t left_min,
                                         int64_t right_min);

/* Releases a hyphenator of the caller's own (from liang_new or
   liang_with_minima). NULL is ignored, and so is a shared hyphenator from
   liang_language: it lives for the whole process and stays usable. Releasing
   one twice, or using it once released, is undefined. */
LIANG_EXPORT void liang_free(liang_hyphenator* h);

/* The same hyphenator with other minima, in O(1): it shares the patterns,
   exceptions and fold of `h` (shared or not), and outlives it safely.
   NULL on failure. Release it with liang_free. */
LIANG_EXPORT liang_hyphenator* liang_with_minima(const liang_hyphenator* h, int64_t left_min,
                                                 int64_t right_min);

/* Builds now everything `h` would build on first use (its patterns' index,
   its exceptions, its character table), so that no later call waits on a
   build: for a program that wants even its first words fast, at start-up or
   from a background thread. Safe while other threads hyphenate with `h`;
   cheap once done. 0, or -1 on failure (after which `h` still works, and a
   later call tries again what can be retried). */
LIANG_EXPORT int liang_prepare(const liang_hyphenator* h);

/* Where a hyphen may go in a UTF-8 word: the byte offsets of the pieces after
   the first, as hyphenationPoints gives them. Writes at most `capacity` of them
   to `out` and returns how many there are (more than `capacity`: call again
   with room for all); -1 on failure. `out` may be NULL when `capacity` is 0. */
LIANG_EXPORT ptrdiff_t liang_points(const liang_hyphenator* h, const char* word, size_t len,
                                    size_t* out, size_t capacity);

/* A UTF-8 word with `hyphen` (NUL-terminated; NULL means U+00AD) between its
   pieces, snprintf-style as liang_insert_hyphens. The whole word is one word,
   whatever its characters: "co-op" is hyphenated as the five characters it
   has. -1 on failure. */
LIANG_EXPORT ptrdiff_t liang_hyphenate(const liang_hyphenator* h, const char* word, size_t len,
                                       const char* hyphen, char* out, size_t capacity);

/* Running text with `hyphen` (NUL-terminated; NULL means U+00AD) at every break,
   as insertHyphens gives it, snprintf-style: writes at most `capacity` bytes to
   `out`, NUL-terminated when `capacity` > 0, and returns the length of the whole
   result without its NUL; -1 on failure. `out` may be NULL when `capacity` is 0. */
LIANG_EXPORT ptrdiff_t liang_insert_hyphens(const liang_hyphenator* h, const char* text, size_t len,
                                            const char* hyphen, char* out, size_t capacity);

/* How running text is hyphenated: the C form of the C++ TextOptions. Set the
   defaults with liang_text_options_init, then change the fields you need.
   A later version of liang may add fields at the end: the structure carries
   its size, so a program built against this header keeps working with a
   later library (the fields it does not know keep their defaults), and one
   built against a later header fails clearly with this library. Options
   that liang_text_options_init did not fill (size 0, say) make the call
   that takes them fail. */
typedef struct liang_text_options {
  /* The size of the structure as the program was built: set by
     liang_text_options_init, not by hand. */
  size_t size;
  /* Put at every break, NUL-terminated; NULL means U+00AD SOFT HYPHEN.
     Read during each call that takes the options (and copied by a stream). */
  const char* hyphen;
  /* Nonzero: the text is HTML, XHTML or XML, and only its text content is
     hyphenated. Default 0. */
  int markup;
  /* Words of fewer code points than this are left alone. Default 0. */
  size_t min_word_length;
  /* Minima that replace the hyphenator's own when positive; 0 keeps them,
     and a negative one makes the call fail. Default 0. */
  int64_t left_min;
  int64_t right_min;
  /* Nonzero: words that begin with an uppercase letter are hyphenated.
     Default 1. */
  int capitalized;
  /* Nonzero: words in all capitals are hyphenated. Default 1. */
  int all_caps;
  /* Nonzero: words with an uppercase letter after a lowercase one
     ("camelCase", "iPhone"), mostly names and identifiers, are hyphenated.
     Default 0. */
  int mixed_case;
  /* Nonzero: technical tokens (command-line options, paths, file and domain
     names, identifiers), left whole by default as URLs are, are hyphenated
     too. Default 0. */
  int technical;
  /* Nonzero, with markup: the markup is read by XML's rules even without an
     XML declaration or an xmlns on its first element. Default 0. */
  int xml;
  /* Markup: more elements whose content is left alone, as names separated
     by commas ("kbd,tt"); NULL or "" none. Default NULL. */
  const char* skip_elements;
  /* Markup: the classes whose elements are left alone, separated by commas;
     NULL the defaults ("nohyphenate,donthyphenate"), "" none. Default NULL. */
  const char* skip_classes;
} liang_text_options;

/* Fills `options` with the defaults, those of liang_insert_hyphens, and its
   size. From C this is a macro that passes the size of the caller's
   structure to liang_text_options_init_sized; the function of the same name
   (for foreign-function interfaces) fills the whole structure of this
   version. */
LIANG_EXPORT void liang_text_options_init(liang_text_options* options);
#define liang_text_options_init(options) liang_text_options_init_sized((options), sizeof *(options))

/* Fills the first `size` bytes of `options` (a structure of that size, from
   this or another version of liang.h) with the defaults, and sets its size. */
LIANG_EXPORT void liang_text_options_init_sized(liang_text_options* options, size_t size);

/* Running text with the given options (NULL: the defaults), snprintf-style
   as liang_insert_hyphens. -1 on failure. */
LIANG_EXPORT ptrdiff_t liang_insert_hyphens_with(const liang_hyphenator* h, const char* text,
                                                 size_t len, const liang_text_options* options,
                                                 char* out, size_t capacity);

/* Running text in chunks, in constant memory: feed the text in pieces of any
   size, split anywhere (inside a word, a UTF-8 sequence, a tag), read the
   output as it settles, finish, read the rest. The output equals
   liang_insert_hyphens_with on the whole text. Opaque; one thread at a time. */
typedef struct liang_text_stream liang_text_stream;

/* A stream over `h` with `options` (NULL: the defaults). The stream keeps
   what it needs of both, so they may be released at once. NULL on failure.
   Release it with liang_text_stream_free. */
LIANG_EXPORT liang_text_stream* liang_text_stream_new(const liang_hyphenator* h,
                                                      const liang_text_options* options);

/* Releases a stream and its unread output. NULL is ignored; releasing one
   twice, or using it once released, is undefined. */
LIANG_EXPORT void liang_text_stream_free(liang_text_stream* stream);

/* Takes the next chunk (`len` bytes, any of them) and returns how many bytes
   of output are ready to read, all those not read yet; -1 on failure. */
LIANG_EXPORT ptrdiff_t liang_text_stream_feed(liang_text_stream* stream, const char* chunk,
                                              size_t len);

/* Ends the text: all of its output becomes ready. Returns how many bytes are
   ready to read; -1 on failure. The stream may then take a new text. */
LIANG_EXPORT ptrdiff_t liang_text_stream_finish(liang_text_stream* stream);

/* Moves up to `capacity` bytes of ready output into `out` (no NUL is added)
   and returns how many it moved; -1 on failure. */
LIANG_EXPORT ptrdiff_t liang_text_stream_read(liang_text_stream* stream, char* out,
                                              size_t capacity);

/* The message of this thread's last failure, "" when there was none. The
   text is UTF-8 and stays valid until this thread's next failure. */
LIANG_EXPORT const char* liang_last_error(void);

/* The languages, in the order of the Language enumeration. Each string is
   static: it lives for the whole process. */
LIANG_EXPORT size_t liang_language_count(void);
LIANG_EXPORT const char* liang_language_affix(size_t i); /* "en-us"; NULL past the end */
LIANG_EXPORT const char* liang_language_name(size_t i);  /* "English_US"; NULL past the end */

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LIANG_LIANG_H_ */
