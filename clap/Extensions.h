// SPDX-License-Identifier: GPL-3.0-or-later
// The extensions the plug-in offers, each in its own file.
#pragma once

#include <clap/ext/audio-ports.h>
#include <clap/ext/gui.h>
#include <clap/ext/latency.h>
#include <clap/ext/note-ports.h>
#include <clap/ext/params.h>
#include <clap/ext/state.h>
#include <clap/ext/timer-support.h>

namespace orvane::clap {

extern const clap_plugin_audio_ports_t kAudioPorts;
extern const clap_plugin_note_ports_t kNotePorts;
extern const clap_plugin_latency_t kLatency;
extern const clap_plugin_params_t kParams;
extern const clap_plugin_state_t kState;
extern const clap_plugin_gui_t kGui;
extern const clap_plugin_timer_support_t kTimerSupport;

} // namespace orvane::clap
