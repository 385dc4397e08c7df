// SPDX-License-Identifier: GPL-3.0-or-later
// A minimal VST 2.4 host: loads a plug-in module with dlopen and drives it exactly as a host
// would, recording what the plug-in calls back.
#pragma once

#include "host/vst2.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace orvane::testhost {

struct HostConfig {
    std::string vendor = "Orvane Test";
    std::string product = "Orvane Test Host";
    VstIntPtr version = 2400;
};

struct HostLog {
    std::vector<std::pair<int, float>> automate;
    std::vector<int> beginEdit;
    std::vector<int> endEdit;
    int updateDisplay = 0;
    int wantMidi = 0;
    int idle = 0;
    int sizeWindow = 0;
};

class Plugin {
public:
    static std::unique_ptr<Plugin> load(const std::string& soPath, HostConfig config = {},
                                        std::string* error = nullptr);
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    AEffect* effect() { return aeffect; }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0);
    void start(float sampleRate = 44100, int blockSize = 512);
    void setParameter(int index, float value);
    float getParameter(int index);
    std::string parameterName(int index);
    std::string parameterLabel(int index);
    std::string parameterDisplay(int index);
    std::string programName();
    void process(float* const* inputs, float* const* outputs, int frames);
    void sendEvents(const std::vector<VstMidiEvent>& events);
    HostLog& log() { return hostLog; }
    const HostConfig& config() const { return hostConfig; }

    // Leaves the effect open when the Plugin object goes (for tests that close it themselves).
    void forgetEffect() { aeffect = nullptr; }

    static VstIntPtr hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt);

private:
    Plugin() = default;
    std::string textOf(VstInt32 opcode, int index);

    void* library = nullptr;
    AEffect* aeffect = nullptr;
    HostConfig hostConfig;
    HostLog hostLog;
};

// The Orvane.so this build produced.
std::string builtPluginPath();

} // namespace orvane::testhost
