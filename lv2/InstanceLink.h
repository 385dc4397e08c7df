// What the user interface reaches through instance-access. Both modules are built from this
// header; the interface reads the effect and sets the editor link, on its own thread only.
#pragma once

#include "host/vst2.h"

#include <atomic>

namespace orvane::lv2 {

// Where the effect's editor callbacks go while the user interface is open.
struct EditorLink {
    void* ui;
    void (*automate)(void* ui, int parameter, float value);
    void (*gesture)(void* ui, int parameter, bool begin);
    void (*resize)(void* ui, int width, int height);
};

struct InstanceLink {
    AEffect* effect = nullptr;
    std::atomic<const EditorLink*> editor{nullptr};
};

} // namespace orvane::lv2
