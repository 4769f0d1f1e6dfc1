#pragma once
// Named images: pictures cut into grids of equal patterns (animation frames
// or tiles), found by name and drawn one pattern at a time onto the back
// buffer. Each image keeps its picture in memory and, while the display is
// up, a display copy in the back buffer's format ready for keyed copies.

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "engine/archive/ArchiveReader.h"
#include "engine/display/DXDraw.h"
#include "engine/base/Errors.h"
#include "engine/images/Graphics.h"
#include "engine/archive/NameIndex.h"
#include "engine/images/PatternCopy.h"
#include "engine/display/Surface.h"
#include "engine/base/Types.h"

namespace bd {

BD_DECLARE_ERROR(EPictureCollectionError);

class TPictureCollection;

class TPictureCollectionItem : public IArchiveObject {
 public:
  // An item of `collection` (which indexes it by name), or a free-standing
  // one when null.
  explicit TPictureCollectionItem(TPictureCollection* collection = nullptr);
  ~TPictureCollectionItem() override;
  TPictureCollectionItem(const TPictureCollectionItem&) = delete;
  TPictureCollectionItem& operator=(const TPictureCollectionItem&) = delete;

  // A free-standing item from colours (0x00BBGGRR, rows from the top), with
  // its patterns and display copy already built: for tests and tools that
  // need an image without an archive.
  static std::unique_ptr<TPictureCollectionItem> FromPixels(
      int32_t width, int32_t height, std::vector<uint32_t> colors, int32_t patternWidth = 0,
      int32_t patternHeight = 0, uint32_t transparentColor = 0, bool transparent = true);

  // --- Properties ---
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  int32_t PatternWidth() const { return patternWidth_; }
  int32_t PatternHeight() const { return patternHeight_; }
  int32_t SkipWidth() const { return skipWidth_; }
  int32_t SkipHeight() const { return skipHeight_; }
  void SetPatternWidth(int32_t v) { patternWidth_ = v; }
  void SetPatternHeight(int32_t v) { patternHeight_ = v; }
  void SetSkipWidth(int32_t v) { skipWidth_ = v; }
  void SetSkipHeight(int32_t v) { skipHeight_ = v; }
  bool SystemMemory() const { return systemMemory_; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  // The colour as stored (0x00BBGGRR, or a system colour 0xFF000000 + n).
  uint32_t TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(uint32_t color);
  // The transparent colour as pixels show it (system colours resolved):
  // compare PatternPixel with this.
  uint32_t TransparentRGB() const;
  // The source picture; null when the item has none.
  const TGraphic* Picture() const { return picture_.get(); }
  void SetPicture(std::unique_ptr<TGraphic> picture) { picture_ = std::move(picture); }

  // --- Derived values ---
  int32_t Width() const;
  int32_t Height() const;
  int32_t PatternTotal() const { return patternTotal_; }
  // The pattern's rectangle in picture coordinates; (0, 0, 0, 0) for an
  // index outside 0 .. PatternTotal() - 1.
  TRect PatternBounds(int32_t index) const;

  // --- Drawing (nothing without display copies or for an index out of range) ---
  // The pattern unscaled with its top-left at (x, y), clipped to `dest`.
  void DrawPattern(TDirectDrawSurface& dest, int32_t x, int32_t y, int32_t index);
  // The pattern stretched to `destRect`, clipped to `dest`; nothing for an
  // empty rectangle.
  void DrawPatternScaled(TDirectDrawSurface& dest, const TRect& destRect, int32_t index);
  // Whether drawing the pattern (unscaled or stretched) writes every pixel
  // it covers: the image is not transparent or the pattern has no key pixel.
  // False without display copies or for an index out of range.
  bool PatternOpaque(int32_t index) const;
  // Colour 0x00BBGGRR of the picture pixel at (x, y) relative to the
  // pattern's top-left; TransparentRGB() outside the pattern.
  uint32_t PatternPixel(int32_t index, int32_t x, int32_t y) const;

  // --- Life cycle with the display ---
  bool Initialized() const { return initialized_; }
  void Initialize() { initialized_ = true; }
  // Rebuilds the pattern grid and the display copy from the picture.
  void Restore();
  // Drops the patterns and display copies.
  void Finalize();

  // --- Archive reading ---
  bool ReadProperty(std::string_view name, TArchiveReader& reader) override;
  IArchiveObject* ObjectProperty(std::string_view name) override;
  bool HasProperty(std::string_view name) override;

 private:
  // The "Picture" property as a path target ("Picture.Data").
  class TPictureProperty : public IArchiveObject {
   public:
    explicit TPictureProperty(TPictureCollectionItem& item) : item_(item) {}
    bool ReadProperty(std::string_view name, TArchiveReader& reader) override;
    bool HasProperty(std::string_view name) override;

   private:
    TPictureCollectionItem& item_;
  };

  void ApplyColorKey();
  const TPatternCopy* ScaledCopy(int32_t index, int32_t w, int32_t h);
  void DrawScaledDirect(TDirectDrawSurface& dest, const TRect& destRect, const TRect& src);

  TPictureCollection* collection_;
  std::string name_;
  int32_t patternWidth_ = 0;
  int32_t patternHeight_ = 0;
  int32_t skipWidth_ = 0;
  int32_t skipHeight_ = 0;
  bool systemMemory_ = false;
  bool transparent_ = true;
  uint32_t transparentColor_ = 0;
  std::unique_ptr<TGraphic> picture_;
  TPictureProperty pictureProperty_{*this};

  bool initialized_ = false;
  // The pattern grid, kept as its numbers rather than a list of rectangles
  // so that a tiny pattern size on a big picture costs no memory.
  int32_t patternTotal_ = 0;
  int32_t columns_ = 0;
  int32_t cellWidth_ = 0;
  int32_t cellHeight_ = 0;
  std::unique_ptr<TPatternCopy> copy_;
  // Stretched copies per (pattern, width, height): stretching with a colour
  // key on every frame is far too slow, so each size is scaled once.
  std::map<std::tuple<int32_t, int32_t, int32_t>, std::unique_ptr<TPatternCopy>> scaled_;
  int64_t scaledPixels_ = 0;
};

class TPictureCollection : public IArchiveObject {
 public:
  TPictureCollection();
  ~TPictureCollection() override;
  TPictureCollection(const TPictureCollection&) = delete;
  TPictureCollection& operator=(const TPictureCollection&) = delete;

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  TPictureCollectionItem& Items(int32_t index) const { return *items_.at(static_cast<size_t>(index)); }
  // A new item at the end, with its creation values.
  TPictureCollectionItem& Add();
  void Clear();

