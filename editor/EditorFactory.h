// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's editor as the plug-in modules attach it (an EditorFactory).
#pragma once

#include "engine/EffectEditor.h"

EffectEditor* createEditor(APlugin& effect);
