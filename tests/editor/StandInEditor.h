// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the editor: owns a frame without a window, records what the controls tell
// it, and serves the lamp and meter images the controls borrow.
#pragma once

#include "editor/ControlHost.h"
#include "toolkit/Toolkit.h"

#include <cairo.h>
#include <functional>
#include <vector>

namespace editortest {

// A PNG painted by paint on a width x height surface, as a toolkit bitmap.
orvgui::CBitmap* paintedBitmap(int width, int height, const std::function<void(cairo_t*)>& paint);
// A film of frames images of height h (may be fractional); image i is filmColour(i).
orvgui::CBitmap* codedFilm(int width, double h, int frames);
inline orvgui::CColor filmColour(int frame) {
    return {static_cast<uint8_t>(frame), static_cast<uint8_t>(255 - frame), 128, 255};
}
// A meter image whose row r has red = r.
orvgui::CBitmap* rowCodedMeter(int width, int height);

// An ARGB surface, transparent at first, to draw controls into.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    orvgui::CDrawContext& context() { return *drawContext; }
    orvgui::CColor pixel(int x, int y);

private:
    cairo_surface_t* surface;
    cairo_t* cairo;
    orvgui::CDrawContext* drawContext;
};

struct Report {
    orvgui::CControl* control;
    float value;
};

class StandInEditor : public orvgui::EditorInterface,
                      public orvgui::IControlListener,
                      public ControlHost {
public:
    StandInEditor();
    ~StandInEditor() override;

    // Adds the control to the frame (which takes the caller's reference).
    template <typename Control> Control* place(Control* control) {
        control->setListener(this);
        frame->addView(control);
        return control;
    }
    orvgui::CMouseEventResult press(double x, double y, int32_t buttons);
    orvgui::CMouseEventResult move(double x, double y, int32_t buttons);
    orvgui::CMouseEventResult release(double x, double y, int32_t buttons);

    void valueChanged(orvgui::CControl* control) override;
    int32_t controlModifierClicked(orvgui::CControl*, orvgui::CButtonState) override {
        ++modifierClicks;
        return modifierAnswer;
    }
    void midiLearnMenu(orvgui::CControl* control, orvgui::CPoint&) override {
        learnMenus.push_back(control);
    }
    orvgui::CBitmap* getLampBitmap() const override { return lamp; }
    orvgui::CBitmap* getMeterBitmap() const override { return meter; }

    void beginEdit(int32_t) override { ++begins; }
    void endEdit(int32_t) override { ++ends; }
    int32_t getKnobMode() const override { return orvgui::kCircularMode; }

    orvgui::CFrame* frame;
    orvgui::CBitmap* lamp = nullptr;
    orvgui::CBitmap* meter = nullptr;
    std::vector<Report> reports;
    std::vector<orvgui::CControl*> learnMenus;
    int32_t modifierAnswer = 0;
    int modifierClicks = 0;
    int begins = 0;
    int ends = 0;
};

// An editor that is not a ControlHost: controls on its frame act as if they had no editor.
class ForeignEditor : public orvgui::EditorInterface {
public:
    void beginEdit(int32_t) override {}
    void endEdit(int32_t) override {}
    int32_t getKnobMode() const override { return orvgui::kCircularMode; }
};

} // namespace editortest
