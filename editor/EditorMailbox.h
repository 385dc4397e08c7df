// SPDX-License-Identifier: GPL-3.0-or-later
// What the effect hands to its editor from any thread (the host's, the processing thread, a
// dialog's), each item one lock-free word; the editor's idle takes it on the user-interface
// thread, the only thread that touches the controls.
#pragma once

#include <atomic>
#include <cstdint>

class EditorMailbox {
public:
    // Forgets everything recorded while the editor was closed.
    void clear() {
        for (auto& word : changed)
            word.store(0, std::memory_order_relaxed);
        resumeWanted.store(false, std::memory_order_relaxed);
        editTag.store(-1, std::memory_order_relaxed);
    }

    void markParameter(int index) {
        if (index < 0 || index >= 128) return;
        changed[index / 64].fetch_or(uint64_t{1} << (index % 64), std::memory_order_release);
    }
    // Calls apply(index) for every parameter marked since the last call.
    template <typename Apply> void takeParameters(Apply&& apply) {
        for (int word = 0; word < 2; ++word) {
            uint64_t bits = changed[word].exchange(0, std::memory_order_acquire);
            while (bits) {
                const int bit = __builtin_ctzll(bits);
                bits &= bits - 1;
                apply(word * 64 + bit);
            }
        }
    }

    void setVu(float left, float right) {
        vu[0].store(left, std::memory_order_relaxed);
        vu[1].store(right, std::memory_order_relaxed);
    }
    float getVu(int channel) const { return vu[channel & 1].load(std::memory_order_relaxed); }

    void requestResume() { resumeWanted.store(true, std::memory_order_release); }
    bool takeResume() { return resumeWanted.exchange(false, std::memory_order_acquire); }

    // The parameter the user is dragging; negative or kTagNoParameter for none.
    void setEditTag(int tag) { editTag.store(tag, std::memory_order_relaxed); }
    int getEditTag() const { return editTag.load(std::memory_order_relaxed); }

private:
    std::atomic<uint64_t> changed[2] = {};
    std::atomic<float> vu[2] = {};
    std::atomic<bool> resumeWanted{false};
    std::atomic<int> editTag{-1};
};
