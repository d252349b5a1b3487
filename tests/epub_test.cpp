// liang::epub on small books that the test makes from its own files
// (tests/data/epub: an EPUB 3 and an EPUB 2, each with two chapters in two
// languages, a style sheet, an image and a font that encryption.xml lists).
// The books are zipped here with libzip, apart from the library's own zip
// code, and written to LIANG_EPUB_BOOKS for the epubcheck test.
#include "liang/Epub.hpp"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "liang/liang.hpp"

namespace {

namespace fs = std::filesystem;
const std::string kShy = "\xC2\xAD";

std::string fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Entry {
  std::string name, contents;
  bool stored = false;
};

// A zip archive of the entries in their order, through libzip in memory.
std::string zipOf(const std::vector<Entry>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_source_keep(buffer);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  for (const Entry& entry : entries) {
    zip_source_t* source =
        zip_source_buffer(archive, entry.contents.data(), entry.contents.size(), 0);
    const zip_int64_t index = zip_file_add(archive, entry.name.c_str(), source, 0);
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                             entry.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 9);
    zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), 1767225600, 0);
  }
  EXPECT_EQ(zip_close(archive), 0);
  zip_source_open(buffer);
  zip_source_seek(buffer, 0, SEEK_END);
  std::string bytes(static_cast<std::size_t>(zip_source_tell(buffer)), '\0');
  zip_source_seek(buffer, 0, SEEK_SET);
  zip_source_read(buffer, bytes.data(), bytes.size());
  zip_source_close(buffer);
  zip_source_free(buffer);
  return bytes;
}

// The entries of an archive in their order: name, contents, whether stored.
std::vector<Entry> entriesOf(const std::string& bytes) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
  EXPECT_NE(archive, nullptr);
  std::vector<Entry> entries;
  for (zip_int64_t i = 0; archive != nullptr && i < zip_get_num_entries(archive, 0); ++i) {
    zip_stat_t stat;
    zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
    Entry entry{stat.name, std::string(stat.size, '\0'), stat.comp_method == ZIP_CM_STORE};
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
    EXPECT_EQ(zip_fread(file, entry.contents.data(), stat.size),
              static_cast<zip_int64_t>(stat.size));
    zip_fclose(file);
    entries.push_back(std::move(entry));
  }
  if (archive != nullptr) zip_discard(archive);
  return entries;
}

// The files of a book's folder, mimetype first and stored, the others in
// the order of their paths.
std::vector<Entry> bookEntries(const std::string& book) {
  const fs::path root = fs::path(LIANG_EPUB_DATA) / book;
  std::vector<Entry> entries;
  for (const fs::directory_entry& file : fs::recursive_directory_iterator(root)) {
    if (!file.is_regular_file()) continue;
    const std::string name = fs::relative(file.path(), root).generic_string();
    entries.push_back({name, fileBytes(file.path()), name == "mimetype"});
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return std::make_pair(a.name != "mimetype", a.name) <
           std::make_pair(b.name != "mimetype", b.name);
  });
  return entries;
}

std::string withoutShy(std::string text) {
  for (std::size_t at; (at = text.find(kShy)) != std::string::npos;) text.erase(at, kShy.size());
  return text;
}

// Soft hyphens shown as '-'.
std::string shown(std::string_view text) {
  std::string out;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text.substr(at, kShy.size()) == kShy) {
      out += '-';
      at += kShy.size() - 1;
    } else {
      out += text[at];
    }
  }
  return out;
}

struct Book {
  std::string name, folder, chapter1, chapter2;
};

const Book kBooks[] = {
    {"book3", "EPUB/", "EPUB/text/chapter1.xhtml", "EPUB/text/chapter2.xhtml"},
    {"book2", "OEBPS/", "OEBPS/text/chapter1.xhtml", "OEBPS/text/chapter2.xhtml"},
};

void PrintTo(const Book& book, std::ostream* out) { *out << book.name; }

class EpubBook : public testing::TestWithParam<Book> {};

