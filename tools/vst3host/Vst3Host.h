// SPDX-License-Identifier: GPL-3.0-or-later
// A minimal VST3 host on the clean-room ABI headers: loads a bundle, creates the component and
// the controller from its factory, connects them, processes with parameter changes inside
// blocks, saves and restores state through streams that may move few bytes per call, and opens
// the editor in a window through a run loop of its own, as hosts such as Ardour do.
#pragma once

#include "travesty/audio_processor.h"
#include "travesty/component.h"
#include "travesty/edit_controller.h"
#include "travesty/view.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvane::vst3host {

struct Change {
    v3_param_id id;
    std::int32_t offset;
    double value;
};

struct Edit {
    char kind; // 'b' begin, 'p' perform, 'e' end
    v3_param_id id;
    double value;
};

class Vst3Plugin {
public:
    // Component and controller created, initialised and connected, processing at rate.
    static std::unique_ptr<Vst3Plugin> load(const std::string& bundle, double rate = 44100,
                                            int maxBlock = 4096, std::string* error = nullptr);
    ~Vst3Plugin();
    Vst3Plugin(const Vst3Plugin&) = delete;
    Vst3Plugin& operator=(const Vst3Plugin&) = delete;

    v3_component** component() const { return componentObject; }
    v3_audio_processor** processor() const { return processorObject; }
    v3_edit_controller** controller() const { return controllerObject; }

    // One block; null buffers pass no bus. The plug-in's output changes are kept.
    std::int32_t process(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                         std::int32_t frames, const std::vector<Change>& changes = {});
    const std::vector<Change>& outputChanges() const;
    void setProcessing(bool on);

    // Controller side.
    double value(v3_param_id id);
    void setValue(v3_param_id id, double value);
    std::string text(v3_param_id id, double value);
    bool parse(v3_param_id id, const std::string& text, double& value);
    bool mapController(int channel, int controller, v3_param_id& id);
    const std::vector<Edit>& edits() const;
    int restarts() const;

    // The component's state, written and read in pieces of at most step bytes per call; restore
    // hands it to the component, then to the controller, as hosts do.
    std::vector<std::uint8_t> saveState(std::size_t step = 1 << 20);
    bool restoreState(const std::vector<std::uint8_t>& state, std::size_t step = 1 << 20);

    // The editor in window parent; false when it refuses. withRunLoop false: a host without one.
    bool openEditor(unsigned long parent, bool withRunLoop = true);
    void idleEditor(); // fires the run loop's timers and handlers
    bool editorSize(int& width, int& height);
    void closeEditor();

private:
    struct Impl;
    explicit Vst3Plugin(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl;
    v3_component** componentObject = nullptr;
    v3_audio_processor** processorObject = nullptr;
    v3_edit_controller** controllerObject = nullptr;
};

// The Orvane.vst3 this build produced.
std::string builtBundlePath();

} // namespace orvane::vst3host
