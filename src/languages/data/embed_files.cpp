// Build-time tool: writes the C++ source of the embedded file table.
//
//   embed_files [--raw-above=BYTES] OUTPUT.cpp FILE.gz...
//   embed_files [--raw-above=BYTES] --files-to=DIRECTORY FILE.gz...
//
// The second form writes each file as it would be embedded into DIRECTORY,
// under its own name, rather than a source: the JavaScript package ships
// the pattern images so (js/build.sh).
//
// The output holds every input file's bytes back to back in one string
// literal, and a constant table of (name, bytes) views into it, sorted by
// name byte-wise so that the library can binary-search it. Everything is
// constexpr, so the table is constant-initialised: no code runs when the
// library is loaded and the bytes stay in read-only storage. A string literal
// rather than a brace list of numbers keeps the source small and its
// compilation fast (a megabyte of data compiles in a second or two).
//
// A pattern file (*.pat.txt.gz) is embedded as the prebuilt image of its trie
// (pattern_image.hpp), gzipped again, which the library reads several times
// faster than it parses the text and which is smaller; a file whose trie the
// image cannot hold exactly is embedded as it is. An image of more than
// --raw-above bytes is embedded uncompressed, which the library reads where
// it lies: inflating the largest would otherwise cost half as much as
// reading them, and the images together save more room than those cost.
//
// The tool refuses input it would embed wrongly: two files of one name, or a
// file that is not gzip (the loader would only find out at first use).
#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pattern_image.hpp"

namespace {

struct InputFile {
  std::string name;   // the file name without its directory
  std::string bytes;  // its whole content
};

bool readWhole(const std::filesystem::path& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// The content of the gzip file `bytes`, or nothing when it is damaged.
std::optional<std::string> gunzip(const std::string& bytes) {
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return std::nullopt;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  std::string out;
  int status = Z_OK;
  while (status == Z_OK) {
    char buffer[1 << 16];
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    status = inflate(&stream, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - stream.avail_out);
  }
  inflateEnd(&stream);
  if (status != Z_STREAM_END) return std::nullopt;
  return out;
}

// `bytes` as a gzip file, compressed as tightly as zlib can, with no name
// and no time in its header (so the build is reproducible).
std::optional<std::string> gzip(const std::string& bytes) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 9,
                   Z_DEFAULT_STRATEGY) != Z_OK) {
    return std::nullopt;
  }
  std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) return std::nullopt;
  return out;
}

// What to embed for the gzip file `name` of content `bytes`: for a pattern
// file, its trie's image when the image holds the trie (gzipped unless it
// is larger than `rawAbove`), else the bytes.
std::optional<std::string> embeddedForm(const std::string& name, std::string bytes,
                                        std::size_t rawAbove) {
  if (!name.ends_with(".pat.txt.gz")) return bytes;
  const std::optional<std::string> text = gunzip(bytes);
  if (!text) return std::nullopt;
  std::optional<std::string> image = liang_embed::patternImage(*text);
  if (!image) return bytes;
  if (image->size() > rawAbove) return image;
  return gzip(*image);
}

// Appends `byte` as it may stand inside a string literal. A byte outside
// printable ASCII becomes a three-digit octal escape, which a following digit
// cannot extend (a hex escape would swallow it). '?' is escaped so that no
// compiler mode sees a trigraph.
void appendLiteralByte(std::string& out, unsigned char byte) {
  if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\' && byte != '?') {
    out.push_back(static_cast<char>(byte));
    return;
  }
  out.push_back('\\');
  out.push_back(static_cast<char>('0' + ((byte >> 6) & 7)));
  out.push_back(static_cast<char>('0' + ((byte >> 3) & 7)));
  out.push_back(static_cast<char>('0' + (byte & 7)));
}

std::string generate(const std::vector<InputFile>& files) {
  constexpr std::size_t kLineWidth = 96;  // source characters per literal piece
  std::string out;
  out +=
      "// Generated by embed_files from data/*.gz: do not edit.\n"
      "#include \"languages/EmbeddedFiles.hpp\"\n"
      "\n"
      "namespace liang::internal {\n"
      "namespace {\n"
      "\n"
      "// The files back to back, in the order of kFiles.\n"
      "constexpr char kBytes[] =\n";
  for (const InputFile& file : files) {
    out += "    // " + file.name + "\n";
    std::string piece;
    for (unsigned char byte : file.bytes) {
      appendLiteralByte(piece, byte);
      if (piece.size() >= kLineWidth) {
        out += "    \"" + piece + "\"\n";
        piece.clear();
      }
    }
    if (!piece.empty()) out += "    \"" + piece + "\"\n";
  }
  out += "    ;\n\nconstexpr EmbeddedFile kFiles[] = {\n";
  std::size_t offset = 0;
  for (const InputFile& file : files) {
    out += "    {\"" + file.name + "\", {kBytes + " + std::to_string(offset) + ", " +
           std::to_string(file.bytes.size()) + "}},\n";
    offset += file.bytes.size();
  }
  out += "};\n\n}  // namespace\n\n";
  out += "std::span<const EmbeddedFile> embeddedFiles() noexcept {\n";
  out += "  return kFiles;\n";
  out += "}\n\n}  // namespace liang::internal\n";
  return out;
}

