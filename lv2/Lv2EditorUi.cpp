// The X11 user interface: the effect's own editor, opened through the effect's dispatcher
// into the host's window. The plug-in instance comes through instance-access; editor edits
// reach the host as port writes, host port changes reach the effect as parameter changes.
#include "lv2/InstanceLink.h"
#include "lv2/Ports.h"

#include <X11/Xlib.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include <cmath>
#include <cstring>
#include <new>

namespace orvane::lv2 {
namespace {

class EditorUi {
public:
    EditorUi(InstanceLink& instance, LV2UI_Write_Function write, LV2UI_Controller controller,
             const LV2UI_Resize* resize, const LV2UI_Touch* touch)
        : instance(instance), effect(instance.effect), write(write), controller(controller),
          resize(resize), touch(touch) {}

    // False when another user interface of the instance is open: the effect has one editor.
    bool open(void* parent, LV2UI_Widget* widget) {
        // The link is in place before the editor opens, so its first edits already count.
        const EditorLink* none = nullptr;
        if (!instance.editor.compare_exchange_strong(none, &link)) return false;
        for (std::size_t i = 0; i < kControlCount; ++i)
            hostPort[i] = toPortValue(kParameterPorts[i], kPortShapes[i], held(i));
        dispatch(effEditOpen, parent);
        opened = true;
        ERect* rect = nullptr;
        dispatch(effEditGetRect, &rect);
        if (rect && resize) resizeTo(rect->right - rect->left, rect->bottom - rect->top);
        const Window child = newestChild(reinterpret_cast<Window>(parent));
        *widget = reinterpret_cast<LV2UI_Widget>(child ? child : reinterpret_cast<Window>(parent));
        return true;
    }

    ~EditorUi() {
        if (!opened) return;
        dispatch(effEditClose);
        instance.editor = nullptr;
    }

    // Values the effect changed by itself (a program chosen in the editor, a memory recalled,
    // a MIDI controller) are written to the ports too, so the host shows and saves them.
    void idle() {
        dispatch(effEditIdle);
        for (std::size_t i = 0; i < kControlCount; ++i) {
            const float value = held(i);
            const ParameterPort& p = kParameterPorts[i];
            if (toNormalised(p, kPortShapes[i], hostPort[i]) == value ||
                toPortValue(p, kPortShapes[i], value) == hostPort[i])
                continue;
            writePort(i, toPortValue(p, kPortShapes[i], value));
        }
    }

    // A port the host changed: the effect takes it unless it already holds that value, so the
    // echo of the editor's own write does not round the editor's value.
    void portChanged(std::uint32_t port, float value) {
        const std::uint32_t control = port - kFirstControl;
        if (port < kFirstControl || control >= kControlCount || !std::isfinite(value)) return;
        hostPort[control] = value;
        const ParameterPort& p = kParameterPorts[control];
        if (toPortValue(p, kPortShapes[control], held(control)) == value) return;
        effect->setParameter(effect, p.parameter, toNormalised(p, kPortShapes[control], value));
    }

private:
    VstIntPtr dispatch(VstInt32 opcode, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, 0, 0, ptr, 0);
    }

    float held(std::size_t control) {
        return effect->getParameter(effect, kParameterPorts[control].parameter);
    }

    void writePort(std::size_t control, float value) {
        hostPort[control] = value;
        write(controller, kFirstControl + static_cast<std::uint32_t>(control), sizeof value, 0,
              &value);
    }

    void resizeTo(int width, int height) {
        if (resize && width > 0 && height > 0) resize->ui_resize(resize->handle, width, height);
    }

    // The editor's window: the child it has just created in the host's window.
    static Window newestChild(Window parent) {
        Display* display = XOpenDisplay(nullptr);
        if (!display) return 0;
        Window root = 0, ignored = 0, newest = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display, parent, &root, &ignored, &children, &count) && count > 0)
            newest = children[count - 1]; // stacking order: the newest child is on top
        if (children) XFree(children);
        XCloseDisplay(display);
        return newest;
    }

    static void automate(void* ui, int parameter, float value) {
        auto* self = static_cast<EditorUi*>(ui);
        const int control = controlForParameter(parameter);
        if (control < 0) return; // memories, lamps and the name travel in the state
        self->writePort(control,
                        toPortValue(kParameterPorts[control], kPortShapes[control], value));
    }

    static void gesture(void* ui, int parameter, bool begin) {
        auto* self = static_cast<EditorUi*>(ui);
        const int control = controlForParameter(parameter);
        if (control >= 0 && self->touch)
            self->touch->touch(self->touch->handle, kFirstControl + control, begin);
    }

    static void resized(void* ui, int width, int height) {
        static_cast<EditorUi*>(ui)->resizeTo(width, height);
    }

    InstanceLink& instance;
    AEffect* effect;
    LV2UI_Write_Function write;
    LV2UI_Controller controller;
    const LV2UI_Resize* resize;
    const LV2UI_Touch* touch;
    const EditorLink link{this, automate, gesture, resized};
    bool opened = false;
    float hostPort[kControlCount]; // each port's value as the host last had it from us or told us
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
