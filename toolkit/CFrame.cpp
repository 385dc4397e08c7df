// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/CFrame.h"

#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/EditorInterface.h"
#include "toolkit/MenuOverlay.h"
#include "toolkit/PlatformWindow.h"

#include <algorithm>

namespace orvgui {

CFrame::CFrame(const CRect& size, EditorInterface* editor)
    : CViewContainer(CRect(0, 0, size.getWidth(), size.getHeight())), editor(editor) {}

CFrame::~CFrame() {
    if (backgroundUnpacking.joinable()) backgroundUnpacking.join();
    menuOverlay.reset();
    removeAll(true);
    setBackground(nullptr);
    window.reset();
}

bool CFrame::open(void* parent, PlatformType) {
    if (window) return false;
    invalid();
    // The first open in the process finds the background still packed: it unpacks on a second
    // thread while this one connects and sets the window up, and the first draw shares what
    // is left.
    CBitmap* packed = getBackground();
    if (packed && !packed->isUnpacked()) {
        packed->remember();
        backgroundUnpacking = std::thread([packed] {
            packed->getSurface();
            packed->forget();
        });
    }
    window = PlatformWindow::create(*this, reinterpret_cast<unsigned long>(parent));
    return window != nullptr;
}

void CFrame::close() {
    if (backgroundUnpacking.joinable()) backgroundUnpacking.join();
    menuOverlay.reset();
    removeAll(true);
    setBackground(nullptr);
    window.reset();
    forget();
}

int CFrame::connectionFd() const {
    return window ? window->connectionFd() : -1;
}

void CFrame::idle() {
    if (window)
        window->update();
    else
        invalidateDirtyViews();
}

void CFrame::beginEdit(int32_t tag) {
    if (editor) editor->beginEdit(tag);
}

void CFrame::endEdit(int32_t tag) {
    if (editor) editor->endEdit(tag);
}

void CFrame::registerKeyboardHook(IKeyboardHook* hook) {
    if (hook && std::find(keyboardHooks.begin(), keyboardHooks.end(), hook) == keyboardHooks.end())
        keyboardHooks.push_back(hook);
}

void CFrame::unregisterKeyboardHook(IKeyboardHook* hook) {
    keyboardHooks.erase(std::remove(keyboardHooks.begin(), keyboardHooks.end(), hook),
                        keyboardHooks.end());
}

int32_t CFrame::onKeyDown(VstKeyCode& code) {
    CBaseObjectGuard guard(this);
    if (menuOverlay) return menuOverlay->onKeyDown(code);
    for (IKeyboardHook* hook : std::vector<IKeyboardHook*>(keyboardHooks))
        if (hook->onKeyDown(code, this) != -1) return 1;
    if (!focusView) return -1;
    CBaseObjectGuard focusGuard(focusView);
    return focusView->onKeyDown(code);
}

int32_t CFrame::onKeyUp(VstKeyCode& code) {
    CBaseObjectGuard guard(this);
    if (menuOverlay) return 1;
    for (IKeyboardHook* hook : std::vector<IKeyboardHook*>(keyboardHooks))
        if (hook->onKeyUp(code, this) != -1) return 1;
    if (!focusView) return -1;
    CBaseObjectGuard focusGuard(focusView);
    return focusView->onKeyUp(code);
}

bool CFrame::getCurrentMouseLocation(CPoint& where) const {
    where = mouseLocation;
    return true;
}

CView* CFrame::getViewUnderMouse(bool deep) const {
    return getViewAt(mouseLocation, deep);
}

void CFrame::setFocusView(CView* view) {
    if (view && !isChild(view, true)) return;
    focusView = view;
}

void CFrame::invalidRect(const CRect& rect) {
    CRect clipped = rect;
    clipped.bound(size);
    dirtyRect.unite(clipped);
}

CRect CFrame::takeDirtyRect() {
    const CRect taken = dirtyRect;
    dirtyRect = CRect();
    return taken;
}

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect) {
    CViewContainer::drawRect(context, updateRect);
    if (menuOverlay) {
        context->saveGlobalState();
        context->setClipRect(updateRect);
        menuOverlay->draw(context);
        context->restoreGlobalState();
    }
}

