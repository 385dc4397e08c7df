// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render/SoundFiles.h"

#include "tools/render/Interruption.h"
#include "tools/render/RenderOptions.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Name {
    const char* text;
    int format;
};

const Name kContainers[] = {{"wav", SF_FORMAT_WAV},
                            {"aiff", SF_FORMAT_AIFF},
                            {"aif", SF_FORMAT_AIFF},
                            {"flac", SF_FORMAT_FLAC}};
const Name kEncodings[] = {{"16", SF_FORMAT_PCM_16},
                           {"24", SF_FORMAT_PCM_24},
                           {"32", SF_FORMAT_PCM_32},
                           {"float", SF_FORMAT_FLOAT}};

// The container an output's extension names, or 0.
int containerOfExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const Name& name : kContainers)
        if (extension == std::string(".") + name.text) return name.format;
    return 0;
}

std::string directoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A hundred and twenty-eight times what libsndfile reads or writes at once.
constexpr size_t kBufferBytes = 1 << 20;

std::FILE* streamOf(void* user) {
    return static_cast<std::FILE*>(user);
}

sf_count_t streamLength(void* user) {
    std::FILE* stream = streamOf(user);
    const off_t here = ftello(stream);
    if (here < 0 || fseeko(stream, 0, SEEK_END) != 0) return -1;
    const off_t end = ftello(stream);
    return fseeko(stream, here, SEEK_SET) == 0 ? end : -1;
}

sf_count_t streamSeek(sf_count_t offset, int whence, void* user) {
    if (fseeko(streamOf(user), offset, whence) != 0) return -1;
    return ftello(streamOf(user));
}

sf_count_t streamRead(void* ptr, sf_count_t count, void* user) {
    return static_cast<sf_count_t>(std::fread(ptr, 1, static_cast<size_t>(count), streamOf(user)));
}

sf_count_t streamWrite(const void* ptr, sf_count_t count, void* user) {
    return static_cast<sf_count_t>(std::fwrite(ptr, 1, static_cast<size_t>(count), streamOf(user)));
}

sf_count_t streamTell(void* user) {
    return ftello(streamOf(user));
}

SF_VIRTUAL_IO kStdio = {streamLength, streamSeek, streamRead, streamWrite, streamTell};

} // namespace

SoundStream::SoundStream(const std::string& path, SF_INFO& info) {
    stream = std::fopen(path.c_str(), "rb");
    if (!stream)
        failure = std::strerror(errno);
    else
        open(SFM_READ, info);
}

SoundStream::SoundStream(int descriptor, SF_INFO& info) {
    stream = fdopen(descriptor, "w+b");
    if (!stream) {
        failure = std::strerror(errno);
        close(descriptor);
    } else {
        open(SFM_WRITE, info);
    }
}

void SoundStream::open(int mode, SF_INFO& info) {
    buffer.resize(kBufferBytes);
    std::setvbuf(stream, buffer.data(), _IOFBF, buffer.size());
    sound = sf_open_virtual(&kStdio, mode, &info, stream);
    if (!sound) failure = sf_strerror(nullptr);
}

SoundStream::~SoundStream() {
    if (sound) sf_close(sound);
    if (stream) std::fclose(stream);
}

std::string SoundStream::finish() {
    const int closed = sf_close(sound);
    sound = nullptr;
    if (closed != 0) return sf_error_number(closed);
    const bool flushed = std::fflush(stream) == 0 && fsync(fileno(stream)) == 0;
    const int error = errno;
    const bool shut = std::fclose(stream) == 0;
    stream = nullptr;
    if (!flushed || !shut) return std::strerror(flushed ? errno : error);
    return "";
}

int outputFormat(int baseFormat, const std::string& formatText, const std::string& outputPath,
                 int sampleRate) {
    int named = 0;
    int encoding = baseFormat & SF_FORMAT_SUBMASK;
    std::stringstream parts(formatText);
    std::string part;
    while (std::getline(parts, part, '-')) {
        bool known = false;
        for (const Name& name : kContainers)
            if (part == name.text) named = name.format, known = true;
        for (const Name& name : kEncodings)
            if (part == name.text) encoding = name.format, known = true;
        if (!known)
            throw UsageError("--format '" + formatText +
                             "': use wav, aiff or flac and/or 16, 24, 32 or float");
    }
    const int byExtension = containerOfExtension(outputPath);
    if (named && byExtension && named != byExtension)
        throw UsageError("--format " + formatText + " contradicts the extension of " + outputPath);
    int container = named ? named : byExtension ? byExtension : baseFormat & SF_FORMAT_TYPEMASK;
    // A WAV variant of the input (RF64 for files past 4 GB, extensible) is still a .wav file.
    const int baseContainer = baseFormat & SF_FORMAT_TYPEMASK;
    if (!named && container == SF_FORMAT_WAV &&
        (baseContainer == SF_FORMAT_RF64 || baseContainer == SF_FORMAT_WAVEX))
        container = baseContainer;
    SF_INFO check{};
    check.samplerate = sampleRate;
    check.channels = 2;
    check.format = container | encoding;
    if (!sf_format_check(&check))
        throw UsageError("cannot write " + describeFormat(check.format) +
                         (formatText.empty() ? "; choose one with --format" : ""));
    return check.format;
}

