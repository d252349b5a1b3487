// Zip archives in memory, through libzip: a reader of an archive's bytes and
// a writer that makes a new archive from entries copied out of a reader
// (compressed bytes, time, attributes, extra fields and comment as they are)
// or from new contents. Failures throw ZipProblem with libzip's message.
#ifndef LIANG_EPUB_ZIP_HPP_
#define LIANG_EPUB_ZIP_HPP_

#include <cstdint>
#include <ctime>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

struct zip;
struct zip_source;

namespace liang::internal::epub {

struct ZipProblem {
  std::string message;
  bool notZip = false;  // the bytes are no zip archive at all
};

struct ZipEntry {
  std::string name;
  std::uint16_t method = 0;  // compression method (0: stored)
  std::time_t mtime = 0;
  // Encrypted by the zip format itself (a password): not to be copied,
  // since libzip would have to decrypt it.
  bool zipEncrypted = false;
};

// An archive read from bytes that the caller keeps alive.
class ZipReader {
 public:
  explicit ZipReader(std::string_view bytes);
  ~ZipReader();
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  std::uint64_t size() const;
  ZipEntry entry(std::uint64_t index) const;
  std::optional<std::uint64_t> find(std::string_view name) const;
  // The uncompressed contents of an entry.
  std::string read(std::uint64_t index) const;

 private:
  friend class ZipWriter;
  zip* archive_ = nullptr;
};

// A new archive in memory. Copies read from their reader when finish()
// runs, so the reader must outlive it.
class ZipWriter {
 public:
  ZipWriter();
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // The entry `index` of `from` with its compressed bytes as they are.
  void copy(const ZipReader& from, std::uint64_t index);
  // The same entry, stored (uncompressed) and without extra fields.
  void copyStored(const ZipReader& from, std::uint64_t index);
  // A new entry with the name, time and attributes of `from`'s `index`,
  // holding `contents`, deflated.
  void replace(const ZipReader& from, std::uint64_t index, std::string contents);
  // The archive's bytes.
  std::string finish();

 private:
  std::uint64_t add(const ZipReader& from, std::uint64_t index, zip_source* source);
  void copyMetadata(const ZipReader& from, std::uint64_t index, std::uint64_t to, bool extraFields);
  zip_source* buffer_ = nullptr;
  zip* archive_ = nullptr;
  std::deque<std::string> contents_;  // the new entries' bytes, until finish()
};

}  // namespace liang::internal::epub

#endif  // LIANG_EPUB_ZIP_HPP_
