// SPDX-License-Identifier: GPL-3.0-or-later
// The per-sample audio path and its coefficient schedule.
#include "engine/APlugin.h"


#include <cmath>
#include <xmmintrin.h>

namespace {

constexpr float kLimit = 0.999f;
constexpr unsigned kMxcsrFlushToZero = 0x8000;
constexpr unsigned kMxcsrDenormalsAreZero = 0x0040;
// Every exception masked, rounding to nearest: the mode the sound is defined in.
constexpr unsigned kMxcsrDefault = 0x1F80;

// Subnormal states in the recursions would slow x86 down by orders of magnitude; flushing them
// changes nothing in the normal range. A host's own rounding mode or unmasked exceptions must
// not change or interrupt the sound either. The caller's mode is restored on exit.
class DenormalGuard {
public:
    DenormalGuard() : saved(_mm_getcsr()) {
        _mm_setcsr(kMxcsrDefault | kMxcsrFlushToZero | kMxcsrDenormalsAreZero);
    }
    ~DenormalGuard() { _mm_setcsr(saved); }
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
    unsigned saved;
};

// A non-finite sample would poison the recursive filters for good, and so would one so large
// that the stages overflow; either enters as silence. The bound is far above any real signal.
constexpr float kInputCeiling = 1.0e30f;

float saneOrZero(float x) {
    return std::fabs(x) <= kInputCeiling ? x : 0.0f;
}

float limited(float x) {
    if (x > kLimit) return kLimit;
    if (x < -kLimit) return -kLimit;
    return x;
}

float clampUnit(float x) {
    if (x > 1.0f) return 1.0f;
    if (x < -1.0f) return -1.0f;
    return x;
}

} // namespace

void APlugin::setSampleRate(float rate) {
    if (!std::isfinite(rate) || std::trunc(hostRate) == std::trunc(rate)) return;
    hostRate = rate;
    workingRate = rate < 100.0f ? 100.0f : rate;
    requestReset(kReinitBlocks);
}

void APlugin::resetEverything() {
    requestReset(kResetProgram);
}

// Requests keep their order: a reset followed by a re-initialisation leaves fresh blocks, the
// other way round leaves the program's reset in force.
void APlugin::requestReset(PendingReset request) {
    int current = pendingReset.load(std::memory_order_relaxed);
    int next;
    do {
        const bool hasInit =
            current == kReinitBlocks || current == kReinitThenReset || current == kResetThenReinit;
        const bool hasReset =
            current == kResetProgram || current == kReinitThenReset || current == kResetThenReinit;
        if (request == kReinitBlocks)
            next = hasReset ? kResetThenReinit : kReinitBlocks;
        else
            next = hasInit ? kReinitThenReset : kResetProgram;
    } while (!pendingReset.compare_exchange_weak(current, next, std::memory_order_relaxed));
}

void APlugin::applyPendingReset() {
    const int pending = pendingReset.exchange(kNoReset, std::memory_order_relaxed);
    const auto reinit = [this] {
        airFilter.init(workingRate);
        splitFilter.init(workingRate);
    };
    const auto reset = [this] {
        splitFilter.init(workingRate);
        airReset = true;
        setAir();
        setGlobalOften();
        airReset = false;
    };
    switch (pending) {
    case kReinitBlocks:
        reinit();
        break;
    case kResetProgram:
        reset();
        break;
    case kReinitThenReset:
        reinit();
        reset();
        break;
    case kResetThenReinit:
        reset();
        reinit();
        break;
    default:
        break;
    }
}

void APlugin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    if (sampleFrames < 1 || !inputs || !outputs) return;
    float* inL = inputs[0];
    float* inR = inputs[1];
    float* outL = outputs[0];
    float* outR = outputs[1];
    if (!inL || !inR || !outL || !outR) return;
    DenormalGuard guard;
    for (VstInt32 i = 0; i < sampleFrames; ++i)
        runFrame(inL[i], inR[i], outL[i], outR[i]);
}

void APlugin::__processDeprecated(float** inputs, float** outputs, VstInt32 sampleFrames) {
    processReplacing(inputs, outputs, sampleFrames);
}

void APlugin::runFrame(float left, float right, float& outLeft, float& outRight) {
    if (midiPending > 0) processMidi();
    if (pendingReset.load(std::memory_order_relaxed) != kNoReset) applyPendingReset();
    inputPair[0] = saneOrZero(left);
    inputPair[1] = saneOrZero(right);
    outputPair[0] = 0.0f;
    outputPair[1] = 0.0f;
    processSound();
    ++sampleCounter;
    outLeft = outputPair[0];
    outRight = outputPair[1];
}

void APlugin::processSound() {
    const std::uint32_t c = sampleCounter;
    // The editor re-reads its controls on its own thread; this only asks.
    if (c % 16384 == 0 && editorRefreshPending && isEditorOpen()) {
        editorRefreshPending = false;
        ownEditor->requestResume();
    }
    if (c % 4 == 0) setAir();
    if (c % 16 == 0) setGlobalOften();

    float left = inputPair[0];
    float right = inputPair[1];
    if (airOn) airFilter.process(left, right);

    if (splitOn) {
        float lowL = left;
        float lowR = right;
        if (!splitFullRange) splitFilter.processZero(left, right, lowL, lowR);
        float mono;
        switch (getMonoType()) {
        case 0:
            mono = lowL;
            break;
        case 1:
            mono = lowR;
            break;
        case 2:
            mono = clampUnit((lowL + lowR) * 0.5f);
            break;
        default:
            mono = clampUnit((lowL - lowR) * 0.5f);
            break;
        }
        if (splitSolo) {
            left = mono;
            right = mono;
        } else {
            left = left - lowL + mono;
            right = right - lowR + mono;
        }
    }

    left *= mainGain;
    right *= mainGain;

    const bool bypass = paramValues[kBypass] >= 0.5f;
    outputPair[0] = limited(bypass ? inputPair[0] : left);
    outputPair[1] = limited(bypass ? inputPair[1] : right);
    updateVu();
}

void APlugin::setAir() {
    airOn = paramValues[kAirOn] >= 0.5f;
    airFilter.setParameter(paramValues[kAirFrequency], 0.6875f, paramValues[kAirAmount], airReset);
}

void APlugin::setGlobalOften() {
    const float volume = paramValues[kMainVolume];
    mainGain = volume >= 0.001f
                   ? static_cast<float>(std::pow(10.0, (40.0f * volume - 20.0f) / 20.0f))
                   : 0.0f;
    const float octaves = MONO_FREQ_MULT[getMonoSplitRange()];
    splitOn = paramValues[kSplitOn] >= 0.5f;
    splitSolo = paramValues[kSplitSolo] >= 0.5f;
    const float frequency = paramValues[kSplitFrequency];
    splitFullRange = octaves > 5.0f && frequency > 0.99f;
    splitFilter.setFrequency(frequency);
    splitFilter.update(octaves);
}

void APlugin::updateVu() {
    const std::uint32_t c = sampleCounter;
    if (c % 64 != 0) return;
    meterPair[0] = std::fabs(outputPair[0]);
    meterPair[1] = std::fabs(outputPair[1]);
    if (c % 2048 == 0 && isEditorOpen()) ownEditor->setVu(meterPair[0], meterPair[1]);
}
