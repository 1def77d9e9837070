// Sampling as a user meets it: the readout follows the pointer at the typed
// scale, pause freezes it, start resumes it and keeps the window on top, and
// a scale that is not a number never stops the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "readout/readout.h"
#include "tests/e2e/driver.h"
#include "window/layout.h"
#include "window/sampling_commands.h"
// oleacc.h needs windows.h, from driver.h, first.
#include <oleacc.h>

namespace pinvale::e2e {
namespace {

using namespace pinvale::window;  // the control ids

using std::chrono::milliseconds;

// The scale box's background while its text gives no readout.
constexpr COLORREF kUnusableTint = RGB(255, 214, 214);

class SamplingTest : public testing::Test {
 protected:
  void SetUp() override {
    // The X pointer off where the window opens: Wine takes the pointer to
    // where the X pointer is when a window appears under it.
    AtX(L"mousemove 0 0");
    pinvale_ = std::make_unique<PinvaleProcess>();
    probe_ = std::make_unique<Probe>(pinvale_->Process());
    BringToFront(pinvale_->Window());
  }

  PinvaleProcess& Pinvale() { return *pinvale_; }
  std::wstring Readout() { return TextOf(Pinvale().Control(kText1)); }

  void SetScale(const std::wstring& text) {
    SendMessageW(Pinvale().Control(kText2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }

  // Focuses the scale box with a click, as a user does, and puts the pointer
  // back where it was.
  void ClickScaleBox() {
    POINT pointer{};
    GetCursorPos(&pointer);
    ClickControl(Pinvale().Control(kText2));
    WaitUntil([&] { return FocusOf(Pinvale().ThreadId()) == Pinvale().Control(kText2); });
    SetCursorPos(pointer.x, pointer.y);
  }

  // Replaces the focused scale box's text by typing; returns once it shows it.
  bool TypeIntoScaleBox(const std::wstring& text) {
    PressKey(VK_END);
    PressKey(VK_HOME, true);
    PressKey(VK_DELETE);
    TypeText(text);
    return WaitUntil([&] { return TextOf(Pinvale().Control(kText2)) == text; }, milliseconds(2000));
  }

  // Waits for the readout box to show the text; false if it never does.
  bool ReadoutBecomes(const std::wstring& expected, milliseconds timeout = milliseconds(3000)) {
    return WaitUntil([&] { return Readout() == expected; }, timeout);
  }

  bool ReadoutStays(const std::wstring& expected) { return TextStays(Pinvale().Control(kText1), expected); }

  // Whether the window's system menu shows this state as the one that
  // holds; waits for it a while.
  bool MenuShows(const SamplingCommand& state) {
    return WaitUntil(
        [&] { return probe_->Run("CheckedSystemMenuItem", Pinvale().Window()) == state.menuItem; });
  }

  // Pauses (by a click on pause, unless told another way) and waits until
  // the system menu shows it; then the pointer moves and the readout must
  // stay. False, with a failure, if either does not come.
  bool PauseAndConfirm(const std::function<bool()>& pause = {}) {
    RECT rect{};
    GetWindowRect(Pinvale().Control(kImage2), &rect);
    const POINT on{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    SetCursorPos(on.x, on.y);
    if (pause) {
      EXPECT_TRUE(pause()) << "the way to pause did not run";
    } else {
      ClickControl(Pinvale().Control(kImage2));
    }
    if (!MenuShows(kPauseCommand)) {
      ADD_FAILURE() << "pause was not taken";
      return false;
    }
    const std::wstring frozen = Readout();
    SetCursorPos(on.x - 50, on.y + 50);
    if (!ReadoutStays(frozen)) {
      ADD_FAILURE() << "paused, the readout went on from " << testing::PrintToString(frozen) << " to "
                    << testing::PrintToString(Readout());
      return false;
    }
    return true;
  }

  // Whether the scale box shows the tint, judged by a pixel where no text is.
  bool ScaleTinted() {
    RECT rect{};
    GetWindowRect(Pinvale().Control(kText2), &rect);
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, rect.right - 5, (rect.top + rect.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return pixel == kUnusableTint;
  }

 private:
  std::unique_ptr<PinvaleProcess> pinvale_;
  std::unique_ptr<Probe> probe_;
};

TEST_F(SamplingTest, FirstReadoutComesWithoutAnyClick) {
  SetCursorPos(400, 300);
  EXPECT_TRUE(ReadoutBecomes(L"600 & 450", milliseconds(2000)))
      << "readout: " << testing::PrintToString(Readout());
  // That nothing places the window on top at start is seen in Wine's trace
  // (SamplingTopmostTest), as Wine shows no topmost window here.
}

TEST_F(SamplingTest, ReadoutFollowsPointerAndScale) {
  struct Case {
    POINT pointer;
    const wchar_t* scale;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {{400, 300}, L"150", L"600 & 450"},
      {{333, 201}, L"150", L"499.5 & 301.5"},
      {{333, 201}, L"125", L"416.25 & 251.25"},
      {{333, 201}, L"110", L"366.3 & 221.1"},  // 15-digit rounding hides the binary tail
      {{7, 3}, L"115", L"8.05 & 3.45"},
      {{400, 300}, L"  150  ", L"600 & 450"},
      {{400, 300},
       L"\u3000"
       L"150",
       L"600 & 450"},  // an ideographic space, as Chinese IMEs type
      {{400, 300}, L"100", L"400 & 300"},
      {{400, 300}, L"0", L"0 & 0"},
      {{1, 1}, L"1.5e2", L"1.5 & 1.5"},
      {{0, 0}, L"150", L"0 & 0"},
  };
  for (const auto& c : cases) {
    SetCursorPos(c.pointer.x, c.pointer.y);
    SetScale(c.scale);
    EXPECT_TRUE(ReadoutBecomes(c.expected))
        << "pointer " << c.pointer.x << "," << c.pointer.y << " scale "
        << testing::PrintToString(std::wstring(c.scale)) << ": " << testing::PrintToString(Readout());
  }
}

TEST_F(SamplingTest, TypedScaleAndRandomPositionsMatchTheReadoutCore) {
  ClickScaleBox();
  ASSERT_TRUE(TypeIntoScaleBox(L"137.5"));
  const NumberFormat format = platform::UserNumberFormat();
  std::mt19937 random(4242);
  std::uniform_int_distribution<int> x(0, GetSystemMetrics(SM_CXSCREEN) - 1);
  std::uniform_int_distribution<int> y(0, GetSystemMetrics(SM_CYSCREEN) - 1);
  for (int i = 0; i < 20; ++i) {
    const CursorPoint point{x(random), y(random)};
    SetCursorPos(point.x, point.y);
    const auto expected = MakeReadout(point, u"137.5", format);
    ASSERT_TRUE(expected.Ok());
    const std::wstring expectedText(reinterpret_cast<const wchar_t*>(expected.Value().CStr()));
    EXPECT_TRUE(ReadoutBecomes(expectedText))
        << point.x << "," << point.y << ": " << testing::PrintToString(Readout());
  }
}

TEST_F(SamplingTest, UnusableScaleKeepsReadoutAndShowsTint) {
  SetCursorPos(400, 300);
  ASSERT_TRUE(ReadoutBecomes(L"600 & 450"));
  EXPECT_FALSE(ScaleTinted());

  const std::wstring unusable[] = {
      L"",   L"   ", L"abc",   L"-",
      L"1e", L"1,5", L"1e400", L"1e308" /* the scale is a double, the product is not */};
  for (const auto& scale : unusable) {
    // From a usable scale and no tint, so that each case must bring the tint itself.
    SetCursorPos(400, 300);
    SetScale(L"150");
    ASSERT_TRUE(ReadoutBecomes(L"600 & 450") &&
                WaitUntil([&] { return !ScaleTinted(); }, milliseconds(1000)));
    SetScale(scale);
    // Elsewhere, off the window: the X pointer's moves over it reach the
    // program as it takes them from the X server, now and then after later ones.
    SetCursorPos(500, 200);
    EXPECT_TRUE(WaitUntil([&] { return ScaleTinted(); }, milliseconds(1000)))
        << "scale " << testing::PrintToString(scale);
    EXPECT_TRUE(ReadoutStays(L"600 & 450"))
        << "scale " << testing::PrintToString(scale) << ": " << testing::PrintToString(Readout());
    EXPECT_TRUE(Pinvale().Alive()) << "scale " << testing::PrintToString(scale);
  }
  SetCursorPos(400, 300);

  // A usable scale again: readouts resume by themselves and the tint goes.
  SetScale(L"200");
  EXPECT_TRUE(ReadoutBecomes(L"800 & 600"));
  EXPECT_TRUE(WaitUntil([&] { return !ScaleTinted(); }, milliseconds(1000)));
}

TEST_F(SamplingTest, ClearingTheScaleToTypeAnotherIsHarmless) {
  SetCursorPos(400, 300);
  ClickScaleBox();
  ASSERT_TRUE(ReadoutBecomes(L"600 & 450"));
  ASSERT_TRUE(TypeIntoScaleBox(L""));
  EXPECT_TRUE(WaitUntil([&] { return ScaleTinted(); }, milliseconds(1000)));
  EXPECT_TRUE(ReadoutStays(L"600 & 450")) << testing::PrintToString(Readout());
  EXPECT_TRUE(Pinvale().Alive());
  TypeText(L"125");
  EXPECT_TRUE(ReadoutBecomes(L"500 & 375"))
      << "scale box: " << testing::PrintToString(TextOf(Pinvale().Control(kText2)));
  EXPECT_TRUE(WaitUntil([&] { return !ScaleTinted(); }, milliseconds(1000)));
}

TEST_F(SamplingTest, TintFollowsTypingWhilePaused) {
  ASSERT_TRUE(PauseAndConfirm());
  SetScale(L"x");
  EXPECT_TRUE(WaitUntil([&] { return ScaleTinted(); }, milliseconds(1000)));
  SetScale(L"150");
  EXPECT_TRUE(WaitUntil([&] { return !ScaleTinted(); }, milliseconds(1000)));
}

TEST_F(SamplingTest, PauseFreezesAndStartResumes) {
  ASSERT_TRUE(PauseAndConfirm());
  const std::wstring frozen = Readout();
  SetCursorPos(100, 100);
  SetScale(L"100");
  EXPECT_TRUE(ReadoutStays(frozen)) << "the readout moved while paused";

  // In Paused the readout box is an ordinary box: what the user types stays.
  SetScale(L"150");
  SendMessageW(Pinvale().Control(kText1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed by hand"));
  EXPECT_TRUE(ReadoutStays(L"typed by hand"));

  ClickControl(Pinvale().Control(kImage1));
  SetCursorPos(100, 100);
  EXPECT_TRUE(ReadoutBecomes(L"150 & 150"));
  // Sampling, a text typed over the readout goes at the next tick, though the pointer stays.
  SendMessageW(Pinvale().Control(kText1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed by hand"));
  EXPECT_TRUE(ReadoutBecomes(L"150 & 150"));
}

TEST_F(SamplingTest, ClickingTwiceIsHarmless) {
  HWND start = Pinvale().Control(kImage1);
  HWND pause = Pinvale().Control(kImage2);
  ASSERT_TRUE(PauseAndConfirm());
  const std::wstring frozen = Readout();
  ClickControl(pause);  // the second of a double click, as Windows sees it
  SetCursorPos(200, 200);
  EXPECT_TRUE(ReadoutStays(frozen));

  ClickControl(start);
  ClickControl(start);
  SetCursorPos(200, 200);
  EXPECT_TRUE(ReadoutBecomes(L"300 & 300"));
  EXPECT_TRUE(Pinvale().Alive());
}

TEST_F(SamplingTest, PicturesTakeNoFocus) {
  HWND text2 = Pinvale().Control(kText2);
  ClickControl(text2);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(Pinvale().ThreadId()) == text2; }));
  ASSERT_TRUE(PauseAndConfirm());
  ClickControl(Pinvale().Control(kImage1));
  SetCursorPos(100, 100);
  ASSERT_TRUE(ReadoutBecomes(L"150 & 150")) << "start was not taken";
  EXPECT_EQ(FocusOf(Pinvale().ThreadId()), text2);
}

// Start and pause without the mouse: Enter and Esc with the focus in
// either box, the system menu's items and a screen reader's press. None
// moves the focus or changes a box's text or selection, and the system menu
// shows the state that holds.
TEST_F(SamplingTest, StartAndPauseWithoutTheMouse) {
  HWND window = Pinvale().Window();
  EXPECT_TRUE(MenuShows(kStartCommand)) << "at start";
  const auto key = [window](const wchar_t* name, int virtualKey) {
    return [=] { return PressAtX(window, name, virtualKey); };
  };
  const auto menu = [window](const wchar_t* letter) {
    return [=] { return ChooseFromSystemMenu(window, letter); };
  };
  const auto reader = [&](int picture) {
    return [=, this] {
      return ReadAccessible(Pinvale().Control(picture), true).pressed == S_OK && Settle(window);
    };
  };
  struct Way {
    const char* name;
    int focus;
    std::function<bool()> pause;
    std::function<bool()> start;
  };
  const Way ways[] = {
      {"Esc and Enter in the scale box", kText2, key(L"Escape", VK_ESCAPE), key(L"Return", VK_RETURN)},
      {"Esc and Enter in the readout box", kText1, key(L"Escape", VK_ESCAPE), key(L"Return", VK_RETURN)},
      {"the system menu", kText2, menu(L"p"), menu(L"b")},
      {"a screen reader", kText2, reader(kImage2), reader(kImage1)}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    HWND box = Pinvale().Control(way.focus);
    ClickControl(box);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(Pinvale().ThreadId()) == box; }));
    SendMessageW(box, EM_SETSEL, 1, 2);
    // Ticks rewrite the readout box, and its selection with it.
    const auto boxState = [&] {
      DWORD from = 0;
      DWORD to = 0;
      SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
      const std::wstring focus = FocusOf(Pinvale().ThreadId()) == box ? L"focused" : L"not focused";
      if (way.focus == kText1) return focus;
      return TextOf(box) + L", " + std::to_wstring(from) + L"-" + std::to_wstring(to) + L", " + focus;
    };
    const std::wstring before = boxState();
    ASSERT_TRUE(PauseAndConfirm(way.pause));
    EXPECT_TRUE(MenuShows(kPauseCommand));
    EXPECT_EQ(boxState(), before) << "after pause";
    EXPECT_TRUE(way.start());
    EXPECT_TRUE(MenuShows(kStartCommand));
    SetCursorPos(100, 100);
    EXPECT_TRUE(ReadoutBecomes(L"150 & 150")) << "no start";
    EXPECT_EQ(boxState(), before) << "after start";
  }

  // What a screen reader reads of the pictures.
  const struct {
    int picture;
    const wchar_t* name;
    const wchar_t* description;
    const wchar_t* shortcut;
  } buttons[] = {{kImage1, L"开始采集XY坐标", L"开始采集XY坐标，自带窗口置顶功能", L"Enter"},
                 {kImage2, L"暂停采集XY坐标", L"暂停采集XY坐标", L"Esc"}};
  for (const auto& button : buttons) {
    const AccessibleFacts facts = ReadAccessible(Pinvale().Control(button.picture));
    std::printf("picture %d: role %ld, name %s, description %s, default action %s, shortcut %s\n",
                button.picture, facts.role, Utf8(facts.name).c_str(), Utf8(facts.description).c_str(),
                Utf8(facts.defaultAction).c_str(), Utf8(facts.shortcut).c_str());
    EXPECT_EQ(facts.role, ROLE_SYSTEM_PUSHBUTTON) << button.picture;
    EXPECT_EQ(facts.name, button.name);
    EXPECT_EQ(facts.description, button.description);
    EXPECT_EQ(facts.defaultAction, L"按下");
    EXPECT_EQ(facts.shortcut, button.shortcut);
    EXPECT_FALSE(facts.oleaccProxy) << "UI Automation would read a static icon";
  }
}

// Ctrl is held at the X level, with X's focus on the program's window (see AtX).
class HeldCtrl {
 public:
  HeldCtrl() { held_ = AtX(L"keydown ctrl") && KeySeen(VK_CONTROL, true); }
  ~HeldCtrl() { Release(); }
  HeldCtrl(const HeldCtrl&) = delete;
  HeldCtrl& operator=(const HeldCtrl&) = delete;
  [[nodiscard]] bool Held() const { return held_; }
  void Release() {
    if (held_) AtX(L"keyup ctrl") && KeySeen(VK_CONTROL, false);
    held_ = false;
  }

 private:
  bool held_ = false;
};

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) text = chars;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

TEST_F(SamplingTest, HeldCtrlKeepsTheReadoutUntilReleased) {
  SetCursorPos(400, 300);
  ASSERT_TRUE(ReadoutBecomes(L"600 & 450"));
  HeldCtrl ctrl;
  ASSERT_TRUE(ctrl.Held()) << "xdotool did not run";
  SetCursorPos(100, 100);
  EXPECT_TRUE(ReadoutStays(L"600 & 450"));
  // The scale box's tint carries on meanwhile.
  SetScale(L"abc");
  EXPECT_TRUE(WaitUntil([&] { return ScaleTinted(); }, milliseconds(1000)));
  SetScale(L"150");
  EXPECT_TRUE(WaitUntil([&] { return !ScaleTinted(); }, milliseconds(1000)));
  EXPECT_EQ(Readout(), L"600 & 450");

  ctrl.Release();
  EXPECT_TRUE(ReadoutBecomes(L"150 & 150")) << testing::PrintToString(Readout());
}

// The two ways to carry a target's coordinates away with Ctrl held: copy
// them from the readout box, or click pause.
TEST_F(SamplingTest, HeldCtrlCapturesATarget) {
  const POINT target{300, 200};
  const std::wstring targetReadout = L"450 & 300";
  SetCursorPos(target.x, target.y);
  ASSERT_TRUE(ReadoutBecomes(targetReadout));
  {
    HeldCtrl ctrl;
    ASSERT_TRUE(ctrl.Held());
    ClickControl(Pinvale().Control(kText1));
    AtX(L"key a key c");  // Ctrl+A, Ctrl+C
  }
  EXPECT_TRUE(WaitUntil([] { return ClipboardText() == L"450 & 300"; }, milliseconds(2000)))
      << "clipboard: " << testing::PrintToString(ClipboardText());
  SetCursorPos(100, 100);
  EXPECT_TRUE(ReadoutBecomes(L"150 & 150")) << "the readout does not follow again";

  SetCursorPos(target.x, target.y);
  ASSERT_TRUE(ReadoutBecomes(targetReadout));
  {
    HeldCtrl ctrl;
    ASSERT_TRUE(ctrl.Held());
    ClickControl(Pinvale().Control(kImage2));
  }
  SetCursorPos(100, 100);
  EXPECT_TRUE(ReadoutStays(targetReadout)) << "the paused box lost the target";
}

TEST_F(SamplingTest, ReadoutUpdatesTenTimesASecond) {
  // Move the pointer a little every few milliseconds and note when the
  // readout changes; the gaps are the ticks.
  std::vector<double> gaps;
  std::wstring last = Readout();
  auto lastChange = std::chrono::steady_clock::now();
  const auto end = lastChange + std::chrono::milliseconds(4000);
  for (int step = 0; std::chrono::steady_clock::now() < end; ++step) {
    SetCursorPos(200 + step % 400, 300);
    Sleep(milliseconds(5));
    const std::wstring now = Readout();
    if (now == last) continue;
    const auto at = std::chrono::steady_clock::now();
    gaps.push_back(std::chrono::duration<double, std::milli>(at - lastChange).count());
    lastChange = at;
    last = now;
  }
  ASSERT_GT(gaps.size(), 10u);
  gaps.erase(gaps.begin());  // the first gap starts at an arbitrary moment
  std::sort(gaps.begin(), gaps.end());
  const double median = gaps[gaps.size() / 2];
  const double low = gaps[gaps.size() / 10];
  const double high = gaps[gaps.size() * 9 / 10];
  std::printf("tick interval over %zu changes: median %.1f ms, 10%%-90%% %.1f..%.1f ms\n", gaps.size(),
              median, low, high);
  EXPECT_GT(median, 80.0);
  EXPECT_LT(median, 130.0);
}

// Wine keeps a window that owns a topmost popup (every tooltip control is
// one) below its own popups, so it neither shows WS_EX_TOPMOST nor stays
// above other windows after SetWindowPos(HWND_TOPMOST), before start or
// after. What can be seen is the call itself: run-with-trace.sh turns on
// Wine's "win" trace, which logs every placement with its arguments, and once
// the program has ended counts the placements of the window on top, unmoved
// and unresized, against the clicks on start that this test reports: none
// before the first. Each click must count exactly once, so it is posted.

TEST(SamplingTopmostTest, StartPlacesTheWindowOnTopAndPauseLeavesIt) {
  if (GetEnvironmentVariableW(L"PINVALE_WIN_TRACE", nullptr, 0) == 0) {
    GTEST_SKIP() << "needs Wine's win trace: run through tests/e2e/run-with-trace.sh";
  }
  int starts = 0;
  HWND window = nullptr;
  {
    PinvaleProcess pinvale;
    window = pinvale.Window();
    BringToFront(window);
    ASSERT_TRUE(WaitUntil([&] { return !TextOf(pinvale.Control(kText1)).empty(); })) << "no readout";
    RECT before{};
    GetWindowRect(window, &before);

    PostClick(pinvale.Control(kImage1));
    ++starts;
    Sleep(milliseconds(700));
    RECT after{};
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after)) << "start moved or resized the window";
    std::printf("after start: WS_EX_TOPMOST %s\n",
                (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? "shown" : "not shown (Wine)");

    // Pause asks for no placement; a second start places it again, harmlessly,
    // and so does each other way to start: Enter, the system menu, a reader.
    const std::function<bool()> starters[] = {
        [&] { return PostClick(pinvale.Control(kImage1)), true; },
        [&] { return PressAtX(window, L"Return", VK_RETURN); },
        [&] { return ChooseFromSystemMenu(window, L"b"); },
        [&] { return ReadAccessible(pinvale.Control(kImage1), true).pressed == S_OK; }};
    for (const auto& start : starters) {
      PostClick(pinvale.Control(kImage2));
      Sleep(milliseconds(700));
      EXPECT_TRUE(start()) << "start " << starts;
      ++starts;
      Sleep(milliseconds(700));
    }
    EXPECT_TRUE(pinvale.Alive());
  }
  std::printf("topmost placements expected: hwnd 0x%lx, %d\n",
              static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)), starts);
}

}  // namespace
}  // namespace pinvale::e2e
