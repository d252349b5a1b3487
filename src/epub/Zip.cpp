#include "epub/Zip.hpp"

#include <zip.h>

#include <cstdio>
#include <string>
#include <utility>

namespace liang::internal::epub {
namespace {

[[noreturn]] void fail(zip_t* archive, std::string_view what) {
  throw ZipProblem{std::string(what) + ": " + zip_strerror(archive)};
}

}  // namespace

ZipReader::ZipReader(std::string_view bytes) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (source != nullptr) {
    archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (archive_ == nullptr) zip_source_free(source);
  }
  if (archive_ == nullptr) {
    const int code = zip_error_code_zip(&error);
    // No zip at all says nothing more; a damaged one says what is damaged.
    ZipProblem problem{code == ZIP_ER_NOZIP ? "" : zip_error_strerror(&error),
                       code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS};
    zip_error_fini(&error);
    throw problem;
  }
  zip_error_fini(&error);
}

ZipReader::~ZipReader() { zip_discard(archive_); }

std::uint64_t ZipReader::size() const {
  return static_cast<std::uint64_t>(zip_get_num_entries(archive_, 0));
}

ZipEntry ZipReader::entry(std::uint64_t index) const {
  zip_stat_t stat;
  if (zip_stat_index(archive_, index, ZIP_FL_ENC_RAW, &stat) != 0) fail(archive_, "zip entry");
  ZipEntry entry;
  entry.name = stat.name;
  entry.method = static_cast<std::uint16_t>(stat.comp_method);
  entry.mtime = stat.mtime;
  entry.zipEncrypted = stat.encryption_method != ZIP_EM_NONE;
  return entry;
}

std::optional<std::uint64_t> ZipReader::find(std::string_view name) const {
  const zip_int64_t index = zip_name_locate(archive_, std::string(name).c_str(), ZIP_FL_ENC_RAW);
  if (index < 0) return std::nullopt;
  return static_cast<std::uint64_t>(index);
}

std::string ZipReader::read(std::uint64_t index) const {
  zip_file_t* file = zip_fopen_index(archive_, index, 0);
  if (file == nullptr) fail(archive_, "cannot read a zip entry");
  std::string contents;
  char block[1 << 15];
  for (;;) {
    const zip_int64_t got = zip_fread(file, block, sizeof block);
    if (got < 0) {
      const std::string message = zip_file_strerror(file);
      zip_fclose(file);
      throw ZipProblem{"cannot read zip entry '" + entry(index).name + "': " + message};
    }
    if (got == 0) break;
    contents.append(block, static_cast<std::size_t>(got));
  }
  zip_fclose(file);
  return contents;
}

ZipWriter::ZipWriter() {
  zip_error_t error;
  zip_error_init(&error);
  buffer_ = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (buffer_ != nullptr) {
    zip_source_keep(buffer_);  // read back after zip_close
    archive_ = zip_open_from_source(buffer_, ZIP_TRUNCATE, &error);
  }
  if (archive_ == nullptr) {
    ZipProblem problem{zip_error_strerror(&error)};
    zip_error_fini(&error);
    if (buffer_ != nullptr) zip_source_free(buffer_);
    throw problem;
  }
  zip_error_fini(&error);
}

ZipWriter::~ZipWriter() {
  if (archive_ != nullptr) zip_discard(archive_);
  zip_source_free(buffer_);
}

std::uint64_t ZipWriter::add(const ZipReader& from, std::uint64_t index, zip_source_t* source) {
  if (source == nullptr) fail(archive_, "cannot copy a zip entry");
  const zip_int64_t to =
      zip_file_add(archive_, from.entry(index).name.c_str(), source, ZIP_FL_ENC_GUESS);
  if (to < 0) {
    zip_source_free(source);
    fail(archive_, "cannot add a zip entry");
  }
  return static_cast<std::uint64_t>(to);
}

void ZipWriter::copyMetadata(const ZipReader& from, std::uint64_t index, std::uint64_t to,
                             bool extraFields) {
  zip_t* in = from.archive_;
  zip_file_set_mtime(archive_, to, from.entry(index).mtime, 0);
  zip_uint8_t system = 0;
  zip_uint32_t attributes = 0;
  if (zip_file_get_external_attributes(in, index, 0, &system, &attributes) == 0) {
    zip_file_set_external_attributes(archive_, to, 0, system, attributes);
  }
  zip_uint32_t length = 0;
  const char* comment = zip_file_get_comment(in, index, &length, ZIP_FL_ENC_RAW);
  if (comment != nullptr && length > 0) {
    zip_file_set_comment(archive_, to, comment, static_cast<zip_uint16_t>(length), 0);
  }
  if (!extraFields) return;
  // Fields libzip makes itself (Zip64, Unicode names) are not offered here.
  for (const zip_flags_t where : {ZIP_FL_LOCAL, ZIP_FL_CENTRAL}) {
    const zip_int16_t count = zip_file_extra_fields_count(in, index, where);
    for (zip_int16_t i = 0; i < count; ++i) {
      zip_uint16_t id = 0, size = 0;
      const zip_uint8_t* data =
          zip_file_extra_field_get(in, index, static_cast<zip_uint16_t>(i), &id, &size, where);
      if (data != nullptr) {
        zip_file_extra_field_set(archive_, to, id, ZIP_EXTRA_FIELD_NEW, data, size, where);
      }
    }
  }
}

void ZipWriter::copy(const ZipReader& from, std::uint64_t index) {
  const ZipEntry entry = from.entry(index);
  const std::uint64_t to =
      add(from, index, zip_source_zip(archive_, from.archive_, index, ZIP_FL_COMPRESSED, 0, 0));
  zip_set_file_compression(archive_, to, entry.method, 0);
  copyMetadata(from, index, to, true);
}

void ZipWriter::copyStored(const ZipReader& from, std::uint64_t index) {
  const std::uint64_t to =
      add(from, index, zip_source_zip(archive_, from.archive_, index, 0, 0, 0));
  zip_set_file_compression(archive_, to, ZIP_CM_STORE, 0);
  copyMetadata(from, index, to, false);
}

void ZipWriter::replace(const ZipReader& from, std::uint64_t index, std::string contents) {
  const std::string& kept = contents_.emplace_back(std::move(contents));
  const std::uint64_t to =
      add(from, index, zip_source_buffer(archive_, kept.data(), kept.size(), 0));
  zip_set_file_compression(archive_, to, ZIP_CM_DEFLATE, 0);
  copyMetadata(from, index, to, true);
}

std::string ZipWriter::finish() {
  if (zip_close(archive_) != 0) fail(archive_, "cannot write the zip archive");
  archive_ = nullptr;
  contents_.clear();
  std::string bytes;
  if (zip_source_open(buffer_) != 0) throw ZipProblem{"cannot read the new zip archive back"};
  zip_source_seek(buffer_, 0, SEEK_END);
  const zip_int64_t size = zip_source_tell(buffer_);
  zip_source_seek(buffer_, 0, SEEK_SET);
  bytes.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const zip_int64_t got = zip_source_read(buffer_, bytes.data() + done, bytes.size() - done);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  zip_source_close(buffer_);
  if (done != bytes.size()) throw ZipProblem{"cannot read the new zip archive back"};
  return bytes;
}

}  // namespace liang::internal::epub
