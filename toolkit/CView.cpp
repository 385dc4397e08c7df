// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/CView.h"

#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"

#include <algorithm>

namespace orvgui {

CView::CView(const CRect& size) : size(size), mouseableArea(size) {}

CView::~CView() {
    if (background) background->forget();
}

void CView::drawRect(CDrawContext* context, const CRect&) {
    draw(context);
    setDirty(false);
}

bool CView::hitTest(const CPoint& where, const CButtonState&) {
    return mouseableArea.pointInside(where);
}

void CView::invalid() {
    setDirty(false);
    invalidRect(size);
}

void CView::invalidRect(const CRect& rect) {
    if (parentView) parentView->invalidChildRect(rect);
}

void CView::setViewSize(const CRect& rect, bool invalidate) {
    if (invalidate) invalidRect(size);
    if (mouseableArea == size)
        mouseableArea = rect;
    else
        mouseableArea.offset(rect.left - size.left, rect.top - size.top);
    size = rect;
    if (invalidate) invalid();
}

void CView::setVisible(bool state) {
    if (visible == state) return;
    visible = state;
    invalidRect(size);
}

void CView::setBackground(CBitmap* bitmap) {
    if (bitmap == background) return;
    if (bitmap) bitmap->remember();
    if (background) background->forget();
    background = bitmap;
    setDirty(true);
}

CFrame* CView::getFrame() const {
    const CView* view = this;
    while (view->parentView)
        view = view->parentView;
    return const_cast<CView*>(view)->asFrame();
}

EditorInterface* CView::getEditor() const {
    CFrame* frame = getFrame();
    return frame ? frame->getEditor() : nullptr;
}

CPoint& CView::localToFrame(CPoint& point) const {
    for (const CView* container = parentView; container; container = container->parentView)
        point.offset(container->size.left, container->size.top);
    return point;
}

CPoint& CView::frameToLocal(CPoint& point) const {
    for (const CView* container = parentView; container; container = container->parentView)
        point.offset(-container->size.left, -container->size.top);
    return point;
}

CViewContainer::CViewContainer(const CRect& size) : CView(size) {}

CViewContainer::~CViewContainer() {
    removeAll(true);
}

bool CViewContainer::addView(CView* view) {
    if (!view || view->getParentView() || view == this) return false;
    children.push_back(view);
    view->setParentView(this);
    view->invalid();
    return true;
}

bool CViewContainer::removeView(CView* view, bool withForget) {
    auto it = std::find(children.begin(), children.end(), view);
    if (it == children.end()) return false;
    view->invalidRect(view->getViewSize());
    children.erase(it);
    // The frame drops its capture, focus and hover pointers while the view is still linked.
    viewRemoved(view);
    view->setParentView(nullptr);
    if (withForget) view->forget();
    return true;
}

bool CViewContainer::removeAll(bool withForget) {
    while (!children.empty())
        removeView(children.back(), withForget);
    return true;
}

void CViewContainer::viewRemoved(CView* view) {
    if (mouseDownView == view) mouseDownView = nullptr;
    if (CViewContainer* parent = getParentView()) parent->viewRemoved(view);
}

bool CViewContainer::isChild(const CView* view, bool deep) const {
    for (CView* child : children) {
        if (child == view) return true;
        if (deep)
            if (CViewContainer* container = child->asViewContainer())
                if (container->isChild(view, true)) return true;
    }
    return false;
}

CView* CViewContainer::getView(int32_t index) const {
    if (index < 0 || index >= getNbViews()) return nullptr;
    return children[static_cast<std::size_t>(index)];
}

CView* CViewContainer::getViewAt(const CPoint& where, bool deep, bool mustBeMouseEnabled) const {
    const CPoint local(where.x - size.left, where.y - size.top);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CView* child = *it;
        if (!child->isVisible() || !child->getViewSize().pointInside(local)) continue;
        if (mustBeMouseEnabled && !child->getMouseEnabled()) continue;
        if (deep)
            if (CViewContainer* container = child->asViewContainer())
                if (CView* inner = container->getViewAt(local, true, mustBeMouseEnabled))
                    return inner;
        return child;
    }
    return nullptr;
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
    CRect visibleRect = size;
    visibleRect.bound(updateRect);
    if (visibleRect.isEmpty()) return;
    context->saveGlobalState();
    context->setClipRect(visibleRect);
    context->translate(size.left, size.top);
    CRect local = visibleRect;
    local.offset(-size.left, -size.top);
    const CRect whole(0, 0, size.getWidth(), size.getHeight());
    if (background) {
        context->drawBitmap(background, whole, backOffset);
    } else if (backgroundColor.alpha) {
        context->setFillColor(backgroundColor);
        context->drawRect(local, kDrawFilled);
    }
    for (CView* child : children) {
        if (!child->isVisible() || !child->getViewSize().rectOverlap(local)) continue;
        CRect clip = child->getViewSize();
        clip.bound(local);
        context->saveGlobalState();
        context->setClipRect(clip);
        child->drawRect(context, local);
        context->restoreGlobalState();
    }
    context->restoreGlobalState();
    setDirty(false);
}

