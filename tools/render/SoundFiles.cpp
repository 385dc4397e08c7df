#include "tools/render/SoundFiles.h"

#include "tools/render/RenderOptions.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

std::string directoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

int outputFormat(int baseFormat, const std::string& formatText, int sampleRate) {
    int container = baseFormat & SF_FORMAT_TYPEMASK;
    int encoding = baseFormat & SF_FORMAT_SUBMASK;
    std::stringstream parts(formatText);
    std::string part;
    while (std::getline(parts, part, '-')) {
        bool known = false;
        for (const Name& name : kContainers)
            if (part == name.text) container = name.format, known = true;
        for (const Name& name : kEncodings)
            if (part == name.text) encoding = name.format, known = true;
        if (!known)
            throw UsageError("--format '" + formatText +
                             "': use wav, aiff or flac and/or 16, 24, 32 or float");
    }
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

InputFile::InputFile(const std::string& inputPath) : path(inputPath) {
    file = sf_open(path.c_str(), SFM_READ, &fileInfo);
    if (!file) throw RenderError("cannot read " + path + ": " + sf_strerror(nullptr));
    if (fileInfo.channels < 1 || fileInfo.channels > 2) {
        const int channels = fileInfo.channels;
        sf_close(file);
        file = nullptr;
        throw RenderError(path + " has " + std::to_string(channels) +
                          " channels; Orvane takes mono or stereo");
    }
}

InputFile::~InputFile() {
    if (file) sf_close(file);
}

long InputFile::read(float* interleaved, long frames) {
    const sf_count_t got = sf_readf_float(file, interleaved, frames);
    if (got < frames && sf_error(file) != SF_ERR_NO_ERROR)
        throw RenderError("cannot read " + path + ": " + sf_strerror(file));
    return static_cast<long>(got);
}

PendingOutput::PendingOutput(const std::string& path, int format, int sampleRate, int channels)
    : destination(path), channelCount(channels) {
    std::string pattern = directoryOf(path) + "/.orvane-render-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back(0);
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0)
        throw RenderError("cannot create a file in " + directoryOf(path) + ": " +
                          std::strerror(errno));
    temporary = name.data();
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = format;
    file = sf_open_fd(descriptor, SFM_WRITE, &info, SF_TRUE);
    if (!file) {
        close(descriptor);
        std::remove(temporary.c_str());
        throw RenderError("cannot write " + path + ": " + sf_strerror(nullptr));
    }
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_16:
        integerScale = 32768.0f;
        break;
    case SF_FORMAT_PCM_24:
        integerScale = 8388608.0f;
        break;
    case SF_FORMAT_PCM_32:
        integerScale = 2147483648.0f;
        break;
    default:
        break;
    }
    if (integerScale > 0.0f) sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_FALSE);
}

PendingOutput::~PendingOutput() {
    if (file) sf_close(file);
    if (!temporary.empty()) std::remove(temporary.c_str());
}

void PendingOutput::write(float* interleaved, long frames) {
    if (integerScale > 0.0f)
        for (long i = 0; i < frames * channelCount; ++i)
            interleaved[i] *= integerScale;
    if (sf_writef_float(file, interleaved, frames) != frames)
        throw RenderError("cannot write " + destination + ": " + sf_strerror(file));
}

void PendingOutput::commit() {
    sf_write_sync(file);
    const int closed = sf_close(file);
    file = nullptr;
    if (closed != 0)
        throw RenderError("cannot finish " + destination + ": " + sf_error_number(closed));
    // mkstemp creates the file private to its owner; give it the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(temporary.c_str(), 0666 & ~mask);
    if (std::rename(temporary.c_str(), destination.c_str()) != 0)
        throw RenderError("cannot replace " + destination + ": " + std::strerror(errno));
    temporary.clear();
}
