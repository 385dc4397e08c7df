// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the fuzz targets: a property check that stops the run, and a private scratch folder
// on a memory file system, so that targets writing files stay fast and never touch the user's.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#define FUZZ_CHECK(condition) ((condition) ? void() : fuzzFailure(#condition, __FILE__, __LINE__))

[[noreturn]] inline void fuzzFailure(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property violated: %s\n", file, line, condition);
    std::abort();
}

// A fresh folder, made once per process and removed at its normal exit; XDG_CONFIG_HOME and HOME
// point into it so that the preferences of everything under test stay inside.
inline const std::string& fuzzScratch() {
    // Never destroyed, so that it outlives the exit handler that removes the folder.
    static const std::string* folder = [] {
        std::string pattern = "/dev/shm/orvane-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) {
            pattern = "/tmp/orvane-fuzz-XXXXXX";
            if (!mkdtemp(pattern.data())) fuzzFailure("mkdtemp", __FILE__, __LINE__);
        }
        setenv("XDG_CONFIG_HOME", (pattern + "/config").c_str(), 1);
        setenv("HOME", pattern.c_str(), 1);
        std::atexit([] { std::filesystem::remove_all(*folder); });
        return new std::string(pattern);
    }();
    return *folder;
}

// Replaces the file at path with the bytes given.
inline void writeWhole(const std::string& path, const void* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) fuzzFailure("fopen", __FILE__, __LINE__);
    if (size && std::fwrite(data, 1, size, file) != size) fuzzFailure("fwrite", __FILE__, __LINE__);
    std::fclose(file);
}
