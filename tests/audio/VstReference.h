// SPDX-License-Identifier: GPL-3.0-or-later
// The VST 2.4 module as the reference another format must match bit for bit: its blocks split
// where the host sets a parameter, MIDI at its offset inside the block.
#pragma once

#include "midi/MidiEvents.h"
#include "tools/testhost/TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

struct StereoSignal {
    std::vector<float> left, right;
};

// A parameter a host sets before the sample at frame, and a MIDI message it sends there.
struct ParameterAt {
    int frame;
    int parameter;
    float normalised;
};

struct MidiAt {
    int frame;
    std::uint8_t status, first, second;
};

// What a VST 2.4 host sets of changes that carry a frame, a parameter and its normalised value.
template <typename Change>
std::vector<ParameterAt> parametersOf(const std::vector<Change>& changes) {
    std::vector<ParameterAt> parameters;
    for (const Change& c : changes)
        parameters.push_back({c.frame, c.parameter, c.normalised});
    return parameters;
}

// Where blocks of irregular sizes start.
inline std::vector<int> irregularStarts(int frames) {
    std::vector<int> starts;
    for (int at = 0; at < frames; at += 333 + (at % 7) * 101)
        starts.push_back(at);
    return starts;
}

// The starts with a block also starting at each of the frames, in order, each once.
inline std::vector<int> splitAt(std::vector<int> starts, const std::vector<int>& frames) {
    starts.insert(starts.end(), frames.begin(), frames.end());
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    return starts;
}

// The frame of each of a list of things that happen at a frame.
template <typename AtFrame> std::vector<int> framesOf(const std::vector<AtFrame>& list) {
    std::vector<int> frames;
    for (const AtFrame& at : list)
        frames.push_back(at.frame);
    return frames;
}

// block(begin, end) for each block in order; the last ends at frames.
template <typename Block>
void forEachBlock(const std::vector<int>& starts, int frames, Block&& block) {
    for (std::size_t b = 0; b < starts.size(); ++b)
        block(starts[b], b + 1 < starts.size() ? starts[b + 1] : frames);
}

// The VST 2.4 module over in, in blocks from starts split at each parameter's frame. MIDI goes
// one frame late, as the effect acts on offset d before sample d - 1.
inline StereoSignal renderReference(orvane::testhost::Plugin& plugin, const StereoSignal& in,
                                    const std::vector<int>& starts,
                                    const std::vector<ParameterAt>& parameters,
                                    const std::vector<MidiAt>& midi = {}) {
    const int length = static_cast<int>(in.left.size());
    StereoSignal out{std::vector<float>(length), std::vector<float>(length)};
    forEachBlock(splitAt(starts, framesOf(parameters)), length, [&](int begin, int end) {
        for (const ParameterAt& p : parameters)
            if (p.frame == begin) plugin.setParameter(p.parameter, p.normalised);
        std::vector<VstMidiEvent> events;
        for (const MidiAt& m : midi)
            if (m.frame >= begin && m.frame < end)
                events.push_back(midiEvent(m.status, m.first, m.second, m.frame - begin + 1));
        if (!events.empty()) plugin.sendEvents(events);
        float* inputs[] = {const_cast<float*>(&in.left[begin]),
                           const_cast<float*>(&in.right[begin])};
        float* outputs[] = {&out.left[begin], &out.right[begin]};
        plugin.process(inputs, outputs, end - begin);
    });
    return out;
}

// Bit for bit; a failure names the first differing sample.
inline void expectIdentical(const StereoSignal& a, const StereoSignal& b) {
    ASSERT_EQ(a.left.size(), b.left.size());
    ASSERT_EQ(a.right.size(), b.right.size());
    for (std::size_t i = 0; i < a.left.size(); ++i)
        if (std::memcmp(&a.left[i], &b.left[i], sizeof(float)) != 0 ||
            std::memcmp(&a.right[i], &b.right[i], sizeof(float)) != 0) {
            ADD_FAILURE() << "first difference at sample " << i;
            return;
        }
}