std::string containerNamed(const std::string& formatText) {
    std::stringstream parts(formatText);
    std::string part;
    while (std::getline(parts, part, '-'))
        for (const Name& name : kContainers)
            if (part == name.text) return part;
    return "";
}

std::string describeFormat(int format) {
    std::string container = "an unsupported container", encoding = "an unsupported encoding";
    for (const Name& name : kContainers)
        if ((format & SF_FORMAT_TYPEMASK) == name.format) {
            container = name.text;
            break;
        }
    for (const Name& name : kEncodings)
        if ((format & SF_FORMAT_SUBMASK) == name.format)
            encoding = name.format == SF_FORMAT_FLOAT ? "float" : std::string(name.text) + "-bit";
    return container + " " + encoding;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

InputFile::InputFile(const std::string& inputPath) : path(inputPath), sound(path, fileInfo) {
    if (!sound.ok()) throw RenderError("cannot read " + path + ": " + sound.error());
    if (fileInfo.channels < 1 || fileInfo.channels > 2)
        throw RenderError(path + " has " + std::to_string(fileInfo.channels) +
                          " channels; Orvane takes mono or stereo");
}

long InputFile::read(float* interleaved, long frames) {
    const sf_count_t got = sf_readf_float(sound.get(), interleaved, frames);
    if (got < frames && sf_error(sound.get()) != SF_ERR_NO_ERROR)
        throw RenderError("cannot read " + path + ": " + sf_strerror(sound.get()));
    return static_cast<long>(got);
}

PendingOutput::PendingOutput(const std::string& path, int format, int sampleRate)
    : destination(path) {
    std::string pattern = directoryOf(path) + "/.orvane-render-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back(0);
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0)
        throw RenderError("cannot create a file in " + directoryOf(path) + ": " +
                          std::strerror(errno));
    temporary = name.data();
    partialSlot = rememberPartialFile(temporary.c_str());
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = format;
    sound = std::make_unique<SoundStream>(descriptor, info);
    if (!sound->ok()) {
        const std::string why = sound->error();
        discard();
        throw RenderError("cannot write " + path + ": " + why);
    }
    SNDFILE* file = sound->get();
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_16:
        scale = 32768.0f;
        break;
    case SF_FORMAT_PCM_24:
        scale = 8388608.0f;
        break;
    case SF_FORMAT_PCM_32:
        scale = 2147483648.0f;
        break;
    default:
        break;
    }
    if (scale != 1.0f) sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_FALSE);
}

PendingOutput::~PendingOutput() {
    discard();
}

void PendingOutput::discard() {
    sound.reset();
    if (!temporary.empty()) std::remove(temporary.c_str());
    forgetPartialFile(partialSlot);
    partialSlot = -1;
}

void PendingOutput::write(const float* left, const float* right, long frames) {
    interleaved.resize(static_cast<size_t>(2 * frames));
    for (long i = 0; i < frames; ++i) {
        interleaved[2 * i] = left[i] * scale;
        interleaved[2 * i + 1] = right[i] * scale;
    }
    if (sf_writef_float(sound->get(), interleaved.data(), frames) != frames)
        throw RenderError("cannot write " + destination + ": " + sf_strerror(sound->get()));
}

bool PendingOutput::commit(const std::atomic<bool>& stop) {
    const std::string problem = sound->finish();
    if (!problem.empty()) throw RenderError("cannot finish " + destination + ": " + problem);
    // Finishing a large file takes a while; a stop asked for meanwhile still holds.
    if (stop) return false;
    // mkstemp creates the file private to its owner; give it the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(temporary.c_str(), 0666 & ~mask);
    if (std::rename(temporary.c_str(), destination.c_str()) != 0)
        throw RenderError("cannot replace " + destination + ": " + std::strerror(errno));
    forgetPartialFile(partialSlot);
    partialSlot = -1;
    temporary.clear();
    return true;
}
