#include "engine/images/PictureCollection.h"

#include <algorithm>
#include <cstring>

#include "engine/archive/ArchiveFile.h"
#include "engine/images/Colors.h"

namespace bd {
namespace {

// Stretched copies up to this size are cached; larger boxes (a sprite grown
// far beyond the screen) are stretched straight into the visible part.
constexpr int64_t kMaxCachedSide = 2048;
// Pixels of stretched copies one image may keep before its cache starts over.
constexpr int64_t kMaxCachedPixels = int64_t{8} << 20;

// Source coordinate for destination offset d of `size` pixels stretched from
// `srcSize` pixels: the source pixel under the centre of the destination pixel.
inline int32_t StretchSource(int64_t d, int64_t size, int64_t srcSize) {
  return static_cast<int32_t>(((2 * d + 1) * srcSize) / (2 * size));
}

}  // namespace

// ---------------------------------------------------------------------------
// TPictureCollectionItem

TPictureCollectionItem::TPictureCollectionItem(TPictureCollection* collection) : collection_(collection) {
  if (collection_) collection_->index_.Add(this);
}

TPictureCollectionItem::~TPictureCollectionItem() {
  if (collection_) collection_->index_.Remove(this, name_);
}

std::unique_ptr<TPictureCollectionItem> TPictureCollectionItem::FromPixels(
    int32_t width, int32_t height, std::vector<uint32_t> colors, int32_t patternWidth, int32_t patternHeight,
    uint32_t transparentColor, bool transparent) {
  if (width < 0 || height < 0 || colors.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
    throw std::invalid_argument("pixel count does not match the size");
  TDibImage image;
  image.Width = width;
  image.Height = height;
  image.BitCount = 32;
  image.Pixels.reserve(colors.size());
  for (uint32_t c : colors) image.Pixels.push_back(ColorToRaw(c & 0xFFFFFF));
  auto item = std::make_unique<TPictureCollectionItem>();
  item->SetPicture(std::make_unique<TDIB>(std::move(image)));
  item->patternWidth_ = patternWidth;
  item->patternHeight_ = patternHeight;
  item->transparentColor_ = transparentColor;
  item->transparent_ = transparent;
  item->Initialize();
  item->Restore();
  return item;
}

void TPictureCollectionItem::SetName(const std::string& name) {
  if (name == name_) return;
  if (collection_) collection_->index_.Rename(this, name_, name);
  name_ = name;
}

void TPictureCollectionItem::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  ApplyColorKey();
}

void TPictureCollectionItem::SetTransparentColor(uint32_t color) {
  if (color == transparentColor_) return;
  transparentColor_ = color;
  ApplyColorKey();
}

uint32_t TPictureCollectionItem::TransparentRGB() const { return ColorToRGB(transparentColor_); }

int32_t TPictureCollectionItem::Width() const {
  if (patternWidth_ > 0) return patternWidth_;
  return picture_ ? picture_->Width() : 0;
}

int32_t TPictureCollectionItem::Height() const {
  if (patternHeight_ > 0) return patternHeight_;
  return picture_ ? picture_->Height() : 0;
}

TRect TPictureCollectionItem::PatternBounds(int32_t index) const {
  if (index < 0 || index >= patternTotal_) return TRect{};
  const int32_t x = (index % columns_) * cellWidth_;
  const int32_t y = (index / columns_) * cellHeight_;
  return TRect{x, y, x + Width(), y + Height()};
}

void TPictureCollectionItem::Restore() {
  patternTotal_ = 0;
  columns_ = 0;
  copy_.reset();
  scaled_.clear();
  scaledPixels_ = 0;
  if (!picture_ || picture_->Empty()) return;

  const int64_t pw = picture_->Width(), ph = picture_->Height();
  const int64_t w = Width(), h = Height();
  if (w == pw && h == ph) {
    patternTotal_ = 1;
    columns_ = 1;
    cellWidth_ = static_cast<int32_t>(w);
    cellHeight_ = static_cast<int32_t>(h);
  } else {
    const int64_t cw = w + skipWidth_, ch = h + skipHeight_;
    if (cw > 0 && ch > 0 && w > 0 && h > 0) {
      const int64_t columns = std::max<int64_t>(0, (pw + skipWidth_) / cw);
      const int64_t rows = std::max<int64_t>(0, (ph + skipHeight_) / ch);
      // A pattern wider or taller than the picture would reach past it.
      if (columns > 0 && rows > 0 && w <= pw && h <= ph) {
        columns_ = static_cast<int32_t>(columns);
        cellWidth_ = static_cast<int32_t>(cw);
        cellHeight_ = static_cast<int32_t>(ch);
        patternTotal_ = static_cast<int32_t>(columns * rows);
      }
    }
  }

  copy_ = std::make_unique<TPatternCopy>(static_cast<int32_t>(pw), static_cast<int32_t>(ph));
  const uint32_t* src = picture_->Pixels().data();
  for (int64_t y = 0; y < ph; ++y)
    std::memcpy(copy_->Row(static_cast<int32_t>(y)), src + y * pw, static_cast<size_t>(pw) * 4);
  ApplyColorKey();
}

void TPictureCollectionItem::Finalize() {
  patternTotal_ = 0;
  columns_ = 0;
  copy_.reset();
  scaled_.clear();
  scaledPixels_ = 0;
  initialized_ = false;
}

void TPictureCollectionItem::ApplyColorKey() {
  // Transparent says whether copies use the key.
  const uint32_t key = ColorToRaw(TransparentRGB());
  if (copy_) copy_->SetKey(transparent_, key);
  for (auto& [size, copy] : scaled_) copy->SetKey(transparent_, key);
}

void TPictureCollectionItem::DrawPattern(TDirectDrawSurface& dest, int32_t x, int32_t y, int32_t index) {
  if (!copy_ || index < 0 || index >= patternTotal_) return;
  const TRect r = PatternBounds(index);
  if (x >= dest.Width() || y >= dest.Height() || int64_t{x} + r.Width() <= 0 || int64_t{y} + r.Height() <= 0)
    return;
  copy_->Draw(dest, x, y, r);
}

const TPatternCopy* TPictureCollectionItem::ScaledCopy(int32_t index, int32_t w, int32_t h) {
  const auto key = std::make_tuple(index, w, h);
  if (auto it = scaled_.find(key); it != scaled_.end()) return it->second.get();
  if (scaledPixels_ + int64_t{w} * h > kMaxCachedPixels) {
    scaled_.clear();
    scaledPixels_ = 0;
  }
  const TRect src = PatternBounds(index);
  auto copy = std::make_unique<TPatternCopy>(w, h);
  std::vector<int32_t> columns(static_cast<size_t>(w));
  for (int32_t dx = 0; dx < w; ++dx) columns[dx] = src.Left + StretchSource(dx, w, src.Width());
  for (int32_t dy = 0; dy < h; ++dy) {
    const uint32_t* from = copy_->Row(src.Top + StretchSource(dy, h, src.Height()));
    uint32_t* to = copy->Row(dy);
    for (int32_t dx = 0; dx < w; ++dx) to[dx] = from[columns[dx]];
  }
  copy->SetKey(transparent_, ColorToRaw(TransparentRGB()));
  scaledPixels_ += int64_t{w} * h;
  return scaled_.emplace(key, std::move(copy)).first->second.get();
}

void TPictureCollectionItem::DrawScaledDirect(TDirectDrawSurface& dest, const TRect& destRect,
                                              const TRect& src) {
  const int64_t w = int64_t{destRect.Right} - destRect.Left, h = int64_t{destRect.Bottom} - destRect.Top;
  const int32_t left = std::max(destRect.Left, 0), right = std::min(destRect.Right, dest.Width());
  const int32_t top = std::max(destRect.Top, 0), bottom = std::min(destRect.Bottom, dest.Height());
  const uint32_t key = ColorToRaw(TransparentRGB());
  SDL_Surface* out = dest.Sdl();
  for (int32_t y = top; y < bottom; ++y) {
    const uint32_t* from = copy_->Row(src.Top + StretchSource(y - int64_t{destRect.Top}, h, src.Height()));
    auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(out->pixels) + y * out->pitch);
    for (int32_t x = left; x < right; ++x) {
      const uint32_t p = from[src.Left + StretchSource(x - int64_t{destRect.Left}, w, src.Width())];
      if (!transparent_ || (p & 0xFFFFFF) != key) to[x] = p;
    }
  }
}