  // The item named `name` (ignoring case; the one named last wins); raises
  // EPictureCollectionError "Image '%s' not found" when there is none.
  TPictureCollectionItem& Find(std::string_view name) const;
  TPictureCollectionItem* FindOrNull(std::string_view name) const { return index_.Find(name); }

  // 256 entries of blue, green, red, 0.
  TPaletteTable ColorTable{};
  // Rebuilds ColorTable from sixteen fixed colours and the pictures' palettes.
  void BuildColorTable();

  // Replaces the whole collection with the archive's images. A file that
  // cannot be opened raises EFOpenError and changes nothing; a bad archive
  // raises after the collection was emptied, keeping the items read so far;
  // the message names the file (see LoadArchiveFile).
  void LoadArchive(const std::string& fileName);
  void LoadFromMemory(std::span<const uint8_t> data);

  // --- Life cycle with the display ---
  // Bound to a display and that display is up.
  bool Initialized() const { return initialized_; }
  TDXDraw* DXDraw() const { return dxdraw_; }
  // Finalises, binds to `dxdraw` and marks every item initialised.
  void Initialize(TDXDraw* dxdraw);
  // Every item rebuilds its patterns and display copies.
  void Restore();
  // Every item drops its patterns and display copies; the collection is unbound.
  void Finalize();

  bool ReadProperty(std::string_view name, TArchiveReader& reader) override;
  bool HasProperty(std::string_view name) override;

 private:
  friend class TPictureCollectionItem;
  TNameIndex<TPictureCollectionItem> index_;
  std::vector<std::unique_ptr<TPictureCollectionItem>> items_;
  TDXDraw* dxdraw_ = nullptr;
  bool initialized_ = false;
};

}  // namespace bd