// The promises of liang/Epub.hpp on each book: the entries in their order,
// mimetype first and stored, every other entry but the chapters as it was,
// the chapters with only soft hyphens added, the font reported, and a
// second run giving the same bytes.
TEST_P(EpubBook, HyphenatesOnlyTheChapters) {
  const Book& book = GetParam();
  const std::vector<Entry> entries = bookEntries(book.name);
  const std::string original = zipOf(entries);
  fs::create_directories(LIANG_EPUB_BOOKS);
  std::ofstream(fs::path(LIANG_EPUB_BOOKS) / (book.name + ".epub"), std::ios::binary) << original;

  std::string hyphenated;
  const liang::EpubReport report = liang::hyphenateEpub(original, hyphenated);
  EXPECT_EQ(report.documents, 2u);
  EXPECT_EQ(report.encrypted, std::vector<std::string>{book.folder + "font.otf"});
  EXPECT_EQ(report.language, book.name == "book3" ? "en" : "de");

  const std::vector<Entry> out = entriesOf(hyphenated);
  ASSERT_EQ(out.size(), entries.size());
  EXPECT_TRUE(out[0].name == "mimetype" && out[0].stored);
  for (std::size_t i = 0; i < out.size(); ++i) {
    SCOPED_TRACE(entries[i].name);
    EXPECT_EQ(out[i].name, entries[i].name);
    const bool chapter = entries[i].name == book.chapter1 || entries[i].name == book.chapter2;
    if (chapter) {
      EXPECT_NE(out[i].contents, entries[i].contents);
      EXPECT_EQ(withoutShy(out[i].contents), entries[i].contents);
    } else {
      EXPECT_EQ(out[i].contents, entries[i].contents);
    }
  }

  std::string again;
  liang::hyphenateEpub(hyphenated, again);
  EXPECT_EQ(again, hyphenated);
}

