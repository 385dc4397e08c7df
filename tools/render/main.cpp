// SPDX-License-Identifier: GPL-3.0-or-later
// orvane-render: renders audio through the built Orvane.so, hosted as a DAW hosts it.
#include "tools/render/Batch.h"
#include "tools/render/DemoSignal.h"
#include "tools/render/Interruption.h"
#include "tools/render/NamedParameters.h"
#include "tools/render/RenderJob.h"
#include "tools/render/RenderOptions.h"

#include <cstdio>
#include <vector>

namespace {

// The module's own version number, 0xMMmmpp, as M.m.p.
void printVersion(orvane::testhost::Plugin& plugin) {
    const auto version = static_cast<long>(plugin.dispatch(effGetVendorVersion));
    std::printf("orvane-render %ld.%ld.%ld\n", version >> 16, (version >> 8) & 0xff,
                version & 0xff);
}

} // namespace

int main(int argc, char** argv) {
    try {
        const RenderOptions options =
            parseRenderOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::fputs(renderUsage(), stdout);
            return 0;
        }
        // Loading the effect once up front checks every setting before any file is touched.
        auto plugin = loadEffect(options, DemoSignal::kSampleRate);
        if (options.version) {
            printVersion(*plugin);
            return 0;
        }
        if (options.listParams) {
            std::fputs(parameterList(*plugin).c_str(), stdout);
            return 0;
        }
        plugin.reset();
        const std::vector<RenderJob> jobs = planJobs(options);
        return renderAll(options, jobs, stopOnSignals());
    } catch (const std::exception& error) {
        std::fputs(errorLine(error).c_str(), stderr);
        return exitStatusOf(error);
    }
}
