// SPDX-License-Identifier: GPL-3.0-or-later
// The groups that apply to a CLAP module (its path ends in ".clap").
#pragma once

#include "tools/validate/Check.h"
#include "tools/validate/Settings.h"

namespace orvane::validate {

void clapProcessingGroup(Report& report, const Settings& settings);
void clapStateGroup(Report& report, const Settings& settings);
void clapRealtimeGroup(Report& report, const Settings& settings);
void clapInstancesGroup(Report& report, const Settings& settings);

} // namespace orvane::validate
