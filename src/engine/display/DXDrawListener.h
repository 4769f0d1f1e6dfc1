#pragma once
// What the display tells the components that draw on it (the image list and
// the sprite engine) when it comes up, goes down or rebuilds its surfaces.

namespace bd {

class TDXDraw;

enum class TDXDrawNotifyType {
  Destroying = 0,
  Initializing = 1,
  Initialize = 2,
  InitializeSurface = 3,
  Finalize = 4,
  FinalizeSurface = 5,
  Restore = 6,
  Changed = 7,
};

class IDXDrawListener {
 public:
  virtual ~IDXDrawListener() = default;
  virtual void DXDrawNotify(TDXDraw& sender, TDXDrawNotifyType type) = 0;
};

}  // namespace bd
