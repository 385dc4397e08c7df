// SPDX-License-Identifier: GPL-3.0-or-later
// Objects on the VST3 ABI: every interface an object offers is a face, a pointer to the
// interface's function table followed by the object itself, so the self pointer of any call
// leads back to the object. One reference count serves all faces of an object.
#pragma once

#include "travesty/base.h"

#include <atomic>
#include <cstdint>

namespace orvane::vst3 {

template <typename Owner, typename Table> struct Face {
    const Table* table;
    Owner* owner;

    static Owner* of(void* self) { return static_cast<Face*>(self)->owner; }
    void* handle() { return this; }
};

// Answers the query with face (referenced) when iid is one of the ids given.
template <typename FaceT, typename... Ids>
bool offer(FaceT& face, const v3_tuid iid, void** obj, const Ids&... ids) {
    if (!((v3_tuid_match(iid, ids)) || ...)) return false;
    face.owner->ref();
    *obj = face.handle();
    return true;
}

class RefCounted {
public:
    std::uint32_t ref() { return ++count; }
    // The object deletes itself when the last reference goes.
    template <typename Self> static std::uint32_t unref(Self* self) {
        const std::uint32_t left = --self->count;
        if (left == 0) delete self;
        return left;
    }

private:
    std::atomic<std::uint32_t> count{1};
};

// Call tables of the plain IUnknown part for an Owner derived from RefCounted with a
// queryInterface(iid, obj) member.
template <typename Owner, typename FaceT> v3_funknown unknownOf() {
    return {[](void* self, const v3_tuid iid, void** obj) -> v3_result {
                if (!obj) return V3_INVALID_ARG;
                *obj = nullptr;
                return FaceT::of(self)->queryInterface(iid, obj) ? V3_OK : V3_NO_INTERFACE;
            },
            [](void* self) -> std::uint32_t { return FaceT::of(self)->ref(); },
            [](void* self) -> std::uint32_t { return RefCounted::unref(FaceT::of(self)); }};
}

// A host object's interface: its table sits after the three IUnknown entries.
template <typename T> T* api(T** obj) {
    return v3_cpp_obj(obj);
}

template <typename T> void release(T**& obj) {
    if (obj) v3_cpp_obj_unref(obj);
    obj = nullptr;
}

} // namespace orvane::vst3
