// SPDX-License-Identifier: GPL-3.0-or-later
// The message a component sends its controller through their connection points: where the
// component is, so the controller shows the effect's own values, texts and editor. It passes
// through hosts that stand between the two points, as they forward messages.
#pragma once

#include "travesty/message.h"

namespace orvane::vst3 {

class Component;

// Tells peer about component (null: the link ends).
void sendLink(v3_connection_point** peer, Component* component);
// False when message is not a link message.
bool readLink(v3_message** message, Component*& component);

} // namespace orvane::vst3
