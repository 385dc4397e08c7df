// SPDX-License-Identifier: GPL-3.0-or-later
// A dialog backend answering from a script, for tests of any code that asks the user.
// Install with ScopedScriptedDialogs; every call is recorded.
#pragma once

#include "platform/DialogBackend.h"

#include <optional>
#include <string>
#include <vector>

struct ScriptedDialogs : DialogBackend {
    struct Question {
        std::string title, label, initialText;
    };
    struct Message {
        std::string title, message;
    };

    // Answers: confirm or cancel; typed replaces the field's text (unset: OK keeps the initial).
    bool confirm = true;
    std::optional<std::string> typed;
    std::optional<std::string> chosenPath; // unset: the file dialog is cancelled

    std::vector<Question> questions;
    std::vector<Message> messages;
    std::vector<FileDialogRequest> fileRequests;

    void showMessage(const std::string& title, const std::string& message) override {
        messages.push_back({title, message});
    }
    bool askText(const std::string& title, const std::string& label, const std::string& initialText,
                 std::string& answer) override {
        questions.push_back({title, label, initialText});
        if (!confirm) return false;
        answer = typed.value_or(initialText);
        return true;
    }
    bool chooseFile(const FileDialogRequest& request, std::string& path) override {
        fileRequests.push_back(request);
        if (!chosenPath) return false;
        path = *chosenPath;
        return true;
    }
};

class ScopedScriptedDialogs {
public:
    ScopedScriptedDialogs() { setDialogBackend(&script); }
    ~ScopedScriptedDialogs() { setDialogBackend(nullptr); }
    ScopedScriptedDialogs(const ScopedScriptedDialogs&) = delete;
    ScopedScriptedDialogs& operator=(const ScopedScriptedDialogs&) = delete;

    ScriptedDialogs script;
};
