#include "common/ArchiveWriter.h"

#include <stdexcept>

#include "engine/archive/ArchiveReader.h"
#include "common/ByteWriter.h"

namespace bd {

TComponentWriter::TComponentWriter(std::string resourceName) : resourceName_(std::move(resourceName)) {
  if (resourceName_.size() > archive::kMaxResourceName) resourceName_.resize(archive::kMaxResourceName);
  for (char& c : resourceName_)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
}

void TComponentWriter::Write32(uint32_t v) { PutLe32(out_, v); }

void TComponentWriter::WriteRootStart(std::string_view className, std::string_view objectName) {
  WriteBytes(
      std::span(reinterpret_cast<const uint8_t*>(archive::kSignature.data()), archive::kSignature.size()));
  WriteShortString(className);
  WriteShortString(objectName);
}

void TComponentWriter::WriteShortString(std::string_view s) {
  if (s.size() > 255) throw std::invalid_argument("a short string holds at most 255 bytes");
  out_.push_back(static_cast<uint8_t>(s.size()));
  WriteBytes(std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size()));
}

void TComponentWriter::WriteInteger(int32_t v) {
  if (v >= -128 && v <= 127) {
    WriteValueType(TValueType::Int8);
    out_.push_back(static_cast<uint8_t>(v));
  } else if (v >= -32768 && v <= 32767) {
    WriteValueType(TValueType::Int16);
    PutLe16(out_, static_cast<uint32_t>(v));
  } else {
    WriteValueType(TValueType::Int32);
    Write32(static_cast<uint32_t>(v));
  }
}

void TComponentWriter::WriteIdent(std::string_view ident) {
  WriteValueType(TValueType::Ident);
  WriteShortString(ident);
}

void TComponentWriter::WriteString(std::string_view s) {
  if (s.size() <= 255) {
    WriteValueType(TValueType::String);
    WriteShortString(s);
  } else {
    WriteValueType(TValueType::LString);
    Write32(static_cast<uint32_t>(s.size()));
    WriteBytes(std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size()));
  }
}

