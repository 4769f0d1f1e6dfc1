// The checking worker's link to the game's recording decoder and headless
// race. This build of the server has neither yet: it says so for every
// recording (the worker answers that it cannot read it, and the report is
// refused with that reason), and nothing is stored unchecked.

#include "server/RecordingReplay.h"

namespace bd::server {

std::unique_ptr<IRecordingReplay> GameRecordingReplay() { return nullptr; }

}  // namespace bd::server
