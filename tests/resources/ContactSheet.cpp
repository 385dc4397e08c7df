// Renders the embedded bitmaps as the editor would place them, for looking at: one main face,
// one settings panel and one sheet of all parts per size.
#include "Bitmaps.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace orvane::test;

namespace {

struct Sample {
    const char* name;
    double state; // image index, or film value 0..1, or meter level
    int k = -1;   // a bitmap other than the placement's own
};

const Sample MAIN_STATES[] = {
    {"edit", 0, 42},
    {"recallA", 0, 16},
    {"range1", 1},
    {"note", 1},
    {"air", 1},
    {"split", 1},
    {"volume", 0.5},
    {"amount", 0.55},
    {"airFrequency", 0.3},
    {"splitFrequency", 0.4},
    {"meterLeft", 0.72},
    {"meterRight", 0.64},
};
const Sample SETTINGS_STATES[] = {{"keySwitch", 1}, {"captureSwitch", 1}};

struct Caption {
    const char* name;
    const char* text;
    bool large, bold, black, centred;
};
const Caption MAIN_TEXTS[] = {
    {"program", "Nice Start", true, true, false, true},
    {"volumeReadout", "0.0", false, false, false, true},
    {"amountReadout", "3.3", false, false, false, true},
    {"amountLabel", "AMOUNT", false, false, false, true},
    {"airFrequencyReadout", "33.6 kHz", false, false, false, true},
    {"splitReadout", "120 Hz", false, false, false, true},
    {"display", "A#2-46", false, false, false, true},
    {"monoType", "L + R", false, false, false, true},
};
const Caption SETTINGS_TEXTS[] = {
    {"version", "Halvick Orvane: Mac VST 64: v1.0.1", false, false, true, false},
    {"channelMenu", "Omni", false, false, false, true},
    {"sizeMenu", "100%", false, false, false, true},
};

double sampleState(const Sample* samples, int count, const char* name, int* k) {
    for (int i = 0; i < count; ++i)
        if (!std::strcmp(samples[i].name, name)) {
            if (samples[i].k >= 0) *k = samples[i].k;
            return samples[i].state;
        }
    return 0;
}

void drawImage(cairo_t* cr, cairo_surface_t* bmp, Box b, double offsetY) {
    cairo_save(cr);
    cairo_rectangle(cr, b.x, b.y, b.w, b.h);
    cairo_clip(cr);
    cairo_set_source_surface(cr, bmp, b.x, b.y - offsetY);
    cairo_paint(cr);
    cairo_restore(cr);
}

void drawControl(cairo_t* cr, const Placement& p, int si, double state, int k) {
    Surface bmp = decode(bitmapNumber(si, k));
    if (!bmp) return;
    const Box b = placeControl(p, si, bmp.get());
    switch (p.sizing) {
    case Sizing::HalfHeight:
        drawImage(cr, bmp.get(), b, state * b.h);
        break;
    case Sizing::Film: {
        const double pos = int(float((FILM_FRAMES - 1) * b.h) * float(state));
        drawImage(cr, bmp.get(), b, int(pos / b.h) * b.h);
        break;
    }
    case Sizing::Meter: {
        const int lit = int(float(state) * float(b.h));
        drawImage(cr, bmp.get(), {b.x, b.y + b.h - lit, b.w, lit}, b.h - lit);
        break;
    }
    default:
        drawImage(cr, bmp.get(), b, 0);
    }
}

// The editor's fonts are Arial 10/12/14 (small) and 12/14/18 (large); Liberation Sans matches
// their metrics.
void drawCaption(cairo_t* cr, const Placement& p, int si, const Caption& c) {
    Surface bmp = decode(bitmapNumber(si, p.k));
    Box b = placeControl(p, si, bmp.get());
    const double sizes[2][3] = {{10, 12, 14}, {12, 14, 18}};
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                           c.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, sizes[c.large][si]);
    cairo_text_extents_t e;
    cairo_text_extents(cr, c.text, &e);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    const double x = c.centred ? b.x + (b.w - e.x_advance) / 2 : b.x + 1;
    const double y = b.y + (b.h + fe.ascent - fe.descent) / 2 + 1;
    if (c.black)
        cairo_set_source_rgb(cr, 0, 0, 0);
    else
        cairo_set_source_rgb(cr, 151 / 255.0, 151 / 255.0, 151 / 255.0);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, c.text);
}

