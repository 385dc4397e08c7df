// SPDX-License-Identifier: GPL-3.0-or-later
// The editor of the real module as a host drives it: opened at each size, controls used with
// the mouse and keys, automation and program changes arriving from the host's threads.
#include "tests/gui/EditorWindow.h"

#include <chrono>
#include <functional>

namespace orvane::guitest {
namespace {

using orvgui::CRect;
using Clock = std::chrono::steady_clock;

// Centres of controls at 100 %.
constexpr int kBypass[2] = {434, 119};
constexpr int kVolumeKnob[2] = {435, 187};
constexpr int kAirAmountKnob[2] = {243, 259};
constexpr int kLogo[2] = {229, 47};
constexpr int kPrevious[2] = {96, 121};
constexpr int kNext[2] = {106, 121};
constexpr int kProgramMenu[2] = {200, 122};
constexpr int kRecallA[2] = {37, 191};
constexpr int kStoreA[2] = {127, 191};
constexpr int kUndo[2] = {241, 191};
constexpr int kNoteSlot[2] = {184, 417};
constexpr int kKeySwitch[2] = {344, 267};
constexpr int kMidiPresetSwitch[2] = {344, 309};
constexpr int kCaptureSwitch[2] = {344, 352};
constexpr int kChannelMenu[2] = {346, 397};
constexpr int kSizeMenu[2] = {346, 441};
int rangeButtonY(int k) {
    return 369 + 21 * k;
}

int changedPixels(const Screenshot& a, const Screenshot& b, const CRect& region) {
    int changed = 0;
    for (int y = int(region.top); y < int(region.bottom); ++y)
        for (int x = int(region.left); x < int(region.right); ++x)
            changed += !(a.pixel(x, y) == b.pixel(x, y));
    return changed;
}

struct Size {
    const char* pref;
    float scale;
    int width, height;
    friend void PrintTo(const Size& size, std::ostream* out) {
        *out << size.width << "x" << size.height;
    }
};

class EditorFaces : public EditorWindowTest, public testing::WithParamInterface<Size> {};

TEST_P(EditorFaces, OpenAtTheStoredSizeWithEveryControlInPlace) {
    const Size size = GetParam();
    if (size.pref[0]) setPref(size.pref, "Y");
    scale = size.scale;
    openEditor();
    EXPECT_EQ(plugin->effect()->flags, effFlagsHasEditor | effFlagsCanReplacing);
    testhost::HostConfig chunkHost;
    chunkHost.product = "MASCHINE HOST";
    EXPECT_EQ(testhost::Plugin::load(testhost::builtPluginPath(), chunkHost)->effect()->flags,
              effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks);
    ERect* rect = nullptr;
    plugin->dispatch(effEditGetRect, 0, 0, &rect);
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->right - rect->left, size.width);
    EXPECT_EQ(rect->bottom - rect->top, size.height);
    const auto children = session->window().children();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(session->window().childRect(children[0]), CRect(0, 0, size.width, size.height));
    const std::string name = "orvane-" + std::to_string(int(size.scale * 100));
    const Screenshot face = shot(name);
    ASSERT_EQ(face.width(), size.width);
    // As the manual shows it, on any screen (a 30-bit one rounds each channel twice).
    const auto reference = Screenshot::load(ORVANE_REFERENCE_IMAGES "/" + name + ".png");
    ASSERT_TRUE(reference);
    int different = 0;
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            const orvgui::CColor a = face.pixel(x, y), b = reference->pixel(x, y);
            different += std::abs(a.red - b.red) > 1 || std::abs(a.green - b.green) > 1 ||
                         std::abs(a.blue - b.blue) > 1;
        }
    EXPECT_EQ(different, 0);

    // Controls answer where the face shows them at this size.
    clickAt(kBypass[0], kBypass[1]);
    ASSERT_TRUE(lastReport(*plugin, 40));
    EXPECT_EQ(*lastReport(*plugin, 40), 1.0f);
    clickAt(kNext[0], kNext[1]);
    EXPECT_EQ(plugin->programName(), "Default");
}

INSTANTIATE_TEST_SUITE_P(EditorWindow, EditorFaces,
                         testing::Values(Size{"", 1.0f, 550, 475}, Size{"Big150", 1.5f, 825, 712},
                                         Size{"Big200", 2.0f, 1100, 950}));

