// The C options reach the library as the C++ options do: each field of
// liang_text_options set alone changes the output as the field of
// liang::TextOptions it stands for, in one call and through the stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <set>
#include <string>

#include "liang/liang.h"
#include "liang/liang.hpp"
#include "text_options_cases.hpp"

namespace {

namespace ts = testing_support;

// What each case sets, in the C form.
const std::map<std::string, void (*)(liang_text_options&)>& cFieldSetters() {
  static const std::map<std::string, void (*)(liang_text_options&)> setters = {
      {"hyphen", [](liang_text_options& o) { o.hyphen = "="; }},
      {"markup", [](liang_text_options& o) { o.markup = 1; }},
      {"minWordLength", [](liang_text_options& o) { o.min_word_length = 9; }},
      {"leftMin", [](liang_text_options& o) { o.left_min = 4; }},
      {"rightMin", [](liang_text_options& o) { o.right_min = 6; }},
      {"capitalized", [](liang_text_options& o) { o.capitalized = 0; }},
      {"allCaps", [](liang_text_options& o) { o.all_caps = 0; }},
      {"mixedCase", [](liang_text_options& o) { o.mixed_case = 1; }},
      {"technical", [](liang_text_options& o) { o.technical = 1; }},
      {"xml",
       [](liang_text_options& o) {
         o.markup = 1;
         o.xml = 1;
       }},
      {"skipElements",
       [](liang_text_options& o) {
         o.markup = 1;
         o.skip_elements = "em";
       }},
      {"skipClasses",
       [](liang_text_options& o) {
         o.markup = 1;
         o.skip_classes = "nohyphenate,donthyphenate,x";
       }},
  };
  return setters;
}

std::string insertedWith(const liang_text_options* options) {
  const liang_hyphenator* h = liang_language("en-us");
  const std::string& text = ts::kOptionsSample;
  const std::ptrdiff_t length =
      liang_insert_hyphens_with(h, text.data(), text.size(), options, nullptr, 0);
  EXPECT_GE(length, 0) << liang_last_error();
  if (length < 0) return "(failed)";
  std::string out(static_cast<std::size_t>(length) + 1, '\0');
  liang_insert_hyphens_with(h, text.data(), text.size(), options, out.data(), out.size());
  out.pop_back();
  return out;
}

std::string streamedWith(const liang_text_options* options) {
  liang_text_stream* stream = liang_text_stream_new(liang_language("en-us"), options);
  EXPECT_NE(stream, nullptr) << liang_last_error();
  if (stream == nullptr) return "(failed)";
  const std::string& text = ts::kOptionsSample;
  for (std::size_t at = 0; at < text.size(); at += 3) {
    liang_text_stream_feed(stream, text.data() + at, std::min<std::size_t>(3, text.size() - at));
  }
  std::string out(static_cast<std::size_t>(liang_text_stream_finish(stream)), '\0');
  EXPECT_EQ(liang_text_stream_read(stream, out.data(), out.size()),
            static_cast<std::ptrdiff_t>(out.size()));
  liang_text_stream_free(stream);
  return out;
}

TEST(CInterfaceOptions, DefaultsAreTheCxxDefaults) {
  liang_text_options options;
  liang_text_options_init(&options);
  const liang::TextOptions cxx;
  EXPECT_EQ(options.size, sizeof options);
  EXPECT_EQ(options.hyphen, nullptr);  // the soft hyphen, cxx.hyphen
  EXPECT_EQ(cxx.hyphen, "\xC2\xAD");
  EXPECT_EQ(options.markup != 0, cxx.markup);
  EXPECT_EQ(options.min_word_length, cxx.minWordLength);
  EXPECT_EQ(options.left_min, cxx.leftMin);
  EXPECT_EQ(options.right_min, cxx.rightMin);
  EXPECT_EQ(options.capitalized != 0, cxx.capitalized);
  EXPECT_EQ(options.all_caps != 0, cxx.allCaps);
  EXPECT_EQ(options.mixed_case != 0, cxx.mixedCase);
  EXPECT_EQ(options.technical != 0, cxx.technical);
  EXPECT_EQ(options.xml != 0, cxx.xml);
  EXPECT_EQ(options.skip_elements, nullptr);  // none, as cxx.skipElements
  EXPECT_TRUE(cxx.skipElements.empty());
  EXPECT_EQ(options.skip_classes, nullptr);  // the defaults
  const std::string expected =
      liang::insertHyphens(liang::english_US(), ts::kOptionsSample, liang::TextOptions());
  EXPECT_EQ(insertedWith(&options), expected);
  EXPECT_EQ(insertedWith(nullptr), expected);
  EXPECT_EQ(streamedWith(&options), expected);
}

TEST(CInterfaceOptions, EachFieldSetAloneIsItsCxxField) {
  const auto& cases = ts::optionCases();
  ASSERT_EQ(cFieldSetters().size(), cases.size());
  // The cases tell the fields apart: each output differs from the default
  // output and from every other case's.
  std::set<std::string> outputs = {
      liang::insertHyphens(liang::english_US(), ts::kOptionsSample, ts::baseOptions())};
  for (const ts::OptionCase& c : cases) {
    EXPECT_TRUE(outputs.insert(ts::optionCaseOutput(c)).second) << c.field;
  }
  for (const ts::OptionCase& c : cases) {
    liang_text_options options;
    liang_text_options_init(&options);
    options.hyphen = "-";
    cFieldSetters().at(c.field)(options);
    const std::string expected = ts::optionCaseOutput(c);
    EXPECT_EQ(insertedWith(&options), expected) << c.field;
    EXPECT_EQ(streamedWith(&options), expected) << c.field;
  }
}

}  // namespace
