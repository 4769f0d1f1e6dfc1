#pragma once
// A tiled background: a map of MapCols x MapRows cells, each drawn as one
// pattern of a single image. An endless map repeats in both directions and
// covers the whole surface wherever it is scrolled to.

#include <cstdint>
#include <vector>

#include "engine/sprites/SpriteTree.h"

namespace bd {

class TPictureCollectionItem;

class TBackgroundSprite : public TSprite {
 public:
  // Backgrounds do not take part in collisions unless asked to.
  explicit TBackgroundSprite(TSprite* parent) : TSprite(parent) { CanCollide = false; }

  void Render() override;
  // True for an endless map whose every cell shows a pattern without key
  // pixels: it covers the whole surface.
  bool CoversOpaquely(const TRect& area) const override;
  TRect GetBounds() const override;
  // True when a solid cell overlaps the other sprite's box.
  bool HitTest(TSprite& other) override;

  // Resizes the map; any new size resets every cell to pattern 0, solid.
  void ResizeMap(int32_t cols, int32_t rows);
  // Pattern of a cell; -1 outside the map. Negative patterns are empty cells.
  int32_t PatternAt(int32_t col, int32_t row) const;
  bool SolidAt(int32_t col, int32_t row) const;
  // Cell setters; cells outside the map are ignored.
  void SetPatternAt(int32_t col, int32_t row, int32_t pattern);
  void SetSolidAt(int32_t col, int32_t row, bool solid);

  int32_t MapCols() const { return mapCols_; }
  int32_t MapRows() const { return mapRows_; }

  TPictureCollectionItem* Image = nullptr;  // not owned
  bool Endless = false;

 private:
  bool InMap(int32_t col, int32_t row) const {
    return col >= 0 && col < mapCols_ && row >= 0 && row < mapRows_;
  }
  size_t CellIndex(int32_t col, int32_t row) const {
    return static_cast<size_t>(col) + static_cast<size_t>(row) * static_cast<size_t>(mapCols_);
  }
  // Size of pattern 0, the tile size; false when it has no area.
  bool TileSize(int32_t& tw, int32_t& th) const;

  std::vector<uint8_t> cellSolid_;    // row-major, non-zero: solid
  std::vector<int32_t> cellPattern_;  // row-major, negative: empty
  int32_t mapCols_ = 0;
  int32_t mapRows_ = 0;
};

}  // namespace bd
