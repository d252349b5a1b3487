// A whole EPUB hyphenated: the package read (PackageXml), the entries copied
// or hyphenated into a new archive (Zip), the result written beside its
// destination and renamed into place.
#include "liang/Epub.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <system_error>
#include <utility>

#include "epub/PackageXml.hpp"
#include "epub/Zip.hpp"
#include "liang/Language.hpp"
#include "liang/LanguageTag.hpp"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace liang {

EpubError::EpubError(EpubFailure failure, const std::string& message)
    : Error(message), failure_(failure) {}

namespace {

using internal::epub::Package;
using internal::epub::XmlProblem;
using internal::epub::ZipProblem;
using internal::epub::ZipReader;
using internal::epub::ZipWriter;

constexpr std::string_view kContainer = "META-INF/container.xml";
constexpr std::string_view kEncryption = "META-INF/encryption.xml";

// What the book's package says, as far as hyphenating goes.
struct Book {
  Package package;
  std::set<std::string> contentDocuments;  // hyphenated (the navigation document is not)
  std::set<std::string> encrypted;         // listed in encryption.xml
};

bool isContentType(std::string_view type) {
  return type == "application/xhtml+xml" || type == "text/html";
}

bool hasProperty(std::string_view properties, std::string_view wanted) {
  while (!properties.empty()) {
    const std::size_t start = properties.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) break;
    properties.remove_prefix(start);
    const std::size_t end = std::min(properties.find_first_of(" \t\r\n"), properties.size());
    if (properties.substr(0, end) == wanted) return true;
    properties.remove_prefix(end);
  }
  return false;
}

// UTF-16 text: a byte order mark, or a zero byte in its first two (markup
// starts with ASCII). The text functions read UTF-8 only.
bool isUtf16(std::string_view bytes) {
  if (bytes.size() < 2) return false;
  const auto first = static_cast<unsigned char>(bytes[0]);
  const auto second = static_cast<unsigned char>(bytes[1]);
  return (first == 0xFF && second == 0xFE) || (first == 0xFE && second == 0xFF) || first == 0 ||
         second == 0;
}

std::string inQuotes(std::string_view name) {
  std::string text;
  text.reserve(name.size() + 2);
  text += '\'';
  text += name;
  text += '\'';
  return text;
}

Book readBook(const ZipReader& zip) {
  const std::optional<std::uint64_t> container = zip.find(kContainer);
  if (!container) {
    throw EpubError(EpubFailure::kNoContainer,
                    "the archive has no META-INF/container.xml: it is no EPUB");
  }
  Book book;
  std::optional<std::string> packagePath;
  try {
    packagePath = internal::epub::packagePath(zip.read(*container));
  } catch (const XmlProblem& problem) {
    throw EpubError(EpubFailure::kMalformed,
                    "META-INF/container.xml is not well-formed XML (" + problem.message + ")");
  }
  if (!packagePath) {
    throw EpubError(EpubFailure::kNoPackage, "META-INF/container.xml names no package document");
  }
  const std::optional<std::uint64_t> package = zip.find(*packagePath);
  if (!package) {
    throw EpubError(EpubFailure::kNoPackage, "the package document " + inQuotes(*packagePath) +
                                                 " that META-INF/container.xml names is missing");
  }
  try {
    book.package = internal::epub::readPackage(zip.read(*package), *packagePath);
  } catch (const XmlProblem& problem) {
    throw EpubError(EpubFailure::kMalformed, "the package document " + inQuotes(*packagePath) +
                                                 " is not well-formed XML (" + problem.message +
                                                 ")");
  }
  for (const internal::epub::ManifestItem& item : book.package.items) {
    if (isContentType(item.mediaType) && !hasProperty(item.properties, "nav") &&
        !item.path.empty()) {
      book.contentDocuments.insert(item.path);
    }
  }
  if (const std::optional<std::uint64_t> encryption = zip.find(kEncryption)) {
    try {
      for (std::string& entry : internal::epub::encryptedEntries(zip.read(*encryption))) {
        book.encrypted.insert(std::move(entry));
      }
    } catch (const XmlProblem& problem) {
      throw EpubError(EpubFailure::kMalformed,
                      "META-INF/encryption.xml is not well-formed XML (" + problem.message + ")");
    }
  }
  return book;
}

Hyphenator startingHyphenator(const EpubOptions& options, std::string_view language) {
  if (options.hyphenator) return *options.hyphenator;
  if (language.empty()) {
    throw EpubError(EpubFailure::kNoLanguage, "the book names no language (dc:language)");
  }
  const std::optional<Language> known = languageForTag(language);
  if (!known || !languageEmbedded(*known)) {
    throw EpubError(EpubFailure::kNoLanguage,
                    "the book's language " + inQuotes(language) + " is not one liang carries");
  }
  return languageHyphenator(*known);
}

