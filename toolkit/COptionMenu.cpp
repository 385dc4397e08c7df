// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/COptionMenu.h"

#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"

#include <cstring>

namespace orvgui {

CMenuItem::CMenuItem(const char* title, int32_t flags, COptionMenu* submenu)
    : title(title ? title : ""), flags(flags), submenu(submenu) {
    if (submenu) submenu->remember();
}

CMenuItem::~CMenuItem() {
    if (submenu) submenu->forget();
}

void CMenuItem::setEnabled(bool state) {
    flags = state ? flags & ~kDisabled : flags | kDisabled;
}

void CMenuItem::setChecked(bool state) {
    flags = state ? flags | kChecked : flags & ~kChecked;
}

COptionMenu::COptionMenu(const CRect& size, IControlListener* listener, int32_t tag,
                         CBitmap* background, CBitmap* bgWhenClick, int32_t style)
    : CParamDisplay(size, background, style), bgWhenClick(bgWhenClick) {
    setListener(listener);
    this->tag = tag;
    setWantsFocus(true);
    defaultValue = 0;
    vmax = 0;
    if (bgWhenClick) bgWhenClick->remember();
}

COptionMenu::COptionMenu() : COptionMenu(CRect(), nullptr, -1) {}

COptionMenu::~COptionMenu() {
    if (bgWhenClick) bgWhenClick->forget();
}

CMenuItem* COptionMenu::addEntry(const char* title, int32_t index, int32_t itemFlags) {
    if (title && std::strcmp(title, "-") == 0) return addSeparator(index);
    if (title && std::strncmp(title, "-G", 2) == 0) {
        title += 2;
        itemFlags |= CMenuItem::kDisabled;
    }
    return insertEntry(std::make_unique<CMenuItem>(title, itemFlags), index);
}

CMenuItem* COptionMenu::addEntry(COptionMenu* submenu, const char* title) {
    if (!submenu || submenu == this) return nullptr;
    entries.push_back(std::make_unique<CMenuItem>(title, CMenuItem::kNoFlags, submenu));
    updateMax();
    return entries.back().get();
}

CMenuItem* COptionMenu::addSeparator(int32_t index) {
    return insertEntry(
        std::make_unique<CMenuItem>("", CMenuItem::kSeparator | CMenuItem::kDisabled), index);
}

// An index outside the list appends.
CMenuItem* COptionMenu::insertEntry(std::unique_ptr<CMenuItem> item, int32_t index) {
    CMenuItem* added = item.get();
    if (index < 0 || index >= getNbEntries())
        entries.push_back(std::move(item));
    else
        entries.insert(entries.begin() + index, std::move(item));
    updateMax();
    return added;
}

bool COptionMenu::removeEntry(int32_t index) {
    if (!getEntry(index)) return false;
    entries.erase(entries.begin() + index);
    updateMax();
    return true;
}

bool COptionMenu::removeAllEntry() {
    entries.clear();
    updateMax();
    return true;
}

void COptionMenu::updateMax() {
    vmax = entries.empty() ? 0.0f : static_cast<float>(entries.size() - 1);
    bounceValue();
}

CMenuItem* COptionMenu::getEntry(int32_t index) const {
    if (index < 0 || index >= getNbEntries()) return nullptr;
    return entries[static_cast<std::size_t>(index)].get();
}

COptionMenu* COptionMenu::getSubMenu(int32_t index) const {
    CMenuItem* item = getEntry(index);
    return item ? item->getSubmenu() : nullptr;
}

CMenuItem* COptionMenu::getCurrent() const {
    return getEntry(static_cast<int32_t>(value));
}

int32_t COptionMenu::withoutSeparators(int32_t index) const {
    int32_t counted = 0;
    for (int32_t i = 0; i < index && i < getNbEntries(); ++i)
        if (!entries[static_cast<std::size_t>(i)]->isSeparator()) ++counted;
    return counted;
}

int32_t COptionMenu::getCurrentIndex(bool countSeparator) const {
    if (entries.empty()) return -1;
    const int32_t raw = static_cast<int32_t>(value);
    return countSeparator ? raw : withoutSeparators(raw);
}

bool COptionMenu::setCurrent(int32_t index, bool countSeparator) {
    int32_t raw = index;
    if (!countSeparator) {
        raw = -1;
        for (int32_t i = 0, counted = 0; i < getNbEntries(); ++i) {
            if (entries[static_cast<std::size_t>(i)]->isSeparator()) continue;
            if (counted++ == index) {
                raw = i;
                break;
            }
        }
    }
    if (!getEntry(raw)) return false;
    setValue(static_cast<float>(raw));
    setDirty();
    return true;
}

bool COptionMenu::checkEntry(int32_t index, bool state) {
    CMenuItem* item = getEntry(index);
    if (!item || item->isSeparator()) return false;
    item->setChecked(state);
    return true;
}

COptionMenu* COptionMenu::getLastItemMenu(int32_t& indexInMenu) const {
    indexInMenu = lastResult;
    return lastMenu;
}

bool COptionMenu::doPopup() {
    CFrame* frame = getFrame();
    if (!frame) return false;
    CPoint below(size.left, size.bottom);
    localToFrame(below);
    return popup(frame, below);
}

bool COptionMenu::popup(CFrame* frame, const CPoint& frameLocation, const Callback& callback) {
    if (!frame || entries.empty()) return false;
    lastResult = -1;
    lastMenu = nullptr;
    setDirty();
    return frame->popupMenu(this, frameLocation, callback);
}

void COptionMenu::finishPopup(COptionMenu* chosenMenu, int32_t chosenIndex) {
    lastMenu = chosenMenu;
    lastResult = chosenMenu ? chosenMenu->withoutSeparators(chosenIndex) : -1;
    setDirty();
    if (!chosenMenu) return;
    CBaseObjectGuard guard(chosenMenu);
    chosenMenu->setValue(static_cast<float>(chosenIndex));
    chosenMenu->setDirty();
    // A sub-menu without a listener of its own reports through the menu it belongs to.
    IControlListener* reportTo = chosenMenu->getListener() ? chosenMenu->getListener() : listener;
    if (!reportTo) return;
    chosenMenu->beginEdit();
    reportTo->valueChanged(chosenMenu);
    chosenMenu->endEdit();
}

void COptionMenu::setValue(float newValue) {
    CControl::setValue(newValue);
    // Whole entries only.
    value = static_cast<float>(static_cast<int32_t>(value));
}

void COptionMenu::draw(CDrawContext* context) {
    if (style & kNoDrawStyle) return;
    CFrame* frame = getFrame();
    if (bgWhenClick && frame && frame->getOpenMenu() == this)
        context->drawBitmap(bgWhenClick, size, backOffset);
    else
        drawBack(context);
    if (CMenuItem* current = getCurrent()) drawText(context, current->getTitle().c_str());
}

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (buttons & (kLButton | kRButton | kApple)) doPopup();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace orvgui
