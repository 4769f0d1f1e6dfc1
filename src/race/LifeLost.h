#pragma once
// The end of a life on the road: a wreck, or the car sunk into the chasm.

#include "race/RaceHost.h"

namespace bd {

// Ends the current life. The level-complete and nitro clocks stop; on the
// last life GameOver is set and the road is left as it is for the next race
// frame to leave. Otherwise the old road's sprites are killed, a new road is
// built and the new life runs. Called from inside sprite steps and
// collisions: the old sprites are only killed, not freed, so the walk in
// progress stays valid.
void EndLife(IRaceHost& host);

}  // namespace bd