bool writeFace(const std::string& path, int si, int backgroundK, const Placement* placements,
               int count, const Sample* samples, int sampleCount, const Caption* captions,
               int captionCount) {
    Surface bg = decode(bitmapNumber(si, backgroundK));
    if (!bg) return false;
    Surface out(cairo_image_surface_create(CAIRO_FORMAT_ARGB32,
                                           cairo_image_surface_get_width(bg.get()),
                                           cairo_image_surface_get_height(bg.get())));
    cairo_t* cr = cairo_create(out.get());
    cairo_set_source_surface(cr, bg.get(), 0, 0);
    cairo_paint(cr);
    for (int i = 0; i < count; ++i) {
        int k = placements[i].k;
        const double state = sampleState(samples, sampleCount, placements[i].name, &k);
        if (placements[i].sizing == Sizing::Full && k == 3 && backgroundK == 0 &&
            std::strcmp(placements[i].name, "display"))
            continue; // option menus draw no bitmap
        if (backgroundK == 1 && k == 3) continue;
        drawControl(cr, placements[i], si, state, k);
    }
    for (int i = 0; i < captionCount; ++i)
        for (int j = 0; j < count; ++j)
            if (!std::strcmp(placements[j].name, captions[i].name))
                drawCaption(cr, placements[j], si, captions[i]);
    cairo_destroy(cr);
    return cairo_surface_write_to_png(out.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

// Every bitmap of one size on a neutral ground; films show seven frames side by side.
bool writeParts(const std::string& path, int si) {
    const int keys[] = {2,  3,  12, 13, 14, 15, 16, 17, 20, 21, 40,
                        41, 42, 43, 44, 45, 46, 47, 48, 30, 31};
    const double f = SCALE_FACTORS[si];
    const int width = int(1100 * f), height = int(330 * f), pad = int(12 * f);
    Surface out(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    cairo_t* cr = cairo_create(out.get());
    cairo_set_source_rgb(cr, 0.33, 0.34, 0.36);
    cairo_paint(cr);
    int x = pad, y = pad, rowHeight = 0;
    for (int k : keys) {
        Surface bmp = decode(bitmapNumber(si, k));
        if (!bmp) continue;
        int w = cairo_image_surface_get_width(bmp.get()),
            h = cairo_image_surface_get_height(bmp.get());
        const bool film = k == 30 || k == 31;
        const int frameH = film ? h / FILM_FRAMES : h, frames = film ? 7 : 1;
        if (x + w * frames > width - pad || (film && k == 30)) {
            x = pad;
            y += rowHeight + pad;
            rowHeight = 0;
        }
        for (int i = 0; i < frames; ++i) {
            const int frame = film ? i * (FILM_FRAMES - 1) / (frames - 1) : 0;
            drawImage(cr, bmp.get(), {x, y, w, frameH}, frame * frameH);
            x += w + (film ? pad / 2 : 0);
        }
        x += pad;
        if (frameH > rowHeight) rowHeight = frameH;
    }
    cairo_destroy(cr);
    return cairo_surface_write_to_png(out.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const char* percent[3] = {"100", "150", "200"};
    bool ok = true;
    for (int si = 0; si < 3; ++si) {
        ok &= writeFace(dir + "/face_" + percent[si] + ".png", si, 0, MAIN_FACE, MAIN_FACE_COUNT,
                        MAIN_STATES, sizeof MAIN_STATES / sizeof *MAIN_STATES, MAIN_TEXTS,
                        sizeof MAIN_TEXTS / sizeof *MAIN_TEXTS);
        ok &= writeFace(dir + "/settings_" + percent[si] + ".png", si, 1, SETTINGS_FACE,
                        SETTINGS_FACE_COUNT, SETTINGS_STATES,
                        sizeof SETTINGS_STATES / sizeof *SETTINGS_STATES, SETTINGS_TEXTS,
                        sizeof SETTINGS_TEXTS / sizeof *SETTINGS_TEXTS);
        ok &= writeParts(dir + "/parts_" + percent[si] + ".png", si);
    }
    if (!ok) std::fprintf(stderr, "could not write the contact sheets\n");
    return ok ? 0 : 1;
}
