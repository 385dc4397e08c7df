// A demo of the editor's own controls on the real bitmap sets: the face with one of each
// control where the editor places it, and a shelf with the settings face and every other
// bitmap, at one of the three sizes.
#pragma once

#include "editor/ControlHost.h"
#include "toolkit/Toolkit.h"

#include <map>
#include <vector>

namespace orvane::guitest {

class ControlsDemo : public orvgui::EditorInterface,
                     public orvgui::IControlListener,
                     public ControlHost {
public:
    enum class Page { kFace, kShelf };

    ControlsDemo(Page page, int scaleIndex);
    ~ControlsDemo() override;
    ControlsDemo(const ControlsDemo&) = delete;
    ControlsDemo& operator=(const ControlsDemo&) = delete;

    orvgui::CFrame* getFrame() const { return frame; }
    int width() const { return static_cast<int>(frame->getWidth()); }
    int height() const { return static_cast<int>(frame->getHeight()); }
    // Where bitmap k was placed on the shelf page (frame coordinates); films appear three
    // times, through knobs at 0, 0.5 and 1.
    orvgui::CRect placeOf(int k, std::size_t index = 0) const;
    // A bitmap of the set; null when missing. The demo keeps the reference.
    orvgui::CBitmap* bitmap(int k);

    void valueChanged(orvgui::CControl*) override {}
    void midiLearnMenu(orvgui::CControl*, orvgui::CPoint&) override {}
    orvgui::CBitmap* getLampBitmap() const override { return lamp; }
    orvgui::CBitmap* getMeterBitmap() const override { return meter; }
    void beginEdit(int32_t) override {}
    void endEdit(int32_t) override {}
    int32_t getKnobMode() const override { return orvgui::kLinearMode; }

private:
    int scaled(double v) const { return static_cast<int>(v * factor); }
    orvgui::CRect at(double x, double y, double width, double height) const;
    void buildFace();
    void buildShelf();
    void showWhole(int k, double x, double y);

    int scaleIndex;
    double factor;
    orvgui::CFrame* frame = nullptr;
    orvgui::CBitmap* lamp = nullptr;
    orvgui::CBitmap* meter = nullptr;
    std::map<int, orvgui::CBitmap*> bitmaps;
    std::map<int, std::vector<orvgui::CRect>> shelf;
};

} // namespace orvane::guitest
