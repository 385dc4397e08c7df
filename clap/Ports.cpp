// SPDX-License-Identifier: GPL-3.0-or-later
// One stereo pair in and out (processed in place when the host likes), one MIDI input for
// controllers, learn and program change, no latency.
#include "clap/Extensions.h"

#include <cstring>

namespace orvane::clap {
namespace {

constexpr clap_id kMainPort = 0;

std::uint32_t audioCount(const clap_plugin_t*, bool) {
    return 1;
}

bool audioPort(const clap_plugin_t*, std::uint32_t index, bool isInput,
               clap_audio_port_info_t* info) {
    if (index != 0 || !info) return false;
    *info = {};
    info->id = kMainPort;
    std::strcpy(info->name, isInput ? "Input" : "Output");
    info->flags = CLAP_AUDIO_PORT_IS_MAIN;
    info->channel_count = 2;
    info->port_type = CLAP_PORT_STEREO;
    info->in_place_pair = kMainPort;
    return true;
}

std::uint32_t noteCount(const clap_plugin_t*, bool isInput) {
    return isInput ? 1 : 0;
}

bool notePort(const clap_plugin_t*, std::uint32_t index, bool isInput,
              clap_note_port_info_t* info) {
    if (index != 0 || !isInput || !info) return false;
    *info = {};
    info->id = kMainPort;
    info->supported_dialects = CLAP_NOTE_DIALECT_MIDI;
    info->preferred_dialect = CLAP_NOTE_DIALECT_MIDI;
    std::strcpy(info->name, "MIDI In");
    return true;
}

} // namespace

const clap_plugin_audio_ports_t kAudioPorts = {audioCount, audioPort};
const clap_plugin_note_ports_t kNotePorts = {noteCount, notePort};
const clap_plugin_latency_t kLatency = {[](const clap_plugin_t*) { return 0u; }};

} // namespace orvane::clap
