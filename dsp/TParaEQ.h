// SPDX-License-Identifier: GPL-3.0-or-later
// Peaking equaliser section run at four times the host rate (hold the input for four
// sub-steps, average the four outputs), used as the Air stage.
#pragma once

class TParaEQ {
public:
    void init(float sampleRate);
    // frequencyControl glides towards its target by 1 % per call unless jump is set.
    void setParameter(float frequencyControl, float qControl, float gainControl, bool jump);
    void process(float& left, float& right);

    float smoothedControl() const { return smoothedFrequency; }

private:
    // Left and right side by side: both channels take the same steps in the same order, one
    // instruction for the two.
    using Pair = double __attribute__((vector_size(16)));

    void computeCoefficients(float qControl, float gainControl);

    float sampleRate = 44100.0f;
    float oversampling = 4.0f;
    float smoothedFrequency = 0.0f;
    int ringPosition = 0;
    double antiDenormal = 1.0e-15;
    Pair inputHistory[3] = {};
    Pair outputHistory[3] = {};
    double b0 = 0.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;

    // Inputs of the current coefficients: a call with exactly the same inputs keeps them.
    bool coefficientsCurrent = false;
    float coefficientFrequency = 0.0f, coefficientQ = 0.0f, coefficientGain = 0.0f;
};
