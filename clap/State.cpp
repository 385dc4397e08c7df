// SPDX-License-Identifier: GPL-3.0-or-later
// The state is the adapter core's shared bytes, so a session moves between formats; hosts'
// streams may move them a few bytes at a time.
#include "clap/ClapEffect.h"
#include "clap/Extensions.h"

namespace orvane::clap {
namespace {

using adapter::kStateBytes;

bool save(const clap_plugin_t* plugin, const clap_ostream_t* stream) {
    ClapEffect* self = ClapEffect::of(plugin);
    unsigned char state[kStateBytes];
    if (!self || !stream || !stream->write || !self->driver().saveState(state)) return false;
    return adapter::moveFully(state, kStateBytes, [&](unsigned char* data, std::size_t size) {
        return static_cast<long long>(stream->write(stream, data, size));
    });
}

// Exactly one state's bytes: a stream that ends early or goes on is not ours.
bool load(const clap_plugin_t* plugin, const clap_istream_t* stream) {
    ClapEffect* self = ClapEffect::of(plugin);
    unsigned char state[kStateBytes + 1];
    const auto read = [&](unsigned char* data, std::size_t size) {
        return static_cast<long long>(stream->read(stream, data, size));
    };
    if (!self || !stream || !stream->read || !adapter::moveFully(state, kStateBytes, read) ||
        read(state + kStateBytes, 1) > 0 || !self->driver().restoreState(state, kStateBytes))
        return false;
    self->restored();
    return true;
}

} // namespace

const clap_plugin_state_t kState = {save, load};

} // namespace orvane::clap
