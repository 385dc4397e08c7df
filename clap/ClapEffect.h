// SPDX-License-Identifier: GPL-3.0-or-later
// One CLAP instance: the effect through the adapter core, host events in at their sample, the
// effect's own changes out as parameter events, and the host's threads kept apart.
#pragma once

#include "adapter/EditorEmbedding.h"
#include "adapter/EffectDriver.h"
#include "clap/GestureQueue.h"

#include <clap/ext/gui.h>
#include <clap/ext/params.h>
#include <clap/ext/timer-support.h>
#include <clap/plugin.h>

#include <atomic>
#include <memory>

namespace orvane::clap {

class ClapEffect final : private adapter::EffectDriver::Listener {
public:
    // Calls nothing of the host: that waits for init.
    static const clap_plugin_t* create(const clap_host_t* host);
    static ClapEffect* of(const clap_plugin_t* plugin) {
        return plugin ? static_cast<ClapEffect*>(plugin->plugin_data) : nullptr;
    }

    // Parameters: a CLAP id is the effect's parameter index; -1 for ids that are none of ours.
    static int exposedFor(clap_id id);
    adapter::EffectDriver& driver() { return *effectDriver; }
    // Host values outside processing, and what the effect changed by itself, reported.
    void flush(const clap_input_events_t* in, const clap_output_events_t* out);

    // A restored state reaches the host as the effect's own changes. (Asking the host to re-read
    // every value instead makes some hosts mark a session modified as it opens.)
    void restored();

    // The editor: refused without the host's timers, which are its only way to run.
    bool createEditor();
    void destroyEditor();
    bool openEditor(unsigned long parent);
    bool editorSize(std::uint32_t& width, std::uint32_t& height) const;
    void timer(clap_id id);

private:
    explicit ClapEffect(const clap_host_t* host);
    ~ClapEffect();

    bool init();
    bool activate(double rate, std::uint32_t maxFrames);
    void deactivate();
    clap_process_status process(const clap_process_t* process);
    const void* extension(const char* id) const;

    // Listener: on the editor's thread, which is the host's main thread.
    void gesture(std::size_t exposed, bool begin) override;
    void edited(std::size_t exposed, float normalised) override;
    void resized(int width, int height) override;

    // Host values and MIDI of one block queued at their sample; true when MIDI came.
    bool takeEvents(const clap_input_events_t* in, std::uint32_t frames);
    void report(const clap_output_events_t* out, bool midiCame);
    void askForFlush();

    clap_plugin_t plugin;
    const clap_host_t* host;
    const clap_host_params_t* hostParams = nullptr;
    const clap_host_gui_t* hostGui = nullptr;
    const clap_host_timer_support_t* hostTimers = nullptr;
    std::unique_ptr<adapter::EffectDriver> effectDriver;
    std::unique_ptr<adapter::EditorEmbedding> editor;
    clap_id editorTimer = CLAP_INVALID_ID;
    GestureQueue gestures;
    std::atomic<bool> processing{false};
    // Main thread: the values last seen by the editor's timer, to ask for a flush when the
    // effect changed something by itself while the host is not processing.
    float seen[adapter::kExposedCount] = {};
};

} // namespace orvane::clap
