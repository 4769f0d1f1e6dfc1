#pragma once
// The race's pictures without a display: the image archive read into memory
// with its pattern grids built, so that sprites get their sizes and
// collisions their pixels exactly as in the game. Loaded once, it serves any
// number of replays one after another.

#include <memory>
#include <span>
#include <string>

#include "assets/AssetNames.h"

namespace bd {

class TPictureCollection;
class TPictureCollectionItem;

class TRaceImages {
 public:
  // Reads the archive (the game's "Data/GraphicsMain.dxg"); raises the
  // archive reader's errors for a file that is missing or damaged.
  static TRaceImages FromFile(const std::string& path);
  static TRaceImages FromMemory(std::span<const uint8_t> archive);

  TRaceImages(TRaceImages&&) noexcept;
  TRaceImages& operator=(TRaceImages&&) noexcept;
  ~TRaceImages();

  // The named picture; raises "Image '%s' not found" as the game does.
  TPictureCollectionItem& Find(TPictureName name) const;

 private:
  TRaceImages();
  void BuildPatterns();

  std::unique_ptr<TPictureCollection> pictures_;
};

}  // namespace bd
