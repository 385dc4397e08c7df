// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <signal.h>
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

    pid_t start(std::vector<std::string> args) {
        const fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
        const pid_t child = fork();
        if (child == 0) {
            if (chdir(dir.c_str()) != 0) _exit(127);
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
        return child;
    }

    Outcome finish(pid_t child) {
        int status = 0;
        waitpid(child, &status, 0);
        const fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
        Outcome run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(out), readText(err)};
        fs::remove(out);
        fs::remove(err);
        return run;
    }

    Outcome render(std::vector<std::string> args) { return finish(start(std::move(args))); }

    std::string path(const char* name) const { return (dir / name).string(); }

    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            if (entry.path().filename().string().rfind(".orvane-render", 0) == 0)
                names.push_back(entry.path().filename());
        return names;
    }

    fs::path dir;
};

int lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

// The demo renders out of the box. The output's extension, in any case, chooses the container
// unless --format names one; "--" lets a file named like an option through.
TEST_F(RenderTool, DemoRendersAndTheExtensionChoosesTheContainer) {
    const Outcome run = render({"--demo", "2", "demo.wav"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lines(run.out), 1);
    EXPECT_TRUE(contains(run.out, "88200 frames at 44100 Hz")) << run.out;
    EXPECT_EQ(readAudio(dir / "demo.wav").info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    fs::rename(dir / "demo.wav", dir / "-x.wav");
    ASSERT_EQ(render({"--format", "16", "--", "-x.wav", "X.FLAC"}).status, 0);
    const Audio flac = readAudio(dir / "X.FLAC");
    EXPECT_EQ(flac.info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    EXPECT_EQ(flac.info.channels, 2);
    EXPECT_EQ(flac.info.frames, 88200);
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
        const Outcome run =
            render({"--param", "2=0", "--param=5=0", path("mono.wav"), path("out.wav")});
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

// The output is what the module makes of the input in blocks of the given size, however the
// render hands the audio between its threads: long enough that every buffer between them is
// used more than once.
TEST_F(RenderTool, OutputIsTheModulesOutputForAnyBlockSize) {
    constexpr int kFrames = 600000;
    const std::vector<float> stereo = noise(2 * kFrames, 2);
    writeAudio(dir / "in.aiff", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 2, stereo);
    for (const int block : {512, 7}) {
        ASSERT_EQ(
            render({"--block", std::to_string(block), path("in.aiff"), path("out.aiff")}).status,
            0);
        std::string error;
        auto plugin =
            orvane::testhost::Plugin::load(orvane::testhost::builtPluginPath(), {}, &error);
        ASSERT_TRUE(plugin) << error;
        plugin->start(48000.0f, block);
        std::vector<float> left(kFrames), right(kFrames), outLeft(kFrames), outRight(kFrames);
        for (size_t i = 0; i < kFrames; ++i)
            left[i] = stereo[2 * i], right[i] = stereo[2 * i + 1];
        for (int start = 0; start < kFrames; start += block) {
            float* in[2] = {left.data() + start, right.data() + start};
            float* out[2] = {outLeft.data() + start, outRight.data() + start};
            plugin->process(in, out, std::min(block, kFrames - start));
        }
        const Audio rendered = readAudio(dir / "out.aiff");
        ASSERT_EQ(rendered.samples.size(), stereo.size());
        for (size_t i = 0; i < kFrames; ++i) {
            ASSERT_EQ(rendered.samples[2 * i], outLeft[i]) << "block " << block << ", frame " << i;
            ASSERT_EQ(rendered.samples[2 * i + 1], outRight[i]) << "block " << block << ", " << i;
        }
    }
}

// Settings in the words the readouts show land in the effect, in order, after the program.
TEST_F(RenderTool, ParametersAreSetByNameAndReadout) {
    const Outcome list =
        render({"--program", "only AIR", "--set", "Main Volume=+3", "--set", "air frequency = 35",
                "--set", "Mono Type=l+r", "--set", "Mono Split Range=Full Range", "--set",
                "Mono / Stereo Split Frequency=5 kHz", "--list-params"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(lines(list.out), 12) << list.out;
    for (const char* line :
         {"Main Volume  ", "-20.0 dB to 20.0 dB", "3.0 dB\n", "30.0 kHz to 40.0 kHz", "35.0 kHz\n",
          "Left, Right, L + R, L - R", "L + R\n", "20 Hz to 20.5 kHz", "5.0 kHz\n", "Bypass  "})
        EXPECT_TRUE(contains(list.out, line)) << line << " in\n" << list.out;

    // Bypass passes the input untouched: the setting reaches the render, not only the list.
    writeAudio(dir / "in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, noise(2 * 3000, 3));
    ASSERT_EQ(render({"--set", "Bypass=On", path("in.wav"), path("out.wav")}).status, 0);
    EXPECT_EQ(readAudio(dir / "out.wav").samples, readAudio(dir / "in.wav").samples);

    const std::string out = path("p.wav");
    ASSERT_EQ(render({"--demo", "0.5", "--program", "5", "--format", "float", out}).status, 0);
    const Audio byNumber = readAudio(out);
    ASSERT_EQ(render({"--demo", "0.5", "--program", "only AIR", "--format", "float", out}).status,
              0);
    EXPECT_EQ(readAudio(out).samples, byNumber.samples);
    ASSERT_EQ(render({"--demo", "0.5", "--program", "6", "--format", "float", out}).status, 0);
    EXPECT_NE(readAudio(out).samples, byNumber.samples);
}

TEST_F(RenderTool, UsageErrorsExitTwoWithOneLine) {
    const std::string out = path("u.wav");
    const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
        {{"--bogus", "a.wav", out}, "--bogus"},
        {{"--param", "200=0.5", "--demo", "1", out}, "200"},
        {{"--param", "3=1.5", "--demo", "1", out}, "1.5"},
        {{"--set", "Volume=3", "--demo", "1", out}, "\"Volume\""},
        {{"--set", "Main Volume=+30", "--demo", "1", out},
         "Main Volume cannot be \"+30\"; it "
         "takes -20.0 dB to 20.0 dB"},
        {{"--set", "Mono Type=Centre", "--demo", "1", out}, "Left, Right, L + R, L - R"},
        {{"--set", "Air Amount=3 kHz", "--demo", "1", out}, "Air Amount"},
        {{"--set", "Bypass", "--demo", "1", out}, "NAME=VALUE"},
        {{"--program", "8", "--demo", "1", out}, "--program"},
        {{"--block", "0", "--demo", "1", out}, "--block"},
        {{"--demo", "0", out}, "--demo"},
        {{"--demo", "1"}, "OUTPUT"},
        {{"in.wav"}, "INPUT"},
        {{"-o", path("d"), "--demo", "1", out}, "--demo"},
        {{"-o", path("d")}, "INPUT"},
        {{"--block"}, "needs a value"},
        {{"--format", "aiff-16", "--demo", "1", out}, "contradicts the extension"},
        {{"-x.wav", out}, "-x.wav"},
    };
    for (const auto& [args, hint] : mistakes) {
        const Outcome run = render(args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_EQ(lines(run.err), 1) << run.err;
        EXPECT_TRUE(contains(run.err, hint)) << hint << " in " << run.err;
    }
    EXPECT_FALSE(fs::exists(out));

    const Outcome help = render({"--help"}), version = render({"--version"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(contains(help.out, "Exit status:")) << help.out;
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "orvane-render 1.0.1\n");
}

// A batch renders each input exactly as a render of it alone, several at once, and a file
// that fails does not stop the others.
TEST_F(RenderTool, BatchRendersEachInputIntoTheFolder) {
    writeAudio(dir / "a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, noise(2 * 20000, 4));
    writeAudio(dir / "b.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 1, noise(15000, 5), 44100);
    writeAudio(dir / "c.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 2, noise(2 * 9000, 6), 96000);
    std::ofstream(dir / "bad.wav") << "RIFF....WAVEnot really";
    const Outcome batch = render({"--set", "Air Amount=4.5", "-j", "3", "-o", path("out"),
                                  path("a.wav"), path("bad.wav"), path("b.aiff"), path("c.flac")});
    EXPECT_EQ(batch.status, 1);
    EXPECT_EQ(lines(batch.out), 3) << batch.out;
    EXPECT_EQ(lines(batch.err), 1) << batch.err;
    EXPECT_TRUE(contains(batch.err, "bad.wav")) << batch.err;
    for (const char* name : {"a.wav", "b.aiff", "c.flac"}) {
        ASSERT_EQ(render({"--set", "Air Amount=4.5", path(name), path("alone")}).status, 0);
        const Audio alone = readAudio(dir / "alone"), inBatch = readAudio(dir / "out" / name);
        EXPECT_EQ(inBatch.info.format, alone.info.format) << name;
        EXPECT_EQ(inBatch.samples, alone.samples) << name;
    }
    EXPECT_FALSE(fs::exists(dir / "out" / "bad.wav"));

    ASSERT_EQ(render({"--format", "flac", "-o", path("flacs"), path("a.wav")}).status, 0);
    EXPECT_EQ(readAudio(dir / "flacs" / "a.flac").info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    EXPECT_EQ(render({"--format", "flac-float", path("a.wav"), path("x.flac")}).status, 2);

    // An output that is its input (by name, through a link, or in a batch into the inputs'
    // folder), or two inputs of one name: refused before any render.
    fs::create_symlink(dir / "a.wav", dir / "alias.wav");
    const std::vector<float> input = readAudio(dir / "a.wav").samples;
    for (const char* output : {"a.wav", "alias.wav"}) {
        const Outcome run = render({path("a.wav"), path(output)});
        EXPECT_EQ(run.status, 2) << output;
        EXPECT_TRUE(contains(run.err, "overwrite the input")) << run.err;
    }
    fs::create_directories(dir / "other");
    fs::copy_file(dir / "a.wav", dir / "other" / "a.wav");
    EXPECT_EQ(render({"-o", path("twice"), path("a.wav"), path("other/a.wav")}).status, 2);
    EXPECT_FALSE(fs::exists(dir / "twice"));
    EXPECT_EQ(render({"-o", dir.string(), path("b.aiff"), path("a.wav")}).status, 2);
    EXPECT_EQ(readAudio(dir / "a.wav").samples, input);
    EXPECT_FALSE(fs::exists(dir / "x.flac"));
    EXPECT_TRUE(leftovers().empty());
}

// A failed or interrupted render leaves an existing output as it was and no partial file.
TEST_F(RenderTool, FailuresExitOneAndLeaveTheOutputAlone) {
    const fs::path out = dir / "out.wav";
    std::ofstream(out) << "previous render";
    writeAudio(dir / "six.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 6, noise(6 * 100));
    for (const char* input : {"six.wav", "missing.wav"}) {
        const Outcome run = render({path(input), out.string()});
        EXPECT_EQ(run.status, 1) << input;
        EXPECT_EQ(lines(run.err), 1) << run.err;
        EXPECT_TRUE(contains(run.err, "error:")) << run.err;
    }
    EXPECT_NE(render({"--demo", "1", "--plugin", path("none.so"), out.string()}).status, 0);
    EXPECT_NE(render({"--demo", "1", (dir / "no-such-dir" / "x.wav").string()}).status, 0);

    // Interrupted, hung up or its report's pipe closed once it writes (its partial file is
    // there): it stops in order. A second interrupt ends it at once, by that signal.
    const auto interrupt = [&](std::vector<int> signals) {
        const size_t before = leftovers().size();
        const pid_t render = start({"--demo", "3600", out.string()});
        for (int wait = 0; wait < 6000 && leftovers().size() == before; ++wait)
            usleep(10000);
        // Stopped, so the signals arrive together however busy the machine is.
        kill(render, SIGSTOP);
        waitpid(render, nullptr, WUNTRACED);
        for (int signal : signals)
            kill(render, signal);
        kill(render, SIGCONT);
        return finish(render);
    };
    for (int signal : {SIGINT, SIGHUP, SIGPIPE}) {
        const Outcome stopped = interrupt({signal});
        EXPECT_EQ(stopped.status, 1) << signal;
        EXPECT_TRUE(contains(stopped.err, "interrupted")) << stopped.err;
    }
    EXPECT_EQ(interrupt({SIGINT, SIGTERM}).status, -1);

    EXPECT_EQ(readText(out), "previous render");
    EXPECT_TRUE(leftovers().empty());
}
