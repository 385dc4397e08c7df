// SPDX-License-Identifier: GPL-3.0-or-later
// The 544-byte state chunk served to the host families that save through chunks.
#include "engine/APlugin.h"

#include "platform/TextUtils.h"

#include <cstring>

namespace {

constexpr int kValueBytes = kNumParams * static_cast<int>(sizeof(float));
constexpr int kNameBytes = kChunkSize - kValueBytes;
static_assert(kNameBytes == 32, "chunk layout: 128 floats then a 32-byte name");

bool startsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

} // namespace

void APlugin::detectChunkHost() {
    hostPropVendor = hostMaschine = hostKore = hostVantro = false;
    // Hosts may write up to 64 characters; leave room so the text is always terminated.
    char product[256] = {};
    char vendor[256] = {};
    getHostProductString(product);
    getHostVendorString(vendor);
    product[sizeof product - 1] = 0;
    vendor[sizeof vendor - 1] = 0;
    upperCase(product);
    upperCase(vendor);
    hostKore = startsWith(product, "KORE");
    hostMaschine = std::strcmp(product, "MASCHINE HOST") == 0;
    hostVantro = std::strcmp(product, "HK-VANTRO") == 0;
    hostPropVendor = startsWith(vendor, "PROP");
    programsAreChunks(hostKore || hostMaschine || hostVantro || hostPropVendor);
}

VstInt32 APlugin::getChunk(void** data, bool isPreset) {
    if (!data) return 0;
    if (!(hostMaschine || hostKore || hostVantro || hostPropVendor)) return 0;
    unsigned char* staging;
    if (hostMaschine) {
        if (isPreset) return 0;
        staging = programChunkBuffer;
    } else if (!isPreset) {
        staging = bankChunkBuffer;
    } else if (hostPropVendor) {
        staging = programChunkBuffer;
    } else {
        return 0;
    }
    serveChunk(staging);
    *data = staging;
    return kChunkSize;
}

void APlugin::serveChunk(unsigned char* staging) {
    for (int i = 0; i < kNumParams; ++i) {
        const float value = programRecord.values[i];
        std::memcpy(staging + i * sizeof(float), &value, sizeof value);
    }
    std::memset(staging + kValueBytes, 0, kNameBytes);
    std::memcpy(staging + kValueBytes, programRecord.name, strnlen(programRecord.name, 31));
}

VstInt32 APlugin::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
    if (!data || byteSize < kChunkSize) return 0;
    if (!(hostMaschine || hostKore || hostVantro || hostPropVendor)) return 1;
    if (hostMaschine) {
        if (!isPreset) applyChunk(static_cast<const unsigned char*>(data), programChunkBuffer);
        return 1;
    }
    if (!isPreset) {
        applyChunk(static_cast<const unsigned char*>(data), bankChunkBuffer);
        return 1;
    }
    if (!hostPropVendor) return 0;
    applyChunk(static_cast<const unsigned char*>(data), programChunkBuffer);
    return 1;
}

// Loads the program the chunk's name slots select, then restores every value the user saved
// on top of it, so the edit/recall comparison still refers to that factory program.
void APlugin::applyChunk(const unsigned char* chunk, unsigned char* staging) {
    std::memcpy(staging, chunk, kChunkSize);
    float saved[kNumParams];
    std::memcpy(saved, staging, kValueBytes);
    for (int i = 0; i < kNumParams; ++i)
        programRecord.values[i] = saved[i];
    const char* name = reinterpret_cast<const char*>(staging + kValueBytes);
    const size_t nameLength = strnlen(name, sizeof programRecord.name - 1);
    std::memcpy(programRecord.name, name, nameLength);
    programRecord.name[nameLength] = 0;
    setProgram(0);
    // Slot 127 is an action that always reads 0: it is not restored.
    for (int i = 0; i < kReloadProgram; ++i)
        setParameter(i, saved[i]);
    resetCapture();
}
