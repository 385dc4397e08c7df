// SPDX-License-Identifier: GPL-3.0-or-later
// A small stereo effect (gain and a tone filter) that carries, on request, one of the faults the
// validator exists to catch. ORVANE_FAULT names the fault; unset, the effect is clean.
#include "host/AudioEffectX.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace {

enum class Fault {
    kNone,
    kNullPointer, // writes through the pointer of effVendorSpecific without looking at it
    kLongText,    // display texts longer than any host buffer
    kChunk,       // uninitialised bytes in its chunk
    kNonFinite,   // lets NaN into its filter state
    kOutOfBounds, // writes one sample past the output buffer
    kBlockSize,   // smooths its gain once per block
    kAllocation,  // allocates a scratch buffer in processReplacing
    kLock,        // takes a lock in processReplacing
    kFile,        // writes a log line from processReplacing
    kRace,        // recomputes its gain in place, visible to the processing thread
    kSharedState, // keeps its filter state in a global
    kLeak,        // never frees a buffer per instance
    kThread,      // starts a thread per instance that never ends
};

Fault faultFromEnvironment() {
    const char* name = std::getenv("ORVANE_FAULT");
    const std::string text = name ? name : "";
    const std::pair<const char*, Fault> names[] = {{"null-pointer", Fault::kNullPointer},
                                                   {"long-text", Fault::kLongText},
                                                   {"chunk", Fault::kChunk},
                                                   {"non-finite", Fault::kNonFinite},
                                                   {"out-of-bounds", Fault::kOutOfBounds},
                                                   {"block-size", Fault::kBlockSize},
                                                   {"allocation", Fault::kAllocation},
                                                   {"lock", Fault::kLock},
                                                   {"file", Fault::kFile},
                                                   {"race", Fault::kRace},
                                                   {"shared-state", Fault::kSharedState},
                                                   {"leak", Fault::kLeak},
                                                   {"thread", Fault::kThread}};
    for (const auto& [key, fault] : names)
        if (text == key) return fault;
    return Fault::kNone;
}

float sharedFilterState[2];
std::mutex processingLock;

class FaultyEffect : public AudioEffectX {
public:
    explicit FaultyEffect(audioMasterCallback audioMaster)
        : AudioEffectX(audioMaster, 1, 2), fault(faultFromEnvironment()) {
        setNumInputs(2);
        setNumOutputs(2);
        canProcessReplacing(true);
        programsAreChunks(true);
        setUniqueID(0x4F564654);
        if (fault == Fault::kLeak) {
            leaked = new char[64 * 1024];
            std::memset(leaked, 1, 64 * 1024);
        }
        if (fault == Fault::kThread) {
            // Pinned in memory, so the thread outlives the instance rather than its code.
            Dl_info self;
            if (dladdr(reinterpret_cast<void*>(&faultFromEnvironment), &self))
                dlopen(self.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            std::thread([] {
                for (;;)
                    std::this_thread::sleep_for(std::chrono::hours(1));
            }).detach();
        }
        filterState = fault == Fault::kSharedState ? sharedFilterState : ownFilterState;
        if (fault == Fault::kChunk) chunkWithPadding = new unsigned char[16];
    }
    ~FaultyEffect() override {
        if (fault != Fault::kLeak) delete[] leaked;
        delete[] chunkWithPadding;
    }

    void setParameter(VstInt32 index, float value) override {
        if (index < 0 || index > 1 || !std::isfinite(value)) return;
        value = std::fmin(std::fmax(value, 0.0f), 1.0f);
        values[index] = value;
        if (index != 0) return;
        if (fault == Fault::kRace) {
            gain.store(NAN, std::memory_order_relaxed);
            for (volatile int spin = 0; spin < 200000; spin = spin + 1) {
            }
        }
        gain.store(2.0f * value, std::memory_order_relaxed);
    }
    float getParameter(VstInt32 index) override {
        return index >= 0 && index <= 1 ? values[index].load(std::memory_order_relaxed) : 0.0f;
    }
    void getParameterName(VstInt32 index, char* text) override {
        if (text) std::strcpy(text, index == 0 ? "Gain" : index == 1 ? "Tone" : "");
    }
    void getParameterDisplay(VstInt32 index, char* text) override {
        if (!text) return;
        if (fault == Fault::kLongText) {
            std::memset(text, 'x', 100);
            text[100] = 0;
            return;
        }
        std::snprintf(text, 64, "%.2f", static_cast<double>(getParameter(index)));
    }
    bool getEffectName(char* name) override {
        if (name) std::strcpy(name, "Faulty");
        return name != nullptr;
    }
    VstIntPtr vendorSpecific(VstInt32, VstIntPtr, void* ptr, float) override {
        if (fault != Fault::kNullPointer) return 0;
        *static_cast<volatile char*>(ptr) = 0;
        return 0;
    }

    VstInt32 getChunk(void** data, bool) override {
        if (!data) return 0;
        const float state[2] = {values[0], values[1]};
        if (fault == Fault::kChunk) {
            std::memcpy(chunkWithPadding, state, sizeof state);
            *data = chunkWithPadding;
            return 16;
        }
        std::memcpy(chunk, state, sizeof state);
        *data = chunk;
        return sizeof chunk;
    }
    VstInt32 setChunk(void* data, VstInt32 size, bool) override {
        if (!data || size < static_cast<VstInt32>(sizeof chunk)) return 0;
        float state[2];
        std::memcpy(state, data, sizeof state);
        for (int i = 0; i < 2; ++i)
            setParameter(i, state[i]);
        return 1;
    }

    VstInt32 processEvents(VstEvents*) override { return 1; }

    void processReplacing(float** inputs, float** outputs, VstInt32 frames) override {
        std::vector<float> scratch;
        if (fault == Fault::kAllocation) scratch.resize(static_cast<size_t>(frames));
        std::unique_lock<std::mutex> locked(processingLock, std::defer_lock);
        if (fault == Fault::kLock) locked.lock();
        if (fault == Fault::kFile) std::fputs("processing\n", stderr);
        if (fault == Fault::kBlockSize) smoothedGain += 0.5f * (gain - smoothedGain);
        const float blockGain = fault == Fault::kBlockSize ? smoothedGain : 0.0f;
        const float k = 0.05f + 0.9f * values[1].load(std::memory_order_relaxed);
        for (VstInt32 i = 0; i < frames; ++i)
            for (int ch = 0; ch < 2; ++ch) {
                float x = inputs[ch][i];
                if (!std::isfinite(x) && fault != Fault::kNonFinite) x = 0.0f;
                filterState[ch] += k * (x - filterState[ch]);
                const float g =
                    fault == Fault::kBlockSize ? blockGain : gain.load(std::memory_order_relaxed);
                outputs[ch][i] = g * (0.5f * x + 0.5f * filterState[ch]);
            }
        if (fault == Fault::kOutOfBounds) outputs[0][frames] = 0.0f;
    }

private:
    const Fault fault;
    std::atomic<float> values[2] = {0.5f, 0.5f};
    std::atomic<float> gain{1.0f};
    float smoothedGain = 0.0f;
    float ownFilterState[2] = {};
    float* filterState;
    unsigned char chunk[8] = {};
    unsigned char* chunkWithPadding = nullptr;
    char* leaked = nullptr;
};

} // namespace

extern "C" __attribute__((visibility("default"))) AEffect*
VSTPluginMain(audioMasterCallback audioMaster) {
    if (!audioMaster || !audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0)) return nullptr;
    auto* effect = new (std::nothrow) FaultyEffect(audioMaster);
    return effect ? effect->getAeffect() : nullptr;
}
