// Audio files through libsndfile: the input, and an output written beside its destination and
// renamed over it only when complete.
#pragma once

#include <sndfile.h>

#include <stdexcept>
#include <string>

// A render that cannot be done: reported in one line, exit status 1.
struct RenderError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int kDemoFormat = SF_FORMAT_WAV | SF_FORMAT_PCM_24;

// The libsndfile format for a --format text applied to a base format; throws UsageError.
int outputFormat(int baseFormat, const std::string& formatText, int sampleRate);
// The container a --format text names ("flac" of "flac-24"), or empty.
std::string containerNamed(const std::string& formatText);
std::string describeFormat(int format);
// Whether two paths name the same existing file.
bool sameFile(const std::string& a, const std::string& b);

class InputFile {
public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const SF_INFO& info() const { return fileInfo; }
    // Interleaved frames of info().channels samples; fewer than asked only at the end.
    long read(float* interleaved, long frames);

private:
    std::string path;
    SF_INFO fileInfo{};
    SNDFILE* file = nullptr;
};

class PendingOutput {
public:
    PendingOutput(const std::string& destination, int format, int sampleRate, int channels);
    ~PendingOutput(); // removes the partial file unless committed
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;

    // Scales the samples in place for an integer encoding.
    void write(float* interleaved, long frames);
    // Completes the file and renames it over the destination.
    void commit();

private:
    std::string destination;
    std::string temporary;
    SNDFILE* file = nullptr;
    int channelCount;
    // Integer encodings are written unnormalised, scaled by 2^(bits − 1): the inverse of how
    // they are read, so a sample that passes the effect unchanged is written back unchanged.
    float integerScale = 0.0f;
};
