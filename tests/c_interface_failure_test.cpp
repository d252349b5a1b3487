// How a C++ failure crosses the C interface: the function returns its
// failure value and the last error is the C++ message exactly. No text
// format can make the library fail this way, so the hyphenator is made in
// C++ (a dictionary entry with an empty score list) and wrapped in a handle.
#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>
#include <thread>

#include "c/CHandles.hpp"
#include "core/ExceptionTable.hpp"
#include "liang/liang.h"
#include "liang/liang.hpp"

namespace {

liang_hyphenator malformedHandle() {
  liang::internal::ExceptionTable::Entries entries;
  entries[U"ab"] = liang::Scores{};
  const liang::Exceptions d = liang::internal::ExceptionsAccess::make(
      std::make_shared<const liang::internal::ExceptionTable>(std::move(entries)));
  const auto lower = [](char32_t c) { return c >= U'A' && c <= U'Z' ? c + 32 : c; };
  return liang_hyphenator{liang::Hyphenator(lower, liang::parsePatterns(U"a1b\n"), d, 0, 0), false};
}

TEST(CInterface, CxxFailureReachesCAsItsMessage) {
  const liang_hyphenator handle = malformedHandle();
  std::size_t points[4];
  char out[16] = "untouched";
  EXPECT_EQ(liang_points(&handle, "AB", 2, points, 4), -1);
  EXPECT_STREQ(liang_last_error(), "Malformed hyphenation score for AB");
  EXPECT_EQ(liang_hyphenate(&handle, "aB", 2, "-", out, sizeof out), -1);
  EXPECT_STREQ(liang_last_error(), "Malformed hyphenation score for aB");
  EXPECT_STREQ(out, "untouched");  // a failure writes nothing
  EXPECT_EQ(liang_insert_hyphens(&handle, "x ab y", 6, "-", out, sizeof out), -1);
  EXPECT_STREQ(liang_last_error(), "Malformed hyphenation score for ab");
  EXPECT_STREQ(out, "untouched");

  // A stream step that fails makes none of its output ready.
  liang_text_stream* stream = liang_text_stream_new(&handle, nullptr);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(liang_text_stream_feed(stream, "x ab y", 6), -1);
  EXPECT_STREQ(liang_last_error(), "Malformed hyphenation score for ab");
  EXPECT_EQ(liang_text_stream_read(stream, out, sizeof out), 0);
  liang_text_stream_free(stream);

  // The handle stays usable: other words, and a failure on another thread
  // does not touch this thread's message.
  EXPECT_EQ(liang_points(&handle, "abc", 3, points, 4), 1);
  EXPECT_EQ(points[0], 1u);
  std::thread([&] {
    EXPECT_STREQ(liang_last_error(), "");
    EXPECT_EQ(liang_points(&handle, "Ab", 2, points, 4), -1);
    EXPECT_STREQ(liang_last_error(), "Malformed hyphenation score for Ab");
  }).join();
  EXPECT_STREQ(liang_last_error(), "Malformed hyphenation score for ab");
}

}  // namespace
