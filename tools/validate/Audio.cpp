// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/validate/Audio.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

namespace orvane::validate {

void Stereo::append(const Stereo& other) {
    for (int ch = 0; ch < 2; ++ch)
        channel[ch].insert(channel[ch].end(), other.channel[ch].begin(), other.channel[ch].end());
}

Stereo testSignal(int frames, float rate, std::uint32_t seed) {
    Stereo signal(frames);
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> noise(-0.1f, 0.1f);
    double phase[2] = {0.0, 0.25};
    for (int i = 0; i < frames; ++i) {
        // A slow sweep over the audible band, so every filter in the plug-in is exercised.
        const double sweep = 40.0 * std::pow(400.0, 0.5 + 0.5 * std::sin(i / (0.7 * rate)));
        for (int ch = 0; ch < 2; ++ch) {
            phase[ch] += std::min(sweep * (1.0 + 0.01 * ch), 0.45 * rate) / rate;
            signal.channel[ch][i] =
                static_cast<float>(0.25 * std::sin(2.0 * M_PI * phase[ch])) + noise(random);
        }
    }
    return signal;
}

Stereo render(testhost::Plugin& plugin, const Stereo& input, const std::function<int()>& nextBlock,
              bool inPlace) {
    Stereo source = input;
    Stereo output(input.frames());
    for (int done = 0; done < input.frames();) {
        const int frames = std::min(nextBlock(), input.frames() - done);
        float* in[2] = {source.channel[0].data() + done, source.channel[1].data() + done};
        float* out[2] = {output.channel[0].data() + done, output.channel[1].data() + done};
        if (inPlace) {
            for (int ch = 0; ch < 2; ++ch)
                std::memcpy(out[ch], in[ch], sizeof(float) * static_cast<size_t>(frames));
            plugin.process(out, out, frames);
        } else {
            plugin.process(in, out, frames);
        }
        done += frames;
    }
    return output;
}

Stereo renderFixed(testhost::Plugin& plugin, const Stereo& input, int blockSize) {
    return render(plugin, input, [blockSize] { return blockSize; });
}

int countDifferences(const Stereo& a, const Stereo& b, int* first) {
    int count = 0;
    if (first) *first = -1;
    const int frames = std::min(a.frames(), b.frames());
    for (int i = 0; i < frames; ++i)
        for (int ch = 0; ch < 2; ++ch)
            if (std::memcmp(&a.channel[ch][i], &b.channel[ch][i], sizeof(float)) != 0) {
                if (first && *first < 0) *first = i;
                ++count;
            }
    return count + 2 * std::abs(a.frames() - b.frames());
}

std::string outOfBounds(const Stereo& signal, float limit) {
    for (int i = 0; i < signal.frames(); ++i)
        for (int ch = 0; ch < 2; ++ch) {
            const float value = signal.channel[ch][i];
            if (!std::isfinite(value) || std::fabs(value) > limit)
                return "sample " + std::to_string(i) + (ch ? " right" : " left") + " is " +
                       std::to_string(value);
        }
    return {};
}

std::string renderProblem(testhost::Plugin& plugin, int frames, float limit, std::uint32_t seed) {
    return outOfBounds(renderFixed(plugin, testSignal(frames, 44100, seed), 512), limit);
}

double rms(const Stereo& signal, int from, int to) {
    double sum = 0.0;
    for (int i = from; i < to; ++i)
        for (int ch = 0; ch < 2; ++ch)
            sum += double(signal.channel[ch][i]) * signal.channel[ch][i];
    return to > from ? std::sqrt(sum / (2.0 * (to - from))) : 0.0;
}

} // namespace orvane::validate