// Every entry into `writer`: mimetype first and stored, then the others in
// their order, content documents hyphenated.
void writeEntries(const ZipReader& zip, const Book& book, const Hyphenator& h,
                  const TextOptions& text, ZipWriter& writer, EpubReport& report) {
  const std::optional<std::uint64_t> mimetype = zip.find("mimetype");
  if (mimetype) writer.copyStored(zip, *mimetype);
  std::size_t contentEntries = 0, encryptedContent = 0;
  for (std::uint64_t i = 0; i < zip.size(); ++i) {
    if (i == mimetype) continue;
    const internal::epub::ZipEntry entry = zip.entry(i);
    const bool content = book.contentDocuments.count(entry.name) != 0;
    contentEntries += content ? 1 : 0;
    if (entry.zipEncrypted) {
      throw EpubError(EpubFailure::kUnreadable,
                      inQuotes(entry.name) +
                          " is protected by a zip password, which the format does not allow, "
                          "and liang cannot copy it");
    }
    if (book.encrypted.count(entry.name) != 0) {
      report.encrypted.push_back(entry.name);
      encryptedContent += content ? 1 : 0;
      writer.copy(zip, i);
      continue;
    }
    if (!content) {
      writer.copy(zip, i);
      continue;
    }
    std::string original = zip.read(i);
    if (isUtf16(original)) {
      report.utf16.push_back(entry.name);
      writer.copy(zip, i);
      continue;
    }
    std::string hyphenated = insertHyphens(h, original, text);
    ++report.documents;
    if (hyphenated == original) {
      writer.copy(zip, i);
    } else {
      writer.replace(zip, i, std::move(hyphenated));
    }
  }
  if (contentEntries > 0 && encryptedContent == contentEntries) {
    throw EpubError(EpubFailure::kAllEncrypted,
                    "every content document of the book is encrypted "
                    "(META-INF/encryption.xml): there is nothing liang can hyphenate");
  }
}

std::string readFile(const std::filesystem::path& path) {
  std::FILE* file = std::fopen(path.string().c_str(), "rb");
  if (file == nullptr) {
    throw EpubError(EpubFailure::kUnreadable,
                    "cannot read " + inQuotes(path.string()) + ": " + std::strerror(errno));
  }
  std::string bytes;
  char block[1 << 16];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) {
    throw EpubError(EpubFailure::kUnreadable,
                    "cannot read " + inQuotes(path.string()) + ": " + std::strerror(error));
  }
  return bytes;
}

// A file beside `destination` that did not exist, opened for writing.
std::FILE* createBeside(const std::filesystem::path& destination, std::filesystem::path& made) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".liang-%08x", static_cast<unsigned>(random()));
    std::string name = ".";
    name += destination.filename().string();
    name += suffix;
    made = destination;
    made.replace_filename(name);
    // "x": fails when the file exists, so no one else's file is taken.
    if (std::FILE* file = std::fopen(made.string().c_str(), "wbx")) return file;
    if (errno != EEXIST) break;
  }
  throw EpubError(EpubFailure::kUnwritable, "cannot create a file beside " +
                                                inQuotes(destination.string()) + ": " +
                                                std::strerror(errno));
}

}  // namespace

void writeEpubFile(const std::filesystem::path& destination, std::string_view bytes) {
  std::filesystem::path temporary;
  std::FILE* file = createBeside(destination, temporary);
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fflush(file) == 0 && ok;
#ifndef _WIN32
  ok = ok && ::fsync(fileno(file)) == 0;
#endif
  int error = errno;
  ok = std::fclose(file) == 0 && ok;
  if (ok) {
    std::error_code renamed;
    std::filesystem::rename(temporary, destination, renamed);
    if (!renamed) return;
    error = renamed.value();
  } else if (error == 0) {
    error = errno;
  }
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  throw EpubError(EpubFailure::kUnwritable,
                  "cannot write " + inQuotes(destination.string()) + ": " + std::strerror(error));
}

EpubReport hyphenateEpub(std::string_view book, std::string& out, const EpubOptions& options) {
  EpubReport report;
  try {
    const ZipReader zip(book);
    const Book parts = readBook(zip);
    report.language = parts.package.language;
    const Hyphenator h = startingHyphenator(options, report.language);
    TextOptions text = options.text;
    text.markup = true;
    ZipWriter writer;
    writeEntries(zip, parts, h, text, writer, report);
    out = writer.finish();
  } catch (const ZipProblem& problem) {
    if (problem.notZip) {
      throw EpubError(EpubFailure::kNotZip,
                      problem.message.empty() ? std::string("not a zip archive")
                                              : "a damaged zip archive (" + problem.message + ")");
    }
    throw EpubError(EpubFailure::kUnreadable, "cannot read the book: " + problem.message);
  }
  return report;
}

EpubReport hyphenateEpubFile(const std::filesystem::path& source,
                             const std::filesystem::path& destination, const EpubOptions& options) {
  const std::string book = readFile(source);
  std::string out;
  EpubReport report = hyphenateEpub(book, out, options);
  writeEpubFile(destination, out);
  return report;
}

}  // namespace liang
