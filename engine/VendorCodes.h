// SPDX-License-Identifier: GPL-3.0-or-later
// effVendorSpecific requests of Orvane's own adapters and tools (the index argument selects
// one). Hosts that do not know them never send them, so the effect behaves for them as before.
#pragma once

#include "host/vst2.h"

// value a parameter index, ptr a text: the typed entry takes the text (answers 1) or not (0).
constexpr VstInt32 kTextEntryCode = vstFourCC('O', 'r', 'T', 'x');
// The state chunk for a format adapter, whatever host families the effect recognises.
// value 0: ptr is a void** that receives the chunk, answers its size. value kChunkSize: ptr is
// a chunk to restore, answers 1 when it was taken.
constexpr VstInt32 kStateChunkCode = vstFourCC('O', 'r', 'C', 'k');
// value a parameter index, opt a normalised value, ptr a char[64]: the readout's words for
// that value, without changing the effect. Answers 1.
constexpr VstInt32 kDisplayTextCode = vstFourCC('O', 'r', 'D', 't');
// value a parameter index, ptr a TextValueRequest: the value the typed entry would store for
// the text, without changing the effect. Answers 1 when it takes the text.
constexpr VstInt32 kTextValueCode = vstFourCC('O', 'r', 'T', 'v');
struct TextValueRequest {
    const char* text;
    float value;
};
// value n >= 0 loads factory program n as the program menu does; value -1 answers the factory
// program the current one comes from.
constexpr VstInt32 kFactoryProgramCode = vstFourCC('O', 'r', 'F', 'p');
// Answers the file descriptor of the open editor's X connection, or -1.
constexpr VstInt32 kEditorConnectionCode = vstFourCC('O', 'r', 'X', 'c');