// Each chapter in its language, lang attributes followed, code left alone:
// the breaks of TeX's patterns for these words, as its dictionaries print them.
TEST_P(EpubBook, FollowsTheLanguages) {
  const Book& book = GetParam();
  std::string hyphenated;
  liang::hyphenateEpub(zipOf(bookEntries(book.name)), hyphenated);
  std::map<std::string, std::string> chapters;
  for (const Entry& entry : entriesOf(hyphenated)) chapters[entry.name] = shown(entry.contents);
  const std::string english =
      book.name == "book3" ? chapters[book.chapter1] : chapters[book.chapter2];
  const std::string german =
      book.name == "book3" ? chapters[book.chapter2] : chapters[book.chapter1];
  EXPECT_NE(english.find("<h1>Hy-phen-ation ex-plained</h1>"), std::string::npos) << english;
  EXPECT_NE(german.find("Die Sil-ben-tren-nung ver-bes-sert den Block-satz"), std::string::npos)
      << german;
  EXPECT_NE(german.find("<title>Silbentrennung erklärt</title>"), std::string::npos);
  if (book.name == "book3") {
    EXPECT_NE(english.find(">Sil-ben-tren-nung</span>"), std::string::npos);
    EXPECT_NE(german.find(">hy-phen-ation</span>"), std::string::npos);
    EXPECT_NE(english.find("<pre>unbreakable configuration</pre>"), std::string::npos);
    // The navigation document is the reading system's table of contents.
    EXPECT_EQ(chapters["EPUB/nav.xhtml"],
              fileBytes(fs::path(LIANG_EPUB_DATA) / "book3/EPUB/nav.xhtml"));
  } else {
    EXPECT_NE(german.find("<code>Zeichenkettenverarbeitung</code>"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Books, EpubBook, testing::ValuesIn(kBooks),
                         [](const testing::TestParamInfo<Book>& book) { return book.param.name; });

// -l: the language given replaces the book's; options pass through.
TEST(Epub, LanguageAndSeparatorGiven) {
  liang::EpubOptions options;
  options.hyphenator = liang::languageHyphenator(*liang::languageForTag("de"));
  options.text.hyphen = "=";
  std::string hyphenated;
  const liang::EpubReport report =
      liang::hyphenateEpub(zipOf(bookEntries("book3")), hyphenated, options);
  EXPECT_EQ(report.language, "en");
  for (const Entry& entry : entriesOf(hyphenated)) {
    if (entry.name == "EPUB/text/chapter2.xhtml") {
      EXPECT_NE(entry.contents.find("Die Sil=ben=tren=nung"), std::string::npos);
    }
  }
}

// A book whose mimetype is not first, and deflated, gets it first and stored.
TEST(Epub, PutsMimetypeFirst) {
  std::vector<Entry> entries = bookEntries("book3");
  Entry mimetype = entries.front();
  mimetype.stored = false;
  entries.erase(entries.begin());
  entries.push_back(mimetype);
  std::string hyphenated;
  liang::hyphenateEpub(zipOf(entries), hyphenated);
  const std::vector<Entry> out = entriesOf(hyphenated);
  EXPECT_EQ(out.front().name, "mimetype");
  EXPECT_TRUE(out.front().stored);
  EXPECT_EQ(out.front().contents, "application/epub+zip");
  EXPECT_EQ(out.size(), entries.size());
}

// Replaces (or with no contents removes) an entry of book3.
std::string book3With(const std::string& name, const std::string* contents) {
  std::vector<Entry> entries = bookEntries("book3");
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    if (it->name != name) continue;
    if (contents == nullptr) {
      entries.erase(it);
    } else {
      it->contents = *contents;
    }
    break;
  }
  return zipOf(entries);
}

liang::EpubFailure failureOf(const std::string& book) {
  std::string out = "untouched";
  try {
    liang::hyphenateEpub(book, out);
  } catch (const liang::EpubError& error) {
    EXPECT_EQ(out, "untouched");
    EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos);
    return error.failure();
  }
  ADD_FAILURE() << "no failure";
  return liang::EpubFailure::kUnreadable;
}

TEST(Epub, SaysWhatIsWrongWithABook) {
  using liang::EpubFailure;
  EXPECT_EQ(failureOf("plain text, no zip"), EpubFailure::kNotZip);
  EXPECT_EQ(failureOf(book3With("META-INF/container.xml", nullptr)), EpubFailure::kNoContainer);
  EXPECT_EQ(failureOf(book3With("EPUB/package.opf", nullptr)), EpubFailure::kNoPackage);
  const std::string noRootfile =
      "<container xmlns='urn:oasis:names:tc:opendocument:xmlns:container'/>";
  EXPECT_EQ(failureOf(book3With("META-INF/container.xml", &noRootfile)), EpubFailure::kNoPackage);
  const std::string broken = "<container><rootfiles>";
  EXPECT_EQ(failureOf(book3With("META-INF/container.xml", &broken)), EpubFailure::kMalformed);
  std::string package = fileBytes(fs::path(LIANG_EPUB_DATA) / "book3/EPUB/package.opf");
  const std::string japanese = std::string(package).replace(package.find(">en<"), 4, ">ja<");
  EXPECT_EQ(failureOf(book3With("EPUB/package.opf", &japanese)), EpubFailure::kNoLanguage);
  const std::string encrypted =
      "<encryption xmlns='urn:oasis:names:tc:opendocument:xmlns:container' "
      "xmlns:enc='http://www.w3.org/2001/04/xmlenc#'>"
      "<enc:EncryptedData><enc:CipherData><enc:CipherReference URI='EPUB/text/chapter1.xhtml'/>"
      "</enc:CipherData></enc:EncryptedData>"
      "<enc:EncryptedData><enc:CipherData><enc:CipherReference URI='EPUB/text/chapter%32.xhtml'/>"
      "</enc:CipherData></enc:EncryptedData></encryption>";
  EXPECT_EQ(failureOf(book3With("META-INF/encryption.xml", &encrypted)),
            EpubFailure::kAllEncrypted);
}

std::vector<std::string> filesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
    names.push_back(file.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Files: the source may be the destination; a failure leaves the folder as
// it was, the source included.
TEST(Epub, FilesWrittenWholeOrNotAtAll) {
  const fs::path folder = fs::path(LIANG_EPUB_BOOKS) / "files";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path book = folder / "book.epub";
  const std::string original = zipOf(bookEntries("book3"));
  std::ofstream(book, std::ios::binary) << original;
  liang::hyphenateEpubFile(book, book);
  std::string expected;
  liang::hyphenateEpub(original, expected);
  EXPECT_EQ(fileBytes(book), expected);
  EXPECT_EQ(filesIn(folder), std::vector<std::string>{"book.epub"});

  const fs::path bad = folder / "bad.epub";
  const std::string noPackage = book3With("EPUB/package.opf", nullptr);
  std::ofstream(bad, std::ios::binary) << noPackage;
  EXPECT_THROW(liang::hyphenateEpubFile(bad, bad), liang::EpubError);
  EXPECT_EQ(fileBytes(bad), noPackage);
  EXPECT_THROW(liang::hyphenateEpubFile(folder / "absent.epub", folder / "out.epub"),
               liang::EpubError);
  try {
    liang::hyphenateEpubFile(book, folder / "no such folder" / "out.epub");
    ADD_FAILURE() << "written into a folder that does not exist";
  } catch (const liang::EpubError& error) {
    EXPECT_EQ(error.failure(), liang::EpubFailure::kUnwritable);
  }
  EXPECT_EQ(filesIn(folder), (std::vector<std::string>{"bad.epub", "book.epub"}));
}

}  // namespace
