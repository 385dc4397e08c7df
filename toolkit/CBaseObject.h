// SPDX-License-Identifier: GPL-3.0-or-later
// Reference counting shared by every toolkit object: created with one reference, released
// by whoever holds the last one. Bitmaps are shared by editors of several instances, which a host
// may run on different threads, so the count is atomic.
#pragma once

#include <atomic>
#include <cstdint>

namespace orvgui {

class CBaseObject {
public:
    CBaseObject() = default;
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;
    virtual ~CBaseObject() = default;

    void remember() { references.fetch_add(1, std::memory_order_relaxed); }
    void forget() {
        if (references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
    }
    int32_t getNbReference() const { return references.load(std::memory_order_relaxed); }

private:
    std::atomic<int32_t> references{1};
};

// Keeps an object alive across a call that may release it.
class CBaseObjectGuard {
public:
    explicit CBaseObjectGuard(CBaseObject* object) : object(object) {
        if (object) object->remember();
    }
    ~CBaseObjectGuard() {
        if (object) object->forget();
    }
    CBaseObjectGuard(const CBaseObjectGuard&) = delete;
    CBaseObjectGuard& operator=(const CBaseObjectGuard&) = delete;

private:
    CBaseObject* object;
};

} // namespace orvgui
