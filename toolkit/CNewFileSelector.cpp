// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/CNewFileSelector.h"

#include <glib.h>

namespace orvgui {

CNewFileSelector* CNewFileSelector::create(CFrame*, Style style) {
    return new CNewFileSelector(style);
}

void CNewFileSelector::addFileExtension(const CFileExtension& extension) {
    for (const CFileExtension& known : extensions)
        if (known.getExtension() == extension.getExtension()) return;
    extensions.push_back(extension);
}

void CNewFileSelector::setDefaultExtension(const CFileExtension& extension) {
    for (auto it = extensions.begin(); it != extensions.end(); ++it)
        if (it->getExtension() == extension.getExtension()) {
            extensions.erase(it);
            break;
        }
    extensions.insert(extensions.begin(), extension);
}

const char* CNewFileSelector::getSelectedFile(uint32_t index) const {
    return index < selected.size() ? selected[index].c_str() : nullptr;
}

std::vector<std::string> CNewFileSelector::commandLine() const {
    std::vector<std::string> args{"zenity", "--file-selection"};
    if (!title.empty()) args.push_back("--title=" + title);
    if (style == kSelectSaveFile) {
        args.push_back("--save");
        args.push_back("--confirm-overwrite");
    } else if (style == kSelectDirectory) {
        args.push_back("--directory");
    }
    if (allowMultiple && style == kSelectFile) {
        args.push_back("--multiple");
        args.push_back("--separator=\n");
    }
    std::string start = initialDirectory;
    if (!start.empty() && start.back() != '/') start += '/';
    if (style == kSelectSaveFile) start += defaultSaveName;
    if (!start.empty()) args.push_back("--filename=" + start);
    if (!extensions.empty() && style != kSelectDirectory) {
        for (const CFileExtension& extension : extensions)
            args.push_back("--file-filter=" + extension.getDescription() + " | *." +
                           extension.getExtension());
        args.push_back("--file-filter=All files | *");
    }
    return args;
}

bool CNewFileSelector::runModal() {
    selected.clear();
    const std::vector<std::string> args = commandLine();
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    gchar* output = nullptr;
    gint status = 0;
    const gboolean ran =
        g_spawn_sync(nullptr, argv.data(), nullptr,
                     static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL),
                     nullptr, nullptr, &output, nullptr, &status, nullptr);
    if (ran && g_spawn_check_wait_status(status, nullptr) && output) {
        gchar** lines = g_strsplit(output, "\n", -1);
        for (gchar** line = lines; *line; ++line)
            if (**line) selected.emplace_back(*line);
        g_strfreev(lines);
    }
    g_free(output);
    return !selected.empty();
}

} // namespace orvgui
