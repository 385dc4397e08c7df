// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/MenuOverlay.h"

#include "toolkit/CDrawContext.h"
#include "toolkit/COptionMenu.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>

namespace orvgui {

namespace {
constexpr CColor kMenuBack{44, 44, 44, 255};
constexpr CColor kMenuBorder{110, 110, 110, 255};
constexpr CColor kMenuText{230, 230, 230, 255};
constexpr CColor kMenuDisabledText{128, 128, 128, 255};
constexpr CColor kMenuHighlight{58, 96, 150, 255};
constexpr CCoord kTextInset = 18;
constexpr CCoord kBorder = 1;
} // namespace

MenuOverlay::MenuOverlay(CFrame& frame, COptionMenu* menu, const CPoint& location,
                         CFrame::MenuCallback callback)
    : frame(frame), callback(std::move(callback)),
      rowHeight(std::round(menu->getFont()->getSize() * 1.5)) {
    menu->remember();
    openLevel(0, menu, CRect(location, CPoint(0, 0)));
}

MenuOverlay::~MenuOverlay() {
    invalidate();
    levels.front().menu->forget();
}

void MenuOverlay::invalidate() {
    for (const Level& level : levels)
        frame.invalidRect(level.rect);
}

// Lays the entries out in columns no taller than the frame, next to anchor: below it for
// the first list, to its right (or left when there is no room) for a sub-menu.
void MenuOverlay::openLevel(std::size_t depth, COptionMenu* menu, const CRect& anchor) {
    invalidate();
    levels.resize(depth);
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cairo = cairo_create(scratch);
    CDrawContext measure(cairo);
    measure.setFont(levels.empty() ? menu->getFont() : levels.front().menu->getFont());

    const CRect& bounds = frame.getViewSize();
    const CCoord maxHeight = std::max(rowHeight, bounds.getHeight() - 2 * kBorder);
    Level level{menu, CRect(), {}, -1};
    CCoord x = 0, y = 0, columnWidth = 0, width = 0, height = 0;
    std::vector<std::size_t> columnStart{0};
    for (int32_t i = 0; i < menu->getNbEntries(); ++i) {
        const CMenuItem* item = menu->getEntry(i);
        const CCoord h = item->isSeparator() ? std::round(rowHeight / 2) : rowHeight;
        if (y + h > maxHeight && y > 0) {
            x += columnWidth;
            y = 0;
            columnWidth = 0;
            columnStart.push_back(level.entryRects.size());
        }
        const CCoord textWidth = std::ceil(measure.getStringWidth(item->getTitle().c_str()));
        columnWidth = std::max(columnWidth, textWidth + 2 * kTextInset);
        level.entryRects.emplace_back(x, y, x, y + h);
        y += h;
        height = std::max(height, y);
        width = x + columnWidth;
        for (std::size_t k = columnStart.back(); k < level.entryRects.size(); ++k)
            level.entryRects[k].right = x + columnWidth;
    }
    cairo_destroy(cairo);
    cairo_surface_destroy(scratch);

    CCoord left = depth == 0 ? anchor.left : anchor.right;
    CCoord top = depth == 0 ? anchor.bottom : anchor.top;
    const CCoord outerWidth = width + 2 * kBorder, outerHeight = height + 2 * kBorder;
    if (left + outerWidth > bounds.right)
        left = depth == 0 ? bounds.right - outerWidth : levels.back().rect.left - outerWidth;
    if (top + outerHeight > bounds.bottom) top = bounds.bottom - outerHeight;
    left = std::max(left, bounds.left);
    top = std::max(top, bounds.top);
    level.rect = CRect(left, top, left + outerWidth, top + outerHeight);
    for (CRect& entry : level.entryRects)
        entry.offset(left + kBorder, top + kBorder);
    levels.push_back(std::move(level));
    invalidate();
}

bool MenuOverlay::hit(const CPoint& where, std::size_t& depth, int32_t& entry) const {
    for (std::size_t d = levels.size(); d-- > 0;) {
        const Level& level = levels[d];
        if (!level.rect.pointInside(where)) continue;
        depth = d;
        entry = -1;
        for (std::size_t i = 0; i < level.entryRects.size(); ++i)
            if (level.entryRects[i].pointInside(where)) entry = static_cast<int32_t>(i);
        return true;
    }
    return false;
}

void MenuOverlay::hover(std::size_t depth, int32_t entry) {
    Level& level = levels[depth];
    const CMenuItem* item = level.menu->getEntry(entry);
    if (level.hovered == entry && (levels.size() > depth + 1 || !item || !item->getSubmenu()))
        return;
    invalidate();
    level.hovered = entry;
    if (item && item->getSubmenu() && item->isEnabled() && item->getSubmenu()->getNbEntries() > 0) {
        openLevel(depth + 1, item->getSubmenu(), level.entryRects[static_cast<std::size_t>(entry)]);
    } else {
        levels.resize(depth + 1);
    }
    invalidate();
}

CMouseEventResult MenuOverlay::onMouseDown(CPoint& where, const CButtonState&) {
    std::size_t depth = 0;
    int32_t entry = -1;
    if (!hit(where, depth, entry)) {
        frame.dismissMenu();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    pressedDepth = depth;
    pressedEntry = entry;
    if (entry >= 0) hover(depth, entry);
    return kMouseEventHandled;
}

CMouseEventResult MenuOverlay::onMouseUp(CPoint& where, const CButtonState&) {
    std::size_t depth = 0;
    int32_t entry = -1;
    const bool sameEntry = pressedEntry >= 0 && hit(where, depth, entry) && depth == pressedDepth &&
                           entry == pressedEntry;
    pressedEntry = -1;
    if (!sameEntry) return kMouseEventHandled;
    COptionMenu* menu = levels[depth].menu;
    const CMenuItem* item = menu->getEntry(entry);
    if (item && item->isSelectable()) frame.finishMenu(menu, entry);
    return kMouseEventHandled;
}

CMouseEventResult MenuOverlay::onMouseMoved(CPoint& where, const CButtonState&) {
    std::size_t depth = 0;
    int32_t entry = -1;
    if (hit(where, depth, entry) && entry >= 0) hover(depth, entry);
    return kMouseEventHandled;
}

// Keys act on the deepest list with a highlighted entry: a sub-menu opened by hovering
// only takes the keys once Right or Return entered it.
std::size_t MenuOverlay::activeDepth() const {
    for (std::size_t d = levels.size(); d-- > 0;)
        if (levels[d].hovered >= 0) return d;
    return 0;
}

void MenuOverlay::step(std::size_t depth, int32_t direction) {
    const Level& level = levels[depth];
    const int32_t count = level.menu->getNbEntries();
    int32_t entry = level.hovered;
    for (int32_t tries = 0; tries < count; ++tries) {
        entry = entry < 0 ? (direction > 0 ? 0 : count - 1) : (entry + direction + count) % count;
        const CMenuItem* item = level.menu->getEntry(entry);
        if (item->isEnabled() && !item->isSeparator()) {
            hover(depth, entry);
            return;
        }
    }
}

int32_t MenuOverlay::onKeyDown(const VstKeyCode& code) {
    const std::size_t depth = activeDepth();
    const Level& level = levels[depth];
    const int32_t hovered = level.hovered;
    const CMenuItem* item = level.menu->getEntry(hovered);
    switch (code.virt) {
    case VKEY_ESCAPE:
        frame.dismissMenu();
        break;
    case VKEY_UP:
        step(depth, -1);
        break;
    case VKEY_DOWN:
        step(depth, 1);
        break;
    case VKEY_LEFT:
        if (depth > 0) {
            invalidate();
            levels.resize(depth);
            invalidate();
        }
        break;
    case VKEY_RIGHT:
    case VKEY_RETURN:
    case VKEY_ENTER:
        if (item && item->getSubmenu()) {
            hover(depth, hovered);
            if (levels.size() > depth + 1) step(depth + 1, 1);
        } else if (item && item->isSelectable() && code.virt != VKEY_RIGHT) {
            frame.finishMenu(level.menu, hovered);
        }
        break;
    default:
        break;
    }
    return 1;
}

void MenuOverlay::draw(CDrawContext* context) {
    context->setFont(levels.front().menu->getFont());
    for (const Level& level : levels) {
        context->setFillColor(kMenuBack);
        context->drawRect(level.rect, kDrawFilled);
        context->setFrameColor(kMenuBorder);
        context->setLineWidth(1);
        context->drawRect(
            CRect(level.rect.left, level.rect.top, level.rect.right - 1, level.rect.bottom - 1));
        const bool checks = (level.menu->getStyle() & kCheckStyle) != 0;
        for (std::size_t i = 0; i < level.entryRects.size(); ++i) {
            const auto index = static_cast<int32_t>(i);
            const CMenuItem* item = level.menu->getEntry(index);
            if (!item) continue;
            const CRect& row = level.entryRects[i];
            if (item->isSeparator()) {
                const CCoord y = std::floor((row.top + row.bottom) / 2);
                context->drawLine(CPoint(row.left + 4, y), CPoint(row.right - 5, y));
                continue;
            }
            if (index == level.hovered && item->isEnabled()) {
                context->setFillColor(kMenuHighlight);
                context->drawRect(row, kDrawFilled);
            }
            context->setFontColor(item->isEnabled() ? kMenuText : kMenuDisabledText);
            CRect text = row;
            text.left += kTextInset;
            context->drawString(item->getTitle().c_str(), text, kLeftText);
            if (item->isChecked() || (checks && index == level.menu->getCurrentIndex(true))) {
                CRect mark(row.left + 6, row.top, row.left + kTextInset, row.bottom);
                context->drawString("*", mark, kLeftText);
            }
            if (item->getSubmenu()) {
                CRect arrow(row.right - kTextInset, row.top, row.right - 6, row.bottom);
                context->drawString(">", arrow, kRightText);
            }
        }
    }
}

void MenuOverlay::finish(COptionMenu* chosenMenu, int32_t chosenIndex) {
    COptionMenu* menu = levels.front().menu;
    CBaseObjectGuard guard(menu);
    menu->finishPopup(chosenMenu, chosenIndex);
    if (callback) callback(menu);
}

} // namespace orvgui
