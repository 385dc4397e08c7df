// SPDX-License-Identifier: GPL-3.0-or-later
// Controls: views holding a value between min and max that report changes to a listener.
#pragma once

#include "toolkit/CView.h"

namespace orvgui {

class CControl;

class IControlListener {
public:
    virtual ~IControlListener() = default;
    virtual void valueChanged(CControl* control) = 0;
    // A click with modifiers; a non-zero answer means the listener used it.
    virtual int32_t controlModifierClicked(CControl*, CButtonState) { return 0; }
    virtual void controlBeginEdit(CControl*) {}
    virtual void controlEndEdit(CControl*) {}
    virtual void controlTagWillChange(CControl*) {}
    virtual void controlTagDidChange(CControl*) {}
};

class CControl : public CView {
public:
    CControl(const CRect& size, IControlListener* listener = nullptr, int32_t tag = 0,
             CBitmap* background = nullptr);

    // Clamped to min .. max.
    virtual void setValue(float value);
    float getValue() const { return value; }
    virtual void setMin(float newMin) { vmin = newMin; }
    float getMin() const { return vmin; }
    virtual void setMax(float newMax) { vmax = newMax; }
    float getMax() const { return vmax; }
    float getRange() const { return vmax - vmin; }
    void setValueNormalized(float normalized);
    float getValueNormalized() const;
    void setDefaultValue(float newDefault) { defaultValue = newDefault; }
    float getDefaultValue() const { return defaultValue; }
    void setOldValue(float old) { oldValue = old; }
    float getOldValue() const { return oldValue; }
    void setWheelInc(float increment) { wheelInc = increment; }
    float getWheelInc() const { return wheelInc; }

    virtual void setTag(int32_t newTag);
    int32_t getTag() const { return tag; }
    void setListener(IControlListener* newListener) { listener = newListener; }
    IControlListener* getListener() const { return listener; }

    // Gesture brackets: nested calls count, the outermost pair reaches the listener and the
    // editor.
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editing > 0; }
    // Tells the listener about the current value.
    virtual void valueChanged();
    // Clamps the value to min .. max.
    virtual void bounceValue();
    // Left click with exactly the default-value modifier: sets the default value.
    virtual bool checkDefaultValue(CButtonState buttons);

    // A control is dirty while its value differs from the value last drawn.
    void setDirty(bool state = true) override;
    bool isDirty() const override;

protected:
    float value = 0;
    float oldValue = 1;
    float vmin = 0;
    float vmax = 1;
    float defaultValue = 0.5f;
    float wheelInc = 0.1f;
    int32_t tag;
    IControlListener* listener;
    int32_t editing = 0;
};

} // namespace orvgui
