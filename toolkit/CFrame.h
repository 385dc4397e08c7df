// SPDX-License-Identifier: GPL-3.0-or-later
// The root container: embedded as a child of the host's X11 window, it routes mouse and key
// events, collects dirty rectangles and draws them, and hosts the popup menu overlay.
#pragma once

#include "toolkit/CView.h"

#include <functional>
#include <memory>
#include <thread>

namespace orvgui {

class COptionMenu;
class EditorInterface;
class MenuOverlay;
class PlatformWindow;

class IKeyboardHook {
public:
    virtual ~IKeyboardHook() = default;
    // 1 when the key was used (it goes no further), -1 otherwise.
    virtual int32_t onKeyDown(const VstKeyCode& code, CFrame* frame) = 0;
    virtual int32_t onKeyUp(const VstKeyCode& code, CFrame* frame) = 0;
};

enum class PlatformType { kDefaultNative, kX11EmbedWindowID };

class CFrame : public CViewContainer {
public:
    CFrame(const CRect& size, EditorInterface* editor);
    ~CFrame() override;

    // Creates the child window inside parent (an X11 Window id) and draws it once.
    bool open(void* parent, PlatformType type = PlatformType::kDefaultNative);
    // Destroys the window, drops an open menu without calling back, releases every view still
    // in the frame and then the frame's own reference.
    void close();
    bool isOpen() const { return window != nullptr; }
    // Processes pending window events and redraws what became dirty; never blocks.
    void idle();
    // The open window's X connection, or -1.
    int connectionFd() const;

    EditorInterface* getEditor() const { return editor; }
    void beginEdit(int32_t tag);
    void endEdit(int32_t tag);

    void registerKeyboardHook(IKeyboardHook* hook);
    void unregisterKeyboardHook(IKeyboardHook* hook);
    int32_t onKeyDown(VstKeyCode& code) override;
    int32_t onKeyUp(VstKeyCode& code) override;

    // The last pointer position seen, in frame coordinates (outside the frame once it left).
    bool getCurrentMouseLocation(CPoint& where) const;
    CButtonState getCurrentMouseButtons() const { return mouseButtons; }
    // The view under the pointer, or null (children of the frame; deep descends).
    CView* getViewUnderMouse(bool deep = true) const;

    void setFocusView(CView* view);
    CView* getFocusView() const { return focusView; }
    void looseFocus() { setFocusView(nullptr); }

    void invalidRect(const CRect& rect) override;
    const CRect& getDirtyRect() const { return dirtyRect; }
    // Draws the background, the views and the menu overlay inside updateRect.
    void drawRect(CDrawContext* context, const CRect& updateRect) override;

    // Mouse entry points, in frame coordinates; the window feeds them, tests may too.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;

    // The popup layer: one menu (with its open sub-menus) at a time.
    using MenuCallback = std::function<void(COptionMenu* menu)>;
    bool popupMenu(COptionMenu* menu, const CPoint& frameLocation, MenuCallback callback);
    bool isMenuOpen() const;
    // The menu heading the open popup, or null.
    COptionMenu* getOpenMenu() const;
    // Closes the open menu as if dismissed by the user.
    void dismissMenu();
    // Closes the open menu and reports the entry chosen in chosenMenu (null: none).
    void finishMenu(COptionMenu* chosenMenu, int32_t chosenIndex);

    void viewRemoved(CView* view) override;
    CFrame* asFrame() override { return this; }

    // Takes a pending dirty rectangle (for the window's redraw).
    CRect takeDirtyRect();

private:
    void updateMouseOver(const CPoint& where, const CButtonState& buttons);

    EditorInterface* editor;
    std::unique_ptr<PlatformWindow> window;
    std::thread backgroundUnpacking; // during the first open of the process
    std::unique_ptr<MenuOverlay> menuOverlay;
    std::vector<IKeyboardHook*> keyboardHooks;
    CView* focusView = nullptr;
    CView* mouseOverView = nullptr;
    CPoint mouseLocation{-1, -1};
    CButtonState mouseButtons;
    CRect dirtyRect;
};

} // namespace orvgui
