// SPDX-License-Identifier: GPL-3.0-or-later
// An effect made through the module's own entry point for a host of a chosen identity (by default
// one that saves through chunks, so chunk calls are live), and the checks the targets apply.
#pragma once

#include "host/vst2.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cmath>
#include <cstring>

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace fuzz {

// The host the next effect is made for, by vendor and product; the effect asks once, while it is
// being made.
struct HostIdentity {
    const char* vendor;
    const char* product;
};
// A vendor whose hosts save program and bank chunks.
constexpr HostIdentity kChunkVendor = {"Prop Fuzz", "Fuzz Host"};
inline HostIdentity identity = kChunkVendor;

inline VstIntPtr fuzzHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterGetVendorString:
        std::strcpy(static_cast<char*>(ptr), identity.vendor);
        return 1;
    case audioMasterGetProductString:
        std::strcpy(static_cast<char*>(ptr), identity.product);
        return 1;
    default:
        return 0;
    }
}

class Effect {
public:
    explicit Effect(HostIdentity host = kChunkVendor)
        : effect((identity = host, VSTPluginMain(&fuzzHost))) {
        FUZZ_CHECK(effect != nullptr);
        dispatch(effOpen);
        dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        dispatch(effSetBlockSize, 0, kFrames);
        dispatch(effMainsChanged, 0, 1);
    }
    ~Effect() { dispatch(effClose); }
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    template <typename T> T& object() { return *static_cast<T*>(effect->object); }
    void sendEvents(VstEvents* events) { dispatch(effProcessEvents, 0, 0, events); }

    // Every parameter stays a finite value in 0..1 whatever was fed in.
    void checkParameters() {
        for (int i = 0; i < 128; ++i) {
            const float v = effect->getParameter(effect, i);
            FUZZ_CHECK(v >= 0.0f && v <= 1.0f);
        }
    }

    // One block of a loud square wave comes out finite and within the limit.
    void checkProcessing() {
        float left[kFrames], right[kFrames], outLeft[kFrames], outRight[kFrames];
        for (int i = 0; i < kFrames; ++i)
            left[i] = right[i] = (i & 8) ? 1.0f : -1.0f;
        float* inputs[2] = {left, right};
        float* outputs[2] = {outLeft, outRight};
        effect->processReplacing(effect, inputs, outputs, kFrames);
        for (int i = 0; i < kFrames; ++i)
            FUZZ_CHECK(std::fabs(outLeft[i]) <= 0.999f && std::fabs(outRight[i]) <= 0.999f);
    }

private:
    static constexpr int kFrames = 64;
    AEffect* effect;
};

} // namespace fuzz
