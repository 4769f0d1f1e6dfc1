#pragma once
// The version of the race's rules, written into every recording.
//
// A recording replays to the same end only under the rules that played it.
// Raise this number with every change that alters what a recording produces:
// a new or changed random draw (its range, its order, when it is made), a
// sprite's motion, collision or creation, a speed, a score, a level rule, a
// clock's interval or the point in the frame at which something happens, a
// new race input, or a change to how an input is applied. Changes that only
// touch drawing, sounds or the menus leave it alone. The recorded races kept
// with the tests fail until it is raised and they are recorded again.

#include <cstdint>

namespace bd {

inline constexpr uint32_t kRaceRulesVersion = 1;

}  // namespace bd
