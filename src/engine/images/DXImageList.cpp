#include "engine/images/DXImageList.h"

namespace bd {

TDXImageList::~TDXImageList() { SetDXDraw(nullptr); }

void TDXImageList::SetDXDraw(TDXDraw* dxdraw) {
  if (dxdraw == dxdraw_) return;
  if (dxdraw_) dxdraw_->RemoveListener(this);
  dxdraw_ = dxdraw;
  if (dxdraw_) dxdraw_->AddListener(this);
}

void TDXImageList::DXDrawNotify(TDXDraw& sender, TDXDrawNotifyType type) {
  switch (type) {
    case TDXDrawNotifyType::Destroying:
      if (dxdraw_ == &sender) dxdraw_ = nullptr;
      break;
    case TDXDrawNotifyType::Initialize:
      items_.Initialize(&sender);
      if (!sender.Initialized())
        throw EPictureCollectionError(Format("%s cannot be initialized", "TPictureCollection"));
      break;
    case TDXDrawNotifyType::Restore:
      items_.Restore();
      break;
    case TDXDrawNotifyType::Finalize:
      items_.Finalize();
      break;
    default:
      break;
  }
}

}  // namespace bd
