#pragma once
// Writes the archive container that ArchiveReader reads: the asset builder
// makes the game's image and sound archives with it, and the tests make
// their fixtures (including broken ones) with the low-level writer.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/archive/ArchiveFormat.h"
#include "common/DibWriter.h"

namespace bd {

// Low level: one value at a time, in the order the stream holds them.
class TComponentWriter {
 public:
  // The resource record (marker, type, name of at most 75 bytes, flags, size
  // of the stream) is added by Finish(); `resourceName` is upper-cased.
  explicit TComponentWriter(std::string resourceName = "TPICTURECOLLECTIONCOMPONENT");

  // "TPF0", then the root's class and object names.
  void WriteRootStart(std::string_view className, std::string_view objectName = "");
  void WriteShortString(std::string_view s);  // a length byte and the bytes (property names too)
  void WriteValueType(TValueType t) { out_.push_back(static_cast<uint8_t>(t)); }
  void WriteByte(uint8_t b) { out_.push_back(b); }
  void WriteBytes(std::span<const uint8_t> b) { out_.insert(out_.end(), b.begin(), b.end()); }
  void Write32(uint32_t v);

  // Integers take the smallest of the three integer types that holds them.
  void WriteInteger(int32_t v);
  void WriteBoolean(bool v) { WriteValueType(v ? TValueType::True : TValueType::False); }
  void WriteIdent(std::string_view ident);
  // Windows-1251 text: type 6 up to 255 bytes, type 12 beyond.
  void WriteString(std::string_view cp1251);
  // UTF-8 text stored as type 18 (UTF-16) or type 20 (UTF-8).
  void WriteWideString(std::string_view utf8);
  void WriteUtf8String(std::string_view utf8);
  void WriteBinary(std::span<const uint8_t> data);
  void WriteListEnd() { WriteValueType(TValueType::Null); }

  // The stream behind its resource record.
  std::vector<uint8_t> Finish() const;
  // The stream alone, without the resource record.
  const std::vector<uint8_t>& Stream() const { return out_; }

 private:
  std::string resourceName_;
  std::vector<uint8_t> out_;
};

// --- Image archives ---

// The picture of an item as it goes into "Picture.Data".
struct TPictureData {
  std::string ClassName;       // "TDIB", "TBitmap", "TJPEGImage" or anything else
  std::vector<uint8_t> Bytes;  // the data after the class name, as stored

  static TPictureData Dib(std::vector<uint8_t> dib) { return {"TDIB", std::move(dib)}; }
  // A whole bitmap file or a JPEG file: stored behind a 4-byte length.
  static TPictureData Bitmap(std::span<const uint8_t> bmpFile) { return Sized("TBitmap", bmpFile); }
  static TPictureData Jpeg(std::span<const uint8_t> jpegFile) { return Sized("TJPEGImage", jpegFile); }
  static TPictureData Sized(std::string className, std::span<const uint8_t> file);
};

// A transparent colour as a number (0x00BBGGRR) or as an identifier ("clFuchsia").
using TColorValue = std::variant<uint32_t, std::string>;

// One named image. Properties left empty are not written, so the item keeps
// its creation value when it is read back.
struct TImageArchiveItem {
  std::string Name;
  std::optional<int32_t> PatternWidth, PatternHeight, SkipWidth, SkipHeight;
  std::optional<bool> SystemMemory, Transparent;
  std::optional<TColorValue> TransparentColor;
  std::optional<TPictureData> Picture;
};

struct TImageArchive {
  // 256 entries (blue, green, red, 0 read as a little-endian number); empty: no colour table entry.
  std::vector<uint32_t> ColorTable;
  std::vector<TImageArchiveItem> Items;
};

std::vector<uint8_t> WriteImageArchive(const TImageArchive& archive);

// --- Sound archives ---

struct TSoundArchiveItem {
  std::string Name;
  std::optional<bool> Looped;
  std::optional<int32_t> MaxPlayingCount;
  std::vector<uint8_t> Wave;  // a whole RIFF WAVE file; empty: no "Wave.WAVE" entry
};

std::vector<uint8_t> WriteSoundArchive(const std::vector<TSoundArchiveItem>& items);

// A RIFF WAVE file of uncompressed integer samples.
std::vector<uint8_t> EncodeWave(uint16_t channels, uint32_t sampleRate, uint16_t bitsPerSample,
                                std::span<const uint8_t> samples);

}  // namespace bd
