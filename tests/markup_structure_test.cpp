// The element structure of markup as browsers (HTML) and XML parsers read
// it: which end tag closes what, HTML's implied ends, raw text, what is left
// alone, lang, named references, and text hyphenated before. Languages are
// told apart by words that break differently in them: "computer" is
// com-puter in English and com-pu-ter in German; "hyphenation" is
// hy-phen-ation, hy-phena-ti-on and hy-phe-na-tion in English, German and
// French.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "liang/liang.hpp"

namespace liang {
namespace {

TextOptions markupOptions() {
  TextOptions options;
  options.markup = true;
  options.hyphen = std::string("-");
  return options;
}

std::string html(std::string_view text, TextOptions options = markupOptions()) {
  return insertHyphens(english_US(), text, options);
}

std::string xml(std::string_view text) {
  TextOptions options = markupOptions();
  options.xml = true;
  return html(text, options);
}

// Pieces run together (GCC 12 warns falsely on "<" + std::string here).
std::string cat(std::initializer_list<std::string_view> pieces) {
  std::string whole;
  for (const std::string_view piece : pieces) whole.append(piece);
  return whole;
}

// The same text fed a byte at a time must come out the same.
std::string byteByByte(std::string_view text, const TextOptions& options) {
  TextStream stream(english_US(), options);
  std::string out;
  for (const char c : text) stream.feed(std::string_view(&c, 1), out);
  stream.finish(out);
  return out;
}

TEST(MarkupStructure, TheThreeLinesOfTheReport) {
  EXPECT_EQ(html("<div lang=\"de\"><div class=\"x\">Wissenschaftler</div> Wissenschaftler</div>"),
            "<div lang=\"de\"><div class=\"x\">Wis-sen-schaft-ler</div> Wis-sen-schaft-ler</div>");
  EXPECT_EQ(
      html("<span lang=\"en\"><code><span class=\"k\">int</span> representation</code></span>"),
      "<span lang=\"en\"><code><span class=\"k\">int</span> representation</code></span>");
  EXPECT_EQ(html("<svg:svg><svg:style>.a{}</svg:style></svg:svg><p>hyphenation computer</p>"),
            "<svg:svg><svg:style>.a{}</svg:style></svg:svg><p>hy-phen-ation com-puter</p>");
}

TEST(MarkupStructure, AnEndTagClosesTheInnermostOfItsName) {
  // The inner </span> closes the inner span; the outer one keeps German.
  EXPECT_EQ(html("<span lang=de><span>computer</span> computer</span> computer"),
            "<span lang=de><span>com-pu-ter</span> com-pu-ter</span> com-puter");
  // ... and everything opened inside it.
  EXPECT_EQ(html("<div lang=de><i lang=fr><b>hyphenation</div> hyphenation"),
            "<div lang=de><i lang=fr><b>hy-phe-na-tion</div> hy-phen-ation");
  // An end tag with nothing of its name open is ignored.
  EXPECT_EQ(html("<p lang=de></span></code>computer</p>computer"),
            "<p lang=de></span></code>com-pu-ter</p>com-puter");
  // In HTML, an end tag does not reach past a block: </span> inside a div
  // leaves the span around the div open, as browsers do.
  EXPECT_EQ(html("<span lang=de><div></span>computer</div></span>computer"),
            "<span lang=de><div></span>com-pu-ter</div></span>com-puter");
  // XML matches names as written: </P> does not close <p>.
  EXPECT_EQ(xml("<p xml:lang=\"de\"><q>computer</Q> computer</p> computer"),
            "<p xml:lang=\"de\"><q>com-pu-ter</Q> com-pu-ter</p> com-puter");
}

TEST(MarkupStructure, DepthHasNoCliff) {
  // 300 paragraphs without </p>, each ending the one before, then code.
  std::string text;
  for (int i = 0; i < 300; ++i) text += "<p lang=en>computer ";
  const std::string expected = html(text);
  EXPECT_EQ(expected.find("computer"), std::string::npos);
  EXPECT_EQ(html(cat({text, "<code>computer</code>"})), cat({expected, "<code>computer</code>"}));
  // Thousands of nested elements of one kind are one entry of the stack.
  std::string nested, closed;
  for (int i = 0; i < 5000; ++i) nested += "<div lang=de>";
  for (int i = 0; i < 5000; ++i) closed += "</div>";
  EXPECT_EQ(html(cat({nested, "computer", closed, "computer"})),
            cat({nested, "com-pu-ter", closed, "com-puter"}));
  // Past the stored depth, alternating elements are counted: their end
  // tags still close them, and the language in force stays right.
  std::string deep, shut;
  for (int i = 0; i < 3000; ++i) deep += i % 2 == 0 ? "<span>" : "<em>";
  for (int i = 3000; i-- > 0;) shut += i % 2 == 0 ? "</span>" : "</em>";
  EXPECT_EQ(html(cat({"<div lang=de>", deep, "computer", shut, "computer</div>computer"})),
            cat({"<div lang=de>", deep, "com-pu-ter", shut, "com-pu-ter</div>com-puter"}));
  // There, an element that switches the language or is left alone stops
  // hyphenation until the depth is back: never the wrong language, never
  // inside code.
  EXPECT_EQ(html(cat({deep, "<code>computer</code><b lang=de>computer</b>", shut, "computer"})),
            cat({deep, "<code>computer</code><b lang=de>computer</b>", shut, "com-puter"}));
}

TEST(MarkupStructure, HtmlEndsElementsByImplication) {
  // A block ends an open p, and its language with it.
  for (const std::string_view block : {"div", "ul", "h2", "table", "pre", "section", "hr"}) {
    const std::string text = cat({"<p lang=de>computer<", block, ">"});
    const std::string out = html(cat({text, "hyphenation"}));
    if (block == "pre") {
      EXPECT_EQ(out, cat({"<p lang=de>com-pu-ter<pre>hyphenation"}));
    } else {
      EXPECT_EQ(out, cat({"<p lang=de>com-pu-ter<", block, ">hy-phen-ation"})) << block;
    }
  }
  // Inline elements do not.
  EXPECT_EQ(html("<p lang=de>computer<span>computer</span>"),
            "<p lang=de>com-pu-ter<span>com-pu-ter</span>");
  // p ends with its parent.
  EXPECT_EQ(html("<div><p lang=de>computer</div>computer"),
            "<div><p lang=de>com-pu-ter</div>com-puter");
  // li at the next li; dt and dd at the next dt or dd; cells and rows.
  EXPECT_EQ(html("<ul><li lang=de>computer<li>computer<li lang=fr>hyphenation</ul>hyphenation"),
            "<ul><li lang=de>com-pu-ter<li>com-puter<li lang=fr>hy-phe-na-tion</ul>hy-phen-ation");
  EXPECT_EQ(html("<dl><dt lang=de>computer<dd>computer<dd lang=de>computer<dt>computer</dl>"),
            "<dl><dt lang=de>com-pu-ter<dd>com-puter<dd lang=de>com-pu-ter<dt>com-puter</dl>");
  EXPECT_EQ(html("<table><tr lang=de><td lang=fr>hyphenation<td>hyphenation<tr><th>hyphenation"
                 "</table>"),
            "<table><tr lang=de><td lang=fr>hy-phe-na-tion<td>hy-phena-ti-on<tr><th>hy-phen-ation"
            "</table>");
  // A nested list's item does not end the outer one.
  EXPECT_EQ(html("<ul><li lang=de><ul><li>computer</ul>computer</ul>computer"),
            "<ul><li lang=de><ul><li>com-pu-ter</ul>com-pu-ter</ul>com-puter");
  // option at the next option (options are left alone).
  EXPECT_EQ(html("<select><option>computer<option>computer</select>computer"),
            "<select><option>computer<option>computer</select>com-puter");
  // XML implies nothing.
  EXPECT_EQ(xml("<p xml:lang=\"de\">computer<div>computer</div>computer</p>computer"),
            "<p xml:lang=\"de\">com-pu-ter<div>com-pu-ter</div>com-pu-ter</p>com-puter");
}

TEST(MarkupStructure, XmlOrHtml) {
  // An XML declaration, or xmlns on the first element, choose XML: <p/> is
  // empty and implies nothing.
  EXPECT_EQ(html("<?xml version=\"1.0\"?><r><pre/>computer<p lang=\"de\"><div/>computer</p></r>"),
            "<?xml version=\"1.0\"?><r><pre/>com-puter<p lang=\"de\"><div/>com-pu-ter</p></r>");
  EXPECT_EQ(html("<html xmlns=\"http://www.w3.org/1999/xhtml\"><code/>computer</html>"),
            "<html xmlns=\"http://www.w3.org/1999/xhtml\"><code/>com-puter</html>");
  EXPECT_EQ(html("<r xmlns:m=\"urn:x\"><code/>computer</r>"),
            "<r xmlns:m=\"urn:x\"><code/>com-puter</r>");
  // Otherwise HTML: <code/> opens a code element.
  EXPECT_EQ(html("<html><code/>computer</html>"), "<html><code/>computer</html>");
  EXPECT_EQ(html("<html><p/><code/>computer</html>"), "<html><p/><code/>computer</html>");
  // xmlns on a later element is HTML's business, and --xml forces XML.
  EXPECT_EQ(html("<p><b xmlns=\"urn:x\"><code/>computer</b></p>"),
            "<p><b xmlns=\"urn:x\"><code/>computer</b></p>");
  EXPECT_EQ(xml("<html><code/>computer</html>"), "<html><code/>com-puter</html>");
  // XML names keep their case: <CODE> is no code element there.
  EXPECT_EQ(xml("<CODE>computer</CODE><code>computer</code>"),
            "<CODE>com-puter</CODE><code>computer</code>");
  // CDATA: a section in XML, a comment to the next '>' in HTML.
  EXPECT_EQ(xml("<![CDATA[a > computer]]>computer"), "<![CDATA[a > computer]]>com-puter");
  EXPECT_EQ(html("<![CDATA[a > computer]]>computer"), "<![CDATA[a > com-puter]]>com-puter");
}

TEST(MarkupStructure, NamesInAnyCaseAndOfAnyLength) {
  // HTML's names in any case, prefixed or not, and past the 32 bytes kept of
  // a name, where the case changes after them; XML's as written. The same
  // whether the text comes whole or a byte at a time.
  const std::string longLower(40, 'x');
  const std::string longUpper = longLower + "Y", longEnd = longLower + "y";
  const std::pair<std::string, std::string> htmlCases[] = {
      {"<DIV lang=de><CoDe>computer</cOdE>computer</Div>computer",
       "<DIV lang=de><CoDe>computer</cOdE>com-pu-ter</Div>com-puter"},
      {"<x:CODE>computer</X:code>computer", "<x:CODE>computer</X:code>com-puter"},
      {cat({"<", longUpper, " lang=de>computer</", longEnd, ">computer"}),
       cat({"<", longUpper, " lang=de>com-pu-ter</", longEnd, ">com-puter"})},
      {cat({"<P:", longUpper, " lang=de>computer</p:", longEnd, ">computer"}),
       cat({"<P:", longUpper, " lang=de>com-pu-ter</p:", longEnd, ">com-puter"})},
  };
  for (const auto& [text, expected] : htmlCases) {
    EXPECT_EQ(html(text), expected) << text;
    EXPECT_EQ(byteByByte(text, markupOptions()), expected) << text;
  }
  const std::string xmlText = cat(
      {"<r xmlns=\"u\"><", longUpper, " lang=\"de\">computer</", longEnd, ">computer</", longUpper,
       ">computer<Code>computer</Code><aBc lang=\"de\">computer</aBd>computer</aBc>computer</r>"});
  const std::string xmlExpected =
      cat({"<r xmlns=\"u\"><", longUpper, " lang=\"de\">com-pu-ter</", longEnd, ">com-pu-ter</",
           longUpper,
           ">com-puter<Code>com-puter</Code><aBc "
           "lang=\"de\">com-pu-ter</aBd>com-pu-ter</aBc>com-puter</r>"});
  EXPECT_EQ(html(xmlText), xmlExpected);
  EXPECT_EQ(byteByByte(xmlText, markupOptions()), xmlExpected);
}

TEST(MarkupStructure, RawTextRunsToItsOwnEndTag) {
  for (const std::string_view name : {"script", "style", "xmp", "iframe", "noembed", "noframes",
                                      "noscript", "textarea", "title"}) {
    const std::string text =
        cat({"<", name, ">a<b>computer<p lang=de></", name, "x></", name, ">computer"});
    EXPECT_EQ(html(text), text.substr(0, text.size() - 8) + "com-puter") << name;
  }
  // A title ends at </title>, whatever it holds.
  EXPECT_EQ(html("<title>a<b</title>computer"), "<title>a<b</title>com-puter");
  // plaintext runs to the end.
  EXPECT_EQ(html("computer<plaintext>computer</plaintext>computer"),
            "com-puter<plaintext>computer</plaintext>computer");
  // In XML a prefixed raw-text element ends at its name as written, in any case.
  EXPECT_EQ(xml("<svg:style>a<b</style>computer</SVG:STYLE>computer"),
            "<svg:style>a<b</style>computer</SVG:STYLE>com-puter");
  // In HTML, a prefixed name is no raw-text element, though left alone.
  EXPECT_EQ(html("<x:style>computer<b>computer</b></x:style>computer"),
            "<x:style>computer<b>computer</b></x:style>com-puter");
  // "<!-->" and "<!--->" are whole comments.
  EXPECT_EQ(html("<!-->computer <!--->computer <!-- -->computer"),
            "<!-->com-puter <!--->com-puter <!-- -->com-puter");
}

TEST(MarkupStructure, ProtectedContentAndTheCallersOwn) {
  std::vector<std::string> names(protectedElements().begin(), protectedElements().end());
  EXPECT_EQ(names,
            (std::vector<std::string>{"script", "style", "pre", "code", "kbd", "samp", "var",
                                      "textarea", "title", "math", "svg", "option", "xmp", "iframe",
                                      "noembed", "noframes", "noscript", "plaintext"}));
  for (const std::string& name : names) {
    if (name == "plaintext") continue;
    const std::string text = cat({"<", name, ">computer</", name, ">"});
    EXPECT_EQ(html(cat({text, "computer"})), cat({text, "com-puter"})) << name;
  }
  // The caller's elements, by local name or whole name, in any case in HTML.
  TextOptions options = markupOptions();
  options.skipElements = {"address", "m:Formula"};
  EXPECT_EQ(html("<ADDRESS>computer<p lang=de>computer</p></ADDRESS>computer "
                 "<x:address>computer</x:address><m:formula>computer</m:formula>",
                 options),
            "<ADDRESS>computer<p lang=de>computer</p></ADDRESS>com-puter "
            "<x:address>computer</x:address><m:formula>computer</m:formula>");
  // Classes: nohyphenate and donthyphenate by default, among others.
  EXPECT_EQ(html("<p class=\"a nohyphenate\">computer</p><p class='donthyphenate'>computer</p>"
                 "<p class=nohyphenatex>computer</p>"),
            "<p class=\"a nohyphenate\">computer</p><p class='donthyphenate'>computer</p>"
            "<p class=nohyphenatex>com-puter</p>");
  options.skipClasses = {"verbatim"};
  EXPECT_EQ(
      html("<div class=\"x verbatim y\">computer</div><p class=nohyphenate>computer</p>", options),
      "<div class=\"x verbatim y\">computer</div><p class=nohyphenate>com-puter</p>");
}

TEST(MarkupStructure, LangIsReadWhole) {
  // However long, as a tag reads it.
  std::string tail;
  for (int i = 0; i < 40; ++i) tail += "-abcdefgh";
  EXPECT_EQ(html(cat({"<p lang=\"de-CH", tail, "\">computer</p>"})),
            cat({"<p lang=\"de-CH", tail, "\">com-pu-ter</p>"}));
  EXPECT_EQ(html(cat({"<p lang=\"de", tail, "-abcdefghi\">computer</p>"})),
            cat({"<p lang=\"de", tail, "-abcdefghi\">computer</p>"}));
  // No value is lang="": language unknown.
  EXPECT_EQ(html("<div lang=de><p lang>computer</p><p lang/>computer</div>"),
            "<div lang=de><p lang>computer</p><p lang/>computer</div>");
  // xml:lang wins wherever it stands; the first of two lang attributes counts.
  EXPECT_EQ(html("<p xml:lang=de lang=fr>computer</p><p lang=de lang=en>computer</p>"),
            "<p xml:lang=de lang=fr>com-pu-ter</p><p lang=de lang=en>com-pu-ter</p>");
}

TEST(MarkupStructure, NamedReferencesAreTheirCharacters) {
  const std::string german = "<p lang=de>Ausf&uuml;hrungsbestimmungen Ausf&#252;hrungsbestimmungen";
  const std::string out = html(german);
  // The same breaks, never inside a reference.
  EXPECT_EQ(out,
            "<p lang=de>Aus-f&uuml;h-rungs-be-stim-mun-gen Aus-f&#252;h-rungs-be-stim-mun-gen");
  EXPECT_EQ(insertHyphens(french(), "<p>&eacute;l&eacute;gance</p>", markupOptions()),
            "<p>&eacute;l&eacute;-gance</p>");
}

TEST(MarkupStructure, TextHyphenatedBeforeIsLeftAsItIs) {
  const std::string text =
      "<p lang=de>Wissenschaftler computer</p> hyphenation <b>representation</b> computer";
  for (const std::string_view hyphen : {"-", "|", "\xC2\xAD", "<wbr>", "&shy;", "=="}) {
    for (const bool markup : {true, false}) {
      TextOptions options;
      options.markup = markup;
      options.hyphen = std::string(hyphen);
      const std::string once = insertHyphens(english_US(), text, options);
      EXPECT_NE(once, text);
      EXPECT_EQ(insertHyphens(english_US(), once, options), once) << hyphen;
      EXPECT_EQ(byteByByte(once, options), once) << hyphen;
    }
  }
  // A hyphen between letters makes the word the author's; elsewhere not.
  TextOptions bar = markupOptions();
  bar.hyphen = std::string("|");
  EXPECT_EQ(html("hyphen|ation | computer", bar), "hyphen|ation | com|puter");
}

TEST(MarkupStructure, AnyChunkingGivesTheSameOutput) {
  const std::string text =
      "<?xml version=\"1.0\"?><r><p xml:lang=\"de\">computer<svg:style>a<b</svg:style>"
      "Ausf&uuml;hrungsbestimmungen</p><!---->computer<pre/>hyphenation</r>";
  EXPECT_EQ(byteByByte(text, markupOptions()), html(text));
  const std::string page =
      "<div lang=de><ul><li>computer<li lang=fr>hyphenation</ul><title>a<b</title>"
      "<p lang=\"de-CH-abcdefgh-abcdefgh\">computer<table><tr><td>computer</table></div>";
  EXPECT_EQ(byteByByte(page, markupOptions()), html(page));
}

}  // namespace
}  // namespace liang