TEST_F(EditorWindowTest, KnobDragAutomatesAndHostAutomationMovesKnobAndReadout) {
    setPref("Big200", "Y");
    scale = 2.0f;
    openEditor();
    const Screenshot before = shot("before-drag");
    session->moveTo(at(kVolumeKnob[0]), at(kVolumeKnob[1]));
    session->press();
    session->moveTo(at(kVolumeKnob[0]), at(kVolumeKnob[1]) - 30);
    session->moveTo(at(kVolumeKnob[0]), at(kVolumeKnob[1]) - 60);
    session->moveTo(at(kVolumeKnob[0] + 80), at(kVolumeKnob[1]) - 60); // the mouse leaves the knob
    idleFor(100);
    const Screenshot dragging = shot("dragging");
    session->release();
    idleFor(100);
    EXPECT_EQ(plugin->log().beginEdit, std::vector<int>{1});
    EXPECT_EQ(plugin->log().endEdit, std::vector<int>{1});
    ASSERT_TRUE(lastReport(*plugin, 1));
    EXPECT_GT(*lastReport(*plugin, 1), 0.6f);
    const CRect volumeReadout(at(407), at(214), at(407 + 40), at(214 + 14));
    EXPECT_GT(changedPixels(before, dragging, volumeReadout), 20)
        << "the dragged knob's readout follows while the mouse is elsewhere";

    // Automation from a thread of the host's: the editor follows at its next idle.
    std::thread([&] { plugin->setParameter(3, 1.0f); }).join();
    const Screenshot automated = shot("automated");
    const CRect airKnob(at(209), at(205), at(277), at(273));
    EXPECT_GT(changedPixels(dragging, automated, airKnob), 100);
    const CRect airReadout(at(243), at(272), at(243 + 40), at(272 + 14));
    EXPECT_GT(changedPixels(dragging, automated, airReadout), 20);
    EXPECT_EQ(reportCount(*plugin, 3), 0) << "host automation is not echoed to the host";
}

TEST_F(EditorWindowTest, ProgramStepsMenuAndArrowKeys) {
    openEditor();
    session->click(kNext[0], kNext[1], 1, 2); // two clicks within 250 ms step once
    idleFor(120);
    EXPECT_EQ(plugin->programName(), "Default");
    idleFor(300);
    clickAt(kPrevious[0], kPrevious[1]);
    EXPECT_EQ(plugin->programName(), "Nice Start");
    idleFor(300);
    session->moveTo(300, 300);
    session->key("Down");
    idleFor(120);
    EXPECT_EQ(plugin->programName(), "Default");
    idleFor(300);
    hostKey(VKEY_UP);
    EXPECT_EQ(plugin->programName(), "Nice Start");

    chooseInMenu(kProgramMenu[0], kProgramMenu[1], 4, 1, "program-menu");
    EXPECT_EQ(plugin->programName(), "Mid and High Air");
    EXPECT_NEAR(plugin->getParameter(3), 0.38f, 1e-6);
    plugin->setParameter(1, 0.9f);
    chooseInMenu(kProgramMenu[0], kProgramMenu[1], 9); // "clear preset"
    EXPECT_EQ(plugin->getParameter(1), 0.5f);
    EXPECT_EQ(plugin->programName(), "Mid and High Air");

    chooseInMenu(kProgramMenu[0], kProgramMenu[1], 11); // "set To 150% Screen"
    EXPECT_EQ(pref("Big150"), "Y");
    EXPECT_EQ(pref("Big100"), "N");
    EXPECT_EQ(pref("Big200"), "N");
    EXPECT_EQ(plugin->programName(), "Mid and High Air");
    ERect* rect = nullptr;
    plugin->dispatch(effEditGetRect, 0, 0, &rect);
    EXPECT_EQ(rect->right, 550) << "the open editor keeps its size";
}

