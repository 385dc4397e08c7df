// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's face toward every plug-in format: which parameters a host sees, their shapes,
// units and texts, and how a host's value maps to the effect's normalised value. LV2 ports,
// VST3 and CLAP parameters all read this one table.
#pragma once

#include <cstddef>

namespace orvane::adapter {

enum class ValueKind {
    Toggle,      // 0 or 1; on from 0.5 as for every switch of the effect
    Linear,      // the face's unit, linear in the normalised value
    Logarithmic, // the face's unit, exponential in the normalised value
    List,        // an entry number, named by the face's texts
    Fraction,    // the normalised value itself (its unit changes with another parameter)
};

struct ExposedParameter {
    const char* symbol; // stable across versions: LV2 port symbol, base of VST3 and CLAP ids
    int parameter;      // the effect's parameter index
    ValueKind kind;
};

constexpr std::size_t kExposedCount = 11;
extern const ExposedParameter kExposed[kExposedCount];

constexpr int kMaxListEntries = 4;
struct ListEntry {
    float value;  // the normalised value the entry sets
    float lowest; // the smallest normalised value the effect reads as this entry
};

// What the effect's own texts say about one parameter (generated at build time).
struct ValueShape {
    const char* title; // the effect's parameter name, e.g. "Main Volume"
    const char* unit;  // "dB", "kHz" or ""
    float minimum;     // plain value range (the LV2 port's and the CLAP parameter's)
    float maximum;
    float defaultPlain; // factory program 0
    int entryCount;     // lists: entries; toggles: 2; others 0
    ListEntry entries[kMaxListEntries];
    const char* entryNames[kMaxListEntries]; // lists and toggles: the readout's words
};
extern const ValueShape kShapes[kExposedCount];

// Plain values are what LV2 ports and CLAP parameters carry: dB, kHz, 0/1, entry numbers.
float toPlain(std::size_t exposed, float normalised);
float toNormalised(std::size_t exposed, float plain);
// 0 for continuous parameters, 1 for toggles, entries minus one for lists.
int stepCount(std::size_t exposed);
// The same for a shape being read from the effect (the shapes' generator).
float toPlain(ValueKind kind, const ValueShape& shape, float normalised);
float toNormalised(ValueKind kind, const ValueShape& shape, float plain);
// The exposed parameter that carries an effect parameter, or -1.
int exposedForParameter(int parameter);

} // namespace orvane::adapter
