#pragma once
// The synthesised instruments the songs are played with.

#include "XmWriter.h"

namespace bd::xm {

enum InstrumentId { kKick = 1, kSnare, kHat, kBass, kLead, kPad, kPluck, kCrash, kInstrumentCount };

// Instruments 1 .. 8 in order; every tonal sample sounds C-4 at note C-4.
std::vector<Instrument> MakeInstruments();

}  // namespace bd::xm
