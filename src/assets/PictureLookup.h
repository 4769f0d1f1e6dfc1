#pragma once
// The game's picture lookup. The engine's image list takes any string; the
// game hands it one of the named pictures, so only a listed name reaches it.

#include "assets/AssetNames.h"
#include "engine/images/DXImageList.h"

namespace bd {

// The named picture of the loaded archive; raises "Image '%s' not found" when
// the archive lacks it.
inline TPictureCollectionItem& FindPicture(const TDXImageList& list, TPictureName name) {
  return list.FindImage(name.Text());
}

}  // namespace bd
