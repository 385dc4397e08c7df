// SPDX-License-Identifier: GPL-3.0-or-later
// What the views need from the editor that owns their frame.
#pragma once

#include <cstdint>

namespace orvgui {

enum CKnobMode : int32_t { kCircularMode = 0, kRelativCircularMode, kLinearMode };

class EditorInterface {
public:
    virtual ~EditorInterface() = default;
    // A control's gesture on the parameter with this index starts or ends.
    virtual void beginEdit(int32_t index) = 0;
    virtual void endEdit(int32_t index) = 0;
    virtual int32_t getKnobMode() const = 0;
};

} // namespace orvgui
