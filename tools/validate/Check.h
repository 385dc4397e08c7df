// SPDX-License-Identifier: GPL-3.0-or-later
// One check of the validator: run in a child process of its own, so that a crash, a hang or a
// corrupted heap in the plug-in fails that check only, and reported as one line.
#pragma once

#include <functional>
#include <string>

namespace orvane::validate {

struct Outcome {
    enum Kind { kPass, kFail, kSkip } kind = kPass;
    std::string detail;
};

inline Outcome pass(std::string detail = {}) {
    return {Outcome::kPass, std::move(detail)};
}
inline Outcome fail(std::string detail) {
    return {Outcome::kFail, std::move(detail)};
}
inline Outcome skip(std::string detail) {
    return {Outcome::kSkip, std::move(detail)};
}

class Report {
public:
    // Runs check in a forked child and prints "PASS|FAIL|SKIP group: name[: detail]".
    void run(const std::string& group, const std::string& name,
             const std::function<Outcome()>& check, int timeoutSeconds = 120);
    int passed() const { return passes; }
    int failed() const { return failures; }
    int skipped() const { return skips; }

private:
    int passes = 0;
    int failures = 0;
    int skips = 0;
};

} // namespace orvane::validate
