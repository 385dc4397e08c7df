// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/Factory.h"

#include "vst3/ClassIds.h"
#include "vst3/ComObject.h"
#include "vst3/Component.h"
#include "vst3/Controller.h"
#include "vst3/Utf16.h"

#include <algorithm>
#include <cstring>

#ifndef ORVANE_VERSION
#error "ORVANE_VERSION must name the project version"
#endif

namespace orvane::vst3 {
namespace {

constexpr const char* kVendor = "Halvick";
constexpr const char* kName = "Orvane";
constexpr const char* kSdkVersion = "VST 3.7.0";
constexpr int32_t kManyInstances = 0x7FFFFFFF;
constexpr int32_t kUnicodeFactory = 0x10;

struct ClassEntry {
    const v3_tuid* id;
    const char* category;
    const char* subCategories;
    const char* name;
};
const ClassEntry kClasses[] = {
    {&kComponentClass, "Audio Module Class", "Fx|Mastering", kName},
    {&kControllerClass, "Component Controller Class", "", kName},
};
constexpr int32_t kClassCount = 2;

template <std::size_t N> void copyText(char (&to)[N], const char* from) {
    std::strncpy(to, from, N - 1);
    to[N - 1] = 0;
}

template <typename Info> bool common(int32_t index, Info* info) {
    if (!info || index < 0 || index >= kClassCount) return false;
    *info = {};
    std::copy(*kClasses[index].id, *kClasses[index].id + sizeof(v3_tuid), info->class_id);
    info->cardinality = kManyInstances;
    copyText(info->category, kClasses[index].category);
    return true;
}

v3_result create(const v3_tuid classId, const v3_tuid iid, void** instance) {
    if (!classId || !iid || !instance) return V3_INVALID_ARG;
    *instance = nullptr;
    v3_funknown** object = nullptr;
    if (v3_tuid_match(classId, kComponentClass))
        object = Component::create();
    else if (v3_tuid_match(classId, kControllerClass))
        object = Controller::create();
    else
        return V3_NO_INTERFACE;
    if (!object) return V3_NOMEM;
    const v3_result result = (*object)->query_interface(object, iid, instance);
    (*object)->unref(object);
    return result;
}

struct Factory {
    const v3_plugin_factory_cpp* table;
};

const v3_plugin_factory_cpp kTable{
    {[](void* self, const v3_tuid iid, void** obj) -> v3_result {
         if (!obj) return V3_INVALID_ARG;
         const bool known = v3_tuid_match(iid, v3_funknown_iid) ||
                            v3_tuid_match(iid, v3_plugin_factory_iid) ||
                            v3_tuid_match(iid, v3_plugin_factory_2_iid) ||
                            v3_tuid_match(iid, v3_plugin_factory_3_iid);
         *obj = known ? self : nullptr;
         return known ? V3_OK : V3_NO_INTERFACE;
     },
     [](void*) -> uint32_t { return 1; }, [](void*) -> uint32_t { return 1; }},
    {[](void*, v3_factory_info* info) -> v3_result {
         if (!info) return V3_INVALID_ARG;
         *info = {};
         copyText(info->vendor, kVendor);
         info->flags = kUnicodeFactory;
         return V3_OK;
     },
     [](void*) -> int32_t { return kClassCount; },
     [](void*, int32_t index, v3_class_info* info) -> v3_result {
         if (!common(index, info)) return V3_INVALID_ARG;
         copyText(info->name, kClasses[index].name);
         return V3_OK;
     },
     [](void*, const v3_tuid classId, const v3_tuid iid, void** instance) {
         return create(classId, iid, instance);
     }},
    {[](void*, int32_t index, v3_class_info_2* info) -> v3_result {
        if (!common(index, info)) return V3_INVALID_ARG;
        copyText(info->name, kClasses[index].name);
        copyText(info->sub_categories, kClasses[index].subCategories);
        copyText(info->vendor, kVendor);
        copyText(info->version, ORVANE_VERSION);
        copyText(info->sdk_version, kSdkVersion);
        return V3_OK;
    }},
    {[](void*, int32_t index, v3_class_info_3* info) -> v3_result {
         if (!common(index, info)) return V3_INVALID_ARG;
         toUtf16(kClasses[index].name, info->name, 64);
         copyText(info->sub_categories, kClasses[index].subCategories);
         toUtf16(kVendor, info->vendor, 64);
         toUtf16(ORVANE_VERSION, info->version, 64);
         toUtf16(kSdkVersion, info->sdk_version, 64);
         return V3_OK;
     },
     [](void*, v3_funknown**) -> v3_result { return V3_OK; }},
};

Factory factory{&kTable};

} // namespace

v3_plugin_factory** pluginFactory() {
    return reinterpret_cast<v3_plugin_factory**>(&factory);
}

} // namespace orvane::vst3
