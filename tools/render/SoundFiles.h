// SPDX-License-Identifier: GPL-3.0-or-later
// Audio files through libsndfile: the input, and an output written beside its destination and
// renamed over it only when complete.
#pragma once

#include <sndfile.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// A render that cannot be done: reported in one line, exit status 1.
struct RenderError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int kDemoFormat = SF_FORMAT_WAV | SF_FORMAT_PCM_24;

// The libsndfile format of an output: the container --format names, else the one the output's
// extension names (wav, aiff, aif, flac in any case), else the input's (baseFormat); the
// encoding --format names, else the input's. Throws UsageError for a format that cannot be
// written, or when --format and the extension name different containers.
int outputFormat(int baseFormat, const std::string& formatText, const std::string& outputPath,
                 int sampleRate);
// The container a --format text names ("flac" of "flac-24"), or empty.
std::string containerNamed(const std::string& formatText);
std::string describeFormat(int format);
// Whether two paths name the same existing file.
bool sameFile(const std::string& a, const std::string& b);

// Reading and writing through a stdio stream with a large buffer: libsndfile's own file access
// makes a system call for every 8 KB, and a render is bounded by the processor time of the
// effect plus what reading and writing take beside it.
class SoundStream {
public:
    // Opens a file to read, or takes over a descriptor to write; check ok().
    SoundStream(const std::string& path, SF_INFO& info);
    SoundStream(int descriptor, SF_INFO& info);
    ~SoundStream(); // closes without caring for errors; finish() reports them
    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;

    bool ok() const { return sound != nullptr; }
    // Why opening failed.
    const std::string& error() const { return failure; }
    SNDFILE* get() { return sound; }
    // Completes a written file and makes it durable; the libsndfile error text, or empty.
    std::string finish();

private:
    void open(int mode, SF_INFO& info);

    std::FILE* stream = nullptr;
    std::vector<char> buffer;
    SNDFILE* sound = nullptr;
    std::string failure;
};

class InputFile {
public:
    explicit InputFile(const std::string& path);
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const SF_INFO& info() const { return fileInfo; }
    // Interleaved frames of info().channels samples; fewer than asked only at the end.
    long read(float* interleaved, long frames);

private:
    std::string path;
    SF_INFO fileInfo{};
    SoundStream sound;
};

// A stereo output.
class PendingOutput {
public:
    PendingOutput(const std::string& destination, int format, int sampleRate);
    ~PendingOutput(); // removes the partial file unless committed
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;

    void write(const float* left, const float* right, long frames);
    // Completes the file and renames it over the destination, unless stop is set by then: false.
    bool commit(const std::atomic<bool>& stop);

private:
    void discard();

    std::string destination;
    std::string temporary;
    int partialSlot = -1; // for a second interrupt to remove the temporary file
    std::unique_ptr<SoundStream> sound;
    // Integer encodings are written unnormalised, scaled by 2^(bits − 1): the inverse of how
    // they are read, so a sample that passes the effect unchanged is written back unchanged.
    float scale = 1.0f;
    std::vector<float> interleaved;
};
