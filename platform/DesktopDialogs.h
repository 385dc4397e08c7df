// SPDX-License-Identifier: GPL-3.0-or-later
// Dialogs shown by the desktop's dialog program, zenity or else kdialog, started without a shell.
#pragma once

#include "platform/DialogBackend.h"

class DesktopDialogs : public DialogBackend {
public:
    void showMessage(const std::string& title, const std::string& message) override;
    bool askText(const std::string& title, const std::string& label, const std::string& initialText,
                 std::string& answer) override;
    bool chooseFile(const FileDialogRequest& request, std::string& path) override;
};

// Dialogs started on the calling thread stay above window (an X window id; 0: none).
void setDialogOwnerWindow(unsigned long window);