void TPictureCollectionItem::DrawPatternScaled(TDirectDrawSurface& dest, const TRect& destRect,
                                               int32_t index) {
  if (!copy_ || index < 0 || index >= patternTotal_) return;
  if (destRect.Left >= destRect.Right || destRect.Top >= destRect.Bottom) return;
  if (destRect.Left >= dest.Width() || destRect.Top >= dest.Height() || destRect.Right <= 0 ||
      destRect.Bottom <= 0)
    return;
  const TRect src = PatternBounds(index);
  const int64_t w = int64_t{destRect.Right} - destRect.Left, h = int64_t{destRect.Bottom} - destRect.Top;
  if (w == src.Width() && h == src.Height()) {
    DrawPattern(dest, destRect.Left, destRect.Top, index);
    return;
  }
  if (w > kMaxCachedSide || h > kMaxCachedSide) {
    DrawScaledDirect(dest, destRect, src);
    return;
  }
  const TPatternCopy* copy = ScaledCopy(index, static_cast<int32_t>(w), static_cast<int32_t>(h));
  copy->Draw(dest, destRect.Left, destRect.Top, Bounds(0, 0, copy->Width(), copy->Height()));
}

bool TPictureCollectionItem::PatternOpaque(int32_t index) const {
  return copy_ && index >= 0 && index < patternTotal_ && copy_->Opaque(PatternBounds(index));
}