CView* CViewContainer::mouseTarget(const CPoint& local, const CButtonState& buttons) const {
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CView* child = *it;
        if (child->isVisible() && child->getMouseEnabled() && child->hitTest(local, buttons))
            return child;
    }
    return nullptr;
}

CMouseEventResult CViewContainer::onMouseDown(CPoint& where, const CButtonState& buttons) {
    const CPoint local(where.x - size.left, where.y - size.top);
    // Copy: a handler may add or remove views.
    const std::vector<CView*> candidates(children.rbegin(), children.rend());
    for (CView* child : candidates) {
        if (!isChild(child) || !child->isVisible() || !child->getMouseEnabled() ||
            !child->hitTest(local, buttons))
            continue;
        CBaseObjectGuard guard(child);
        if (child->wantsFocus())
            if (CFrame* frame = getFrame()) frame->setFocusView(child);
        CPoint point = local;
        const CMouseEventResult result = child->onMouseDown(point, buttons);
        if (result == kMouseEventNotHandled || result == kMouseEventNotImplemented) continue;
        if (result == kMouseEventHandled && isChild(child)) mouseDownView = child;
        return result;
    }
    return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::onMouseUp(CPoint& where, const CButtonState& buttons) {
    if (!mouseDownView) return kMouseEventNotHandled;
    CView* view = mouseDownView;
    CBaseObjectGuard guard(view);
    CPoint local(where.x - size.left, where.y - size.top);
    view->onMouseUp(local, buttons);
    if (mouseDownView == view) mouseDownView = nullptr;
    return kMouseEventHandled;
}

CMouseEventResult CViewContainer::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    CPoint local(where.x - size.left, where.y - size.top);
    if (mouseDownView) {
        CView* view = mouseDownView;
        CBaseObjectGuard guard(view);
        const CMouseEventResult result = view->onMouseMoved(local, buttons);
        // Views without a move handler keep the press; only an explicit answer drops it.
        if (result == kMouseMoveEventHandledButDontNeedMoreEvents && mouseDownView == view)
            mouseDownView = nullptr;
        return result;
    }
    CView* target = mouseTarget(local, buttons);
    if (!target) return kMouseEventNotHandled;
    CBaseObjectGuard guard(target);
    return target->onMouseMoved(local, buttons);
}

bool CViewContainer::onWheel(const CPoint& where, const CMouseWheelAxis& axis,
                             const float& distance, const CButtonState& buttons) {
    const CPoint local(where.x - size.left, where.y - size.top);
    CView* target = mouseTarget(local, buttons);
    if (!target) return false;
    CBaseObjectGuard guard(target);
    return target->onWheel(local, axis, distance, buttons);
}

void CViewContainer::invalidChildRect(const CRect& rect) {
    CRect moved = rect;
    moved.offset(size.left, size.top);
    moved.bound(size);
    if (!moved.isEmpty()) invalidRect(moved);
}

void CViewContainer::invalidateDirtyViews() {
    if (isDirty()) {
        invalid();
        return;
    }
    for (CView* child : children) {
        if (!child->isVisible()) continue;
        if (child->isDirty())
            child->invalid();
        else if (CViewContainer* container = child->asViewContainer())
            container->invalidateDirtyViews();
    }
}

} // namespace orvgui
