#pragma once
// One PNG showing every picture at its real size with its name and pattern
// grid, so the whole set can be reviewed at a glance.

#include <string>
#include <vector>

#include "Art.h"

namespace bd::art {

// Writes the sheet; returns false when the PNG cannot be written.
bool WriteContactSheet(const std::string& path, const std::vector<const ArtItem*>& items);

}  // namespace bd::art
