// SPDX-License-Identifier: GPL-3.0-or-later
// The VST 2.4 editor binding: an AEffEditor whose window is a CFrame. Subclasses create the
// frame in open() and may release their views in close() before calling this close().
#pragma once

#include "host/AEffEditor.h"
#include "toolkit/EditorInterface.h"

namespace orvgui {

class CFrame;

class AEffGUIEditor : public AEffEditor, public EditorInterface {
public:
    // Registers the editor with the effect (which then reports that it has an editor).
    explicit AEffGUIEditor(AudioEffect* effect);
    ~AEffGUIEditor() override;

    bool getRect(ERect** rect) override;
    bool open(void* ptr) override;
    // Closes the frame's window and releases the frame.
    void close() override;
    // Handles pending window events and redraws dirty views; cheap when nothing happened.
    void idle() override;
    // Keys from the host, offered to the frame's keyboard hooks and focused view.
    bool onKeyDown(VstKeyCode& keyCode) override;
    bool onKeyUp(VstKeyCode& keyCode) override;
    bool onWheel(float distance) override;
    bool setKnobMode(VstInt32 mode) override;

    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;
    int32_t getKnobMode() const override { return knobMode; }

    // Milliseconds of a monotonic clock.
    uint32_t getTicks() const;
    // Lets the host run (audioMasterIdle) and the frame catch up, during long operations.
    void doIdleStuff();
    CFrame* getFrame() const { return frame; }

protected:
    ERect rect{};
    CFrame* frame = nullptr;
    static int32_t knobMode;
};

} // namespace orvgui
