// SPDX-License-Identifier: GPL-3.0-or-later
// A minimal LV2 host on lilv: loads a bundle, instantiates its plug-in with a URID map, runs it
// with control values and MIDI, saves and restores its state and applies its presets, as a
// host such as Ardour or jalv does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvane::lv2host {

struct MidiMessage {
    std::uint32_t frame;
    std::vector<std::uint8_t> bytes;
};

class Lv2Plugin {
public:
    // The plug-in uri from the bundle in bundleDir, instantiated and activated.
    static std::unique_ptr<Lv2Plugin> load(const std::string& bundleDir, const std::string& uri,
                                           double sampleRate = 44100, std::string* error = nullptr);
    ~Lv2Plugin();
    Lv2Plugin(const Lv2Plugin&) = delete;
    Lv2Plugin& operator=(const Lv2Plugin&) = delete;

    // Control ports by symbol; the host keeps their values between runs.
    void setControl(const std::string& symbol, float value);
    float control(const std::string& symbol) const;
    std::uint32_t portIndex(const std::string& symbol) const;

    void run(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
             std::uint32_t frames, const std::vector<MidiMessage>& midi = {});

    // The state as Turtle text, port values included, as hosts store it in a session.
    std::string saveState();
    bool restoreState(const std::string& turtle);
    std::vector<std::string> presetLabels();
    bool applyPreset(const std::string& label);

    // The instance handle, which the instance-access feature hands to a user interface.
    void* handle() const;

private:
    struct Impl;
    explicit Lv2Plugin(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl;
};

// The Orvane.lv2 this build produced.
std::string builtBundlePath();

} // namespace orvane::lv2host
