// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/CControl.h"

#include "toolkit/CFrame.h"

namespace orvgui {

CControl::CControl(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background)
    : CView(size), tag(tag), listener(listener) {
    setWantsFocus(true);
    if (background) setBackground(background);
}

void CControl::setValue(float newValue) {
    if (newValue < vmin)
        newValue = vmin;
    else if (newValue > vmax)
        newValue = vmax;
    value = newValue;
}

void CControl::setValueNormalized(float normalized) {
    if (normalized < 0)
        normalized = 0;
    else if (normalized > 1)
        normalized = 1;
    setValue(vmin + normalized * getRange());
}

float CControl::getValueNormalized() const {
    return getRange() != 0 ? (value - vmin) / getRange() : 0;
}

void CControl::setTag(int32_t newTag) {
    if (listener) listener->controlTagWillChange(this);
    tag = newTag;
    if (listener) listener->controlTagDidChange(this);
}

void CControl::beginEdit() {
    if (editing++ > 0) return;
    if (listener) listener->controlBeginEdit(this);
    if (CFrame* frame = getFrame()) frame->beginEdit(tag);
}

void CControl::endEdit() {
    if (editing == 0 || --editing > 0) return;
    if (CFrame* frame = getFrame()) frame->endEdit(tag);
    if (listener) listener->controlEndEdit(this);
}

void CControl::valueChanged() {
    if (listener) listener->valueChanged(this);
}

void CControl::bounceValue() {
    if (value > vmax)
        value = vmax;
    else if (value < vmin)
        value = vmin;
}

bool CControl::checkDefaultValue(CButtonState buttons) {
    if (!buttons.isLeftButton() || buttons.getModifierState() != kDefaultValueModifier)
        return false;
    if (value != defaultValue) {
        beginEdit();
        setValue(defaultValue);
        valueChanged();
        endEdit();
    }
    return true;
}

void CControl::setDirty(bool state) {
    CView::setDirty(state);
    if (state)
        oldValue = value != -1.0f ? -1.0f : 0.0f;
    else
        oldValue = value;
}

bool CControl::isDirty() const {
    return oldValue != value || CView::isDirty();
}

} // namespace orvgui
