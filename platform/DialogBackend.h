// SPDX-License-Identifier: GPL-3.0-or-later
// What actually shows a dialog. The desktop backend runs zenity or kdialog; tests install a
// scripted one with setDialogBackend.
#pragma once

#include <string>

struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string startFolder;
    std::string extension;   // loading: the only extension offered ("ecs"); empty offers all files
    std::string defaultName; // saving: the proposed file name
};

class DialogBackend {
public:
    virtual ~DialogBackend() = default;
    virtual void showMessage(const std::string& title, const std::string& message) = 0;
    // True when the user confirmed; answer then holds the field's text.
    virtual bool askText(const std::string& title, const std::string& label,
                         const std::string& initialText, std::string& answer) = 0;
    // True when the user chose a file; path then holds what the dialog returned.
    virtual bool chooseFile(const FileDialogRequest& request, std::string& path) = 0;
};

// Routes every dialog to backend until called again; nullptr restores the desktop backend.
// Not synchronised: call it while no dialog runs.
void setDialogBackend(DialogBackend* backend);
DialogBackend& currentDialogBackend();
