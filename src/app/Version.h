#pragma once

namespace bd {
extern const char* const kGameTitle;
}
