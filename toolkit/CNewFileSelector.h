// SPDX-License-Identifier: GPL-3.0-or-later
// Modal file choice through the desktop's file dialog (zenity): runModal blocks the calling
// thread until the user answers.
#pragma once

#include "toolkit/CBaseObject.h"

#include <string>
#include <vector>

namespace orvgui {

class CFrame;

class CFileExtension {
public:
    CFileExtension(const char* description, const char* extension)
        : description(description ? description : ""), extension(extension ? extension : "") {}
    const std::string& getDescription() const { return description; }
    const std::string& getExtension() const { return extension; }

private:
    std::string description;
    std::string extension;
};

class CNewFileSelector : public CBaseObject {
public:
    enum Style { kSelectFile, kSelectSaveFile, kSelectDirectory };

    // Never null here; the frame is accepted for symmetry with other platforms.
    static CNewFileSelector* create(CFrame* parent = nullptr, Style style = kSelectFile);

    void setTitle(const char* text) { title = text ? text : ""; }
    void setInitialDirectory(const char* path) { initialDirectory = path ? path : ""; }
    void setDefaultSaveName(const char* name) { defaultSaveName = name ? name : ""; }
    void addFileExtension(const CFileExtension& extension);
    // Also adds the extension when it is not there yet, and lists it first.
    void setDefaultExtension(const CFileExtension& extension);
    void setAllowMultiFileSelection(bool state) { allowMultiple = state; }

    // Shows the dialog and waits; false when the user cancelled or no dialog could be shown.
    bool runModal();
    uint32_t getNumSelectedFiles() const { return static_cast<uint32_t>(selected.size()); }
    const char* getSelectedFile(uint32_t index) const;

    // The dialog's command line, program first.
    std::vector<std::string> commandLine() const;

private:
    explicit CNewFileSelector(Style style) : style(style) {}

    Style style;
    std::string title;
    std::string initialDirectory;
    std::string defaultSaveName;
    std::vector<CFileExtension> extensions;
    bool allowMultiple = false;
    std::vector<std::string> selected;
};

} // namespace orvgui
