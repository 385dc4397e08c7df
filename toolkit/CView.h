// SPDX-License-Identifier: GPL-3.0-or-later
// Views and view containers. A view's size is given in the coordinates of its container;
// mouse positions handed to a view are in the same coordinates.
#pragma once

#include "host/vst2.h"
#include "toolkit/CBaseObject.h"
#include "toolkit/Geometry.h"

#include <vector>

namespace orvgui {

class CBitmap;
class CDrawContext;
class CFrame;
class CViewContainer;
class EditorInterface;

class CView : public CBaseObject {
public:
    explicit CView(const CRect& size);
    ~CView() override;

    virtual void draw(CDrawContext*) {}
    // Draws the view and marks it clean; updateRect is in the container's coordinates.
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);

    virtual CMouseEventResult onMouseDown(CPoint&, const CButtonState&) {
        return kMouseEventNotImplemented;
    }
    virtual CMouseEventResult onMouseUp(CPoint&, const CButtonState&) {
        return kMouseEventNotImplemented;
    }
    virtual CMouseEventResult onMouseMoved(CPoint&, const CButtonState&) {
        return kMouseEventNotImplemented;
    }
    virtual CMouseEventResult onMouseEntered(CPoint&, const CButtonState&) {
        return kMouseEventNotImplemented;
    }
    virtual CMouseEventResult onMouseExited(CPoint&, const CButtonState&) {
        return kMouseEventNotImplemented;
    }
    virtual bool onWheel(const CPoint&, const CMouseWheelAxis&, const float&, const CButtonState&) {
        return false;
    }
    // 1 when the key was used, -1 otherwise.
    virtual int32_t onKeyDown(VstKeyCode&) { return -1; }
    virtual int32_t onKeyUp(VstKeyCode&) { return -1; }
    virtual bool hitTest(const CPoint& where, const CButtonState& buttons = -1);

    virtual void setDirty(bool state = true) { dirty = state; }
    virtual bool isDirty() const { return dirty; }
    // Schedules a redraw of the whole view and marks it clean.
    virtual void invalid();
    // Schedules a redraw of rect, given in the container's coordinates.
    virtual void invalidRect(const CRect& rect);

    virtual void setViewSize(const CRect& rect, bool invalidate = true);
    const CRect& getViewSize() const { return size; }
    CCoord getWidth() const { return size.getWidth(); }
    CCoord getHeight() const { return size.getHeight(); }
    // The part of the view that reacts to the mouse; follows the view when it moves.
    void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
    const CRect& getMouseableArea() const { return mouseableArea; }

    void setMouseEnabled(bool state) { mouseEnabled = state; }
    bool getMouseEnabled() const { return mouseEnabled; }
    virtual void setVisible(bool state);
    bool isVisible() const { return visible; }
    void setWantsFocus(bool state) { focusWanted = state; }
    bool wantsFocus() const { return focusWanted; }

    // Keeps a reference to the bitmap.
    virtual void setBackground(CBitmap* bitmap);
    CBitmap* getBackground() const { return background; }
    void setBackgroundOffset(const CPoint& offset) { backOffset = offset; }
    const CPoint& getBackgroundOffset() const { return backOffset; }

    CViewContainer* getParentView() const { return parentView; }
    CFrame* getFrame() const;
    EditorInterface* getEditor() const;
    // Converts between this view's container coordinates and the frame's.
    CPoint& localToFrame(CPoint& point) const;
    CPoint& frameToLocal(CPoint& point) const;

    virtual CViewContainer* asViewContainer() { return nullptr; }
    virtual CFrame* asFrame() { return nullptr; }
    void setParentView(CViewContainer* parent) { parentView = parent; }

protected:
    CRect size;
    CRect mouseableArea;
    CBitmap* background = nullptr;
    CPoint backOffset;

private:
    CViewContainer* parentView = nullptr;
    bool dirty = false;
    bool mouseEnabled = true;
    bool visible = true;
    bool focusWanted = false;
};

class CViewContainer : public CView {
public:
    explicit CViewContainer(const CRect& size);
    ~CViewContainer() override;

    // Takes over the caller's reference; false when the view already has a container.
    virtual bool addView(CView* view);
    virtual bool removeView(CView* view, bool withForget = true);
    virtual bool removeAll(bool withForget = true);
    bool isChild(const CView* view, bool deep = false) const;
    int32_t getNbViews() const { return static_cast<int32_t>(children.size()); }
    CView* getView(int32_t index) const;
    // The topmost visible child at where (container coordinates); with deep, descends into
    // nested containers.
    virtual CView* getViewAt(const CPoint& where, bool deep = false,
                             bool mustBeMouseEnabled = false) const;

    void setBackgroundColor(const CColor& color) { backgroundColor = color; }
    const CColor& getBackgroundColor() const { return backgroundColor; }

    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;

    // Schedules a redraw of rect given in this container's own coordinates.
    void invalidChildRect(const CRect& rect);
    // Redraws the views marked dirty since the last pass.
    void invalidateDirtyViews();
    // Forgets a view that leaves the tree below this container.
    virtual void viewRemoved(CView* view);

    CViewContainer* asViewContainer() override { return this; }

protected:
    CView* mouseTarget(const CPoint& local, const CButtonState& buttons) const;

    std::vector<CView*> children;
    CView* mouseDownView = nullptr;
    CColor backgroundColor = kTransparentCColor;
};

} // namespace orvgui
