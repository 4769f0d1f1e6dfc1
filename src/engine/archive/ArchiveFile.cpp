#include "engine/archive/ArchiveFile.h"

#include "engine/base/Errors.h"
#include "engine/base/RegularFile.h"

namespace bd {

std::vector<uint8_t> ReadArchiveFile(const std::string& fileName) {
  TFileRead read = ReadRegularFile(fileName);
  if (read.error != 0)
    throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), read.reason.c_str()));
  return std::move(read.bytes);
}

void LoadArchiveFile(const std::string& fileName, const std::function<void(std::span<const uint8_t>)>& load) {
  const std::vector<uint8_t> bytes = ReadArchiveFile(fileName);
  try {
    load(bytes);
  } catch (EError& e) {
    if (bytes.empty())
      e.SetMessage(Format("The file \"%s\" is empty.", fileName.c_str()));
    else
      e.SetMessage(Format("The file \"%s\" is damaged (%s).", fileName.c_str(), e.what()));
    throw;
  }
}

}  // namespace bd