uint32_t TPictureCollectionItem::PatternPixel(int32_t index, int32_t x, int32_t y) const {
  const TRect r = PatternBounds(index);
  if (!picture_ || x < 0 || y < 0 || x >= r.Width() || y >= r.Height()) return TransparentRGB();
  return picture_->PixelColor(r.Left + x, r.Top + y);
}

bool TPictureCollectionItem::ReadProperty(std::string_view name, TArchiveReader& reader) {
  if (SameText(name, "Name")) {
    SetName(reader.ReadString());
  } else if (SameText(name, "PatternHeight")) {
    patternHeight_ = reader.ReadInteger();
  } else if (SameText(name, "PatternWidth")) {
    patternWidth_ = reader.ReadInteger();
  } else if (SameText(name, "SkipHeight")) {
    skipHeight_ = reader.ReadInteger();
  } else if (SameText(name, "SkipWidth")) {
    skipWidth_ = reader.ReadInteger();
  } else if (SameText(name, "SystemMemory")) {
    systemMemory_ = reader.ReadBoolean();
  } else if (SameText(name, "Transparent")) {
    SetTransparent(reader.ReadBoolean());
  } else if (SameText(name, "TransparentColor")) {
    SetTransparentColor(static_cast<uint32_t>(reader.ReadInteger([](std::string_view ident) {
      const auto c = IdentToColor(ident);
      return c ? std::optional<int32_t>(static_cast<int32_t>(*c)) : std::nullopt;
    })));
  } else if (SameText(name, "Picture")) {
    // An object-valued property can only be cleared by a value.
    reader.ReadNil();
    picture_.reset();
  } else {
    return false;
  }
  return true;
}

IArchiveObject* TPictureCollectionItem::ObjectProperty(std::string_view name) {
  return SameText(name, "Picture") ? &pictureProperty_ : nullptr;
}

bool TPictureCollectionItem::HasProperty(std::string_view name) {
  for (const char* p : {"Name", "PatternHeight", "PatternWidth", "Picture", "SkipHeight", "SkipWidth",
                        "SystemMemory", "Transparent", "TransparentColor"})
    if (SameText(name, p)) return true;
  return false;
}

bool TPictureCollectionItem::TPictureProperty::ReadProperty(std::string_view name, TArchiveReader& reader) {
  if (!SameText(name, "Data")) return false;
  TByteReader data(reader.ReadBinary());
  item_.picture_.reset();
  if (data.AtEnd()) return true;
  const std::string className = data.String(data.U8());
  item_.picture_ = ReadGraphic(className, data.Bytes(data.Remaining()));
  return true;
}

bool TPictureCollectionItem::TPictureProperty::HasProperty(std::string_view name) {
  return SameText(name, "Data");
}

// ---------------------------------------------------------------------------
// TPictureCollection

