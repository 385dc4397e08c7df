// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/validate/Guarded.h"

#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace orvane::validate {

Guarded::Guarded(std::size_t size, Edge edge) : bytes(size) {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    inner = (size + page - 1) / page * page;
    if (inner == 0) inner = page;
    mapped = inner + 2 * page;
    void* region = mmap(nullptr, mapped, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (region == MAP_FAILED) return;
    mapping = static_cast<char*>(region);
    mprotect(mapping + page, inner, PROT_READ | PROT_WRITE);
    // Floats stay aligned: sizes are whole floats and pages are multiples of four.
    usable = edge == kGuardAfter ? mapping + page + inner - size : mapping + page;
}

Guarded::~Guarded() {
    if (mapping) munmap(mapping, mapped);
}

void Guarded::makeReadOnly() {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    if (mapping) mprotect(mapping + page, inner, PROT_READ);
}

const char* textProblem(const char* text, std::size_t size, std::size_t limit) {
    const void* end = std::memchr(text, 0, limit < size ? limit : size);
    if (!end) return "not terminated within its buffer";
    for (std::size_t i = limit; i < size; ++i)
        if (static_cast<unsigned char>(text[i]) != kFill) return "written past its buffer";
    return nullptr;
}

} // namespace orvane::validate
