// SPDX-License-Identifier: GPL-3.0-or-later
// Font descriptions: a family name, a pixel size and a style.
#pragma once

#include <cstdint>
#include <string>

namespace orvgui {

enum CTxtFace { kNormalFace = 0, kBoldFace = 1 << 1, kItalicFace = 1 << 2 };

class CFontDesc {
public:
    CFontDesc(const char* name, double size, int32_t style = kNormalFace)
        : name(name ? name : ""), size(size), style(style) {}

    const std::string& getName() const { return name; }
    double getSize() const { return size; }
    int32_t getStyle() const { return style; }
    void setSize(double newSize) { size = newSize; }
    void setStyle(int32_t newStyle) { style = newStyle; }

private:
    std::string name;
    double size;
    int32_t style;
};

using CFontRef = CFontDesc*;

// The standard fonts; "Arial" resolves through fontconfig (to Liberation Sans on Debian).
extern const CFontRef kSystemFont;
extern const CFontRef kNormalFontVeryBig;
extern const CFontRef kNormalFontBig;
extern const CFontRef kNormalFont;
extern const CFontRef kNormalFontSmall;
extern const CFontRef kNormalFontSmaller;
extern const CFontRef kNormalFontVerySmall;

} // namespace orvgui
