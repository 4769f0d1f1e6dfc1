#include "engine/display/DXDraw.h"

#include <algorithm>
#include <exception>
#include <tuple>

#include "engine/display/Canvas.h"

namespace bd {
namespace {

using O = TDXDrawOption;

// Sets a flag for the lifetime of a scope, so an exception from an event
// handler cannot leave the display marked busy for ever.
class TFlagScope {
 public:
  TFlagScope(bool& flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
  ~TFlagScope() { flag_ = old_; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& flag_;
  bool old_;
};

bool ValidBitCount(int bits) { return bits == 8 || bits == 16 || bits == 24 || bits == 32; }

bool SameRatio(const DisplayMode& m, const TDXDrawDisplay& r) {
  return static_cast<int64_t>(m.Width) * r.Height == static_cast<int64_t>(m.Height) * r.Width;
}

// A mode or request of 8 bits or fewer needs at least as many bits; above
// that any depth will do.
bool AcceptableBits(const DisplayMode& m, const TDXDrawDisplay& r) {
  if (r.FixedBitCount) return m.BitCount == r.BitCount;
  if (m.BitCount <= 8 || r.BitCount <= 8) return m.BitCount >= r.BitCount;
  return true;
}

std::optional<DisplayMode> SearchModes(const TDXDrawDisplay& r, const std::vector<DisplayMode>& sorted,
                                       bool sameRatio) {
  std::optional<DisplayMode> best;
  for (const DisplayMode& m : sorted) {
    if (sameRatio && !SameRatio(m, r)) continue;
    if (r.FixedSize ? (m.Width != r.Width || m.Height != r.Height)
                    : (m.Width < r.Width || m.Height < r.Height))
      continue;
    if (!AcceptableBits(m, r)) continue;
    if (!best || (m.Width <= best->Width && m.Height <= best->Height)) best = m;
  }
  if (best && best->BitCount != r.BitCount) {
    const DisplayMode wanted{best->Width, best->Height, r.BitCount};
    if (std::find(sorted.begin(), sorted.end(), wanted) != sorted.end()) best = wanted;
  }
  return best;
}

}  // namespace

TDXDrawOptions EffectiveOptions(TDXDrawOptions options, bool initialized, TDXDrawOptions current) {
  if (initialized) {
    TDXDrawOptions result = current;
    for (O o : {O::doWaitVBlank, O::doStretch, O::doCenter}) {
      if (options.Has(o))
        result.Include(o);
      else
        result.Exclude(o);
    }
    return result;
  }
  TDXDrawOptions result = options;
  if (!options.Has(O::doFullScreen)) {
    for (O o : {O::doNoWindowChange, O::doAllowReboot, O::doAllowPalette256, O::doFlip}) result.Exclude(o);
  }
  if (!options.Has(O::do3D)) {
    for (O o : {O::doDirectX7Mode, O::doRetainedMode, O::doHardware, O::doSelectDriver, O::doZBuffer})
      result.Exclude(o);
  }
  if (options.Has(O::doSystemMemory)) result.Exclude(O::doFlip);
  return result;
}

std::optional<DisplayMode> ChooseDisplayMode(const TDXDrawDisplay& request, std::vector<DisplayMode> modes) {
  if (request.Width <= 0 || request.Height <= 0 || !ValidBitCount(request.BitCount)) return std::nullopt;
  std::sort(modes.begin(), modes.end(), [](const DisplayMode& a, const DisplayMode& b) {
    return std::tie(a.Width, a.Height, a.BitCount) < std::tie(b.Width, b.Height, b.BitCount);
  });
  const DisplayMode exact{request.Width, request.Height, request.BitCount};
  if (std::find(modes.begin(), modes.end(), exact) != modes.end()) return exact;
  std::optional<DisplayMode> chosen;
  if (request.FixedRatio) chosen = SearchModes(request, modes, true);
  if (!chosen) chosen = SearchModes(request, modes, false);
  return chosen;
}

TPaletteTable SystemPalette() {
  TPaletteTable table{};
  // The 20 colours a palette display reserves: 10 at the start, 10 at the end.
  const uint32_t low[10] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000,
                            0x800080, 0x808000, 0xC0C0C0, 0xC0DCC0, 0xF0CAA6};
  const uint32_t high[10] = {0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF, 0x00FF00,
                             0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  auto entry = [](uint32_t bgr) {
    return TPaletteEntry{static_cast<uint8_t>(bgr >> 16), static_cast<uint8_t>(bgr >> 8),
                         static_cast<uint8_t>(bgr), 0};
  };
  for (int i = 0; i < 10; ++i) {
    table[static_cast<size_t>(i)] = entry(low[i]);
    table[static_cast<size_t>(246 + i)] = entry(high[i]);
  }
  return table;
}

TDXDraw::TDXDraw(IWindow* window)
    : PaletteTable(SystemPalette()), DefaultPaletteTable(SystemPalette()), window_(window) {
  display_ = TDXDrawDisplay{};
  SetOptions(
      {O::doAllowReboot, O::doWaitVBlank, O::doCenter, O::doDirectX7Mode, O::doHardware, O::doSelectDriver});
}

TDXDraw::~TDXDraw() {
  try {
    FinalizeDisplay();
  } catch (...) {
    // A handler failing while the program shuts down has nobody to tell.
  }
  Notify(TDXDrawNotifyType::Destroying);
}

void TDXDraw::SetOptions(TDXDrawOptions options) {
  options_ = options;
  activeOptions_ = EffectiveOptions(options_, initialized_, activeOptions_);
}

void TDXDraw::SetDisplayBitCount(int bits) {
  if (!ValidBitCount(bits)) throw EDirectDrawError("It should be either of 8 or 16 or 24 or 32");
  display_.BitCount = bits;
}

int TDXDraw::SurfaceWidth() const { return backBuffer_ ? backBuffer_->Width() : storedSurfaceWidth_; }
int TDXDraw::SurfaceHeight() const { return backBuffer_ ? backBuffer_->Height() : storedSurfaceHeight_; }

void TDXDraw::SetSurfaceSize(int width, int height) {
  if ((width == SurfaceWidth() && height == SurfaceHeight()) || busy_) return;
  if (!initialized_) {
    storedSurfaceWidth_ = width;
    storedSurfaceHeight_ = height;
  } else {
    if (fullScreen_) return;  // the mode fixes the size in full screen
    storedSurfaceWidth_ = std::max(width, 1);
    storedSurfaceHeight_ = std::max(height, 1);
    if (surfaceEventSent_) {
      Notify(TDXDrawNotifyType::FinalizeSurface);
      if (OnFinalizeSurface) OnFinalizeSurface(*this);
    }
    CreateBackBuffer();
    surfaceEventSent_ = true;
    Notify(TDXDrawNotifyType::InitializeSurface);
    if (OnInitializeSurface) OnInitializeSurface(*this);
  }
  Notify(TDXDrawNotifyType::Changed);
}

void TDXDraw::SetComponentSize(int width, int height) {
  width_ = width;
  height_ = height;
  if (AutoSize) SetSurfaceSize(width, height);
}

void TDXDraw::CreateBackBuffer() {
  try {
    backBuffer_ = std::make_unique<TDirectDrawSurface>(storedSurfaceWidth_, storedSurfaceHeight_);
  } catch (const std::exception&) {
    backBuffer_.reset();
    throw EDXDrawError(Format("%s cannot be made", "Surface"));
  }
}

void TDXDraw::WindowShown() {
  if (AutoInitialize && !initializeAttempted_) InitializeDisplay();
}

void TDXDraw::InitializeDisplay() {
  initializeAttempted_ = true;
  FinalizeDisplay();
  if (window_ == nullptr) throw EDXDrawError("Form not found");

  TFlagScope initializing(inInitialize_, true);
  try {
    if (OnInitializing) OnInitializing(*this);
    busy_ = true;
    Notify(TDXDrawNotifyType::Initializing);
    flipping_ = activeOptions_.Has(O::doFlip);
    fullScreen_ = activeOptions_.Has(O::doFullScreen);
    if (fullScreen_) {
      const std::optional<DisplayMode> mode = ChooseDisplayMode(display_, window_->DisplayModes());
      if (!mode || !window_->SetFullScreen(&*mode)) {
        throw EDXDrawError(Format("Display mode cannot be changed (%dx%d %dbit)", display_.Width,
                                  display_.Height, display_.BitCount));
      }
      display_.Width = mode->Width;
      display_.Height = mode->Height;
      display_.BitCount = mode->BitCount;
    } else if (!window_->SetFullScreen(nullptr)) {
      throw EDXDrawError(Format("%s cannot be made", "Primary Surface"));
    }
    if (AutoSize) {
      storedSurfaceWidth_ = width_;
      storedSurfaceHeight_ = height_;
    }
    CreateBackBuffer();
    initialized_ = true;
    busy_ = false;
  } catch (...) {
    // Take down whatever was brought up, so listeners see a balanced sequence.
    initialized_ = true;
    busy_ = false;
    FinalizeDisplay();
    throw;
  }

  Notify(TDXDrawNotifyType::Changed);
  Notify(TDXDrawNotifyType::Initialize);
  initializeEventSent_ = true;
  if (OnInitialize) OnInitialize(*this);
  surfaceEventSent_ = true;
  Notify(TDXDrawNotifyType::InitializeSurface);
  if (OnInitializeSurface) OnInitializeSurface(*this);
  Restore();
}

void TDXDraw::FinalizeDisplay() {
  if (!initialized_) return;
  if (backBuffer_) {
    storedSurfaceWidth_ = backBuffer_->Width();
    storedSurfaceHeight_ = backBuffer_->Height();
  }
  busy_ = true;
  std::exception_ptr error;
  auto guarded = [&error](auto&& step) {
    try {
      step();
    } catch (...) {
      if (!error) error = std::current_exception();
    }
  };
  if (surfaceEventSent_) {
    surfaceEventSent_ = false;
    if (OnFinalizeSurface) guarded([&] { OnFinalizeSurface(*this); });
  }
  guarded([&] { Notify(TDXDrawNotifyType::FinalizeSurface); });
  if (initializeEventSent_) {
    initializeEventSent_ = false;
    if (OnFinalize) guarded([&] { OnFinalize(*this); });
  }
  guarded([&] { Notify(TDXDrawNotifyType::Finalize); });

  initialized_ = false;
  activeOptions_ = EffectiveOptions(options_, false, activeOptions_);
  backBuffer_.reset();
  if (fullScreen_ && window_ != nullptr) window_->SetFullScreen(nullptr);  // the old mode comes back
  fullScreen_ = false;
  flipping_ = false;
  busy_ = false;
  if (error) std::rethrow_exception(error);
}

bool TDXDraw::SurfacesLost() const { return window_ != nullptr && window_->SurfacesLost(); }

void TDXDraw::Restore() {
  if (!initialized_ || busy_) return;
  TFlagScope busy(busy_, true);
  if (!window_->RestoreSurfaces()) return;
  backBuffer_->Fill(0);
  ApplyPaletteTable(DefaultPaletteTable);
  Notify(TDXDrawNotifyType::Restore);
  if (OnRestoreSurface) OnRestoreSurface(*this);
  ApplyPaletteTable(PaletteTable);
}

bool TDXDraw::ReadyToDraw() {
  if (!initialized_ || busy_ || !backBuffer_) return false;
  if (SurfacesLost()) {
    Restore();
    if (SurfacesLost()) return false;
  }
  return true;
}

TRect TDXDraw::PresentRect() const {
  if (activeOptions_.Has(O::doStretch)) return Bounds(0, 0, width_, height_);
  TRect r = Bounds(0, 0, backBuffer_->Width(), backBuffer_->Height());
  if (activeOptions_.Has(O::doCenter)) {
    const int dx = (width_ - r.Width()) / 2;
    const int dy = (height_ - r.Height()) / 2;
    r = Bounds(dx, dy, r.Width(), r.Height());
  }
  return r;
}

void TDXDraw::PresentFrame() {
  if (!ReadyToDraw()) return;
  const bool vblank = activeOptions_.Has(O::doWaitVBlank);
  if (flipping_) {
    // A full-screen display only flips while the game's window is in front.
    if (window_->IsActive()) window_->Present(backBuffer_->Sdl(), Bounds(0, 0, width_, height_), vblank);
    return;
  }
  window_->Present(backBuffer_->Sdl(), PresentRect(), vblank);
}

void TDXDraw::Repaint() {
  if (!ReadyToDraw()) return;
  window_->Present(backBuffer_->Sdl(), flipping_ ? Bounds(0, 0, width_, height_) : PresentRect(), false);
}

void TDXDraw::FillSurface(uint32_t raw) {
  if (backBuffer_) backBuffer_->Fill(raw);
}

TCanvas& TDXDraw::SurfaceCanvas() {
  if (!backBuffer_) throw EDXDrawError("The display is not initialized");
  return backBuffer_->Canvas();
}

void TDXDraw::ReleaseCanvas() {
  if (backBuffer_) backBuffer_->Canvas().Release();
}

void TDXDraw::ApplyPaletteTable(const TPaletteTable&) {
  // The back buffer and the presentation are always 32 bits per pixel, where
  // a colour table has no effect on the picture; images carry true colours.
}

void TDXDraw::ApplyPalette() { ApplyPaletteTable(PaletteTable); }

void TDXDraw::Notify(TDXDrawNotifyType type) {
  // Last registered first; a listener may unregister itself or others while
  // being told, so work on a copy and skip the ones that left.
  const std::vector<IDXDrawListener*> snapshot = listeners_;
  for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
    if (std::find(listeners_.begin(), listeners_.end(), *it) != listeners_.end())
      (*it)->DXDrawNotify(*this, type);
  }
}

void TDXDraw::AddListener(IDXDrawListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
  listeners_.push_back(listener);
  listener->DXDrawNotify(*this, TDXDrawNotifyType::Changed);
  if (initialized_) {
    listener->DXDrawNotify(*this, TDXDrawNotifyType::Initialize);
    if (surfaceEventSent_) listener->DXDrawNotify(*this, TDXDrawNotifyType::InitializeSurface);
    if (!inInitialize_) listener->DXDrawNotify(*this, TDXDrawNotifyType::Restore);
  }
}

void TDXDraw::RemoveListener(IDXDrawListener* listener) {
  const auto it = std::find(listeners_.begin(), listeners_.end(), listener);
  if (it == listeners_.end()) return;
  listeners_.erase(it);
  if (initialized_) {
    if (surfaceEventSent_) listener->DXDrawNotify(*this, TDXDrawNotifyType::FinalizeSurface);
    listener->DXDrawNotify(*this, TDXDrawNotifyType::Finalize);
  }
}

}  // namespace bd
