// SPDX-License-Identifier: GPL-3.0-or-later
// Two cascaded one-pole low-passes (trapezoidal form) run at four times the host rate: the
// low band of the mono/stereo split.
#pragma once

class TFilter {
public:
    void init(float sampleRate);
    void setFrequency(float control);
    // Cutoff = 20 Hz × 2^(control × octaves).
    void update(float octaves);
    void processZero(float left, float right, float& lowLeft, float& lowRight);

    float cutoffHz() const { return cutoff; }

private:
    // Left and right in the first two lanes: both channels take the same steps in the same
    // order, one instruction for the two.
    using Lanes = float __attribute__((vector_size(16)));

    float sampleRate = 44100.0f;
    float control = 0.0f;
    float cutoff = 0.0f;
    float g = 0.0f;
    Lanes firstStage = {};
    Lanes secondStage = {};

    // Inputs of the current cutoff and g: an update with exactly the same inputs keeps them.
    bool coefficientsCurrent = false;
    float coefficientControl = 0.0f, coefficientOctaves = 0.0f;
};