void TComponentWriter::WriteWideString(std::string_view utf8) {
  // Decode UTF-8 (well-formed input is assumed; the writer only sees our own text).
  std::vector<uint16_t> units;
  for (size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<uint8_t>(utf8[i]);
    uint32_t cp = b;
    size_t len = 1;
    if (b >= 0xF0)
      cp = b & 0x07, len = 4;
    else if (b >= 0xE0)
      cp = b & 0x0F, len = 3;
    else if (b >= 0xC0)
      cp = b & 0x1F, len = 2;
    for (size_t k = 1; k < len && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      units.push_back(static_cast<uint16_t>(0xD800 + (cp >> 10)));
      units.push_back(static_cast<uint16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      units.push_back(static_cast<uint16_t>(cp));
    }
  }
  WriteValueType(TValueType::WString);
  Write32(static_cast<uint32_t>(units.size()));
  for (uint16_t u : units) PutLe16(out_, u);
}

void TComponentWriter::WriteUtf8String(std::string_view utf8) {
  WriteValueType(TValueType::Utf8String);
  Write32(static_cast<uint32_t>(utf8.size()));
  WriteBytes(std::span(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size()));
}

void TComponentWriter::WriteBinary(std::span<const uint8_t> data) {
  WriteValueType(TValueType::Binary);
  Write32(static_cast<uint32_t>(data.size()));
  WriteBytes(data);
}

std::vector<uint8_t> TComponentWriter::Finish() const {
  std::vector<uint8_t> out;
  out.push_back(archive::kResourceMarker);
  PutLe16(out, archive::kResourceType);
  out.insert(out.end(), resourceName_.begin(), resourceName_.end());
  out.push_back(0);
  out.push_back(0x30);  // flags: moveable, pure
  out.push_back(0x10);
  PutLe32(out, static_cast<uint32_t>(out_.size()));
  out.insert(out.end(), out_.begin(), out_.end());
  return out;
}

TPictureData TPictureData::Sized(std::string className, std::span<const uint8_t> file) {
  TPictureData p{std::move(className), {}};
  PutLe32(p.Bytes, static_cast<uint32_t>(file.size()));
  p.Bytes.insert(p.Bytes.end(), file.begin(), file.end());
  return p;
}

namespace {

void WriteIntProperty(TComponentWriter& w, std::string_view name, const std::optional<int32_t>& v) {
  if (!v) return;
  w.WriteShortString(name);
  w.WriteInteger(*v);
}

void WriteBoolProperty(TComponentWriter& w, std::string_view name, const std::optional<bool>& v) {
  if (!v) return;
  w.WriteShortString(name);
  w.WriteBoolean(*v);
}

}  // namespace

std::vector<uint8_t> WriteImageArchive(const TImageArchive& archive) {
  TComponentWriter w("TPICTURECOLLECTIONCOMPONENT");
  w.WriteRootStart("TPictureCollectionComponent");
  if (!archive.ColorTable.empty()) {
    if (archive.ColorTable.size() != 256) throw std::invalid_argument("a colour table has 256 entries");
    std::vector<uint8_t> table;
    for (uint32_t e : archive.ColorTable) PutLe32(table, e);
    w.WriteShortString("List.ColorTable");
    w.WriteBinary(table);
  }
  w.WriteShortString("List");
  w.WriteValueType(TValueType::Collection);
  for (const auto& item : archive.Items) {
    w.WriteValueType(TValueType::List);
    w.WriteShortString("Name");
    w.WriteString(item.Name);
    WriteIntProperty(w, "PatternHeight", item.PatternHeight);
    WriteIntProperty(w, "PatternWidth", item.PatternWidth);
    if (item.Picture) {
      std::vector<uint8_t> data;
      data.push_back(static_cast<uint8_t>(item.Picture->ClassName.size()));
      data.insert(data.end(), item.Picture->ClassName.begin(), item.Picture->ClassName.end());
      data.insert(data.end(), item.Picture->Bytes.begin(), item.Picture->Bytes.end());
      w.WriteShortString("Picture.Data");
      w.WriteBinary(data);
    }
    WriteIntProperty(w, "SkipHeight", item.SkipHeight);
    WriteIntProperty(w, "SkipWidth", item.SkipWidth);
    WriteBoolProperty(w, "SystemMemory", item.SystemMemory);
    WriteBoolProperty(w, "Transparent", item.Transparent);
    if (item.TransparentColor) {
      w.WriteShortString("TransparentColor");
      if (const auto* ident = std::get_if<std::string>(&*item.TransparentColor))
        w.WriteIdent(*ident);
      else
        w.WriteInteger(static_cast<int32_t>(std::get<uint32_t>(*item.TransparentColor)));
    }
    w.WriteListEnd();
  }
  w.WriteListEnd();  // end of the collection
  w.WriteListEnd();  // end of the root's properties
  w.WriteListEnd();  // no child objects
  return w.Finish();
}

std::vector<uint8_t> WriteSoundArchive(const std::vector<TSoundArchiveItem>& items) {
  TComponentWriter w("TWAVECOLLECTIONCOMPONENT");
  w.WriteRootStart("TWaveCollectionComponent");
  w.WriteShortString("List");
  w.WriteValueType(TValueType::Collection);
  for (const auto& item : items) {
    w.WriteValueType(TValueType::List);
    w.WriteShortString("Name");
    w.WriteString(item.Name);
    WriteBoolProperty(w, "Looped", item.Looped);
    WriteIntProperty(w, "MaxPlayingCount", item.MaxPlayingCount);
    if (!item.Wave.empty()) {
      w.WriteShortString("Wave.WAVE");
      w.WriteBinary(item.Wave);
    }
    w.WriteListEnd();
  }
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteListEnd();
  return w.Finish();
}

std::vector<uint8_t> EncodeWave(uint16_t channels, uint32_t sampleRate, uint16_t bitsPerSample,
                                std::span<const uint8_t> samples) {
  std::vector<uint8_t> out;
  auto put = [&out](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto tag = [&out](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
  };
  const uint16_t align = static_cast<uint16_t>(channels * ((bitsPerSample + 7) / 8));
  tag("RIFF");
  put(static_cast<uint32_t>(4 + 8 + 16 + 8 + samples.size()), 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // integer samples
  put(channels, 2);
  put(sampleRate, 4);
  put(sampleRate * align, 4);
  put(align, 2);
  put(bitsPerSample, 2);
  tag("data");
  put(static_cast<uint32_t>(samples.size()), 4);
  out.insert(out.end(), samples.begin(), samples.end());
  return out;
}

}  // namespace bd
