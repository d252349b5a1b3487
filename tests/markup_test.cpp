// Running text in HTML, XHTML and XML: only text content is hyphenated, in
// the language its element says, and every byte of markup survives.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "liang/liang.hpp"

namespace liang {
namespace {

std::string html(std::string_view text, const Hyphenator& h = english_US()) {
  TextOptions options;
  options.markup = true;
  options.hyphen = std::string("-");
  return insertHyphens(h, text, options);
}

TEST(Markup, TagsAndAttributesAreNeverHyphenated) {
  EXPECT_EQ(html("<blockquote>Hyphenation</blockquote> <table border=1> <p class=\"hyphenation\">"),
            "<blockquote>Hy-phen-ation</blockquote> <table border=1> <p class=\"hyphenation\">");
  // A quoted value may hold '>'; unquoted and single-quoted values too.
  EXPECT_EQ(html("<a title=\"computer > hyphenation\" data-x='a>b' rel=computer>computer</a>"),
            "<a title=\"computer > hyphenation\" data-x='a>b' rel=computer>com-puter</a>");
  // A tag ends the word before it: words are not joined across markup.
  EXPECT_EQ(html("<i>hyphen</i>ation"), "<i>hy-phen</i>ation");
}

TEST(Markup, CommentsDeclarationsInstructionsAndCdataPassThrough) {
  const std::string_view text =
      "<?xml version=\"1.0\"?><!DOCTYPE html><!-- computer -- hyphenation --><![CDATA[computer "
      "]]> ]]>hyphenation<?pi computer?>computer";
  EXPECT_EQ(
      html(text),
      "<?xml version=\"1.0\"?><!DOCTYPE html><!-- computer -- hyphenation --><![CDATA[computer "
      "]]> ]]>hy-phen-ation<?pi computer?>com-puter");
}

TEST(Markup, CodeScriptsAndFormulasAreLeftAlone) {
  for (const std::string_view element :
       {"pre", "code", "kbd", "samp", "var", "textarea", "math", "svg", "CODE", "svg:svg"}) {
    // Appended rather than added: GCC 12 warns falsely on "<" + std::string(...) here.
    const std::string open = std::string("<").append(element).append(" class=x>");
    const std::string close = std::string("</").append(element).append(">");
    EXPECT_EQ(html("computer" + open + "computer <b>computer</b> computer" + close + "computer"),
              "com-puter" + open + "computer <b>computer</b> computer" + close + "com-puter");
  }
  // Raw text runs to its own end tag, whatever it holds.
  EXPECT_EQ(html("<script>if (a<b) computer(\"</b>\");</script>computer"),
            "<script>if (a<b) computer(\"</b>\");</script>com-puter");
  EXPECT_EQ(html("<style>p:after{content:\"</p>computer\"}</STYLE >computer"),
            "<style>p:after{content:\"</p>computer\"}</STYLE >com-puter");
  // A void element holds nothing; in HTML "<pre/>" opens a pre like "<pre>".
  EXPECT_EQ(html("<br/>computer<img src=x>computer"), "<br/>com-puter<img src=x>com-puter");
  EXPECT_EQ(html("<code/>computer<pre />computer"), "<code/>computer<pre />computer");
}

TEST(Markup, LangAttributesSwitchTheLanguage) {
  EXPECT_EQ(html("computer <q lang=\"de\">Silbentrennung</q> computer "
                 "<span xml:lang=\"fr\">anticonstitutionnellement</span> computer"),
            "com-puter <q lang=\"de\">Sil-ben-tren-nung</q> com-puter "
            "<span xml:lang=\"fr\">an-ti-cons-ti-tu-tion-nel-le-ment</span> com-puter");
  // Nested switches come back to the enclosing language; xml:lang wins.
  EXPECT_EQ(html("<div lang=de>Silbentrennung <p lang=en xml:lang=de-CH>Silbentrennung</p> "
                 "<p lang=en>computer</p> Silbentrennung</div> computer"),
            "<div lang=de>Sil-ben-tren-nung <p lang=en xml:lang=de-CH>Sil-ben-tren-nung</p> "
            "<p lang=en>com-puter</p> Sil-ben-tren-nung</div> com-puter");
  // No hyphenation in a language liang does not carry, nor in "zxx".
  EXPECT_EQ(html("<p lang=ja>computer</p><p lang=\"zxx\">computer</p><p lang=\"\">computer</p>"),
            "<p lang=ja>computer</p><p lang=\"zxx\">computer</p><p lang=\"\">computer</p>");
  // An element inside code stays unhyphenated whatever its language.
  EXPECT_EQ(html("<code><span lang=en>computer</span></code>"),
            "<code><span lang=en>computer</span></code>");
}

TEST(Markup, CharacterReferences) {
  // A soft hyphen written as a reference is the author's break.
  for (const std::string_view shy : {"&shy;", "&#173;", "&#xAD;", "&#xad;"}) {
    const std::string word = "hy" + std::string(shy) + "phenation";
    EXPECT_EQ(html(word + " hyphenation"), word + " hy-phen-ation");
  }
  // A numeric reference is the letter it names; a break never falls inside.
  EXPECT_EQ(html("caf&#233;s caf&#xE9;s", french()), "ca-f&#233;s ca-f&#xE9;s");
  EXPECT_EQ(html("&#233;l&#233;gance", french()), "&#233;l&#233;-gance");
  // A named reference that is no letter ends the word, as does a name HTML
  // does not define; '&' alone is a character.
  EXPECT_EQ(html("computer&amp;computer computer & computer &nbsp computer&zzz;computer"),
            "com-puter&amp;com-puter com-puter & com-puter &nbsp com-puter&zzz;com-puter");
  // In plain text a reference is just text.
  EXPECT_EQ(insertHyphens(english_US(), "hy&shy;phenation", "-"), "hy&shy;phen-ation");
}

// Patterns of the caller's may spell with any character; in markup '<' and
// '&' still begin tags and references, never a letter of a word.
TEST(Markup, LessThanAndAmpersandAreNeverLettersInMarkup) {
  const Hyphenator anything([](char32_t c) { return c == U'.' ? c : U'a'; },
                            parsePatterns(U"a1a\n"), emptyExceptions(), 1, 1);
  EXPECT_EQ(html("ab<p class=\"ab\">ab&amp;ab</p>", anything),
            "a-b<p class=\"ab\">a-b&amp;a-b</p>");
  EXPECT_EQ(insertHyphens(anything, "ab<p", "-"), "a-b-<-p");
}

TEST(Markup, UrlsInTextAreLeftAlone) {
  EXPECT_EQ(html("<a href=\"https://example.com/documentation\">https://example.com/"
                 "documentation</a> documentation"),
            "<a href=\"https://example.com/documentation\">https://example.com/"
            "documentation</a> doc-u-men-ta-tion");
}

TEST(Markup, BrokenMarkupLosesNothing) {
  for (const std::string_view text :
       {"computer <", "computer <p", "computer <p class=\"computer", "computer <!-- computer",
        "computer <![CDATA[ computer", "computer <?pi computer", "computer <!DOCTYPE",
        "computer </", "a < b computer", "a <3 computer", "computer &#", "computer &#x;",
        "<script>computer", "<script>computer</scr", "computer </ computer",
        // A '<' that opens nothing, at the start of a URL or inside one.
        "computer <://example.com computer", "computer a<b://c computer"}) {
    TextOptions options;
    options.markup = true;
    options.hyphen = std::string("\x01");
    std::string out = insertHyphens(english_US(), text, options);
    if (text.starts_with("computer")) {
      EXPECT_NE(out.find('\x01'), std::string::npos) << text;
    }
    std::erase(out, '\x01');
    EXPECT_EQ(out, text);
  }
  // A stray '<' is a character of the text; the words around it break.
  EXPECT_EQ(html("computer < computer <3 computer"), "com-puter < com-puter <3 com-puter");
  // "</" without a name opens what HTML reads as a comment, to the next '>'.
  EXPECT_EQ(html("computer </ computer> computer </3 computer> computer"),
            "com-puter </ computer> com-puter </3 computer> com-puter");
}

std::string readSample(const std::string& name) {
  std::ifstream in(std::string(LIANG_TEST_DATA) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Whole documents, with U+2027 HYPHENATION POINT at each break so that the
// expected files read easily: an XHTML chapter with German and French
// quotations, code, a URL and references; plain text with soft hyphens,
// URLs, decomposed letters and capitals.
TEST(SampleDocuments, HyphenateAsCheckedByHand) {
  TextOptions options;
  options.hyphen = std::string("\u2027");
  const std::string plain = readSample("plain.txt");
  ASSERT_FALSE(plain.empty());
  EXPECT_EQ(insertHyphens(english_US(), plain, options), readSample("plain.expected.txt"));
  options.markup = true;
  const std::string chapter = readSample("chapter.xhtml");
  ASSERT_FALSE(chapter.empty());
  EXPECT_EQ(insertHyphens(english_US(), chapter, options), readSample("chapter.expected.xhtml"));
}

// Pages shaped as their generators write them, English outside any lang:
// a DocBook chapter (publican) whose German section holds nested divs and an
// English sidebar, after which German resumes; a Sphinx page in French with
// paragraphs and list items left open, named references and code; an EPUB
// chapter with prefixed SVG, xml:lang over lang, and an empty <p/>.
TEST(SampleDocuments, RealPagesAsCheckedByHand) {
  TextOptions options;
  options.markup = true;
  options.hyphen = std::string("\u2027");
  for (const std::string_view page :
       {"docbook-chapter.xhtml", "sphinx-page.html", "epub-chapter.xhtml"}) {
    const std::string name(page);
    const std::string text = readSample("pages/" + name);
    ASSERT_FALSE(text.empty()) << name;
    const std::size_t dot = name.rfind('.');
    const std::string expected = name.substr(0, dot) + ".expected" + name.substr(dot);
    EXPECT_EQ(insertHyphens(english_US(), text, options), readSample("pages/" + expected)) << name;
  }
}

}  // namespace
}  // namespace liang
