// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/LinkMessage.h"

#include "vst3/ComObject.h"

#include <cstring>

namespace orvane::vst3 {
namespace {

constexpr const char* kLinkId = "OrvaneLink";
constexpr const char* kComponentKey = "component";

class LinkMessage : public RefCounted {
public:
    explicit LinkMessage(Component* component) : component(component) {}

    bool queryInterface(const v3_tuid iid, void** obj) {
        return offer(messageFace, iid, obj, v3_funknown_iid, v3_message_iid) ||
               offer(attributesFace, iid, obj, v3_attribute_list_iid);
    }

    using MessageFace = Face<LinkMessage, v3_message_cpp>;
    using AttributesFace = Face<LinkMessage, v3_attribute_list_cpp>;
    MessageFace messageFace{&messageTable(), this};
    AttributesFace attributesFace{&attributesTable(), this};
    Component* component;

private:
    static const v3_message_cpp& messageTable() {
        static const v3_message_cpp table{unknownOf<LinkMessage, MessageFace>(),
                                          {[](void*) -> const char* { return kLinkId; },
                                           [](void*, const char*) {},
                                           [](void* self) -> v3_attribute_list** {
                                               return reinterpret_cast<v3_attribute_list**>(
                                                   MessageFace::of(self)->attributesFace.handle());
                                           }}};
        return table;
    }

    static const v3_attribute_list_cpp& attributesTable() {
        static const v3_attribute_list_cpp table{
            unknownOf<LinkMessage, AttributesFace>(),
            {[](void*, const char*, int64_t) -> v3_result { return V3_FALSE; },
             [](void*, const char*, int64_t*) -> v3_result { return V3_FALSE; },
             [](void*, const char*, double) -> v3_result { return V3_FALSE; },
             [](void*, const char*, double*) -> v3_result { return V3_FALSE; },
             [](void*, const char*, const int16_t*) -> v3_result { return V3_FALSE; },
             [](void*, const char*, int16_t*, uint32_t) -> v3_result { return V3_FALSE; },
             [](void*, const char*, const void*, uint32_t) -> v3_result { return V3_FALSE; },
             [](void* self, const char* id, const void** data, uint32_t* size) -> v3_result {
                 if (!id || !data || !size || std::strcmp(id, kComponentKey) != 0) return V3_FALSE;
                 LinkMessage* message = AttributesFace::of(self);
                 *data = &message->component;
                 *size = sizeof message->component;
                 return V3_OK;
             }}};
        return table;
    }
};

} // namespace

void sendLink(v3_connection_point** peer, Component* component) {
    if (!peer) return;
    auto* message = new LinkMessage(component);
    api(peer)->notify(peer, reinterpret_cast<v3_message**>(message->messageFace.handle()));
    RefCounted::unref(message);
}

bool readLink(v3_message** message, Component*& component) {
    if (!message) return false;
    const char* id = api(message)->get_message_id(message);
    if (!id || std::strcmp(id, kLinkId) != 0) return false;
    v3_attribute_list** attributes = api(message)->get_attributes(message);
    const void* data = nullptr;
    uint32_t size = 0;
    if (!attributes ||
        api(attributes)->get_binary(attributes, kComponentKey, &data, &size) != V3_OK ||
        size != sizeof component)
        return false;
    std::memcpy(&component, data, sizeof component);
    return true;
}

} // namespace orvane::vst3
