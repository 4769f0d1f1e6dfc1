#pragma once
// What the image and the sound archives share around the container reader:
// reading the whole archive file, and the root object whose one property,
// "List", is the archive's collection.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/archive/ArchiveReader.h"

namespace bd {

// The bytes of an archive file. A file that cannot be opened or read, or
// that is no regular file (a folder, a pipe), raises EFOpenError
// "Cannot open file "%s". <reason>".
std::vector<uint8_t> ReadArchiveFile(const std::string& fileName);

// Reads the archive file and hands its bytes to `load` (a collection's
// LoadFromMemory). An error of the contents keeps its class but its message
// names the file: "The file "%s" is empty." or "The file "%s" is damaged
// (<the loader's message>)."
void LoadArchiveFile(const std::string& fileName, const std::function<void(std::span<const uint8_t>)>& load);

// The root object of an archive ("TPictureCollectionComponent",
// "TWaveCollectionComponent"): "List" fills `list`, which needs Add() for a
// new item and Clear().
template <class TList>
class TArchiveListRoot : public IArchiveObject {
 public:
  explicit TArchiveListRoot(TList& list) : list_(list) {}
  bool ReadProperty(std::string_view name, TArchiveReader& reader) override {
    if (!SameText(name, "List")) return false;
    reader.ReadCollection([this]() -> IArchiveObject& { return list_.Add(); }, [this] { list_.Clear(); });
    return true;
  }
  IArchiveObject* ObjectProperty(std::string_view name) override {
    return SameText(name, "List") ? &list_ : nullptr;
  }
  bool HasProperty(std::string_view name) override { return SameText(name, "List"); }

 private:
  TList& list_;
};

}  // namespace bd
