// Reference counting shared by every toolkit object: created with one reference, released
// by whoever holds the last one.
#pragma once

#include <cstdint>

namespace orvgui {

class CBaseObject {
public:
    CBaseObject() = default;
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;
    virtual ~CBaseObject() = default;

    void remember() { ++references; }
    void forget() {
        if (--references == 0) delete this;
    }
    int32_t getNbReference() const { return references; }

private:
    int32_t references = 1;
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
