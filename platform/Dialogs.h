// SPDX-License-Identifier: GPL-3.0-or-later
// Modal dialogs of the effect. Each call waits until the user answers, so callers run them on a
// DialogTask's thread; window titles carry "Orvane". Null text arguments read as empty.
#pragma once

// Size in bytes, terminating NUL included, of the folderOut and pathOut buffers of the file
// dialogs. A chosen path that does not fit counts as no choice rather than being cut.
constexpr int kDialogPathCapacity = 1024;

// Asks a one-line question with text as the field's initial content. OK: text receives the
// field's content, cut to capacity - 1 bytes at a UTF-8 character boundary. Cancel: text becomes
// empty. text must hold capacity bytes (256 for a controller number, 512 for value entry).
void runInputWindow(const char* title, const char* label, char* text, int capacity);
// The same question with label first.
void inputBox(const char* label, const char* title, char* text, int capacity);

// Shows message with one OK button.
void runMessageWindow(const char* title, const char* message);
// runMessageWindow("Orvane", message); kind is accepted and ignored.
void messageBox(const char* message, int kind);

// Lets the user choose one existing file. pathOut receives its full path and folderOut the
// folder containing it (no trailing "/", except "/" itself). No choice: neither is written.
// A filter such as "*.ecs" offers only files with the text after its first "." as extension.
// buttonText and extraName are accepted and have no effect.
void fileSelectLoadDir(const char* title, const char* startFolder, const char* buttonText,
                       const char* filter, const char* extraName, char* folderOut, char* pathOut);
// Lets the user choose a file name to save to, proposing defaultName; outputs as above.
void fileSelectSaveDir(const char* title, const char* startFolder, const char* buttonText,
                       const char* defaultName, char* folderOut, char* pathOut);
