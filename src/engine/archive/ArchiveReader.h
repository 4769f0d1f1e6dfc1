#pragma once
// Reads the archive container of the image and sound archives: a resource
// record, then a component stream ("TPF0") whose root object's properties
// the archive sets. Everything is read from memory with bounds checks, so a
// hostile or truncated file ends in an EReadError (or the picture decoder's
// error), never in a crash or an unbounded allocation.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/archive/ArchiveFormat.h"
#include "engine/base/ByteReader.h"

namespace bd {

inline constexpr const char* kInvalidStreamFormat = "Invalid stream format";
inline constexpr const char* kInvalidPropertyValue = "Invalid property value";
inline constexpr const char* kInvalidPropertyPath = "Invalid property path";
inline constexpr const char* kPropertyDoesNotExist = "Property %s does not exist";

class TArchiveReader;

// An object whose properties an archive can set.
class IArchiveObject {
 public:
  virtual ~IArchiveObject() = default;
  // Reads the value of the property `name` (compare with SameText); false
  // when the object has no such property.
  virtual bool ReadProperty(std::string_view name, TArchiveReader& reader) = 0;
  // The object held by the property `name`, for dotted paths such as
  // "Picture.Data"; nullptr when there is no such object-valued property.
  virtual IArchiveObject* ObjectProperty(std::string_view) { return nullptr; }
  // True when `name` is a property at all (object-valued or not).
  virtual bool HasProperty(std::string_view name) = 0;
};

class TArchiveReader {
 public:
  explicit TArchiveReader(std::span<const uint8_t> data) : r_(data) {}

  // Reads the whole archive into `root`. The class and object names of the
  // root are returned through `className` when given.
  void ReadRoot(IArchiveObject& root, std::string* className = nullptr);
  // The class name of the root object ("TPictureCollectionComponent",
  // "TWaveCollectionComponent"), read without reading any property.
  static std::string RootClassName(std::span<const uint8_t> data);

  // --- Values, for IArchiveObject::ReadProperty ---
  TValueType NextValue() const;
  // Types 2, 3 and 4; an identifier when `ident` maps it to a number.
  int32_t ReadInteger(const std::function<std::optional<int32_t>(std::string_view)>& ident = nullptr);
  // Types 8 and 9, or the identifiers "False" and "True" in any case.
  bool ReadBoolean();
  // Types 6, 12, 18 and 20, as Windows-1251 text.
  std::string ReadString();
  // Type 13 (no object).
  void ReadNil();
  // Type 10: the bytes, pointing into the archive.
  std::span<const uint8_t> ReadBinary();
  // Type 14: for each item, `addItem` gives the object its properties go to.
  // `clear` runs once before the first item (an empty collection keeps what
  // the target held).
  void ReadCollection(const std::function<IArchiveObject&()>& addItem, const std::function<void()>& clear);

 private:
  void ReadResourceHeader();
  // Resource record, signature, prefix and the root's class and object names.
  std::string ReadRootHeader();
  void ReadProperty(IArchiveObject& root);
  std::string ReadShortString();
  TValueType ReadValueType();
  [[noreturn]] static void InvalidValue();

  TByteReader r_;
};

}  // namespace bd
