// The languages layer's run-time half in the WebAssembly build: it stands in
// for the loader (Loader.cpp), the shared hyphenators (SharedHyphenators.cpp)
// and the generated table of embedded files, which the native library has.
//
// The engine carries no language. JavaScript reads a language's file (from
// the package in Node, over the network in browsers) and hands its parts to
// registerLanguage: the text of its characters, exceptions and licence, and
// the prebuilt image of its pattern trie, which the build makes as the
// native build's embedded table does (src/core/PatternImage.hpp) and which
// reads in one pass where the text would need the pattern parser;
// from then on the language is "embedded": languageEmbedded(x) is true, so a
// lang attribute in markup reaches it, and languageHyphenator(x) returns it.
// A language not registered is not embedded, exactly as a native build that
// leaves it out (LIANG_LANGUAGES).
//
// JavaScript runs the engine on one thread, so the registry needs no lock.

#include "WebLanguages.hpp"

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/PatternImage.hpp"
#include "core/Utf8.hpp"
#include "languages/EmbeddedFiles.hpp"
#include "languages/Loader.hpp"
#include "liang/Deferred.hpp"
#include "liang/Exception.hpp"
#include "liang/Language.hpp"
#include "liang/Pattern.hpp"

namespace liang {
namespace web {
namespace {

constexpr std::size_t kLanguageCount = static_cast<std::size_t>(fromEnum(highestLanguage())) + 1;

struct Registry {
  std::array<std::optional<LanguageParts>, kLanguageCount> parts;
  std::array<std::optional<Hyphenator>, kLanguageCount> hyphenators;
  // The files of the registered languages by name, and the sorted table of
  // them that embeddedFiles() shows (views into the map's stable nodes).
  std::map<std::string, std::string, std::less<>> files;
  std::vector<internal::EmbeddedFile> table;
};

Registry& registry() {
  static Registry* const made = new Registry();  // never destroyed, as the native slots
  return *made;
}

std::size_t slot(Language x) { return static_cast<std::size_t>(fromEnum(x)); }

}  // namespace

void registerLanguage(Language x, std::string_view chars, std::string_view patternImage,
                      std::string_view exceptions, std::string_view licence) {
  Registry& r = registry();
  if (r.parts[slot(x)]) return;
  LanguageParts parts{
      CharFold(std::make_shared<const Deferred<internal::CodePointMap>>(
          internal::parseCharMap(internal::decodeUtf8(chars)))),
      std::make_shared<const Deferred<Patterns>>(internal::readPatternImage(patternImage)),
      parseExceptions(internal::decodeUtf8(exceptions))};
  const internal::LanguageMinima minima = internal::languageMinima(x);
  r.hyphenators[slot(x)].emplace(parts.chars, parts.patterns,
                                 std::make_shared<const Deferred<Exceptions>>(parts.exceptions),
                                 minima.left, minima.right);
  r.parts[slot(x)].emplace(std::move(parts));

  // The names languageEmbedded and languageLicence look for.
  const std::string stem = "hyph-" + std::string(languageAffix(x));
  r.files.emplace(stem + ".pat.txt.gz", std::string());
  r.files.emplace(stem + ".lic.txt.gz", std::string(licence));
  r.table.clear();
  for (const auto& [name, bytes] : r.files) r.table.push_back({name, bytes});
}

bool registered(Language x) noexcept { return registry().parts[slot(x)].has_value(); }

const LanguageParts& languageParts(Language x) {
  const std::optional<LanguageParts>& parts = registry().parts[slot(x)];
  if (!parts) throw Error("The language " + show(x) + " is not loaded");
  return *parts;
}

}  // namespace web

namespace internal {

std::span<const EmbeddedFile> embeddedFiles() noexcept { return web::registry().table; }

const EmbeddedFile* findEmbeddedFile(std::string_view name,
                                     std::span<const EmbeddedFile> files) noexcept {
  for (const EmbeddedFile& file : files) {
    if (file.name == name) return &file;
  }
  return nullptr;
}

// The files are registered as text already inflated.
std::string embeddedFileBytes(std::string_view name, std::span<const EmbeddedFile> files) {
  const EmbeddedFile* found = findEmbeddedFile(name, files);
  if (found == nullptr) throw Error("Could not find " + std::string(name));
  return std::string(found->bytes);
}

}  // namespace internal

Hyphenator loadHyphenator(Language x) { return languageHyphenator(x); }

const Hyphenator& languageHyphenator(Language x) {
  const std::optional<Hyphenator>& h = web::registry().hyphenators[web::slot(x)];
  if (!h) throw Error("The language " + show(x) + " is not loaded");
  return *h;
}

}  // namespace liang