TEST_F(EditorWindowTest, MemoriesRangeButtonsAndNoteMenu) {
    openEditor();
    plugin->setParameter(1, 0.3f);
    clickAt(kStoreA[0], kStoreA[1]);
    plugin->setParameter(1, 0.8f);
    clickAt(kRecallA[0], kRecallA[1]);
    EXPECT_NEAR(plugin->getParameter(1), 0.3f, 1e-6);
    EXPECT_EQ(plugin->getParameter(41), 1.0f);
    clickAt(kUndo[0], kUndo[1]);
    EXPECT_NEAR(plugin->getParameter(1), 0.8f, 1e-6);
    EXPECT_EQ(plugin->getParameter(41), 0.0f);
    EXPECT_EQ(plugin->getParameter(42), 0.0f);
    EXPECT_EQ(reportCount(*plugin, 1), 0) << "memories do not tell the host";

    clickAt(363, rangeButtonY(2));
    EXPECT_NEAR(plugin->getParameter(9), 0.526316f, 1e-5);
    EXPECT_EQ(reportCount(*plugin, 9), 0);
    clickAt(363, rangeButtonY(3));

    plugin->setParameter(8, 1.0f); // the split frequency shown as a note
    idleFor(100);
    clickAt(kNoteSlot[0], kNoteSlot[1]);
    hostKey(VKEY_DOWN, 2);  // "MIDI Note 53 to 90"
    hostKey(VKEY_RIGHT);    // opens it on "F3-53"
    hostKey(VKEY_DOWN, 16); // "A4-69"
    shot("note-menu");
    hostKey(VKEY_RETURN);
    idleFor(100);
    ASSERT_TRUE(lastReport(*plugin, 7));
    EXPECT_NEAR(*lastReport(*plugin, 7), std::log2(22.0) / 10.0, 1e-4);
}

TEST_F(EditorWindowTest, LearnMenuRowsCommandsAndTypedValueWithoutBlockingTheHost) {
    setIntPref("7", 1); // controller 7 drives the volume
    openEditor();
    clickAt(kVolumeKnob[0], kVolumeKnob[1], 3);
    shot("learn-menu");
    hostKey(VKEY_DOWN);
    hostKey(VKEY_RETURN); // "set to default"
    idleFor(60);
    ASSERT_TRUE(lastReport(*plugin, 1));
    EXPECT_EQ(*lastReport(*plugin, 1), 0.5f);

    chooseInMenu(kVolumeKnob[0], kVolumeKnob[1], 3, 3); // "latch to MIDI"
    sendController(20, 100);
    idleFor(100);
    clickAt(kVolumeKnob[0], kVolumeKnob[1], 3); // reads the bindings afresh
    shot("learn-menu-latched");
    hostKey(VKEY_ESCAPE);
    EXPECT_EQ(intPref("20"), 1);
    EXPECT_EQ(intPref("7"), 1);

    // "set to value": while the dialog is open the host keeps idling and the editor ignores
    // clicks; the answer is taken at a later idle.
    answer("");
    const float before = plugin->getParameter(1);
    chooseInMenu(kVolumeKnob[0], kVolumeKnob[1], 2, 3);
    const int bypassReports = reportCount(*plugin, 40);
    clickAt(kBypass[0], kBypass[1]);
    EXPECT_EQ(reportCount(*plugin, 40), bypassReports);
    auto slowest = Clock::duration::zero();
    for (int i = 0; i < 20; ++i) {
        const auto start = Clock::now();
        session->idle();
        slowest = std::max(slowest, Clock::now() - start);
    }
    EXPECT_LT(slowest, std::chrono::milliseconds(100));
    EXPECT_EQ(plugin->getParameter(1), before) << "nothing typed yet";
    answer("3");
    const auto end = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < end && std::fabs(plugin->getParameter(1) - 0.575f) > 1e-5)
        session->idle();
    EXPECT_NEAR(plugin->getParameter(1), 0.575f, 1e-5) << "3 dB typed";
    idleFor(100);
    clickAt(kBypass[0], kBypass[1]);
    EXPECT_EQ(reportCount(*plugin, 40), bypassReports + 1);
}