TPictureCollection::TPictureCollection() = default;

TPictureCollection::~TPictureCollection() { Clear(); }

TPictureCollectionItem& TPictureCollection::Add() {
  items_.push_back(std::make_unique<TPictureCollectionItem>(this));
  if (initialized_) items_.back()->Initialize();
  return *items_.back();
}

void TPictureCollection::Clear() {
  // Newest first, so each item leaves its name chain near the head.
  while (!items_.empty()) items_.pop_back();
}

TPictureCollectionItem& TPictureCollection::Find(std::string_view name) const {
  if (auto* item = index_.Find(name)) return *item;
  throw EPictureCollectionError(Format("Image '%s' not found", std::string(name).c_str()));
}

void TPictureCollection::BuildColorTable() {
  std::array<bool, 256> used{};
  ColorTable.fill(TPaletteEntry{});
  auto set = [&](int i, uint8_t r, uint8_t g, uint8_t b) {
    ColorTable[static_cast<size_t>(i)] = TPaletteEntry{b, g, r, 0};
    used[static_cast<size_t>(i)] = true;
  };
  set(0, 0, 0, 0), set(1, 128, 0, 0), set(2, 0, 128, 0), set(3, 128, 128, 0);
  set(4, 0, 0, 128), set(5, 128, 0, 128), set(6, 0, 128, 128), set(7, 192, 192, 192);
  set(248, 128, 128, 128), set(249, 255, 0, 0), set(250, 0, 255, 0), set(251, 255, 255, 0);
  set(252, 0, 0, 255), set(253, 255, 0, 255), set(254, 0, 255, 255), set(255, 255, 255, 255);
  size_t usedCount = 16;

  auto addColor = [&](uint32_t entry) {
    const TPaletteEntry e{static_cast<uint8_t>(entry), static_cast<uint8_t>(entry >> 8),
                          static_cast<uint8_t>(entry >> 16), 0};
    for (size_t i = 0; i < 256; ++i)
      if (used[i] && ColorTable[i] == e) return;
    for (size_t i = 0; i < 256; ++i)
      if (!used[i]) {
        ColorTable[i] = e;
        used[i] = true;
        ++usedCount;
        return;
      }
  };

  for (const auto& item : items_) {
    const TGraphic* pic = item->Picture();
    if (!pic) continue;
    std::vector<uint32_t> entries = pic->Palette();
    if (entries.size() > 256) entries.resize(256);
    // A bitmap of up to 8 bits always has a 256-entry table; unused entries are black.
    if (dynamic_cast<const TDIB*>(pic) && pic->BitCount() <= 8) entries.resize(256, 0);
    for (uint32_t e : entries) addColor(e);
    if (usedCount >= 256) break;
  }
}

void TPictureCollection::LoadArchive(const std::string& fileName) {
  LoadArchiveFile(fileName, [this](std::span<const uint8_t> data) { LoadFromMemory(data); });
}

void TPictureCollection::LoadFromMemory(std::span<const uint8_t> data) {
  Clear();
  TArchiveListRoot root(*this);
  TArchiveReader(data).ReadRoot(root);
  if (initialized_) {
    Initialize(dxdraw_);
    Restore();
  }
}

void TPictureCollection::Initialize(TDXDraw* dxdraw) {
  Finalize();
  dxdraw_ = dxdraw;
  initialized_ = true;
  for (auto& item : items_) item->Initialize();
}

void TPictureCollection::Restore() {
  for (auto& item : items_) item->Restore();
}

void TPictureCollection::Finalize() {
  for (auto& item : items_) item->Finalize();
  dxdraw_ = nullptr;
  initialized_ = false;
}

bool TPictureCollection::ReadProperty(std::string_view name, TArchiveReader& reader) {
  if (!SameText(name, "ColorTable")) return false;
  TByteReader table(reader.ReadBinary());
  TPaletteTable read;
  for (auto& e : read) {
    e.Blue = table.U8();
    e.Green = table.U8();
    e.Red = table.U8();
    e.Reserved = table.U8();
  }
  ColorTable = read;
  return true;
}

bool TPictureCollection::HasProperty(std::string_view name) { return SameText(name, "ColorTable"); }

}  // namespace bd
