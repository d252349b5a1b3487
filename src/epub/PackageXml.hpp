// The three small XML files that say what an EPUB holds, read with expat:
// META-INF/container.xml (where the package document is), the package
// document (the book's language and its manifest) and
// META-INF/encryption.xml (which entries are encrypted). Paths come back as
// entry names of the archive: references resolved against the file that
// holds them, percent-escapes decoded, fragments dropped.
#ifndef LIANG_EPUB_PACKAGEXML_HPP_
#define LIANG_EPUB_PACKAGEXML_HPP_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace liang::internal::epub {

// XML that expat rejects: what it said, and where.
struct XmlProblem {
  std::string message;
};

struct ManifestItem {
  std::string path;        // the entry name
  std::string mediaType;   // as written
  std::string properties;  // as written (EPUB 3: "nav", "scripted", ...)
};

struct Package {
  std::string language;  // the first dc:language, trimmed; "" when none
  std::vector<ManifestItem> items;
};

// The entry name that `reference` (a relative URL, as in href) names when
// it is written in the entry `base`.
std::string resolveReference(std::string_view base, std::string_view reference);

// The full-path of container.xml's first rootfile of the package media
// type (else its first rootfile); nothing when it names none. Throws
// XmlProblem.
std::optional<std::string> packagePath(std::string_view containerXml);

// The package document at entry `path`. Throws XmlProblem.
Package readPackage(std::string_view packageXml, std::string_view path);

// The entries that encryption.xml lists (its CipherReference URIs, relative
// to the root of the archive). Throws XmlProblem.
std::vector<std::string> encryptedEntries(std::string_view encryptionXml);

}  // namespace liang::internal::epub

#endif  // LIANG_EPUB_PACKAGEXML_HPP_
