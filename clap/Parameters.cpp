// SPDX-License-Identifier: GPL-3.0-or-later
// The eleven exposed parameters as CLAP parameters: plain values in the face's units, texts in
// the readout's words.
#include "clap/ClapEffect.h"
#include "clap/Extensions.h"

#include <cmath>
#include <cstring>

namespace orvane::clap {
namespace {

using adapter::kExposed;
using adapter::kExposedCount;
using adapter::kShapes;

std::uint32_t count(const clap_plugin_t* plugin) {
    return ClapEffect::of(plugin) ? kExposedCount : 0;
}

bool info(const clap_plugin_t*, std::uint32_t index, clap_param_info_t* info) {
    if (index >= kExposedCount || !info) return false;
    *info = {};
    info->id = static_cast<clap_id>(kExposed[index].parameter);
    info->flags = CLAP_PARAM_IS_AUTOMATABLE;
    if (adapter::stepCount(index) > 0) info->flags |= CLAP_PARAM_IS_STEPPED;
    if (std::strcmp(kExposed[index].symbol, "bypass") == 0) info->flags |= CLAP_PARAM_IS_BYPASS;
    std::strncpy(info->name, kShapes[index].title, sizeof info->name - 1);
    info->min_value = kShapes[index].minimum;
    info->max_value = kShapes[index].maximum;
    info->default_value = kShapes[index].defaultPlain;
    return true;
}

bool value(const clap_plugin_t* plugin, clap_id id, double* value) {
    ClapEffect* self = ClapEffect::of(plugin);
    const int exposed = ClapEffect::exposedFor(id);
    if (!self || exposed < 0 || !value) return false;
    *value = adapter::toPlain(exposed, self->driver().value(exposed));
    return true;
}

bool valueToText(const clap_plugin_t* plugin, clap_id id, double value, char* text,
                 std::uint32_t size) {
    ClapEffect* self = ClapEffect::of(plugin);
    const int exposed = ClapEffect::exposedFor(id);
    if (!self || exposed < 0 || !text || size == 0 || !std::isfinite(value)) return false;
    return self->driver().displayText(
        exposed, adapter::toNormalised(exposed, static_cast<float>(value)), text, size);
}

bool textToValue(const clap_plugin_t* plugin, clap_id id, const char* text, double* value) {
    ClapEffect* self = ClapEffect::of(plugin);
    const int exposed = ClapEffect::exposedFor(id);
    float normalised = 0;
    if (!self || exposed < 0 || !text || !value ||
        !self->driver().parseText(exposed, text, normalised))
        return false;
    *value = adapter::toPlain(exposed, normalised);
    return true;
}

void flush(const clap_plugin_t* plugin, const clap_input_events_t* in,
           const clap_output_events_t* out) {
    if (ClapEffect* self = ClapEffect::of(plugin)) self->flush(in, out);
}

} // namespace

const clap_plugin_params_t kParams = {count, info, value, valueToText, textToValue, flush};

} // namespace orvane::clap
