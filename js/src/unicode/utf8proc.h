// The part of utf8proc's interface that the text layer (src/text/Unicode.cpp)
// uses, for the WebAssembly engine: answered from tables that
// js/tools/unicode-tables.mjs makes from utf8proc's own data, a small
// fraction of the size of utf8proc's tables, which also hold case folding,
// compatibility decompositions, bidi classes, widths and boundaries.
// Names, types and answers are utf8proc's, for the calls the text layer
// makes: utf8proc_decompose_char honours UTF8PROC_DECOMPOSE (canonical)
// only, utf8proc_normalize_utf32 UTF8PROC_COMPOSE only, and
// utf8proc_get_property fills in the combining class only.
#ifndef LIANG_JS_UNICODE_UTF8PROC_H_
#define LIANG_JS_UNICODE_UTF8PROC_H_

#include <cstddef>
#include <cstdint>

using utf8proc_int16_t = std::int16_t;
using utf8proc_int32_t = std::int32_t;
using utf8proc_ssize_t = std::ptrdiff_t;
using utf8proc_propval_t = utf8proc_int16_t;

// The general categories, numbered as utf8proc numbers them.
enum utf8proc_category_t {
  UTF8PROC_CATEGORY_CN = 0,
  UTF8PROC_CATEGORY_LU = 1,
  UTF8PROC_CATEGORY_LL = 2,
  UTF8PROC_CATEGORY_LT = 3,
  UTF8PROC_CATEGORY_LM = 4,
  UTF8PROC_CATEGORY_LO = 5,
  UTF8PROC_CATEGORY_MN = 6,
  UTF8PROC_CATEGORY_MC = 7,
  UTF8PROC_CATEGORY_ME = 8,
  UTF8PROC_CATEGORY_ND = 9,
  UTF8PROC_CATEGORY_NL = 10,
  UTF8PROC_CATEGORY_NO = 11,
  UTF8PROC_CATEGORY_PC = 12,
  UTF8PROC_CATEGORY_PD = 13,
  UTF8PROC_CATEGORY_PS = 14,
  UTF8PROC_CATEGORY_PE = 15,
  UTF8PROC_CATEGORY_PI = 16,
  UTF8PROC_CATEGORY_PF = 17,
  UTF8PROC_CATEGORY_PO = 18,
  UTF8PROC_CATEGORY_SM = 19,
  UTF8PROC_CATEGORY_SC = 20,
  UTF8PROC_CATEGORY_SK = 21,
  UTF8PROC_CATEGORY_SO = 22,
  UTF8PROC_CATEGORY_ZS = 23,
  UTF8PROC_CATEGORY_ZL = 24,
  UTF8PROC_CATEGORY_ZP = 25,
  UTF8PROC_CATEGORY_CC = 26,
  UTF8PROC_CATEGORY_CF = 27,
  UTF8PROC_CATEGORY_CS = 28,
  UTF8PROC_CATEGORY_CO = 29,
};

// The options, with utf8proc's values; only the two below are honoured.
enum utf8proc_option_t {
  UTF8PROC_COMPOSE = (1 << 3),
  UTF8PROC_DECOMPOSE = (1 << 4),
};

// What utf8proc_get_property tells here: the canonical combining class.
struct utf8proc_property_t {
  utf8proc_propval_t combining_class;
};

utf8proc_category_t utf8proc_category(utf8proc_int32_t c);
utf8proc_int32_t utf8proc_tolower(utf8proc_int32_t c);
const utf8proc_property_t* utf8proc_get_property(utf8proc_int32_t c);
utf8proc_ssize_t utf8proc_decompose_char(utf8proc_int32_t c, utf8proc_int32_t* dst,
                                         utf8proc_ssize_t bufsize, utf8proc_option_t options,
                                         int* last_boundclass);
utf8proc_ssize_t utf8proc_normalize_utf32(utf8proc_int32_t* buffer, utf8proc_ssize_t length,
                                          utf8proc_option_t options);

#endif  // LIANG_JS_UNICODE_UTF8PROC_H_
