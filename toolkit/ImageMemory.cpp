// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/ImageMemory.h"

#include <algorithm>
#include <cairo.h>
#include <cstdint>
#include <sys/mman.h>
#include <sys/shm.h>
#include <unistd.h>

namespace orvgui {

namespace {
struct Mapping {
    void* address;
    std::size_t length;
    int sharedId; // a System V shared memory segment's id, or -1
};

const cairo_user_data_key_t kMappingKey{};

// The usual size of a large (huge) page on x86-64 and arm64 with 4 KiB pages.
constexpr std::size_t kLargePage = std::size_t{2} << 20;

void unmap(void* data) {
    auto* mapping = static_cast<Mapping*>(data);
    if (mapping->sharedId >= 0)
        shmdt(mapping->address);
    else
        munmap(mapping->address, mapping->length);
    delete mapping;
}

cairo_surface_t* wrap(const Mapping& memory, int width, int height, int stride) {
    cairo_surface_t* image = cairo_image_surface_create_for_data(
        static_cast<unsigned char*>(memory.address), CAIRO_FORMAT_ARGB32, width, height, stride);
    auto* mapping = new Mapping(memory);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_set_user_data(image, &kMappingKey, mapping, unmap) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        unmap(mapping);
        return nullptr;
    }
    return image;
}

const Mapping* mappingOf(cairo_surface_t* image) {
    return static_cast<const Mapping*>(cairo_surface_get_user_data(image, &kMappingKey));
}
} // namespace

cairo_surface_t* createPagedImage(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
    if (stride <= 0) return nullptr;
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    const std::size_t length = (bytes + page - 1) / page * page;
    // Images of a large page or more start on a large-page boundary, so that prepareWhole can
    // map them in large pages; the slack around is given back at once.
    const std::size_t slack = length >= kLargePage ? kLargePage : 0;
    void* mapped =
        mmap(nullptr, length + slack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<uintptr_t>(mapped);
    const uintptr_t aligned = slack ? (start + slack - 1) / slack * slack : start;
    if (aligned > start) munmap(mapped, aligned - start);
    if (start + slack > aligned)
        munmap(reinterpret_cast<void*>(aligned + length), start + slack - aligned);
    return wrap(Mapping{reinterpret_cast<void*>(aligned), length, -1}, width, height, stride);
}

cairo_surface_t* createSharedImage(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
    if (stride <= 0) return nullptr;
    const std::size_t length = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    const int id = shmget(IPC_PRIVATE, length, IPC_CREAT | 0600);
    if (id < 0) return nullptr;
    void* address = shmat(id, nullptr, 0);
    // Marked for removal at once: Linux still lets the server attach it, and it cannot outlive
    // the process.
    shmctl(id, IPC_RMID, nullptr);
    if (address == reinterpret_cast<void*>(-1)) return nullptr;
    return wrap(Mapping{address, length, id}, width, height, stride);
}

int sharedMemoryId(cairo_surface_t* image) {
    const Mapping* mapping = image ? mappingOf(image) : nullptr;
    return mapping ? mapping->sharedId : -1;
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

void prepareWhole(cairo_surface_t* image) {
    const Mapping* mapping = mappingOf(image);
    if (!mapping) return;
    // Fewer, larger pages cost far fewer faults; where the system does not offer them on
    // request, this changes nothing.
    madvise(mapping->address, mapping->length, MADV_HUGEPAGE);
    prepareRows(image, 0, cairo_image_surface_get_height(image));
}

} // namespace orvgui
