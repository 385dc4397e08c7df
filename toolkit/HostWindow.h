// SPDX-License-Identifier: GPL-3.0-or-later
// The host's window as the desktop sees it, for dialogs that should stay above it.
#pragma once

// The top-level window (a child of the root window) that holds window, an X window id; 0 when
// there is no X display or window is not on it.
unsigned long topLevelWindowOf(unsigned long window);
