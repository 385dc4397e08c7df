// SPDX-License-Identifier: GPL-3.0-or-later
// Per-user settings shared by every instance in every host process: a GLib key file named after
// the domain "com.HKZX.Orvane" in $XDG_CONFIG_HOME (default ~/.config), strings and 32-bit
// integers kept in separate groups. Every write re-reads the file under an advisory lock, changes
// only its own key and replaces the file atomically.
#pragma once

// Dispatcher and editor threads only: these take a lock and may touch the disk. Each first
// writes any binding learnt on the processing thread (see deferMidiCC).

// Copies the stored string, cut to capacity bytes including the terminator. Absent, or stored
// as an integer: out becomes empty.
void loadStringFromPrefs(const char* key, char* out, int capacity);
void saveStringToPrefs(const char* key, const char* value);
// The stored integer; 0 when absent or stored as a string.
int loadIntFromPrefs(const char* key);
void saveIntToPrefs(const char* key, int value);

// The two boolean read kinds: exactly "Y" (absent is off), anything but exactly "N" (absent is
// on).
bool prefIsYes(const char* key);
bool prefIsNotNo(const char* key);

// Parameter bound to a MIDI controller 0..127 (0 = none), under the controller's decimal number.
int getMidiCC(int controller);
void setMidiCC(int controller, int parameter);
// All 128 controllers at once, in one read or one write.
void getAllMidiCC(int (&parameters)[128]);
void setAllMidiCC(const int (&parameters)[128]);

// Writes the bindings deferred by the processing thread now; cheap when there are none. Called
// when an effect closes so that no learnt binding is lost.
void flushDeferredMidiCC();

// Processing thread: no lock, no allocation, no I/O.

// Whether "Capture" is exactly "Y" as this process last read or wrote it.
bool captureEnabledInMemory();
// Records a binding learnt over MIDI; the next call on another thread writes it to disk.
void deferMidiCC(int controller, int parameter);
