#include "epub/PackageXml.hpp"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace liang::internal::epub {
namespace {

constexpr std::string_view kDublinCore = "http://purl.org/dc/elements/1.1/";
constexpr std::string_view kPackageType = "application/oebps-package+xml";
// expat joins a namespace and a local name with this character.
constexpr char kNamespaceSeparator = '\x1F';

// One element start as expat reports it, split into namespace and local name.
struct Name {
  std::string_view space, local;
};

Name splitName(const XML_Char* name) {
  const std::string_view whole(name);
  const std::size_t cut = whole.find(kNamespaceSeparator);
  if (cut == std::string_view::npos) return {{}, whole};
  return {whole.substr(0, cut), whole.substr(cut + 1)};
}

// The value of an attribute without a namespace; nullptr when absent.
const XML_Char* attribute(const XML_Char** attributes, std::string_view name) {
  for (; attributes[0] != nullptr; attributes += 2) {
    if (name == attributes[0]) return attributes[1];
  }
  return nullptr;
}

// What a reader of one file does with its elements.
class Handler {
 public:
  virtual ~Handler() = default;
  virtual void start(Name name, const XML_Char** attributes) = 0;
  virtual void end(Name /*name*/) {}
  virtual void text(std::string_view /*chunk*/) {}
};

void parse(std::string_view xml, Handler& handler) {
  XML_Parser parser = XML_ParserCreateNS(nullptr, kNamespaceSeparator);
  if (parser == nullptr) throw XmlProblem{"out of memory"};
  XML_SetUserData(parser, &handler);
  XML_SetElementHandler(
      parser,
      [](void* user, const XML_Char* name, const XML_Char** attributes) {
        static_cast<Handler*>(user)->start(splitName(name), attributes);
      },
      [](void* user, const XML_Char* name) { static_cast<Handler*>(user)->end(splitName(name)); });
  XML_SetCharacterDataHandler(parser, [](void* user, const XML_Char* chunk, int length) {
    static_cast<Handler*>(user)->text(std::string_view(chunk, static_cast<std::size_t>(length)));
  });
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  bool ok = true;
  do {
    const std::size_t size = std::min(xml.size(), kPiece);
    const bool last = size == xml.size();
    ok = XML_Parse(parser, xml.data(), static_cast<int>(size), last ? 1 : 0) == XML_STATUS_OK;
    xml.remove_prefix(size);
    if (last) break;
  } while (ok);
  if (!ok) {
    XmlProblem problem{"line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ": " +
                       XML_ErrorString(XML_GetErrorCode(parser))};
    XML_ParserFree(parser);
    throw problem;
  }
  XML_ParserFree(parser);
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out.push_back(static_cast<char>(high * 16 + low));
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view kSpace = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

class ContainerHandler : public Handler {
 public:
  void start(Name name, const XML_Char** attributes) override {
    if (name.local != "rootfile") return;
    const XML_Char* path = attribute(attributes, "full-path");
    if (path == nullptr || *path == '\0') return;
    const XML_Char* type = attribute(attributes, "media-type");
    if (type != nullptr && type == kPackageType && !package) package = path;
    if (!first) first = path;
  }
  std::optional<std::string> first, package;
};

class PackageHandler : public Handler {
 public:
  explicit PackageHandler(std::string_view path) : path_(path) {}

  void start(Name name, const XML_Char** attributes) override {
    if (name.local == "manifest") inManifest_ = true;
    if (inManifest_ && name.local == "item") {
      const XML_Char* href = attribute(attributes, "href");
      const XML_Char* type = attribute(attributes, "media-type");
      const XML_Char* properties = attribute(attributes, "properties");
      if (href == nullptr) return;
      result.items.push_back(
          {resolveReference(path_, href), type ? type : "", properties ? properties : ""});
    }
    if (name.space == kDublinCore && name.local == "language" && !seenLanguage_) {
      inLanguage_ = true;
      seenLanguage_ = true;
    }
  }
  void end(Name name) override {
    if (name.local == "manifest") inManifest_ = false;
    if (inLanguage_ && name.local == "language") {
      inLanguage_ = false;
      result.language = std::string(trimmed(result.language));
    }
  }
  void text(std::string_view chunk) override {
    if (inLanguage_) result.language += chunk;
  }
  Package result;

 private:
  std::string_view path_;
  bool inManifest_ = false, inLanguage_ = false, seenLanguage_ = false;
};

class EncryptionHandler : public Handler {
 public:
  void start(Name name, const XML_Char** attributes) override {
    if (name.local != "CipherReference") return;
    if (const XML_Char* uri = attribute(attributes, "URI")) {
      entries.push_back(resolveReference("", uri));
    }
  }
  std::vector<std::string> entries;
};

}  // namespace

std::string resolveReference(std::string_view base, std::string_view reference) {
  reference = reference.substr(0, reference.find_first_of("#?"));
  // A URL with a scheme (http:, data:) names nothing in the archive.
  const std::size_t colon = reference.find(':');
  if (colon != std::string_view::npos && colon < reference.find('/')) return {};
  std::vector<std::string> segments;
  std::string_view rest;
  std::string decoded = percentDecoded(reference);
  if (!decoded.empty() && decoded[0] == '/') {
    rest = decoded;
  } else {
    const std::size_t slash = base.rfind('/');
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view() : base.substr(0, slash + 1);
    decoded.insert(0, folder);
    rest = decoded;
  }
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string_view segment = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (segment.empty() || segment == ".") continue;
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
      continue;
    }
    segments.emplace_back(segment);
  }
  std::string path;
  for (const std::string& segment : segments) {
    if (!path.empty()) path += '/';
    path += segment;
  }
  return path;
}

std::optional<std::string> packagePath(std::string_view containerXml) {
  ContainerHandler handler;
  parse(containerXml, handler);
  if (!handler.package) return handler.first;
  return handler.package;
}

Package readPackage(std::string_view packageXml, std::string_view path) {
  PackageHandler handler(path);
  parse(packageXml, handler);
  return std::move(handler.result);
}

std::vector<std::string> encryptedEntries(std::string_view encryptionXml) {
  EncryptionHandler handler;
  parse(encryptionXml, handler);
  return std::move(handler.entries);
}

}  // namespace liang::internal::epub
