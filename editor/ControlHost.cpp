// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ControlHost.h"

#include "toolkit/EditorInterface.h"

ControlHost* ControlHost::of(const orvgui::CView* view) {
    return view ? dynamic_cast<ControlHost*>(view->getEditor()) : nullptr;
}
