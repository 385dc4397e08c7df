// SPDX-License-Identifier: GPL-3.0-or-later
// Drop-down menus. There is no native popup here: the menu opens as an overlay inside the
// frame and returns at once; the choice arrives later, through the listener and the callback.
#pragma once

#include "toolkit/CParamDisplay.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvgui {

class COptionMenu;

class CMenuItem {
public:
    enum Flags : int32_t {
        kNoFlags = 0,
        kDisabled = 1 << 0,
        kChecked = 1 << 2,
        kSeparator = 1 << 3
    };

    // Keeps a reference to submenu.
    CMenuItem(const char* title, int32_t flags = kNoFlags, COptionMenu* submenu = nullptr);
    ~CMenuItem();
    CMenuItem(const CMenuItem&) = delete;
    CMenuItem& operator=(const CMenuItem&) = delete;

    const std::string& getTitle() const { return title; }
    void setTitle(const char* newTitle) { title = newTitle ? newTitle : ""; }
    bool isEnabled() const { return !(flags & kDisabled); }
    void setEnabled(bool state);
    bool isChecked() const { return (flags & kChecked) != 0; }
    void setChecked(bool state);
    bool isSeparator() const { return (flags & kSeparator) != 0; }
    COptionMenu* getSubmenu() const { return submenu; }
    // A plain enabled entry that can be chosen.
    bool isSelectable() const { return isEnabled() && !isSeparator() && !submenu; }

private:
    std::string title;
    int32_t flags;
    COptionMenu* submenu;
};

class COptionMenu : public CParamDisplay {
public:
    using Callback = std::function<void(COptionMenu* menu)>;

    COptionMenu(const CRect& size, IControlListener* listener, int32_t tag,
                CBitmap* background = nullptr, CBitmap* bgWhenClick = nullptr, int32_t style = 0);
    // A menu that is only popped up, never placed on the face.
    COptionMenu();
    ~COptionMenu() override;

    // "-" adds a separator; a title starting with "-G" adds a disabled entry showing the rest.
    CMenuItem* addEntry(const char* title, int32_t index = -1,
                        int32_t itemFlags = CMenuItem::kNoFlags);
    // An entry that opens submenu; the menu keeps its own reference to it.
    CMenuItem* addEntry(COptionMenu* submenu, const char* title);
    CMenuItem* addSeparator(int32_t index = -1);
    bool removeEntry(int32_t index);
    bool removeAllEntry();

    // Indices count separators unless stated otherwise.
    int32_t getNbEntries() const { return static_cast<int32_t>(entries.size()); }
    CMenuItem* getEntry(int32_t index) const;
    COptionMenu* getSubMenu(int32_t index) const;
    CMenuItem* getCurrent() const;
    int32_t getCurrentIndex(bool countSeparator = false) const;
    bool setCurrent(int32_t index, bool countSeparator = true);
    bool checkEntry(int32_t index, bool state);

    // After a popup: the index of the chosen entry in the menu that holds it (separators not
    // counted), or -1 when the menu was dismissed.
    int32_t getLastResult() const { return lastResult; }
    COptionMenu* getLastItemMenu(int32_t& indexInMenu) const;

    // Opens the menu under the control; a choice sets the current entry of the menu holding
    // it and reports valueChanged.
    bool doPopup();
    // Opens the menu at a point of the frame; callback runs when it closes, chosen or not
    // (but not when the frame closes first).
    bool popup(CFrame* frame, const CPoint& frameLocation, const Callback& callback = nullptr);

    void setValue(float value) override;
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    // Called by the overlay when the popup this menu heads ends.
    void finishPopup(COptionMenu* chosenMenu, int32_t chosenIndex);

private:
    int32_t withoutSeparators(int32_t index) const;
    void updateMax();
    CMenuItem* insertEntry(std::unique_ptr<CMenuItem> item, int32_t index);

    std::vector<std::unique_ptr<CMenuItem>> entries;
    CBitmap* bgWhenClick;
    int32_t lastResult = -1;
    COptionMenu* lastMenu = nullptr;
};

} // namespace orvgui