TEST_F(EditorWindowTest, DialogsStayAboveTheHostAndEndAtOnceWithTheEditorOrTheEffect) {
    const auto openHeldDialog = [&] {
        answer("");
        chooseInMenu(kVolumeKnob[0], kVolumeKnob[1], 2, 3); // "set to value"
        for (int i = 0; i < 100 && childrenNamed("zenity") == 0; ++i)
            idleFor(20);
        ASSERT_EQ(childrenNamed("zenity"), 1);
    };
    const auto closedAtOnce = [&](const std::function<void()>& close) {
        const auto start = Clock::now();
        close();
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(childrenNamed("zenity"), 0) << "the dialog outlived what it belonged to";
    };
    openEditor();
    const float before = plugin->getParameter(1);
    openHeldDialog();
    std::string first;
    std::getline(std::ifstream(configDir + "/args"), first);
    EXPECT_EQ(first, "--attach=" + std::to_string(session->window().id()));
    closedAtOnce([&] { session.reset(); });
    answer("3");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(plugin->getParameter(1), before) << "an ended dialog's answer is dropped";

    session = std::make_unique<EditorSession>(*plugin);
    openHeldDialog();
    stopAudio();
    session->abandon(); // a host that unloads the effect with the editor open
    closedAtOnce([&] { plugin.reset(); });
}

TEST_F(EditorWindowTest, SettingsPanelWritesEachPreference) {
    openEditor();
    clickAt(kLogo[0], kLogo[1]);
    shot("settings");
    clickAt(kKeySwitch[0], kKeySwitch[1]);
    EXPECT_EQ(pref("Key"), "N");
    clickAt(kMidiPresetSwitch[0], kMidiPresetSwitch[1]);
    EXPECT_EQ(pref("MidiPreset"), "Y");
    clickAt(kCaptureSwitch[0], kCaptureSwitch[1]);
    EXPECT_EQ(pref("Capture"), "Y");
    chooseInMenu(kChannelMenu[0], kChannelMenu[1], 4);
    EXPECT_EQ(intPref("Midi Channel"), 3);
    chooseInMenu(kSizeMenu[0], kSizeMenu[1], 3);
    EXPECT_EQ(pref("Big200"), "Y");
    EXPECT_EQ(pref("Big150"), "N");
    idleFor(500);     // the next-open message is answered
    clickAt(30, 300); // the panel's background returns to the face
    clickAt(kBypass[0], kBypass[1]);
    EXPECT_EQ(reportCount(*plugin, 40), 1);
    hostKey(VKEY_DOWN);
    EXPECT_EQ(plugin->programName(), "Nice Start") << "arrow keys are off now";
}

TEST_F(EditorWindowTest, OpensAndClosesAHundredTimesWhileAutomationRuns) {
    openEditor();
    session.reset();
    std::atomic<bool> automating{true};
    std::thread automation([&] {
        for (int i = 0; automating; ++i) {
            plugin->setParameter(1 + i % 11, float(i % 100) / 100.0f);
            if (i % 50 == 0) plugin->dispatch(effSetProgram, 0, 0);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    // Meanwhile a second instance's editor opens and closes on a thread of the host's own.
    auto other = testhost::Plugin::load(testhost::builtPluginPath());
    ASSERT_TRUE(other);
    std::atomic<int> otherOpens{0};
    std::thread otherEditor([&] {
        HostWindow otherWindow(600, 0, 550, 475);
        for (int i = 0; i < 50; ++i) {
            if (other->dispatch(effEditOpen, 0, 0, otherWindow.parentHandle())) ++otherOpens;
            other->dispatch(effEditIdle);
            other->dispatch(effEditClose);
        }
    });
    HostWindow window(0, 0, 550, 475);
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(plugin->dispatch(effEditOpen, 0, 0, window.parentHandle()));
        if (i % 10 == 0) plugin->dispatch(effEditOpen, 0, 0, window.parentHandle());
        plugin->dispatch(effEditIdle);
        plugin->dispatch(effEditClose);
        plugin->dispatch(effEditIdle); // some hosts idle a closed editor
    }
    otherEditor.join();
    EXPECT_EQ(otherOpens, 50);
    // A host that destroys the parent window before closing the editor.
    {
        HostWindow doomed(0, 0, 550, 475);
        ASSERT_TRUE(plugin->dispatch(effEditOpen, 0, 0, doomed.parentHandle()));
        plugin->dispatch(effEditIdle);
        doomed.destroy();
        plugin->dispatch(effEditIdle);
        plugin->dispatch(effEditClose);
    }
    automating = false;
    automation.join();
    session = std::make_unique<EditorSession>(*plugin);
    ASSERT_TRUE(session->isOpen());
    plugin->setParameter(1, 0.25f);
    idleFor(100);
    clickAt(kVolumeKnob[0], kVolumeKnob[1], 3);
    hostKey(VKEY_DOWN);
    hostKey(VKEY_RETURN);
    EXPECT_EQ(plugin->getParameter(1), 0.5f) << "the reopened editor still works";

    // A host that unloads the module with the editor open: the effect's destructor closes it.
    session->abandon();
    session.reset();
    stopAudio();
    plugin.reset();
}

TEST_F(EditorWindowTest, DoubleClickSetsTheDefaultAndTheLearnMenusOwnReleaseChoosesNothing) {
    openEditor();
    plugin->setParameter(1, 0.9f);
    idleFor(100);
    session->click(kVolumeKnob[0], kVolumeKnob[1], 1, 2);
    idleFor(150);
    ASSERT_TRUE(lastReport(*plugin, 1));
    EXPECT_EQ(*lastReport(*plugin, 1), 0.5f);

    // Press, move onto the first entry of the menu that opened there, release: still open.
    const int reports = reportCount(*plugin, 1);
    session->moveTo(kVolumeKnob[0], kVolumeKnob[1]);
    session->press(3);
    idleFor(100);
    session->moveTo(kVolumeKnob[0] + 20, kVolumeKnob[1] + 70);
    session->release(3);
    idleFor(100);
    hostKey(VKEY_ESCAPE);
    EXPECT_EQ(reportCount(*plugin, 1), reports);
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 'a', 0), 0) << "nobody used it";
}

