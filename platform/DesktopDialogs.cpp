// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DesktopDialogs.h"

#include "platform/ChildProcess.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Far above any answer a caller can hold; only keeps a runaway child from exhausting memory.
constexpr std::size_t kAnswerLimit = 64 * 1024;

using Args = std::vector<std::string>;

thread_local unsigned long ownerWindow = 0;

// "Orvane" alone, or the caller's title followed by " - Orvane".
std::string dialogWindowTitle(const std::string& title) {
    if (title.empty() || title == "Orvane") return "Orvane";
    return title + " - Orvane";
}

bool haveDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

// Both programs take the owner as a general option; it keeps the dialog above the host.
Args attached(Args args) {
    if (ownerWindow != 0) args.insert(args.begin() + 1, "--attach=" + std::to_string(ownerWindow));
    return args;
}

// Runs zenity, or kdialog when zenity is not installed or cannot run here. Not started when
// neither can show.
ChildResult runDialogProgram(const Args& zenity, const Args& kdialog) {
    if (!haveDisplay()) return {};
    ChildResult result = runChild(attached(zenity), kAnswerLimit);
    if (!result.started || result.failedAtOnce) result = runChild(attached(kdialog), kAnswerLimit);
    if (result.failedAtOnce) result.started = false;
    return result;
}

// Exit status 0 is OK. A host that reaps every child loses the status; an answer then means OK.
// A stopped dialog's answer is dropped.
bool confirmed(const ChildResult& result) {
    if (!result.started || result.stopped) return false;
    return result.exitStatus == 0 || (result.exitStatus < 0 && !result.output.empty());
}

std::string withoutFinalNewline(std::string text) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

// zenity's entry label expands backslash escapes and takes "_" as a mnemonic marker.
std::string zenityEntryLabel(const std::string& label) {
    std::string escaped;
    for (const char c : label) {
        if (c == '\\' || c == '_') escaped += c;
        escaped += c;
    }
    return escaped;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

Args zenityFileArgs(const FileDialogRequest& request) {
    Args args{"zenity", "--file-selection", "--title=" + dialogWindowTitle(request.title)};
    if (request.save) {
        args.push_back("--save");
        args.push_back("--confirm-overwrite");
        const std::string name = joinPath(request.startFolder, request.defaultName);
        if (!name.empty()) args.push_back("--filename=" + name);
    } else {
        // A trailing "/" makes zenity open the folder instead of preselecting it.
        if (!request.startFolder.empty())
            args.push_back("--filename=" + joinPath(request.startFolder, ""));
        if (!request.extension.empty())
            args.push_back("--file-filter=" + request.extension + " | *." + request.extension);
    }
    return args;
}

// kdialog takes these as positional arguments; "--" keeps a leading "-" from reading as an option.
Args kdialogFileArgs(const FileDialogRequest& request) {
    Args args{"kdialog", "--title=" + dialogWindowTitle(request.title)};
    if (request.save) {
        args.insert(args.end(), {"--getsavefilename", "--",
                                 joinPath(request.startFolder, request.defaultName)});
    } else {
        args.insert(args.end(), {"--getopenfilename", "--", request.startFolder});
        if (!request.extension.empty())
            args.push_back("*." + request.extension + "|" + request.extension);
    }
    return args;
}

} // namespace

void setDialogOwnerWindow(unsigned long window) {
    ownerWindow = window;
}

void DesktopDialogs::showMessage(const std::string& title, const std::string& message) {
    const std::string windowTitle = dialogWindowTitle(title);
    const ChildResult result = runDialogProgram(
        {"zenity", "--info", "--no-markup", "--title=" + windowTitle, "--text=" + message},
        {"kdialog", "--title=" + windowTitle, "--msgbox=" + message});
    if (!result.started && !result.stopped)
        std::fprintf(stderr, "%s: %s\n", windowTitle.c_str(), message.c_str());
}

bool DesktopDialogs::askText(const std::string& title, const std::string& label,
                             const std::string& initialText, std::string& answer) {
    const std::string windowTitle = dialogWindowTitle(title);
    const ChildResult result = runDialogProgram(
        {"zenity", "--entry", "--title=" + windowTitle, "--text=" + zenityEntryLabel(label),
         "--entry-text=" + initialText},
        {"kdialog", "--title=" + windowTitle, "--inputbox=" + label, "--", initialText});
    if (!confirmed(result)) return false;
    answer = withoutFinalNewline(result.output);
    return true;
}

bool DesktopDialogs::chooseFile(const FileDialogRequest& request, std::string& path) {
    const ChildResult result = runDialogProgram(zenityFileArgs(request), kdialogFileArgs(request));
    if (!confirmed(result)) return false;
    path = withoutFinalNewline(result.output);
    return !path.empty();
}
