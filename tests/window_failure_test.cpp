// Failure injection through the platform interface: every step of opening the window fails in
// turn, at start and in the F1 re-creation, and every teardown step fails in turn. Each runs
// the whole program path (RunDemo) on the injected backend.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "injected_platform.h"
#include "platform/keys.h"
#include "shell/frame_loop.h"
#include "shell/window.h"

using namespace kelvorin;
using Strings = std::vector<std::string>;

namespace {

// InitRenderState is no platform step: it fails when the pictures are missing.
const int INIT_RENDER_STATE = injected::NO_STEP;

struct OpenFailure {
    int step;
    const char *text;
    Strings teardown;  // what CloseDemoWindow releases, windowed
};

void PrintTo(const OpenFailure &f, std::ostream *os);

const Strings CONTEXT_AND_ALL = {"releaseCurrent", "deleteContext", "releaseDeviceContext",
                                 "destroyWindow", "unregisterClass"};
const Strings DC_AND_ALL = {"releaseDeviceContext", "destroyWindow", "unregisterClass"};

const OpenFailure openFailures[] = {
    {injected::REGISTER_CLASS, "Failed To Register The Window Class.", {}},
    {injected::CREATE_WINDOW, "Window Creation Error.", {"unregisterClass"}},
    {injected::GET_DEVICE_CONTEXT,
     "Can't Create A GL Device Context.",
     {"destroyWindow", "unregisterClass"}},
    {injected::CHOOSE_PIXEL_FORMAT, "Can't Find A Suitable PixelFormat.", DC_AND_ALL},
    {injected::SET_PIXEL_FORMAT, "Can't Set The PixelFormat.", DC_AND_ALL},
    {injected::CREATE_CONTEXT, "Can't Create A GL Rendering Context.", DC_AND_ALL},
    {injected::MAKE_CURRENT, "Can't Activate The GL Rendering Context.", CONTEXT_AND_ALL},
    {INIT_RENDER_STATE, "Initialization Failed.", CONTEXT_AND_ALL},
};

std::string EmptyDirectory() {
    char name[] = "/tmp/kelvorin-nodata-XXXXXX";
    return mkdtemp(name);
}

std::string StepName(int step) {
    return step == INIT_RENDER_STATE ? "initRenderState" : injected::stepNames[step];
}

void PrintTo(const OpenFailure &f, std::ostream *os) { *os << StepName(f.step); }

// A working directory without Data/ from now on, so that the next texture load fails.
void LeaveData() {
    std::string empty = EmptyDirectory();
    ASSERT_EQ(chdir(empty.c_str()), 0);
    rmdir(empty.c_str());  // removed at once: nothing to clean up however the test ends
}

// What the log holds from the failing step on: the step, the teardown in CloseDemoWindow's
// order (the display restored first when fullscreen), then the box, and nothing after it.
Strings ExpectedTail(const OpenFailure &f, bool fullscreen) {
    Strings tail = {f.step == INIT_RENDER_STATE ? "showWindow" : StepName(f.step)};
    if (fullscreen && f.step != injected::REGISTER_CLASS) {
        tail.push_back("restoreDisplayMode");
        tail.push_back("showCursor(1)");
    }
    tail.insert(tail.end(), f.teardown.begin(), f.teardown.end());
    tail.push_back(std::string("box:") + f.text);
    return tail;
}

// The tail of the log from the last entry equal to `from`.
Strings LastFrom(const std::string &from) {
    for (size_t i = injected::log.size(); i-- > 0;)
        if (injected::log[i] == from)
            return Strings(injected::log.begin() + i, injected::log.end());
    return {};
}

void ExpectErrorBox(const injected::Box &box, const char *text) {
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "ERROR");
    EXPECT_EQ(box.style, unsigned(MB_OK | MB_ICONEXCLAMATION));
}

void Arm(int step, int atCall) {
    injected::Install();
    injected::failing = step == INIT_RENDER_STATE ? injected::NO_STEP : injected::Step(step);
    injected::failAtCall = atCall;
}

