// SPDX-License-Identifier: GPL-3.0-or-later
// orvane-validate: runs named test groups against any VST 2.4 module, VST3 bundle or CLAP
// module, one line per check, exit status 0 only when every check passes.
#include "tools/validate/Groups.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

using namespace orvane::validate;

namespace {

struct Group {
    const char* name;
    void (*run)(Report&, const Settings&);
    const char* what;
};

const Group kGroups[] = {
    {"entry", entryGroup, "entry point, AEffect fields, opcodes 0..89 with null and odd arguments"},
    {"parameters", parameterGroup, "texts within buffers, set/get round trips, non-finite values"},
    {"state", stateGroup, "chunk and parameter round trips, fresh instances, bad chunks"},
    {"processing", processingGroup, "block sizes, rates, extreme input, in place, guard pages"},
    {"realtime", realtimeGroup, "no allocation, lock, wait, file or system call when processing"},
    {"concurrency", concurrencyGroup, "processing while another thread changes everything"},
    {"instances", instancesGroup, "many instances alone and together, load/unload cycles"},
};

// A VST3 bundle (a folder named *.vst3) gets the groups that apply to its processor.
const Group kVst3Groups[] = {
    {"state", vst3StateGroup, "state round trips through partial streams, bad states"},
    {"processing", vst3ProcessingGroup, "odd blocks with changes and MIDI inside, rates, flush"},
    {"realtime", vst3RealtimeGroup, "no allocation, lock, wait, file or system call in process"},
    {"instances", vst3InstancesGroup, "many instances alone and together, load/unload cycles"},
};

// A module whose name ends in ".clap" is driven through the CLAP host instead.
const Group kClapGroups[] = {
    {"processing", clapProcessingGroup,
     "block sizes with host values inside, rates, extreme input, in place"},
    {"state", clapStateGroup, "stream round trips a few bytes per call, bad states"},
    {"realtime", clapRealtimeGroup,
     "no allocation, lock, wait, file or system call in process, events included"},
    {"instances", clapInstancesGroup, "many instances alone and together, load/unload cycles"},
};

bool endsWith(std::string path, const std::string& suffix) {
    while (path.size() > 1 && path.back() == '/') // a bundle folder may be named with its slash
        path.pop_back();
    return path.size() > suffix.size() &&
           path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<Group> groupsFor(const std::string& path) {
    if (endsWith(path, ".vst3")) return {std::begin(kVst3Groups), std::end(kVst3Groups)};
    if (endsWith(path, ".clap")) return {std::begin(kClapGroups), std::end(kClapGroups)};
    return {std::begin(kGroups), std::end(kGroups)};
}

void usage(FILE* out) {
    std::fprintf(out, "usage: orvane-validate [OPTIONS] PLUGIN.so|BUNDLE.vst3|PLUGIN.clap\n"
                      "  --strictness 1|2|3    how hard to try (default 2; 3 runs everything)\n"
                      "  --group NAME          run only this group (repeatable)\n"
                      "  --output-limit X      largest output magnitude allowed (default: finite)\n"
                      "  --host-vendor TEXT    vendor string the host answers with\n"
                      "  --host-product TEXT   product string the host answers with\n"
                      "  --seed N              seed of the random material (default 1)\n"
                      "groups:\n");
    for (const Group& group : kGroups)
        std::fprintf(out, "  %-12s %s\n", group.name, group.what);
    std::fprintf(out, "groups for a VST3 bundle:\n");
    for (const Group& group : kVst3Groups)
        std::fprintf(out, "  %-12s %s\n", group.name, group.what);
    std::fprintf(out, "groups of a CLAP module (PLUGIN.clap):\n");
    for (const Group& group : kClapGroups)
        std::fprintf(out, "  %-12s %s\n", group.name, group.what);
}

// Counting what the processing thread calls needs the interposer loaded before anything else:
// restart once with it preloaded when it sits beside this executable.
void preloadInterposer(char** argv) {
    if (dlsym(RTLD_DEFAULT, "orvane_rtcheck_begin") || std::getenv("ORVANE_RTCHECK_TRIED")) return;
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return;
    self[length] = 0;
    std::string library(self);
    library = library.substr(0, library.rfind('/') + 1) + "liborvane_rtcheck.so";
    if (access(library.c_str(), R_OK) != 0) return;
    const char* existing = std::getenv("LD_PRELOAD");
    const std::string preload = existing && *existing ? library + ":" + existing : library;
    setenv("LD_PRELOAD", preload.c_str(), 1);
    setenv("ORVANE_RTCHECK_TRIED", "1", 1);
    execv(self, argv);
}

} // namespace

int main(int argc, char** argv) {
    preloadInterposer(argv);
    // The marker only guards against restarting in a loop; programs the plug-in starts need not see
    // it.
    unsetenv("ORVANE_RTCHECK_TRIED");
    Settings settings;
    std::vector<std::string> chosen;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        } else if (arg == "--strictness" && hasValue) {
            settings.strictness = std::atoi(argv[++i]);
        } else if (arg == "--group" && hasValue) {
            chosen.emplace_back(argv[++i]);
        } else if (arg == "--output-limit" && hasValue) {
            settings.outputLimit = std::strtof(argv[++i], nullptr);
        } else if (arg == "--host-vendor" && hasValue) {
            settings.host.vendor = argv[++i];
        } else if (arg == "--host-product" && hasValue) {
            settings.host.product = argv[++i];
        } else if (arg == "--seed" && hasValue) {
            settings.seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg.rfind("--", 0) != 0 && settings.pluginPath.empty()) {
            settings.pluginPath = arg;
        } else {
            std::fprintf(stderr, "orvane-validate: unexpected argument \"%s\"\n", arg.c_str());
            usage(stderr);
            return 2;
        }
    }
    if (settings.pluginPath.empty() || settings.strictness < 1 || settings.strictness > 3 ||
        !(settings.outputLimit > 0.0f)) {
        usage(stderr);
        return 2;
    }
    const std::vector<Group> groups = groupsFor(settings.pluginPath);
    for (const std::string& name : chosen) {
        bool known = false;
        for (const Group& group : groups)
            known = known || name == group.name;
        if (!known) {
            std::fprintf(stderr, "orvane-validate: no group \"%s\"\n", name.c_str());
            usage(stderr);
            return 2;
        }
    }

    const auto started = std::chrono::steady_clock::now();
    std::printf("orvane-validate %s at strictness %d\n", settings.pluginPath.c_str(),
                settings.strictness);
    Report report;
    for (const Group& group : groups) {
        bool wanted = chosen.empty();
        for (const std::string& name : chosen)
            wanted = wanted || name == group.name;
        if (wanted) group.run(report, settings);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d checks: %d passed, %d failed, %d skipped in %.1f s\n",
                report.passed() + report.failed() + report.skipped(), report.passed(),
                report.failed(), report.skipped(), seconds);
    return report.failed() == 0 ? 0 : 1;
}
