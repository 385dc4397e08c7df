// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Top-left corners of the editor's controls at 100 %, which the printed faces are drawn around.
namespace orvane::paint::layout {

struct Point {
    double x, y;
};

constexpr Point logo{213, 32}, edit{35, 33}, recall{31, 62}, manual{112, 33}, ecs{120, 62};
constexpr Point previous{92, 116}, next{102, 116}, program{118, 112};
constexpr Point recallA{28, 183}, recallB{67, 183}, storeA{118, 183}, storeB{157, 183};
constexpr Point undo{233, 183};
constexpr Point bypass{424, 110}, volume{413, 166}, volumeReadout{407, 214};
constexpr Point meterLeft{488, 163}, meterRight{497, 163};
constexpr Point air{23, 239}, amount{209, 205}, airFrequency{413, 261};
constexpr Point amountReadout{243, 272}, amountLabel{243, 288}, airFrequencyReadout{408, 305};
constexpr Point split{26, 336}, splitFrequency{61, 381}, splitReadout{55, 427};
constexpr Point solo{138, 388}, note{138, 409}, display{161, 411}, monoType{154, 434};
constexpr double rangeX = 354, rangeY[4] = {361, 382, 403, 424};

// The editor's per-size pixel corrections, indexed by scale index.
constexpr int displayDy[3] = {0, 3, 4}, monoTypeDy[3] = {0, 3, 3}, settingsMenuDy[3] = {0, 4, 5};

// Settings panel.
constexpr Point version{18, 74}, keySwitch{336, 260}, midiPresetSwitch{336, 302};
constexpr Point captureSwitch{336, 345}, channelMenu{323, 391}, sizeMenu{323, 435};

} // namespace orvane::paint::layout