class StartFailure : public testing::TestWithParam<std::tuple<OpenFailure, bool>> {};

}  // namespace

TEST_P(StartFailure, ShowsItsTextTearsDownWhatExistsAndExitsWithZero) {
    const OpenFailure &f = std::get<0>(GetParam());
    bool fullscreen = std::get<1>(GetParam());
    Arm(f.step, 1);
    injected::startAnswer = fullscreen ? IDYES : IDNO;
    if (f.step == INIT_RENDER_STATE) LeaveData();

    EXPECT_EQ(RunDemo(), 0);
    EXPECT_EQ(LastFrom(ExpectedTail(f, fullscreen)[0]), ExpectedTail(f, fullscreen));
    ASSERT_EQ(injected::boxes.size(), 2u);  // the start question and the failure
    ExpectErrorBox(injected::boxes[1], f.text);
    EXPECT_EQ(injected::polls, 0);
    EXPECT_EQ(injected::swaps, 0);

    // Nothing is released twice: a second teardown finds nothing left but the class.
    injected::log.clear();
    CloseDemoWindow();
    Strings again = {"unregisterClass"};
    if (fullscreen) again.insert(again.begin(), {"restoreDisplayMode", "showCursor(1)"});
    EXPECT_EQ(injected::log, again);
}

INSTANTIATE_TEST_SUITE_P(EachStep, StartFailure,
                         testing::Combine(testing::ValuesIn(openFailures), testing::Bool()),
                         [](const testing::TestParamInfo<StartFailure::ParamType> &info) {
                             return StepName(std::get<0>(info.param).step) +
                                    (std::get<1>(info.param) ? "Fullscreen" : "Windowed");
                         });

