// SPDX-License-Identifier: GPL-3.0-or-later
// What the effect asks of its editor. The effect's library knows only this; the plug-in modules
// attach the editor itself (editor/uEditor), so tools and tests build the effect without a GUI.
#pragma once

class APlugin;

class EffectEditor {
public:
    // From the effect, on any thread: each only records what changed for the next idle.
    virtual void setParameter(int index, float value) = 0;
    virtual void setVu(float left, float right) = 0;
    virtual void requestResume() = 0;
    virtual void setEditTag(int tag) = 0;
    virtual void setPresetUndo() = 0;
    // The open editor's X connection, or -1.
    virtual int connectionFd() const = 0;

protected:
    ~EffectEditor() = default; // the effect owns its editor as the host's AEffEditor
};

// Builds the editor of effect, which registers itself as the effect's editor.
using EditorFactory = EffectEditor* (*)(APlugin& effect);
