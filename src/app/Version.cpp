// The game's name and version, as shown in the window caption and reports.
#include "app/Version.h"

namespace bd {
const char* const kGameTitle = "Bumper Dash";
}
