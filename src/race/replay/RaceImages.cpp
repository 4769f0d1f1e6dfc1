#include "race/replay/RaceImages.h"

#include "engine/images/PictureCollection.h"

namespace bd {

TRaceImages::TRaceImages() : pictures_(std::make_unique<TPictureCollection>()) {}
TRaceImages::TRaceImages(TRaceImages&&) noexcept = default;
TRaceImages& TRaceImages::operator=(TRaceImages&&) noexcept = default;
TRaceImages::~TRaceImages() = default;

TRaceImages TRaceImages::FromFile(const std::string& path) {
  TRaceImages images;
  images.pictures_->LoadArchive(path);
  images.BuildPatterns();
  return images;
}

TRaceImages TRaceImages::FromMemory(std::span<const uint8_t> archive) {
  TRaceImages images;
  images.pictures_->LoadFromMemory(archive);
  images.BuildPatterns();
  return images;
}

void TRaceImages::BuildPatterns() {
  // What the display does when it comes up, minus the display: the pattern
  // grids that give the sprites their frames and collisions their pixels.
  pictures_->Initialize(nullptr);
  pictures_->Restore();
}

TPictureCollectionItem& TRaceImages::Find(TPictureName name) const { return pictures_->Find(name.Text()); }

}  // namespace bd
