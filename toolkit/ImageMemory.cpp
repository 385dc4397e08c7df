// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/ImageMemory.h"

#include <algorithm>
#include <cairo.h>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace orvgui {

namespace {
struct Mapping {
    void* address;
    std::size_t length;
};

const cairo_user_data_key_t kMappingKey{};

void unmap(void* data) {
    auto* mapping = static_cast<Mapping*>(data);
    munmap(mapping->address, mapping->length);
    delete mapping;
}
} // namespace

cairo_surface_t* createPagedImage(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
    if (stride <= 0) return nullptr;
    const std::size_t length = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    void* address =
        mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED) return nullptr;
    cairo_surface_t* image = cairo_image_surface_create_for_data(
        static_cast<unsigned char*>(address), CAIRO_FORMAT_ARGB32, width, height, stride);
    auto* mapping = new Mapping{address, length};
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_set_user_data(image, &kMappingKey, mapping, unmap) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        unmap(mapping);
        return nullptr;
    }
    return image;
}

void prepareRows(cairo_surface_t* image, int top, int bottom) {
    const int height = cairo_image_surface_get_height(image);
    top = std::max(top, 0);
    bottom = std::min(bottom, height);
    if (top >= bottom) return;
    const auto stride = static_cast<uintptr_t>(cairo_image_surface_get_stride(image));
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto data = reinterpret_cast<uintptr_t>(cairo_image_surface_get_data(image));
    const uintptr_t begin = (data + static_cast<uintptr_t>(top) * stride) / page * page;
    const uintptr_t end = data + static_cast<uintptr_t>(bottom) * stride;
    // Kernels before 5.14 refuse; the rows then fault in as they are written.
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

} // namespace orvgui
