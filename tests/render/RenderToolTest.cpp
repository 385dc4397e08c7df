// orvane-render run as a user runs it: exit status, messages and the files it leaves.
#include "tools/testhost/TestHost.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

std::string readText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Audio {
    SF_INFO info{};
    std::vector<float> samples; // interleaved
};

Audio readAudio(const fs::path& path) {
    Audio audio;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &audio.info);
    if (!file) return audio;
    audio.samples.resize(static_cast<size_t>(audio.info.frames * audio.info.channels));
    sf_readf_float(file, audio.samples.data(), audio.info.frames);
    sf_close(file);
    return audio;
}

void writeAudio(const fs::path& path, int format, int channels, const std::vector<float>& samples,
                int rate = 48000) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size() / channels));
    sf_close(file);
}

std::vector<float> noise(size_t count, unsigned seed = 1) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
    std::vector<float> samples(count);
    for (float& s : samples)
        s = uniform(random);
    return samples;
}

class RenderTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("orvane-render-test-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    Outcome render(std::vector<std::string> args) {
        const fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
        const pid_t child = fork();
        if (child == 0) {
            const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(o, STDOUT_FILENO);
            dup2(e, STDERR_FILENO);
            args.insert(args.begin(), ORVANE_RENDER_PATH);
            std::vector<char*> argv;
            for (std::string& arg : args)
                argv.push_back(arg.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        Outcome run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(out), readText(err)};
        fs::remove(out);
        fs::remove(err);
        return run;
    }

    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.path().filename().string().rfind(".orvane-render", 0) == 0)
                names.push_back(entry.path().filename());
        return names;
    }

    fs::path dir;
};

int lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TEST_F(RenderTool, DemoRendersOutOfTheBox) {
    const Outcome run = render({"--demo", "2", (dir / "demo.wav").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lines(run.out), 1);
    EXPECT_NE(run.out.find("88200 frames at 44100 Hz"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("dBFS"), std::string::npos) << run.out;
    const Audio audio = readAudio(dir / "demo.wav");
    EXPECT_EQ(audio.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    EXPECT_EQ(audio.info.channels, 2);
    EXPECT_EQ(audio.info.frames, 88200);
    EXPECT_TRUE(leftovers().empty());
}

// Every stage off passes the input: a mono integer file comes back as identical stereo in the
// same format, to the last bit.
TEST_F(RenderTool, MonoFeedsBothInputsAndIntegerSamplesPassUnchanged) {
    for (const auto& [encoding, bits] :
         {std::pair{SF_FORMAT_PCM_16, 16}, std::pair{SF_FORMAT_PCM_24, 24},
          std::pair{SF_FORMAT_PCM_32, 32}}) {
        std::vector<float> mono = noise(10000, bits);
        mono[0] = 0.99f, mono[1] = -0.99f;
        writeAudio(dir / "mono.wav", SF_FORMAT_WAV | encoding, 1, mono);
        const std::vector<float> written = readAudio(dir / "mono.wav").samples;
        const Outcome run = render({"--param", "2=0", "--param=5=0", (dir / "mono.wav").string(),
                                    (dir / "out.wav").string()});
        ASSERT_EQ(run.status, 0) << run.err;
        const Audio out = readAudio(dir / "out.wav");
        EXPECT_EQ(out.info.format, SF_FORMAT_WAV | encoding);
        EXPECT_EQ(out.info.samplerate, 48000);
        ASSERT_EQ(out.info.channels, 2);
        ASSERT_EQ(out.info.frames, 10000);
        for (size_t i = 0; i < written.size(); ++i) {
            ASSERT_EQ(out.samples[2 * i], written[i]) << bits << " bits, frame " << i;
            ASSERT_EQ(out.samples[2 * i + 1], written[i]) << bits << " bits, frame " << i;
        }
    }
}

// The output is what the module makes of the input, whatever the block size.
TEST_F(RenderTool, OutputIsTheModulesOutputForAnyBlockSize) {
    const std::vector<float> stereo = noise(2 * 6000, 2);
    writeAudio(dir / "in.aiff", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 2, stereo);
    ASSERT_EQ(render({(dir / "in.aiff").string(), (dir / "a.aiff").string()}).status, 0);
    ASSERT_EQ(
        render({"--block", "7", (dir / "in.aiff").string(), (dir / "b.aiff").string()}).status, 0);

    std::string error;
    auto plugin = orvane::testhost::Plugin::load(orvane::testhost::builtPluginPath(), {}, &error);
    ASSERT_TRUE(plugin) << error;
    plugin->start(48000.0f, 512);
    std::vector<float> left(6000), right(6000), outLeft(6000), outRight(6000);
    for (size_t i = 0; i < 6000; ++i)
        left[i] = stereo[2 * i], right[i] = stereo[2 * i + 1];
    for (int start = 0; start < 6000; start += 512) {
        float* in[2] = {left.data() + start, right.data() + start};
        float* out[2] = {outLeft.data() + start, outRight.data() + start};
        plugin->process(in, out, std::min(512, 6000 - start));
    }
    const Audio a = readAudio(dir / "a.aiff"), b = readAudio(dir / "b.aiff");
    EXPECT_EQ(a.samples, b.samples);
    ASSERT_EQ(a.samples.size(), stereo.size());
    for (size_t i = 0; i < 6000; ++i) {
        ASSERT_EQ(a.samples[2 * i], outLeft[i]) << i;
        ASSERT_EQ(a.samples[2 * i + 1], outRight[i]) << i;
    }
}

TEST_F(RenderTool, FormatOptionChangesContainerOrEncoding) {
    writeAudio(dir / "in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, noise(2000));
    ASSERT_EQ(
        render({"--format", "flac", (dir / "in.wav").string(), (dir / "o.flac").string()}).status,
        0);
    EXPECT_EQ(readAudio(dir / "o.flac").info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    ASSERT_EQ(
        render({"--format", "float", (dir / "in.wav").string(), (dir / "o.wav").string()}).status,
        0);
    EXPECT_EQ(readAudio(dir / "o.wav").info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const Outcome flacFloat =
        render({"--format", "flac-float", (dir / "in.wav").string(), (dir / "x.flac").string()});
    EXPECT_EQ(flacFloat.status, 2);
    EXPECT_FALSE(fs::exists(dir / "x.flac"));
}

TEST_F(RenderTool, ProgramsAreChosenByNumberOrName) {
    const std::string out = (dir / "p.wav").string();
    ASSERT_EQ(render({"--demo", "0.5", "--program", "5", "--format", "float", out}).status, 0);
    const Audio byNumber = readAudio(out);
    ASSERT_EQ(render({"--demo", "0.5", "--program", "only AIR", "--format", "float", out}).status,
              0);
    EXPECT_EQ(readAudio(out).samples, byNumber.samples);
    ASSERT_EQ(render({"--demo", "0.5", "--program", "6", "--format", "float", out}).status, 0);
    EXPECT_NE(readAudio(out).samples, byNumber.samples);
    EXPECT_EQ(render({"--demo", "1", "--program", "8", out}).status, 2);
    EXPECT_EQ(render({"--demo", "1", "--program", "Loud", out}).status, 2);
}

TEST_F(RenderTool, UsageErrorsExitTwoWithOneLine) {
    const std::string out = (dir / "u.wav").string();
    const std::vector<std::vector<std::string>> mistakes = {
        {"--bogus", "a.wav", out},
        {"--param", "200=0.5", "--demo", "1", out},
        {"--param", "3=1.5", "--demo", "1", out},
        {"--param", "3", "--demo", "1", out},
        {"--block", "0", "--demo", "1", out},
        {"--demo", "0", out},
        {"--demo", "1"},
        {"in.wav"},
        {"--demo", "1", "in.wav", out},
        {"--block"},
    };
    for (const auto& args : mistakes) {
        const Outcome run = render(args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_EQ(lines(run.err), 1) << run.err;
    }
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(render({"--help"}).status, 0);
}

TEST_F(RenderTool, NeverOverwritesItsInput) {
    const std::vector<float> samples = noise(2 * 1000);
    writeAudio(dir / "in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, samples);
    fs::create_symlink(dir / "in.wav", dir / "alias.wav");
    for (const char* output : {"in.wav", "alias.wav"}) {
        const Outcome run = render({(dir / "in.wav").string(), (dir / output).string()});
        EXPECT_EQ(run.status, 2) << output;
        EXPECT_NE(run.err.find("overwrite the input"), std::string::npos) << run.err;
    }
    EXPECT_EQ(readAudio(dir / "in.wav").samples, samples);
}

// A failed render leaves an existing output as it was and no partial file behind.
TEST_F(RenderTool, FailuresExitOneAndLeaveTheOutputAlone) {
    const fs::path out = dir / "out.wav";
    std::ofstream(out) << "previous render";
    writeAudio(dir / "six.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 6, noise(6 * 100));
    std::ofstream(dir / "garbage.wav") << "RIFF....WAVEnot really";
    for (const char* input : {"six.wav", "garbage.wav", "missing.wav"}) {
        const Outcome run = render({(dir / input).string(), out.string()});
        EXPECT_EQ(run.status, 1) << input;
        EXPECT_EQ(lines(run.err), 1) << run.err;
        EXPECT_NE(run.err.find("error:"), std::string::npos) << run.err;
    }
    EXPECT_NE(render({"--demo", "1", "--plugin", (dir / "none.so").string(), out.string()}).status,
              0);
    EXPECT_NE(render({"--demo", "1", (dir / "no-such-dir" / "x.wav").string()}).status, 0);
    EXPECT_EQ(readText(out), "previous render");
    EXPECT_TRUE(leftovers().empty());
}
