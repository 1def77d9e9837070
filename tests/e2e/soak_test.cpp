// A soak under hostile input: for a bounded time the pointer moves, the scale
// box gets hostile texts and valid ones, and start and pause are clicked at
// random. The program must stay alive and answering, give the right readout
// whenever the scale is valid and sampling is on, and hold its heap and its
// windows flat. Runs when PINVALE_SOAK_SECONDS is set. Its GDI and USER
// objects are not counted: Wine's GetGuiResources is a stub that gives 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "readout/readout.h"
#include "tests/e2e/driver.h"
#include "window/layout.h"

namespace pinvale::e2e {
namespace {

using namespace pinvale::window;  // the control ids
using std::chrono::milliseconds;

struct WindowCount {
  DWORD processId;
  DWORD count;
};

BOOL CALLBACK CountChild(HWND, LPARAM found) {
  ++reinterpret_cast<WindowCount*>(found)->count;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM found) {
  auto* windows = reinterpret_cast<WindowCount*>(found);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == windows->processId) {
    ++windows->count;
    EnumChildWindows(window, CountChild, found);
  }
  return TRUE;
}

// The process's windows, counted from outside.
DWORD WindowsOf(HANDLE process) {
  WindowCount windows{GetProcessId(process), 0};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
  return windows.count;
}

// How fast the samples grow: the median of the slopes between every two of
// them (Theil and Sen's fit), which a few steps of the heap's high-water
// mark do not move and a steady leak does.
double Slope(const std::vector<std::pair<double, double>>& samples) {
  std::vector<double> slopes;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    for (std::size_t j = i + 1; j < samples.size(); ++j) {
      const double run = samples[j].first - samples[i].first;
      if (run > 0) slopes.push_back((samples[j].second - samples[i].second) / run);
    }
  }
  if (slopes.empty()) return 0;
  std::nth_element(slopes.begin(), slopes.begin() + static_cast<std::ptrdiff_t>(slopes.size() / 2),
                   slopes.end());
  return slopes[slopes.size() / 2];
}

struct HostileText {
  const char* kind;
  std::wstring text;
};

std::vector<HostileText> HostileTexts() {
  return {
      {"empty", L""},
      {"blanks", L"   \t "},
      {"letters", L"abc"},
      {"lone sign", L"-"},
      {"overflow", L"1e400"},
      {"product overflow", L"1e308"},
      {"30,000-character paste", std::wstring(30000, L'7')},
      {"30,000 digits of a usable number", L"1." + std::wstring(29998, L'5')},
      {"control characters", std::wstring(L"1\x01\x02\x1b"
                                          L"5")},
      {"full-width digits", L"\uFF11\uFF15\uFF10"},
      {"group separator", L"1,500"},
      {"hexadecimal", L"0x96"},
      {"infinity", L"inf"},
      {"lone surrogate", std::wstring(1, static_cast<wchar_t>(0xD800)) + L"150"},
  };
}

constexpr double kMaxGrowthPerSecond = 120;

const std::wstring kValidScales[] = {L"150", L"125", L"100", L"110", L"  175.5 ", L"2.5e1", L"0"};

