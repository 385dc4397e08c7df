// SPDX-License-Identifier: GPL-3.0-or-later
// The popup layer of a frame: the open menu and its open sub-menus, drawn over the views
// (internal to the toolkit).
#pragma once

#include "toolkit/CFrame.h"

#include <vector>

namespace orvgui {

class CDrawContext;

class MenuOverlay {
public:
    // Keeps a reference to menu while open.
    MenuOverlay(CFrame& frame, COptionMenu* menu, const CPoint& location,
                CFrame::MenuCallback callback);
    ~MenuOverlay();
    MenuOverlay(const MenuOverlay&) = delete;
    MenuOverlay& operator=(const MenuOverlay&) = delete;

    COptionMenu* getMenu() const { return levels.front().menu; }
    void draw(CDrawContext* context);
    // The overlay takes every press while open; a press outside the lists dismisses it, and
    // only a release over the entry that was pressed chooses it.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
    // Escape dismisses, arrows move, Return chooses; every key is used.
    int32_t onKeyDown(const VstKeyCode& code);
    // Reports the outcome (chosenMenu null: dismissed) once the frame has let go of it.
    void finish(COptionMenu* chosenMenu, int32_t chosenIndex);

private:
    struct Level {
        COptionMenu* menu;
        CRect rect;
        std::vector<CRect> entryRects;
        int32_t hovered = -1;
    };

    void openLevel(std::size_t depth, COptionMenu* menu, const CRect& anchor);
    bool hit(const CPoint& where, std::size_t& depth, int32_t& entry) const;
    void hover(std::size_t depth, int32_t entry);
    std::size_t activeDepth() const;
    void step(std::size_t depth, int32_t direction);
    void invalidate();

    CFrame& frame;
    CFrame::MenuCallback callback;
    std::vector<Level> levels;
    CCoord rowHeight;
    std::size_t pressedDepth = 0;
    int32_t pressedEntry = -1;
};

} // namespace orvgui
