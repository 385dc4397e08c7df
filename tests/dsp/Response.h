// SPDX-License-Identifier: GPL-3.0-or-later
// Frequency-response helpers for blocks that hold each input for four sub-steps, filter at
// four times the rate and average the four outputs.
#pragma once

#include <cmath>
#include <complex>

namespace orvane::test {

constexpr double kPi = 3.14159265358979323846;
using Complex = std::complex<double>;

// Response of a biquad (a0 = 1) at the normalised angle theta.
inline Complex biquadResponse(double b0, double b1, double b2, double a1, double a2, double theta) {
    const Complex z1 = std::polar(1.0, -theta);
    return (b0 + b1 * z1 + b2 * z1 * z1) / (1.0 + a1 * z1 + a2 * z1 * z1);
}

// Host-rate response of hold-4 → filter h at the 4x rate → average-4 → decimate: the
// four aliases of the 4x response, each weighted by the hold and average boxcars.
template <typename Response> Complex heldAndAveraged(Response h, double omega) {
    Complex sum = 0.0;
    for (int k = 0; k < 4; ++k) {
        const double theta = (omega - 2.0 * kPi * k) / 4.0;
        Complex boxcar = 0.0;
        for (int m = 0; m < 4; ++m)
            boxcar += std::polar(1.0, -m * theta);
        sum += std::norm(boxcar) * h(theta);
    }
    return sum / 16.0;
}

// Steady-state complex gain of a mono path at an integer frequency: one second of a sine
// after a settling period, compared bin by bin with the input.
template <typename Process>
Complex measuredGain(Process process, double frequency, int rate, int settling = 8192) {
    const double omega = 2.0 * kPi * frequency / rate;
    Complex in = 0.0, out = 0.0;
    for (int n = 0; n < settling + rate; ++n) {
        const float x = static_cast<float>(0.5 * std::sin(omega * n));
        const float y = process(x);
        if (n < settling) continue;
        const Complex basis = std::polar(1.0, -omega * n);
        in += static_cast<double>(x) * basis;
        out += static_cast<double>(y) * basis;
    }
    return out / in;
}

} // namespace orvane::test
