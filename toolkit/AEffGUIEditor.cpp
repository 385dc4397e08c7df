// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/AEffGUIEditor.h"

#include "host/AudioEffectX.h"
#include "toolkit/CFrame.h"

#include <chrono>

namespace orvgui {

int32_t AEffGUIEditor::knobMode = kCircularMode;

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect) {
    if (effect) effect->setEditor(this);
}

AEffGUIEditor::~AEffGUIEditor() {
    if (frame) AEffGUIEditor::close();
}

bool AEffGUIEditor::getRect(ERect** erect) {
    if (!erect) return false;
    *erect = &rect;
    return true;
}

bool AEffGUIEditor::open(void* ptr) {
    AEffEditor::open(ptr);
    return true;
}

void AEffGUIEditor::close() {
    if (frame) {
        CFrame* closing = frame;
        frame = nullptr;
        closing->close();
    }
    AEffEditor::close();
}

void AEffGUIEditor::idle() {
    if (frame) frame->idle();
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode) {
    if (!frame) return false;
    frame->idle();
    return frame && frame->onKeyDown(keyCode) == 1;
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode) {
    if (!frame) return false;
    frame->idle();
    return frame && frame->onKeyUp(keyCode) == 1;
}

bool AEffGUIEditor::onWheel(float distance) {
    if (!frame) return false;
    CPoint where;
    frame->getCurrentMouseLocation(where);
    return frame->onWheel(where, kMouseWheelAxisY, distance, frame->getCurrentMouseButtons());
}

bool AEffGUIEditor::setKnobMode(VstInt32 mode) {
    knobMode = mode;
    return true;
}

void AEffGUIEditor::beginEdit(int32_t index) {
    if (auto* effectX = dynamic_cast<AudioEffectX*>(effect)) effectX->beginEdit(index);
}

void AEffGUIEditor::endEdit(int32_t index) {
    if (auto* effectX = dynamic_cast<AudioEffectX*>(effect)) effectX->endEdit(index);
}

uint32_t AEffGUIEditor::getTicks() const {
    // Counted from the first call, so that the value stays small and never wraps in a session.
    using Clock = std::chrono::steady_clock;
    static const Clock::time_point start = Clock::now();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

void AEffGUIEditor::doIdleStuff() {
    if (effect) effect->masterIdle();
    if (frame) frame->idle();
}

} // namespace orvgui
