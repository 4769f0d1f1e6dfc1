#include "server/ScoreStore.h"

namespace bd::server {

std::string_view CheckStateName(TCheckState state) {
  switch (state) {
    case TCheckState::Checked:
      return "checked";
    case TCheckState::CheckedOwnSeed:
      return "checked-own-seed";
    case TCheckState::Unchecked:
      break;
  }
  return "unchecked";
}

TCheckState CheckStateFromName(std::string_view name) {
  if (name == "checked") return TCheckState::Checked;
  if (name == "checked-own-seed") return TCheckState::CheckedOwnSeed;
  return TCheckState::Unchecked;
}

}  // namespace bd::server
