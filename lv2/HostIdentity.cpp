#include "lv2/HostIdentity.h"

#include <cstdio>

namespace orvane::lv2 {

bool answerIdentity(VstInt32 opcode, void* ptr, VstIntPtr& answer) {
    const char* text = nullptr;
    switch (opcode) {
    case audioMasterVersion:
        answer = kVstVersion;
        return true;
    case audioMasterGetVendorString:
        text = "Halvick";
        break;
    case audioMasterGetProductString:
        text = "HK-VANTRO";
        break;
    default:
        return false;
    }
    if (ptr) std::snprintf(static_cast<char*>(ptr), kVstMaxVendorStrLen, "%s", text);
    answer = ptr ? 1 : 0;
    return true;
}

} // namespace orvane::lv2
