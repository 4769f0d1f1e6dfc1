#include "engine/archive/ArchiveReader.h"

#include <algorithm>

#include "codec/Cp1251.h"

namespace bd {
namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Utf16ToUtf8(std::span<const uint8_t> bytes) {
  std::string out;
  const size_t n = bytes.size() / 2;
  for (size_t i = 0; i < n; ++i) {
    uint32_t u = bytes[2 * i] | (bytes[2 * i + 1] << 8);
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < n) {
      const uint32_t lo = bytes[2 * i + 2] | (bytes[2 * i + 3] << 8);
      if (lo >= 0xDC00 && lo < 0xE000) {
        u = 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
        ++i;
      }
    }
    if (u >= 0xD800 && u < 0xE000) u = 0xFFFD;  // a lone surrogate
    AppendUtf8(out, u);
  }
  return out;
}

}  // namespace

void TArchiveReader::InvalidValue() { throw EReadError(kInvalidPropertyValue); }

void TArchiveReader::ReadResourceHeader() {
  // The record is checked within its first 79 bytes: marker, type and a name
  // of at most 75 bytes ending in a 0 byte. Flags and size are not checked.
  const size_t probe = std::min<size_t>(r_.Size(), 3 + archive::kMaxResourceName + 1);
  const auto head = r_.Bytes(probe);
  if (probe < 3 || head[0] != archive::kResourceMarker ||
      (head[1] | (head[2] << 8)) != archive::kResourceType)
    throw EReadError(kInvalidStreamFormat);
  const auto nameEnd = std::find(head.begin() + 3, head.end(), 0);
  if (nameEnd == head.end()) throw EReadError(kInvalidStreamFormat);
  const size_t n = static_cast<size_t>(nameEnd - (head.begin() + 3));
  r_.Seek(std::min(r_.Size(), 4 + n));
  r_.Skip(6);  // flags and stream size
}

std::string TArchiveReader::ReadShortString() {
  const uint8_t n = r_.U8();
  return r_.String(n);
}

TValueType TArchiveReader::NextValue() const { return static_cast<TValueType>(r_.Peek()); }

TValueType TArchiveReader::ReadValueType() { return static_cast<TValueType>(r_.U8()); }

std::string TArchiveReader::RootClassName(std::span<const uint8_t> data) {
  return TArchiveReader(data).ReadRootHeader();
}

void TArchiveReader::ReadRoot(IArchiveObject& root, std::string* className) {
  std::string cls = ReadRootHeader();
  if (className) *className = cls;
  while (NextValue() != TValueType::Null) ReadProperty(root);
  r_.U8();
  // A root with child objects is not an archive this game writes or reads.
  if (NextValue() != TValueType::Null) throw EReadError(kInvalidStreamFormat);
  r_.U8();
}

std::string TArchiveReader::ReadRootHeader() {
  ReadResourceHeader();
  if (r_.Remaining() < archive::kSignature.size() ||
      r_.String(archive::kSignature.size()) != archive::kSignature)
    throw EReadError(kInvalidStreamFormat);
  if ((r_.Peek() & archive::kPrefixMask) == archive::kPrefixMask) {
    const uint8_t flags = r_.U8();
    if (flags & archive::kPrefixChildPos) ReadInteger();
  }
  std::string cls = ReadShortString();
  ReadShortString();  // object name
  return cls;
}

void TArchiveReader::ReadProperty(IArchiveObject& root) {
  const std::string path = ReadShortString();
  IArchiveObject* object = &root;
  std::string_view rest = path;
  for (size_t dot; (dot = rest.find('.')) != std::string_view::npos; rest.remove_prefix(dot + 1)) {
    const std::string_view part = rest.substr(0, dot);
    IArchiveObject* next = object->ObjectProperty(part);
    if (next == nullptr) {
      if (object->HasProperty(part)) throw EReadError(kInvalidPropertyPath);
      throw EReadError(Format(kPropertyDoesNotExist, std::string(part).c_str()));
    }
    object = next;
  }
  if (!object->ReadProperty(rest, *this))
    throw EReadError(Format(kPropertyDoesNotExist, std::string(rest).c_str()));
}

int32_t TArchiveReader::ReadInteger(const std::function<std::optional<int32_t>(std::string_view)>& ident) {
  switch (ReadValueType()) {
    case TValueType::Int8:
      return r_.I8();
    case TValueType::Int16:
      return r_.I16();
    case TValueType::Int32:
      return r_.I32();
    case TValueType::Ident:
      if (ident) {
        const std::string name = ReadShortString();
        if (auto v = ident(name)) return *v;
      }
      break;
    default:
      break;
  }
  InvalidValue();
}

bool TArchiveReader::ReadBoolean() {
  switch (ReadValueType()) {
    case TValueType::False:
      return false;
    case TValueType::True:
      return true;
    case TValueType::Ident: {
      const std::string name = ReadShortString();
      if (SameText(name, "False")) return false;
      if (SameText(name, "True")) return true;
      break;
    }
    default:
      break;
  }
  InvalidValue();
}

std::string TArchiveReader::ReadString() {
  switch (ReadValueType()) {
    case TValueType::String:
      return ReadShortString();
    case TValueType::LString:
      return r_.String(r_.U32());
    case TValueType::WString: {
      const uint64_t units = r_.U32();
      return Utf8ToCp1251(Utf16ToUtf8(r_.Bytes(units * 2)));
    }
    case TValueType::Utf8String: {
      const auto bytes = r_.Bytes(r_.U32());
      return Utf8ToCp1251(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    default:
      InvalidValue();
  }
}

void TArchiveReader::ReadNil() {
  if (ReadValueType() != TValueType::Nil) InvalidValue();
}

std::span<const uint8_t> TArchiveReader::ReadBinary() {
  if (ReadValueType() != TValueType::Binary) InvalidValue();
  return r_.Bytes(r_.U32());
}

void TArchiveReader::ReadCollection(const std::function<IArchiveObject&()>& addItem,
                                    const std::function<void()>& clear) {
  if (ReadValueType() != TValueType::Collection) InvalidValue();
  if (NextValue() != TValueType::Null && clear) clear();
  while (NextValue() != TValueType::Null) {
    const TValueType t = NextValue();
    if (t == TValueType::Int8 || t == TValueType::Int16 || t == TValueType::Int32)
      ReadInteger();  // item index
    if (ReadValueType() != TValueType::List) InvalidValue();
    IArchiveObject& item = addItem();
    while (NextValue() != TValueType::Null) ReadProperty(item);
    r_.U8();
  }
  r_.U8();
}

}  // namespace bd