TEST(StartFailure, RefusedDisplayModeAnsweredNoClosesWithoutTeardown) {
    Arm(injected::SET_DISPLAY_MODE, 1);
    injected::startAnswer = IDYES;
    EXPECT_EQ(RunDemo(), 0);
    EXPECT_EQ(LastFrom("setDisplayMode"),
              (Strings{"setDisplayMode",
                       "box:The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. "
                       "Use Windowed Mode Instead?",
                       "box:Program Will Now Close."}));
    ASSERT_EQ(injected::boxes.size(), 3u);
    EXPECT_EQ(injected::boxes[1].caption, "Vask GL");
    EXPECT_EQ(injected::boxes[1].style, unsigned(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(injected::boxes[2].caption, "ERROR");
    EXPECT_EQ(injected::boxes[2].style, unsigned(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(injected::polls, 0);
}

TEST(StartFailure, RefusedDisplayModeAnsweredYesRunsWindowed) {
    Arm(injected::SET_DISPLAY_MODE, 1);
    injected::startAnswer = IDYES;
    injected::fallbackAnswer = IDYES;
    injected::events = [](int poll, Event *e) {
        if (poll == 3) *e = injected::Key(EV_KEYDOWN, VK_ESCAPE);
        return poll == 3;
    };
    EXPECT_EQ(RunDemo(), 0);
    EXPECT_FALSE(fullscreenMode);
    EXPECT_EQ(injected::swaps, 2);
    for (const std::string &entry : injected::log) {
        EXPECT_NE(entry, "showCursor(0)") << "the cursor was hidden for a window";
        EXPECT_NE(entry, "restoreDisplayMode") << "a mode was restored that never changed";
    }
    EXPECT_EQ(injected::boxes.size(), 2u);
}

namespace {

struct TeardownFailure {
    injected::Step step;
    const char *text;
};
const TeardownFailure teardownFailures[] = {
    {injected::RELEASE_CURRENT, "Release Of DC And RC Failed."},
    {injected::DELETE_CONTEXT, "Release Rendering Context Failed."},
    {injected::RELEASE_DEVICE_CONTEXT, "Release Device Context Failed."},
    {injected::DESTROY_WINDOW, "Could Not Release hWnd."},
    {injected::UNREGISTER_CLASS, "Could Not Unregister Class."},
};

void PrintTo(const TeardownFailure &f, std::ostream *os) { *os << StepName(f.step); }

class ShutdownFailure : public testing::TestWithParam<TeardownFailure> {};

}  // namespace

TEST_P(ShutdownFailure, ShowsItsTextAndTheLaterStepsStillRun) {
    const TeardownFailure &f = GetParam();
    Arm(f.step, 1);
    injected::events = [](int poll, Event *e) {
        if (poll == 2) *e = injected::Key(EV_KEYDOWN, VK_ESCAPE);
        return poll == 2;
    };
    EXPECT_EQ(RunDemo(), 0);
    Strings expected;
    for (int s = injected::RELEASE_CURRENT; s <= injected::UNREGISTER_CLASS; s++) {
        expected.push_back(injected::stepNames[s]);
        if (s == f.step) expected.push_back(std::string("box:") + f.text);
    }
    EXPECT_EQ(LastFrom("releaseCurrent"), expected);
    ASSERT_EQ(injected::boxes.size(), 2u);
    EXPECT_EQ(injected::boxes[1].caption, "SHUTDOWN ERROR");
    EXPECT_EQ(injected::boxes[1].style, unsigned(MB_OK | MB_ICONINFORMATION));
}

INSTANTIATE_TEST_SUITE_P(EachStep, ShutdownFailure, testing::ValuesIn(teardownFailures),
                         [](const testing::TestParamInfo<TeardownFailure> &info) {
                             return StepName(info.param.step);
                         });

namespace {

class SwitchFailure : public testing::TestWithParam<OpenFailure> {};

}  // namespace

// The demo starts windowed; F1 arrives in the first pass, acts in the second, and the
// fullscreen re-creation fails. The program ends there: no further pass, no second teardown.
TEST_P(SwitchFailure, EndsTheProgramAtOnceWithZero) {
    const OpenFailure &f = GetParam();
    Arm(f.step, 2);
    injected::events = [](int poll, Event *e) {
        if (poll == 1) *e = injected::Key(EV_KEYDOWN, VK_F1);
        return poll == 1;
    };
    if (f.step == INIT_RENDER_STATE) injected::onSwap = [] { LeaveData(); };

    EXPECT_EQ(RunDemo(), 0);
    EXPECT_EQ(injected::polls, 2);
    EXPECT_EQ(injected::swaps, 2);
    EXPECT_TRUE(fullscreenMode);
    EXPECT_EQ(LastFrom(ExpectedTail(f, true)[0]), ExpectedTail(f, true));
    ASSERT_EQ(injected::boxes.size(), 2u);
    ExpectErrorBox(injected::boxes[1], f.text);
}

INSTANTIATE_TEST_SUITE_P(EachStep, SwitchFailure, testing::ValuesIn(openFailures),
                         [](const testing::TestParamInfo<OpenFailure> &info) {
                             return StepName(info.param.step);
                         });

TEST(SwitchFailure, RefusedDisplayModeAnsweredNoEndsTheProgram) {
    Arm(injected::SET_DISPLAY_MODE, 1);  // the windowed start changes no mode
    injected::events = [](int poll, Event *e) {
        if (poll == 1) *e = injected::Key(EV_KEYDOWN, VK_F1);
        return poll == 1;
    };
    EXPECT_EQ(RunDemo(), 0);
    EXPECT_EQ(injected::polls, 2);
    EXPECT_EQ(injected::log.back(), "box:Program Will Now Close.");
    // The old window was closed before the switch; the class stays registered, as at start.
    EXPECT_EQ(LastFrom("releaseCurrent"),
              (Strings{"releaseCurrent", "deleteContext", "releaseDeviceContext", "destroyWindow",
                       "unregisterClass", "registerClass", "setDisplayMode",
                       "box:The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. "
                       "Use Windowed Mode Instead?",
                       "box:Program Will Now Close."}));
}
