// liang: hyphenating a whole EPUB e-book.
//
// An optional component: the library liang::epub (CMake target liang_epub),
// built where libzip and expat are found; the core library liang needs
// neither. Include this header on its own: liang.hpp does not.
//
// hyphenateEpub reads the book's META-INF/container.xml, the package
// document it names, the book's first dc:language and the manifest's content
// documents (media types application/xhtml+xml and text/html), and puts
// hyphens into the text of each content document with the markup rules of
// liang/Text.hpp (TextOptions::markup), starting from the book's language
// and following lang and xml:lang inside. Guarantees:
//  - Every other entry is copied as it is, its compressed bytes included,
//    in the same order: the package document, the navigation document (the
//    manifest item whose properties hold "nav"), toc.ncx, style sheets,
//    fonts, images. A content document that gains no hyphen is copied as it
//    is too, so hyphenating a result again gives the same bytes.
//  - The entry mimetype is written first and stored, as the format wants.
//  - Entries listed in META-INF/encryption.xml (encrypted or obfuscated
//    resources), and content documents in UTF-16, are copied unchanged and
//    named in the report.
//  - A content document minus the hyphens put in is its original, byte for
//    byte.
//  - Nothing is written on failure: hyphenateEpubFile writes to a temporary
//    file beside the destination and renames it only when complete, and
//    reads the whole source first, so the source may be the destination.
//  - Failures throw EpubError, whose kind says which (not a zip, no
//    container, ...). The failures of hyphenate pass through.
#ifndef LIANG_EPUB_HPP_
#define LIANG_EPUB_HPP_

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "liang/Hyphenator.hpp"
#include "liang/Text.hpp"
#include "liang/Types.hpp"
#include "liang/export.h"

namespace liang {
LIANG_PUBLIC_BEGIN

// How a book is hyphenated.
struct EpubOptions {
  // How each content document's text is hyphenated; markup is always on.
  // The default hyphen is U+00AD SOFT HYPHEN.
  TextOptions text;
  // The language each content document starts in; none: the language of
  // the book's dc:language (an EpubError when liang does not carry it).
  std::optional<Hyphenator> hyphenator;
};

// What hyphenating a book did.
struct EpubReport {
  // The book's first dc:language as written ("" when it has none).
  std::string language;
  // The content documents hyphenated (those that gained no hyphen included).
  std::size_t documents = 0;
  // Entries listed in META-INF/encryption.xml, copied unchanged.
  std::vector<std::string> encrypted;
  // Content documents in UTF-16, copied unchanged.
  std::vector<std::string> utf16;
};

// Why a book could not be hyphenated.
enum class EpubFailure {
  kUnreadable,    // the source cannot be read, or holds an entry under a zip password
  kNotZip,        // the source is not a zip archive
  kNoContainer,   // the archive has no META-INF/container.xml
  kNoPackage,     // container.xml names no package document, or one the archive lacks
  kMalformed,     // container.xml, the package document or encryption.xml is not well-formed
  kNoLanguage,    // no hyphenator given, and no dc:language that liang carries
  kAllEncrypted,  // every content document is encrypted
  kUnwritable,    // the destination cannot be written
};

// The failure of a book: its kind, and a one-line message that names it.
class EpubError : public Error {
 public:
  EpubError(EpubFailure failure, const std::string& message);
  EpubFailure failure() const noexcept { return failure_; }

 private:
  EpubFailure failure_;
};

// Hyphenates the book whose bytes are `book`; the new book's bytes replace
// the contents of `out`.
EpubReport hyphenateEpub(std::string_view book, std::string& out, const EpubOptions& options = {});

// Hyphenates the book at `source` into `destination` (which may be the
// same path), through a temporary file beside `destination`.
EpubReport hyphenateEpubFile(const std::filesystem::path& source,
                             const std::filesystem::path& destination,
                             const EpubOptions& options = {});

// Writes a book's bytes (hyphenateEpub's `out`) to `destination` through a
// temporary file beside it, renamed into place only when complete.
void writeEpubFile(const std::filesystem::path& destination, std::string_view bytes);

LIANG_PUBLIC_END
}  // namespace liang

#endif  // LIANG_EPUB_HPP_
