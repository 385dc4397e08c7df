// SPDX-License-Identifier: GPL-3.0-or-later
// A CLAP session's state is the LV2 state byte for byte, loads both ways, and survives hosts'
// streams that move a few bytes per call.
#include "clap/ClapHosts.h"
#include "prefs/TempConfig.h"

#include <glib.h>

namespace {

using orvane::claphost::Event;
using orvane::claphost::valueEvent;
using Bytes = std::vector<std::uint8_t>;

// The state inside an LV2 session's Turtle: base64 from the version word 1 ("AQAA").
std::size_t stateAt(const std::string& session) {
    return session.find("\"AQAA") + 1;
}

Bytes lv2State(const std::string& session) {
    const std::size_t at = stateAt(session);
    gsize size = 0;
    guchar* raw = g_base64_decode(session.substr(at, session.find('"', at) - at).c_str(), &size);
    Bytes bytes(raw, raw + size);
    g_free(raw);
    return bytes;
}

std::string withLv2State(std::string session, const Bytes& bytes) {
    const std::size_t at = stateAt(session);
    gchar* text = g_base64_encode(bytes.data(), bytes.size());
    session.replace(at, session.find('"', at) - at, text);
    g_free(text);
    return session;
}

void runBlock(orvane::lv2host::Lv2Plugin& plugin) {
    StereoSignal s = testSignal(64);
    plugin.run(s.left.data(), s.right.data(), s.left.data(), s.right.data(), 64);
}

class ClapStateTest : public TempConfig {};

TEST_F(ClapStateTest, StateIsTheLv2StateAndLoadsBothWays) {
    auto clap = loadClap();
    auto lv2 = loadLv2();
    ASSERT_TRUE(clap && lv2);
    clap->flush({valueEvent(0, 1, -6.0), valueEvent(0, 3, 4.5)});
    lv2->setControl("main_volume", -6.0f);
    lv2->setControl("air_amount", 4.5f);
    runBlock(*lv2);
    const std::string session = lv2->saveState();
    const Bytes saved = clap->saveState(3);
    ASSERT_EQ(saved.size(), 548u);
    EXPECT_EQ(saved, lv2State(session));

    // CLAP to LV2.
    clap->flush({valueEvent(0, 1, 2.5)});
    const Bytes changed = clap->saveState(7);
    auto reopened = loadLv2();
    ASSERT_TRUE(reopened && reopened->restoreState(withLv2State(session, changed)));
    runBlock(*reopened);
    EXPECT_EQ(effectOf(*reopened)->getParameter(effectOf(*reopened), 1), 0.5625f);

    // LV2 to CLAP: the host hears of the values as the effect's own changes.
    auto fresh = loadClap();
    ASSERT_TRUE(fresh && fresh->loadState(saved, 5));
    double volume = 0;
    ASSERT_TRUE(fresh->value(1, volume));
    EXPECT_FLOAT_EQ(volume, -6.0);
    float l = 0, r = 0;
    const std::vector<Event> reported = fresh->process(&l, &r, &l, &r, 1);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0].id, 1u);
    EXPECT_FLOAT_EQ(reported[0].value, -6.0);
    EXPECT_EQ(reported[0].flags, 0u);
    EXPECT_EQ(fresh->saveState(), saved);
    EXPECT_TRUE(fresh->log().threadFaults.empty());
}

TEST_F(ClapStateTest, ShortLongAndForeignStreamsChangeNothing) {
    auto clap = loadClap();
    ASSERT_TRUE(clap);
    clap->flush({valueEvent(0, 1, -6.0)});
    const Bytes saved = clap->saveState();
    Bytes longer = saved, foreign = saved;
    longer.push_back(0);
    foreign[0] = 2; // a version this build does not know
    clap->flush({valueEvent(0, 1, 3.0)});
    for (const Bytes& bad : {Bytes(saved.begin(), saved.end() - 1), longer, foreign, Bytes()})
        EXPECT_FALSE(clap->loadState(bad, 4));
    double volume = 0;
    ASSERT_TRUE(clap->value(1, volume));
    EXPECT_FLOAT_EQ(volume, 3.0);
    float l = 0, r = 0;
    EXPECT_TRUE(clap->process(&l, &r, &l, &r, 1).empty()); // nothing changed to report
}

} // namespace
