#pragma once
// Pictures read straight from files rather than from an archive: a bitmap
// file or a JPEG, told apart by their first bytes, decoded into a surface in
// the back buffer's pixel format so that drawing them is a plain copy.

#include <filesystem>
#include <memory>

#include "engine/display/Surface.h"

namespace bd {

// Raises EFOpenError when the file cannot be read, EInvalidGraphic when it is
// neither a bitmap file nor a JPEG or its bitmap is malformed, EJPEG when
// libjpeg cannot decode it.
std::unique_ptr<TDirectDrawSurface> LoadPictureFile(const std::filesystem::path& path);

}  // namespace bd
