// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 face of the effect: its URIs and port numbers. The control ports carry the adapter
// core's exposed parameters, in their order, from kFirstControl on.
#pragma once

namespace orvane::lv2 {

constexpr const char* kPluginUri = "urn:halvick:orvane";
constexpr const char* kUiUri = "urn:halvick:orvane#ui";
constexpr const char* kStateKeyUri = "urn:halvick:orvane#state";
// Beside the state: what the control ports held when it was saved (11 little-endian floats).
constexpr const char* kPortsKeyUri = "urn:halvick:orvane#ports";
constexpr const char* kPresetUriPrefix = "urn:halvick:orvane:preset:";

enum PortIndex : unsigned {
    kInputLeft = 0,
    kInputRight = 1,
    kOutputLeft = 2,
    kOutputRight = 3,
    kMidiInput = 4,
    kFirstControl = 5,
};

} // namespace orvane::lv2