// Names go into the source verbatim inside quotes, so keep them to the
// characters of the data set's naming rule.
bool isPlainName(const std::string& name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_';
  });
}

// Writes `bytes` to `path` through a file beside it and a rename, so that an
// interrupted run never leaves a truncated file that a later build would
// take as up to date.
bool writeWhole(const std::filesystem::path& path, const std::string& bytes) {
  const std::filesystem::path temporaryPath = path.string() + ".tmp";
  {
    std::ofstream out(temporaryPath, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) {
      std::cerr << "embed_files: cannot write " << temporaryPath << "\n";
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporaryPath, path, error);
  if (error) {
    std::cerr << "embed_files: cannot rename to " << path << ": " << error.message() << "\n";
    return false;
  }
  return true;
}

// The options before the files.
struct Options {
  std::size_t rawAbove = SIZE_MAX;
  std::filesystem::path output;  // the source, or the directory of --files-to
  bool toDirectory = false;
  int firstFile = 0;  // argv's index of the first input
};

std::optional<Options> readOptions(int argc, char** argv) {
  constexpr std::string_view kRawAbove = "--raw-above=";
  constexpr std::string_view kFilesTo = "--files-to=";
  Options options;
  int at = 1;
  if (at < argc && std::string_view(argv[at]).starts_with(kRawAbove)) {
    const std::string_view value = std::string_view(argv[at]).substr(kRawAbove.size());
    const auto [end, error] =
        std::from_chars(value.data(), value.data() + value.size(), options.rawAbove);
    if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
    ++at;
  }
  if (at < argc && std::string_view(argv[at]).starts_with(kFilesTo)) {
    options.output = std::string_view(argv[at]).substr(kFilesTo.size());
    options.toDirectory = true;
  } else if (at < argc) {
    options.output = argv[at];
  }
  options.firstFile = at + 1;
  // At least one file: an empty table would need an empty literal and a
  // zero-length array, and a data set without files is a build mistake.
  if (options.output.empty() || argc <= options.firstFile) return std::nullopt;
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = readOptions(argc, argv);
  if (!options) {
    std::cerr << "usage: embed_files [--raw-above=BYTES] OUTPUT.cpp FILE.gz...\n"
                 "       embed_files [--raw-above=BYTES] --files-to=DIRECTORY FILE.gz...\n";
    return 2;
  }
  std::vector<InputFile> files;
  std::set<std::string> seen;
  for (int i = options->firstFile; i < argc; ++i) {
    const std::filesystem::path path = argv[i];
    InputFile file{path.filename().string(), {}};
    if (!isPlainName(file.name)) {
      std::cerr << "embed_files: unsupported file name: " << path << "\n";
      return 1;
    }
    if (!seen.insert(file.name).second) {
      std::cerr << "embed_files: two files named " << file.name << "\n";
      return 1;
    }
    if (!readWhole(path, file.bytes)) {
      std::cerr << "embed_files: cannot read " << path << "\n";
      return 1;
    }
    if (file.bytes.size() < 18 || static_cast<unsigned char>(file.bytes[0]) != 0x1F ||
        static_cast<unsigned char>(file.bytes[1]) != 0x8B) {
      std::cerr << "embed_files: not a gzip file: " << path << "\n";
      return 1;
    }
    std::optional<std::string> embedded =
        embeddedForm(file.name, std::move(file.bytes), options->rawAbove);
    if (!embedded) {
      std::cerr << "embed_files: damaged gzip file: " << path << "\n";
      return 1;
    }
    file.bytes = std::move(*embedded);
    files.push_back(std::move(file));
  }
  if (options->toDirectory) {
    for (const InputFile& file : files) {
      if (!writeWhole(options->output / file.name, file.bytes)) return 1;
    }
    return 0;
  }
  // std::string compares through char_traits<char>, which orders bytes as
  // unsigned values: the byte-wise order the loader's binary search assumes.
  std::sort(files.begin(), files.end(),
            [](const InputFile& a, const InputFile& b) { return a.name < b.name; });
  return writeWhole(options->output, generate(files)) ? 0 : 1;
}
