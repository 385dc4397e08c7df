// How the adapter introduces itself to the effect, as a VST 2.4 host does.
#pragma once

#include "host/vst2.h"

namespace orvane::lv2 {

// Answers the version and name requests the effect makes while it is being built. The effect
// hands its state chunk only to hosts it knows to keep one; the adapter keeps it, so it names
// itself as the vendor's own chunk host. True when opcode was one of these requests.
bool answerIdentity(VstInt32 opcode, void* ptr, VstIntPtr& answer);

} // namespace orvane::lv2
