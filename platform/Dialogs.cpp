// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dialogs.h"

#include "platform/DesktopDialogs.h"

#include <cstring>

namespace {

DialogBackend* installedBackend = nullptr;

std::string textOf(const char* text) {
    return text ? text : "";
}

// Copies source into a buffer of capacity bytes, never splitting a UTF-8 sequence.
void copyBounded(const std::string& source, char* out, int capacity) {
    const char* text = source.c_str();
    std::size_t length = std::strlen(text);
    const std::size_t room = static_cast<std::size_t>(capacity) - 1;
    if (length > room) {
        length = room;
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(out, text, length);
    out[length] = 0;
}

std::string extensionOfFilter(const char* filter) {
    if (!filter) return {};
    const char* dot = std::strchr(filter, '.');
    return dot ? std::string(dot + 1) : std::string();
}

// One file, fitting the caller's buffers; a path list or an empty answer is no choice.
bool isSingleUsablePath(const std::string& path) {
    return !path.empty() && path.size() < static_cast<std::size_t>(kDialogPathCapacity) &&
           path.find('\n') == std::string::npos && path.find('\0') == std::string::npos;
}

std::string containingFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

void chooseFile(const FileDialogRequest& request, char* folderOut, char* pathOut) {
    if (!pathOut) return;
    std::string path;
    if (!currentDialogBackend().chooseFile(request, path) || !isSingleUsablePath(path)) return;
    copyBounded(path, pathOut, kDialogPathCapacity);
    if (folderOut) copyBounded(containingFolder(path), folderOut, kDialogPathCapacity);
}

} // namespace

void setDialogBackend(DialogBackend* backend) {
    installedBackend = backend;
}

DialogBackend& currentDialogBackend() {
    static DesktopDialogs desktop;
    return installedBackend ? *installedBackend : desktop;
}

void runInputWindow(const char* title, const char* label, char* text, int capacity) {
    if (!text || capacity < 1) return;
    const std::string initialText(text, strnlen(text, static_cast<std::size_t>(capacity)));
    std::string answer;
    if (currentDialogBackend().askText(textOf(title), textOf(label), initialText, answer)) {
        copyBounded(answer, text, capacity);
    } else {
        text[0] = 0;
    }
}

void inputBox(const char* label, const char* title, char* text, int capacity) {
    runInputWindow(title, label, text, capacity);
}

void runMessageWindow(const char* title, const char* message) {
    currentDialogBackend().showMessage(textOf(title), textOf(message));
}

void messageBox(const char* message, int) {
    runMessageWindow("Orvane", message);
}

void fileSelectLoadDir(const char* title, const char* startFolder, const char*, const char* filter,
                       const char*, char* folderOut, char* pathOut) {
    FileDialogRequest request;
    request.title = textOf(title);
    request.startFolder = textOf(startFolder);
    request.extension = extensionOfFilter(filter);
    chooseFile(request, folderOut, pathOut);
}

void fileSelectSaveDir(const char* title, const char* startFolder, const char*,
                       const char* defaultName, char* folderOut, char* pathOut) {
    FileDialogRequest request;
    request.save = true;
    request.title = textOf(title);
    request.startFolder = textOf(startFolder);
    request.defaultName = textOf(defaultName);
    chooseFile(request, folderOut, pathOut);
}
