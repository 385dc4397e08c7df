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
    struct Stages {
        float first;
        float second;
    };
    float run(Stages& stages, float x) const;

    float sampleRate = 44100.0f;
    float control = 0.0f;
    float cutoff = 0.0f;
    float g = 0.0f;
    Stages left{};
    Stages right{};

    // Inputs of the current cutoff and g: an update with exactly the same inputs keeps them.
    bool coefficientsCurrent = false;
    float coefficientControl = 0.0f, coefficientOctaves = 0.0f;
};
