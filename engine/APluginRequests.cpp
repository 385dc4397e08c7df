// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's answers to Orvane's own format adapters (engine/VendorCodes.h).
#include "engine/APlugin.h"

#include <cmath>
#include <cstring>

namespace {

bool isParameter(VstIntPtr index) {
    return index >= 0 && index < kNumParams;
}

} // namespace

bool APlugin::answerAdapter(VstInt32 code, VstIntPtr value, void* ptr, float opt,
                            VstIntPtr& answer) {
    answer = 0;
    const int index = isParameter(value) ? static_cast<int>(value) : -1;
    switch (code) {
    case kTextEntryCode:
        answer = ptr && enterText(index, static_cast<const char*>(ptr)) ? 1 : 0;
        return true;
    case kStateChunkCode:
        // The chunk and its restore exactly as a chunk host has them (a bank chunk).
        if (!ptr) return true;
        if (value == 0) {
            serveChunk(bankChunkBuffer);
            *static_cast<void**>(ptr) = bankChunkBuffer;
            answer = kChunkSize;
        } else if (value == kChunkSize) {
            applyChunk(static_cast<const unsigned char*>(ptr), bankChunkBuffer);
            answer = 1;
        }
        return true;
    case kDisplayTextCode: {
        if (!ptr || index < 0) return true;
        char text[kVstMaxParamStrLen * 4];
        displayText(index, std::isfinite(opt) ? std::fmin(std::fmax(opt, 0.0f), 1.0f) : 0.0f, text);
        std::memcpy(ptr, text, sizeof text);
        answer = 1;
        return true;
    }
    case kTextValueCode: {
        auto* request = static_cast<TextValueRequest*>(ptr);
        answer = request && textValue(index, request->text, request->value) ? 1 : 0;
        return true;
    }
    case kFactoryProgramCode:
        if (value == -1) {
            answer = factoryIndex;
        } else if (value >= 0 && value < kNumFactoryPrograms) {
            setDemoProgram(static_cast<int>(value));
            editorResume();
            answer = 1;
        }
        return true;
    case kEditorConnectionCode:
        answer = ownEditor && isEditorOpen() ? ownEditor->connectionFd() : -1;
        return true;
    default:
        return false;
    }
}
