// SPDX-License-Identifier: GPL-3.0-or-later
// The instances checks, whatever the module's format: it hands over its instances as functions
// that process a block.
#pragma once

#include "tools/validate/Check.h"
#include "tools/validate/Settings.h"

#include <functional>
#include <string>

namespace orvane::validate {

// Processes frames from two input channels into two output channels.
using ProcessBlock = std::function<void(float* const* in, float* const* out, int frames)>;
// Loads and starts an instance at 44100 Hz for blocks of up to 512 frames, held by the function
// it returns; an empty function with error set when it could not.
using StartInstance = std::function<ProcessBlock(std::string& error)>;

// Instances processing together, block by block, render what each renders alone.
Outcome instancesTogether(const Settings& settings, const StartInstance& start);

// Load, use and unload cycles leave no threads, open files or heap behind. cycle runs one and
// returns false with error set when it failed; note adds to what a pass reports.
Outcome loadCycles(const Settings& settings, const std::function<bool(std::string& error)>& cycle,
                   const std::function<std::string()>& note = {});

} // namespace orvane::validate