CMouseEventResult CFrame::onMouseDown(CPoint& where, const CButtonState& buttons) {
    CBaseObjectGuard guard(this);
    mouseLocation = where;
    mouseButtons = buttons;
    // A second button during a drag belongs to the drag; a frame without mouse takes no press.
    if (mouseDownView || !getMouseEnabled()) return kMouseEventHandled;
    if (menuOverlay) return menuOverlay->onMouseDown(where, buttons);
    return CViewContainer::onMouseDown(where, buttons);
}

CMouseEventResult CFrame::onMouseUp(CPoint& where, const CButtonState& buttons) {
    CBaseObjectGuard guard(this);
    mouseLocation = where;
    mouseButtons = buttons.getModifierState();
    // The release of a press belongs to the view that took the press, even when that press
    // opened a menu: it must not choose an entry.
    if (mouseDownView) {
        const CMouseEventResult result = CViewContainer::onMouseUp(where, buttons);
        updateMouseOver(where, mouseButtons);
        return result;
    }
    if (menuOverlay) return menuOverlay->onMouseUp(where, buttons);
    return kMouseEventNotHandled;
}

CMouseEventResult CFrame::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    CBaseObjectGuard guard(this);
    mouseLocation = where;
    mouseButtons = buttons;
    if (mouseDownView) return CViewContainer::onMouseMoved(where, buttons);
    if (menuOverlay) return menuOverlay->onMouseMoved(where, buttons);
    updateMouseOver(where, buttons);
    return CViewContainer::onMouseMoved(where, buttons);
}

CMouseEventResult CFrame::onMouseExited(CPoint& where, const CButtonState& buttons) {
    CBaseObjectGuard guard(this);
    mouseLocation = where;
    if (!mouseDownView) updateMouseOver(where, buttons);
    return kMouseEventHandled;
}

bool CFrame::onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                     const CButtonState& buttons) {
    CBaseObjectGuard guard(this);
    mouseLocation = where;
    if (mouseDownView || menuOverlay || !getMouseEnabled()) return false;
    return CViewContainer::onWheel(where, axis, distance, buttons);
}

void CFrame::updateMouseOver(const CPoint& where, const CButtonState& buttons) {
    CView* now = size.pointInside(where) ? getViewAt(where, true, true) : nullptr;
    if (now == mouseOverView) return;
    CView* previous = mouseOverView;
    mouseOverView = now;
    if (previous) {
        CBaseObjectGuard viewGuard(previous);
        CPoint local = where;
        previous->frameToLocal(local);
        previous->onMouseExited(local, buttons);
    }
    if (now && now == mouseOverView) {
        CBaseObjectGuard viewGuard(now);
        CPoint local = where;
        now->frameToLocal(local);
        now->onMouseEntered(local, buttons);
    }
}

bool CFrame::popupMenu(COptionMenu* menu, const CPoint& frameLocation, MenuCallback callback) {
    if (!menu) return false;
    if (menuOverlay) dismissMenu();
    menuOverlay = std::make_unique<MenuOverlay>(*this, menu, frameLocation, std::move(callback));
    return true;
}

bool CFrame::isMenuOpen() const {
    return menuOverlay != nullptr;
}

COptionMenu* CFrame::getOpenMenu() const {
    return menuOverlay ? menuOverlay->getMenu() : nullptr;
}

void CFrame::dismissMenu() {
    finishMenu(nullptr, -1);
}

void CFrame::finishMenu(COptionMenu* chosenMenu, int32_t chosenIndex) {
    if (!menuOverlay) return;
    // The frame lets go first, so that a callback may open the next menu.
    std::unique_ptr<MenuOverlay> overlay = std::move(menuOverlay);
    overlay->finish(chosenMenu, chosenIndex);
}

void CFrame::viewRemoved(CView* view) {
    auto inside = [view](CView* candidate) {
        if (!candidate) return false;
        if (candidate == view) return true;
        CViewContainer* container = view->asViewContainer();
        return container && container->isChild(candidate, true);
    };
    if (inside(focusView)) focusView = nullptr;
    if (inside(mouseOverView)) mouseOverView = nullptr;
    if (inside(mouseDownView)) mouseDownView = nullptr;
}

} // namespace orvgui
