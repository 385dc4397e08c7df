// SPDX-License-Identifier: GPL-3.0-or-later
// The validator's test groups; each runs its checks through the report.
#pragma once

#include "tools/validate/Check.h"
#include "tools/validate/Settings.h"

namespace orvane::validate {

void entryGroup(Report& report, const Settings& settings);
void parameterGroup(Report& report, const Settings& settings);
void stateGroup(Report& report, const Settings& settings);
void processingGroup(Report& report, const Settings& settings);
void realtimeGroup(Report& report, const Settings& settings);
void concurrencyGroup(Report& report, const Settings& settings);
void instancesGroup(Report& report, const Settings& settings);

// For a VST3 bundle.
void vst3ProcessingGroup(Report& report, const Settings& settings);
void vst3StateGroup(Report& report, const Settings& settings);
void vst3RealtimeGroup(Report& report, const Settings& settings);
void vst3InstancesGroup(Report& report, const Settings& settings);

// For a CLAP module (its path ends in ".clap").
void clapProcessingGroup(Report& report, const Settings& settings);
void clapStateGroup(Report& report, const Settings& settings);
void clapRealtimeGroup(Report& report, const Settings& settings);
void clapInstancesGroup(Report& report, const Settings& settings);

} // namespace orvane::validate
