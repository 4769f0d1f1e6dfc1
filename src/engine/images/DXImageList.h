#pragma once
// The image list component: the named images of the loaded archive, bound
// to the display so their display copies come and go with it.

#include <string_view>

#include "engine/display/DXDraw.h"
#include "engine/display/DXDrawListener.h"
#include "engine/images/PictureCollection.h"

namespace bd {

class TDXImageList : public IDXDrawListener {
 public:
  TDXImageList() = default;
  ~TDXImageList() override;
  TDXImageList(const TDXImageList&) = delete;
  TDXImageList& operator=(const TDXImageList&) = delete;

  // The display the images are drawn on (not owned). Setting it registers
  // with that display; a display that is already up makes the images
  // drawable at once.
  TDXDraw* DXDraw() const { return dxdraw_; }
  void SetDXDraw(TDXDraw* dxdraw);

  TPictureCollection& Items() { return items_; }
  const TPictureCollection& Items() const { return items_; }
  TPictureCollectionItem& FindImage(std::string_view name) const { return items_.Find(name); }

  void DXDrawNotify(TDXDraw& sender, TDXDrawNotifyType type) override;

 private:
  TDXDraw* dxdraw_ = nullptr;
  TPictureCollection items_;
};

}  // namespace bd
