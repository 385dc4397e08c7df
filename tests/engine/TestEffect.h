// The effect object driven directly, for operations only the editor reaches.
#pragma once

#include "engine/APlugin.h"

struct TestEffect : APlugin {
    TestEffect() : APlugin(nullptr) {}
    using APlugin::programRecord;
};