TEST(SoakTest, HostileInputForABoundedTime) {
  wchar_t secondsText[16] = {};
  if (GetEnvironmentVariableW(L"PINVALE_SOAK_SECONDS", secondsText, 16) == 0) {
    GTEST_SKIP() << "set PINVALE_SOAK_SECONDS to run the soak";
  }
  // An emulated machine takes fewer steps a second: there the soak lasts
  // longer, so that its heap trend rests on enough samples.
  const int seconds = std::max(10, _wtoi(secondsText)) * std::max(1, TimeScale() / 2);

  PinvaleProcess pinvale;
  HWND text2 = pinvale.Control(kText2);
  HWND text1 = pinvale.Control(kText1);
  HWND start = pinvale.Control(kImage1);
  HWND pause = pinvale.Control(kImage2);
  BringToFront(pinvale.Window());
  SetCursorPos(10, 10);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(text1) == L"15 & 15"; })) << "no readout after start-up";

  const auto hostile = HostileTexts();
  const NumberFormat format = platform::UserNumberFormat();
  std::mt19937 random;
  const auto pick = [&random](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);

  std::map<std::string, int> tried;
  int checks = 0;
  int clicks = 0;
  const Probe probe(pinvale.Process());
  const DWORD windowsAtStart = WindowsOf(pinvale.Process());
  std::vector<std::pair<double, double>>
      series;  // seconds, heap bytes in use at each check of the second pass
  auto begin = std::chrono::steady_clock::now();
  // Two passes of the same inputs, step for step. The first, for half the
  // time, pays for what the program keeps from first sight (glyphs of new
  // characters, tooltips, the heap's high-water mark for the longest texts);
  // over the second, memory must stay flat.
  int firstPassSteps = 0;
  for (int pass = 0; pass < 2; ++pass) {
    random.seed(20261208);
    if (pass == 1) {
      begin = std::chrono::steady_clock::now();
    }
    const auto passEnd = begin + std::chrono::seconds(seconds) / 2;
    int step = 0;
    for (; pass == 0 ? std::chrono::steady_clock::now() < passEnd : step < firstPassSteps; ++step) {
      switch (pick(10)) {
        case 0:
        case 1:
        case 2: {
          const auto& text = hostile[static_cast<std::size_t>(pick(static_cast<int>(hostile.size())))];
          SendMessageW(text2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.text.c_str()));
          ++tried[text.kind];
          break;
        }
        case 3:
          SendMessageW(text2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kValidScales[pick(7)].c_str()));
          break;
        case 4:
          PostClick(pick(4) != 0 ? start : pause);  // mostly sampling, where a leak per tick shows
          ++clicks;
          break;
        default:
          SetCursorPos(pick(width), pick(height));
          break;
      }
      Sleep(milliseconds(pick(40)));

      if (step % 25 == 24) {
        // Alive and answering; then, with a valid scale and sampling on, right.
        DWORD_PTR ignored = 0;
        ASSERT_TRUE(pinvale.Alive()) << "the program ended at step " << step;
        ASSERT_NE(SendMessageTimeoutW(pinvale.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                      static_cast<UINT>(5000 * TimeScale()), &ignored),
                  0)
            << "the program stopped answering at step " << step;
        const std::wstring& scale = kValidScales[pick(7)];
        SendMessageW(text2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(scale.c_str()));
        const CursorPoint point{pick(width), pick(height)};
        const auto expected = MakeReadout(point, platform::AsTextView(scale), format);
        ASSERT_TRUE(expected.Ok());
        const std::wstring expectedText(reinterpret_cast<const wchar_t*>(expected.Value().CStr()));
        // One click on start must do: sampling on, the readout right. The
        // clicks are posted, so that this one comes after all the others.
        PostClick(start);
        ++clicks;
        SetCursorPos(point.x, point.y);
        EXPECT_TRUE(WaitUntil([&] { return TextOf(text1) == expectedText; }, milliseconds(2000)))
            << "step " << step << ", one click on start: " << testing::PrintToString(TextOf(text1))
            << " instead of " << testing::PrintToString(expectedText);
        ++checks;
        if (pass == 1) {
          const std::chrono::duration<double> at = std::chrono::steady_clock::now() - begin;
          series.emplace_back(at.count(), probe.Run("HeapBytesInUse"));
        }
      }
    }
    if (pass == 0) firstPassSteps = step;
  }

  // End as the checks do, so that the last figure is comparable.
  SendMessageW(text2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"150"));
  Sleep(milliseconds(500));
  const DWORD windowsAtEnd = WindowsOf(pinvale.Process());
  int inputs = 0;
  std::printf("soak: %d s, two passes of %d steps, %d readout checks, %d clicks, hostile texts tried:\n",
              seconds, firstPassSteps, checks, clicks);
  for (const auto& [kind, count] : tried) {
    std::printf("  %-36s %d\n", kind.c_str(), count);
    inputs += count;
  }
  std::printf("  %-36s %d\n", "in all", inputs);
  std::printf("heap bytes in use over the second pass:");
  const std::size_t every = series.size() / 20 + 1;  // about twenty samples
  for (std::size_t i = 0; i < series.size(); i += every) std::printf(" %.0f", series[i].second);
  const double slope = Slope(series);
  std::printf("\nthe heap grows by %.0f bytes a second over %zu samples\n", slope, series.size());
  std::printf("windows: %lu at start, %lu at end\n", windowsAtStart, windowsAtEnd);

  ASSERT_GE(series.size(), 6u) << "too few samples to fit a slope";
  for (const auto& sample : series) ASSERT_GT(sample.second, 0) << "the heap probe did not run in Pinvale";
  // A leak of 100 bytes a tick is 1,000 bytes a second while sampling is on.
  EXPECT_LT(slope, kMaxGrowthPerSecond) << "the heap keeps growing: a leak";
  EXPECT_EQ(windowsAtEnd, windowsAtStart);
}

}  // namespace
}  // namespace pinvale::e2e
