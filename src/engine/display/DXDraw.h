#pragma once
// The display component: an off-screen back buffer that the sprites, the
// image list and the game's texts paint every frame, shown in the window or
// full screen. Components that draw on it register as listeners and are told
// when it comes up, goes down or rebuilds its back buffer.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/display/DXDrawListener.h"
#include "engine/base/Errors.h"
#include "engine/display/Surface.h"
#include "engine/base/Types.h"
#include "engine/platform/Platform.h"

namespace bd {

class TCanvas;

BD_DECLARE_ERROR(EDXDrawError);
BD_DECLARE_ERROR(EDirectDrawError);

enum class TDXDrawOption : uint32_t {
  doFullScreen,
  doNoWindowChange,
  doAllowReboot,
  doWaitVBlank,
  doAllowPalette256,
  doSystemMemory,
  doStretch,
  doCenter,
  doFlip,
  do3D,
  doDirectX7Mode,
  doRetainedMode,
  doHardware,
  doSelectDriver,
  doZBuffer,
};

// A set of TDXDrawOption, bit n standing for the option numbered n.
class TDXDrawOptions {
 public:
  constexpr TDXDrawOptions() = default;
  constexpr TDXDrawOptions(std::initializer_list<TDXDrawOption> options) {
    for (TDXDrawOption o : options) bits_ |= Bit(o);
  }
  constexpr bool Has(TDXDrawOption o) const { return (bits_ & Bit(o)) != 0; }
  constexpr void Include(TDXDrawOption o) { bits_ |= Bit(o); }
  constexpr void Exclude(TDXDrawOption o) { bits_ &= ~Bit(o); }
  constexpr uint32_t Bits() const { return bits_; }
  constexpr bool operator==(const TDXDrawOptions&) const = default;

 private:
  static constexpr uint32_t Bit(TDXDrawOption o) { return 1u << static_cast<uint32_t>(o); }
  uint32_t bits_ = 0;
};

// The options actually in force for `options`. While the display is down
// every option is recomputed; while it is up only the presentation options
// (vertical-blank wait, stretch, centre) follow `options` at once, the rest
// keep `current` until the next initialisation.
TDXDrawOptions EffectiveOptions(TDXDrawOptions options, bool initialized, TDXDrawOptions current);

// The requested full-screen display mode.
struct TDXDrawDisplay {
  int Width = 640;
  int Height = 480;
  int BitCount = 8;
  bool FixedBitCount = true;
  bool FixedRatio = true;
  bool FixedSize = false;
};

// Chooses the display mode to set for `request` among the modes the platform
// offers: the exact mode; else, with FixedRatio, the smallest mode of the
// same aspect ratio that is at least as large (exactly as large with
// FixedSize) and has an acceptable bit count; else the same search with any
// ratio. Nothing when no mode fits or the request itself is invalid.
std::optional<DisplayMode> ChooseDisplayMode(const TDXDrawDisplay& request, std::vector<DisplayMode> modes);

// One entry of a 256-colour table: blue, green, red, 0.
struct TPaletteEntry {
  uint8_t Blue = 0;
  uint8_t Green = 0;
  uint8_t Red = 0;
  uint8_t Reserved = 0;
  bool operator==(const TPaletteEntry&) const = default;
};
using TPaletteTable = std::array<TPaletteEntry, 256>;

// The platform's default 256-colour palette: 20 fixed colours at both ends.
TPaletteTable SystemPalette();

class TDXDraw {
 public:
  using TEvent = std::function<void(TDXDraw&)>;

  // `window` is the form the component sits on; null means it is on none.
  explicit TDXDraw(IWindow* window);
  ~TDXDraw();
  TDXDraw(const TDXDraw&) = delete;
  TDXDraw& operator=(const TDXDraw&) = delete;

  // Published settings.
  bool AutoInitialize = true;
  bool AutoSize = true;
  uint32_t Color = 0x00C0C0C0;  // background before anything is presented, 0x00BBGGRR

  TDXDrawOptions Options() const { return options_; }
  void SetOptions(TDXDrawOptions options);
  TDXDrawOptions ActiveOptions() const { return activeOptions_; }

  const TDXDrawDisplay& Display() const { return display_; }
  void SetDisplayWidth(int width) { display_.Width = width < 0 ? 0 : width; }
  void SetDisplayHeight(int height) { display_.Height = height < 0 ? 0 : height; }
  // Raises EDirectDrawError unless bits is 8, 16, 24 or 32; the old value stays then.
  void SetDisplayBitCount(int bits);

  int SurfaceWidth() const;
  int SurfaceHeight() const;
  void SetSurfaceSize(int width, int height);

  // The component's own size (it fills the form's client area); with
  // AutoSize the back buffer follows it.
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetComponentSize(int width, int height);

  TEvent OnInitializing, OnInitialize, OnFinalize;
  TEvent OnInitializeSurface, OnFinalizeSurface, OnRestoreSurface;

  // Brings the display up, raising EDXDrawError on failure (the display is
  // then down again).
  void InitializeDisplay();
  // Takes the display down; nothing when it is not up.
  void FinalizeDisplay();
  // The form's window was shown: the first showing initialises the display
  // by itself when AutoInitialize is set and nobody initialised it before.
  void WindowShown();

  bool Initialized() const { return initialized_; }
  bool Busy() const { return busy_; }
  // True when the back buffer can be drawn on now; lost surfaces are
  // restored first.
  bool ReadyToDraw();
  // Shows the back buffer; nothing unless ready.
  void PresentFrame();
  // Shows the back buffer again at once, without the vertical-blank wait
  // (the window was uncovered).
  void Repaint();

  // The surface to draw on; null while the display is down.
  TDirectDrawSurface* BackBuffer() const { return backBuffer_.get(); }
  // Fills the whole back buffer with a raw pixel value (0 is black).
  void FillSurface(uint32_t raw);
  // The back buffer's canvas for text and shapes; every use ends with
  // ReleaseCanvas before the frame is presented.
  TCanvas& SurfaceCanvas();
  void ReleaseCanvas();

  TPaletteTable PaletteTable;
  TPaletteTable DefaultPaletteTable;
  // Applies PaletteTable to the display. The picture is always 32 bits per
  // pixel here, so it has no visible effect.
  void ApplyPalette();

  void AddListener(IDXDrawListener* listener);
  void RemoveListener(IDXDrawListener* listener);

  IWindow* Window() const { return window_; }

 private:
  void Notify(TDXDrawNotifyType type);
  void Restore();
  bool SurfacesLost() const;
  void ApplyPaletteTable(const TPaletteTable& table);
  TRect PresentRect() const;
  void CreateBackBuffer();

  IWindow* window_;
  TDXDrawOptions options_;
  TDXDrawOptions activeOptions_;
  TDXDrawDisplay display_;
  int width_ = 800;
  int height_ = 600;
  int storedSurfaceWidth_ = 800;
  int storedSurfaceHeight_ = 600;
  bool initialized_ = false;
  bool busy_ = false;
  bool initializeEventSent_ = false;
  bool surfaceEventSent_ = false;
  bool initializeAttempted_ = false;
  bool inInitialize_ = false;
  bool flipping_ = false;
  bool fullScreen_ = false;
  std::vector<IDXDrawListener*> listeners_;
  std::unique_ptr<TDirectDrawSurface> backBuffer_;
};

}  // namespace bd
