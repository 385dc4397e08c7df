// SPDX-License-Identifier: GPL-3.0-or-later
// Everything the editor uses from the toolkit.
#pragma once

#include "toolkit/AEffGUIEditor.h"
#include "toolkit/CAnimKnob.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFontDesc.h"
#include "toolkit/CFrame.h"
#include "toolkit/CKickButton.h"
#include "toolkit/CNewFileSelector.h"
#include "toolkit/COnOffButton.h"
#include "toolkit/COptionMenu.h"
#include "toolkit/CParamDisplay.h"
