// SPDX-License-Identifier: GPL-3.0-or-later
// The ECS controller-assignment file: 128 decimal numbers, number k being the parameter bound to
// MIDI controller k (0 = none), written one "%d\n" line each.
#pragma once

#include <cstddef>
#include <string>

constexpr int kEcsEntries = 128;
// Far above any well-formed file; a larger one is refused unread.
constexpr std::size_t kEcsMaxBytes = 64 * 1024;

// True when text holds exactly 128 numbers in 0..127 separated by white space, with nothing but
// white space around them; bindings is written only then.
bool parseEcs(const char* text, std::size_t length, int (&bindings)[kEcsEntries]);
std::string formatEcs(const int (&bindings)[kEcsEntries]);
// Reads and parses the file at path; false for any failure.
bool readEcsFile(const char* path, int (&bindings)[kEcsEntries]);
// Replaces the file at path through a temporary file, so a failure leaves any old file intact.
bool writeEcsFile(const char* path, const int (&bindings)[kEcsEntries]);
