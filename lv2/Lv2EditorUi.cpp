// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 user interface: the effect's own editor, embedded through the adapter core into the
// host's window. The plug-in instance comes through instance-access; editor edits and the
// effect's own changes reach the host as port writes, host port changes reach the effect.
#include "adapter/EditorEmbedding.h"
#include "lv2/InstanceLink.h"
#include "lv2/Ports.h"

#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace orvane::lv2 {
namespace {

using adapter::kExposed;
using adapter::kExposedCount;

class EditorUi final : private adapter::EffectDriver::Listener {
public:
    EditorUi(InstanceLink& instance, LV2UI_Write_Function write, LV2UI_Controller controller,
             const LV2UI_Resize* resize, const LV2UI_Touch* touch)
        : instance(instance), effect(instance.effect), embedding(instance.effect), write(write),
          controller(controller), resize(resize), touch(touch) {}

    // False when another user interface of the instance is open (the effect has one editor) or
    // the editor did not open.
    bool open(void* parent, LV2UI_Widget* widget) {
        // The link is in place before the editor opens, so its first edits already count.
        adapter::EffectDriver::Listener* none = nullptr;
        if (!instance.ui.compare_exchange_strong(none, this)) return false;
        linked = true;
        // The ports as the plug-in last took them: hosts send them again when the interface opens.
        for (std::size_t i = 0; i < kExposedCount; ++i) {
            hostPort[i] = instance.seen[i];
            for (float& value : sent[i])
                value = std::numeric_limits<float>::quiet_NaN();
        }
        if (!embedding.open(reinterpret_cast<unsigned long>(parent))) return false;
        int width = 0, height = 0;
        if (embedding.size(width, height)) resizeTo(width, height);
        const unsigned long child = embedding.window();
        *widget =
            reinterpret_cast<LV2UI_Widget>(child ? child : reinterpret_cast<unsigned long>(parent));
        return true;
    }

    ~EditorUi() {
        embedding.close();
        if (linked) instance.ui = nullptr;
    }

    // Values the effect changed by itself (a program chosen in the editor, a memory recalled,
    // a MIDI controller, a restored state) are written to the ports too, so the host shows and
    // saves them.
    void idle() {
        embedding.idle();
        for (std::size_t i = 0; i < kExposedCount; ++i) {
            const float value = held(i);
            if (adapter::toNormalised(i, hostPort[i]) == value ||
                adapter::toPlain(i, value) == hostPort[i])
                continue;
            writePort(i, adapter::toPlain(i, value));
        }
    }

    // A port value from the host. The echo of this interface's own write, or the value the port
    // already had (hosts send every port when the interface opens) is no news: the effect keeps
    // its value. A real change applies unless the effect already holds it.
    void portChanged(std::uint32_t port, float value) {
        const std::uint32_t i = port - kFirstControl;
        if (port < kFirstControl || i >= kExposedCount || !std::isfinite(value)) return;
        for (float& written : sent[i])
            if (written == value) {
                written = std::numeric_limits<float>::quiet_NaN();
                return;
            }
        const float before = hostPort[i];
        hostPort[i] = value;
        if (value == before || adapter::toPlain(i, held(i)) == value) return;
        effect->setParameter(effect, kExposed[i].parameter, adapter::toNormalised(i, value));
    }

private:
    float held(std::size_t i) { return effect->getParameter(effect, kExposed[i].parameter); }

    void writePort(std::size_t i, float value) {
        hostPort[i] = value;
        sent[i][nextEcho[i]] = value;
        instance.echo[i][nextEcho[i]] = value;
        nextEcho[i] = (nextEcho[i] + 1) % kEchoDepth;
        write(controller, kFirstControl + static_cast<std::uint32_t>(i), sizeof value, 0, &value);
    }

    void resizeTo(int width, int height) {
        if (resize && width > 0 && height > 0) resize->ui_resize(resize->handle, width, height);
    }

    void edited(std::size_t exposed, float normalised) override {
        writePort(exposed, adapter::toPlain(exposed, normalised));
    }

    void gesture(std::size_t exposed, bool begin) override {
        if (touch)
            touch->touch(touch->handle, kFirstControl + static_cast<std::uint32_t>(exposed), begin);
    }

    void resized(int width, int height) override { resizeTo(width, height); }

    InstanceLink& instance;
    AEffect* effect;
    adapter::EditorEmbedding embedding;
    LV2UI_Write_Function write;
    LV2UI_Controller controller;
    const LV2UI_Resize* resize;
    const LV2UI_Touch* touch;
    bool linked = false;
    float hostPort[kExposedCount]; // each port's value as the host last had it from us or told us
    float sent[kExposedCount][kEchoDepth]; // writes whose echo has not come back yet
    int nextEcho[kExposedCount] = {};
};

const void* feature(const LV2_Feature* const* features, const char* uri) {
    for (; features && *features; ++features)
        if (std::strcmp((*features)->URI, uri) == 0) return (*features)->data;
    return nullptr;
}

// Without the plug-in instance, a parent window or an editor in the effect there is nothing to
// embed: the host then shows its generic controls.
LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
    auto* instance =
        static_cast<InstanceLink*>(const_cast<void*>(feature(features, LV2_INSTANCE_ACCESS_URI)));
    void* parent = const_cast<void*>(feature(features, LV2_UI__parent));
    if (!instance || !parent || !write || !widget || std::strcmp(pluginUri, kPluginUri) != 0)
        return nullptr;
    if (!instance->effect || !(instance->effect->flags & effFlagsHasEditor)) return nullptr;
    auto* ui = new (std::nothrow)
        EditorUi(*instance, write, controller,
                 static_cast<const LV2UI_Resize*>(feature(features, LV2_UI__resize)),
                 static_cast<const LV2UI_Touch*>(feature(features, LV2_UI__touch)));
    if (ui && !ui->open(parent, widget)) {
        delete ui;
        return nullptr;
    }
    return ui;
}

void cleanup(LV2UI_Handle ui) {
    delete static_cast<EditorUi*>(ui);
}

void portEvent(LV2UI_Handle ui, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    if (format != 0 || size != sizeof(float) || !buffer) return;
    float value;
    std::memcpy(&value, buffer, sizeof value);
    static_cast<EditorUi*>(ui)->portChanged(port, value);
}

int idle(LV2UI_Handle ui) {
    static_cast<EditorUi*>(ui)->idle();
    return 0;
}

const void* extensionData(const char* uri) {
    static const LV2UI_Idle_Interface idleInterface = {idle};
    return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &idleInterface : nullptr;
}

const LV2UI_Descriptor descriptor = {kUiUri, instantiate, cleanup, portEvent, extensionData};

} // namespace
} // namespace orvane::lv2

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &orvane::lv2::descriptor : nullptr;
}
