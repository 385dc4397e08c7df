// SPDX-License-Identifier: GPL-3.0-or-later
// The processing thread against a host thread that changes everything it can, both through the
// built module. Output must stay finite and limited throughout; the ThreadSanitizer build runs
// this same test to prove the two threads share nothing but single atomic words.
#include "engine/TestEffect.h"
#include "midi/MidiEvents.h"
#include "platform/Preferences.h"
#include "platform/ScriptedDialogs.h"
#include "prefs/TempConfig.h"
#include "tools/testhost/TestHost.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

using orvane::testhost::Plugin;

constexpr int kMaxBlock = 1024;
constexpr auto kDuration = std::chrono::milliseconds(1500);

class Concurrency : public TempConfig {};

// What a host and a user do on the dispatcher thread, one step at a time.
void hostStep(Plugin& plugin, std::mt19937& random, std::vector<char>& chunk) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    switch (pick(8)) {
    case 0:
        plugin.setParameter(pick(130) - 1, static_cast<float>(pick(1001)) / 1000.0f);
        break;
    case 1:
        plugin.dispatch(effSetProgram, 0, 0);
        break;
    case 2: {
        void* data = nullptr;
        const auto size = plugin.dispatch(effGetChunk, pick(2), 0, &data);
        if (size > 0) chunk.assign(static_cast<char*>(data), static_cast<char*>(data) + size);
        break;
    }
    case 3:
        if (!chunk.empty())
            plugin.dispatch(effSetChunk, pick(2), static_cast<VstIntPtr>(chunk.size()),
                            chunk.data());
        break;
    case 4: {
        static const float rates[] = {8000, 22050, 44100, 48000, 96000, 192000, 768000};
        plugin.dispatch(effSetSampleRate, 0, 0, nullptr, rates[pick(7)]);
        break;
    }
    case 5:
        plugin.dispatch(effSetBlockSize, 0, 1 << pick(13));
        break;
    case 6:
        plugin.dispatch(effMainsChanged, 0, 0);
        plugin.dispatch(effMainsChanged, 0, 1);
        break;
    default: {
        char text[256];
        plugin.dispatch(effGetParamDisplay, pick(128), 0, text);
        plugin.dispatch(effGetProgramName, 0, 0, text);
        break;
    }
    }
}

TEST_F(Concurrency, ProcessingWhileTheHostChangesEverything) {
    // Controllers bound to a sound parameter and to the program reload, taken over softly;
    // program changes over MIDI load factory programs on the processing thread.
    setMidiCC(1, 3);
    setMidiCC(2, 127);
    saveStringToPrefs("Capture", "Y");
    saveStringToPrefs("MidiPreset", "Y");
    std::string error;
    auto plugin = Plugin::load(orvane::testhost::builtPluginPath(),
                               {"Prop Concurrency", "Concurrency Host"}, &error);
    ASSERT_TRUE(plugin) << error;
    plugin->start(44100, kMaxBlock);

    std::atomic<bool> done{false};
    std::atomic<long> badSamples{0};
    std::thread audio([&] {
        std::mt19937 random(2);
        std::vector<float> inL(kMaxBlock), inR(kMaxBlock), outL(kMaxBlock), outR(kMaxBlock);
        float* inputs[] = {inL.data(), inR.data()};
        float* outputs[] = {outL.data(), outR.data()};
        for (long block = 0; !done; ++block) {
            const int frames = static_cast<int>(random() % kMaxBlock) + 1;
            for (int i = 0; i < frames; ++i)
                inL[i] = inR[i] = ((i + block) & 16) ? 0.9f : -0.9f;
            if (block % 4 == 0)
                plugin->sendEvents({controlChange(1, static_cast<int>(random() % 128)),
                                    controlChange(2, static_cast<int>(random() % 128), 3),
                                    programChange(static_cast<int>(random() % 9), 5)});
            plugin->process(inputs, outputs, frames);
            for (int i = 0; i < frames; ++i)
                if (!(std::fabs(outL[i]) <= 0.999f && std::fabs(outR[i]) <= 0.999f)) ++badSamples;
        }
    });

    std::mt19937 random(1);
    std::vector<char> chunk;
    long steps = 0;
    for (const auto end = std::chrono::steady_clock::now() + kDuration;
         std::chrono::steady_clock::now() < end; ++steps)
        hostStep(*plugin, random, chunk);
    done = true;
    audio.join();

    EXPECT_EQ(badSamples, 0);
    EXPECT_GT(steps, 100);
    for (int i = 0; i < 128; ++i) {
        const float v = plugin->getParameter(i);
        EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << "parameter " << i << " is " << v;
    }
}

// Learning is reached only from the editor, so the effect object is driven directly: the editor's
// thread arms, re-targets, types and clears bindings while controllers arrive on the processing
// thread, which learns them and leaves their disk writes to the editor's next idle.
TEST_F(Concurrency, LearningWhileControllersArrive) {
    ScopedScriptedDialogs dialogs;
    dialogs.script.typed = "7";
    TestEffect effect;
    std::atomic<bool> done{false};
    std::thread audio([&] {
        std::mt19937 random(4);
        while (!done)
            effect.deliver({controlChange(static_cast<int>(random() % 128),
                                          static_cast<int>(random() % 128))});
    });
    std::mt19937 random(3);
    for (const auto end = std::chrono::steady_clock::now() + kDuration / 3;
         std::chrono::steady_clock::now() < end;) {
        const int parameter = static_cast<int>(random() % 12);
        switch (random() % 5) {
        case 0:
        case 1:
            effect.setMidiLatch(parameter, true);
            break;
        case 2:
            effect.setMidiLatch(parameter, false);
            break;
        case 3:
            effect.setMidiCCNum(parameter);
            break;
        default:
            effect.dispatcher(effEditIdle, 0, 0, nullptr, 0);
            break;
        }
    }
    done = true;
    audio.join();
    effect.dispatcher(effEditIdle, 0, 0, nullptr, 0);
    // Memory and disk may part only if both threads bind one controller at the same instant.
    for (int c = 0; c < 128; ++c) {
        const int inMemory = effect.ccToParam[c], onDisk = getMidiCC(c);
        EXPECT_TRUE(inMemory >= 0 && inMemory < 12 && onDisk >= 0 && onDisk < 12) << c;
    }
}

} // namespace
