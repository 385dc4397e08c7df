// The LV2 face of the effect: which port drives which parameter, and how a port value maps to
// the parameter's normalised value. The module, its user interface and the description
// generator all read this one table.
#pragma once

#include <cstddef>

namespace orvane::lv2 {

constexpr const char* kPluginUri = "urn:halvick:orvane";
constexpr const char* kUiUri = "urn:halvick:orvane#ui";
constexpr const char* kStateKeyUri = "urn:halvick:orvane#state";
constexpr const char* kPresetUriPrefix = "urn:halvick:orvane:preset:";

enum PortIndex : unsigned {
    kInputLeft = 0,
    kInputRight = 1,
    kOutputLeft = 2,
    kOutputRight = 3,
    kMidiInput = 4,
    kFirstControl = 5,
};

enum class PortKind {
    Toggle,      // 0 or 1; on from 0.5 as for every switch of the effect
    Linear,      // the face's unit, linear in the normalised value
    Logarithmic, // the face's unit, exponential in the normalised value
    List,        // an entry number with the face's texts as scale points
    Fraction,    // the normalised value itself (its unit changes with another parameter)
};

struct ParameterPort {
    const char* symbol;
    int parameter;
    PortKind kind;
};

constexpr std::size_t kControlCount = 11;
extern const ParameterPort kParameterPorts[kControlCount];

// What the effect's own texts say about one port, found by the description generator.
constexpr int kMaxListEntries = 4;
struct ListEntry {
    float value;  // the normalised value the port sets for this entry
    float lowest; // the smallest normalised value the effect reads as this entry
};
struct PortShape {
    float minimum;
    float maximum;
    int entryCount;
    ListEntry entries[kMaxListEntries];
};

// The shapes of this build, in the order of kParameterPorts (generated).
extern const PortShape kPortShapes[kControlCount];

float toPortValue(const ParameterPort& port, const PortShape& shape, float normalised);
float toNormalised(const ParameterPort& port, const PortShape& shape, float portValue);

// The control port that drives a parameter, or -1.
int controlForParameter(int parameter);

} // namespace orvane::lv2