TEST_F(EditorWindowTest, EditorsOfTwoInstancesWorkSideBySide) {
    openEditor();
    auto other = testhost::Plugin::load(testhost::builtPluginPath());
    ASSERT_TRUE(other);
    other->start();
    EditorSession right(*other, 600, 0);
    ASSERT_TRUE(right.isOpen());
    clickAt(kBypass[0], kBypass[1]);
    right.click(kBypass[0], kBypass[1]);
    ASSERT_TRUE(right.idleUntil([&] { return reportCount(*other, 40) == 1; }));
    EXPECT_EQ(reportCount(*plugin, 40), 1);
    session->close();
    right.click(kBypass[0], kBypass[1]);
    ASSERT_TRUE(right.idleUntil([&] { return reportCount(*other, 40) == 2; }));
    EXPECT_EQ(other->getParameter(40), 0.0f);
}

TEST_F(EditorWindowTest, CarelessHostsAreSurvived) {
    openEditor();
    session.reset();
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(0x1ffffff3)), 0);
    plugin->dispatch(effEditIdle);
    plugin->dispatch(effEditClose);
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 0, VKEY_DOWN), 0);

    // Closed while a menu is open: its choice never arrives.
    session = std::make_unique<EditorSession>(*plugin);
    clickAt(kProgramMenu[0], kProgramMenu[1]);
    session->close();
    session = std::make_unique<EditorSession>(*plugin);
    clickAt(kVolumeKnob[0], kVolumeKnob[1], 3);
    session->close();
    EXPECT_EQ(reportCount(*plugin, 1), 0);

    // A host that never idles: open still draws the first picture, and one idle later handles
    // the whole click that waited.
    session = std::make_unique<EditorSession>(*plugin, 0, 0, 0);
    const auto first = Screenshot::of(session->window().children().at(0), "without-idle");
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->pixel(5, 5) == (orvgui::CColor{0, 0, 0, 255}));
    session->click(kBypass[0], kBypass[1]);
    xdotool("sleep 0.2");
    session->idle(1);
    EXPECT_EQ(reportCount(*plugin, 40), 1);
}

TEST_F(EditorWindowTest, AnotherPluginsHandlerStillReachesOursAfterTheModuleIsUnloaded) {
    openEditor();
    chainXErrorHandler();
    session.reset();
    stopAudio();
    plugin.reset();
    provokeXError(); // through the other handler into ours, which must still be mapped
}

} // namespace
} // namespace orvane::guitest
