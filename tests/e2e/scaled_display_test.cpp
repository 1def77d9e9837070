// On a display that the system scales, a program that declares no DPI
// awareness is handed scaled-down positions; with the display's scaling in
// the scale box, the readout gives the pointer's physical position. Runs
// where PINVALE_DPI names the display's DPI (with-display.sh sets it up),
// under a Wine that scales such programs as Windows does (Wine 10).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "tests/e2e/driver.h"
#include "window/layout.h"

namespace pinvale::e2e {
namespace {

using namespace pinvale::window;  // the control ids

using std::chrono::milliseconds;

int DisplayDpi() {
  const char* dpi = std::getenv("PINVALE_DPI");
  return dpi != nullptr ? std::atoi(dpi) : 0;
}

std::wstring PairText(POINT point) { return std::to_wstring(point.x) + L" & " + std::to_wstring(point.y); }

// The pointer, placed at the X level: in the display's own pixels.
bool MovePhysicalPointer(POINT physical, const wchar_t* then = L"") {
  return AtX(L"mousemove " + std::to_wstring(physical.x) + L" " + std::to_wstring(physical.y) + then);
}

// A control's centre in the display's own pixels.
POINT PhysicalCentre(HWND control, int dpi) {
  RECT rect{};
  GetWindowRect(control, &rect);
  return {MulDiv((rect.left + rect.right) / 2, dpi, 96), MulDiv((rect.top + rect.bottom) / 2, dpi, 96)};
}

// Waits until the program is handed the pointer at this physical place; the
// system hands unaware programs positions in 96-dpi units.
bool PointerArrives(POINT physical, int dpi, POINT& handed) {
  const POINT expected{MulDiv(physical.x, 96, dpi), MulDiv(physical.y, 96, dpi)};
  return WaitUntil([&] { return GetCursorPos(&handed) && handed.x == expected.x && handed.y == expected.y; });
}

// Whether a readout "x & y" lies within the bound of the physical position.
bool ReadsNear(const std::wstring& readout, POINT physical, double bound) {
  const auto separator = readout.find(L" & ");
  if (separator == std::wstring::npos) return false;
  wchar_t* end = nullptr;
  const double x = std::wcstod(readout.c_str(), &end);
  if (end != readout.c_str() + separator) return false;
  const double y = std::wcstod(readout.c_str() + separator + 3, &end);
  return *end == L'\0' && std::abs(x - physical.x) <= bound && std::abs(y - physical.y) <= bound;
}

TEST(ScaledDisplayTest, ReadoutGivesPhysicalPixels) {
  const int dpi = DisplayDpi();
  if (dpi == 0) GTEST_SKIP() << "needs a scaled display: PINVALE_DPI, under Wine 10 (scripts/wine10-root.sh)";
  struct Display {
    int dpi;
    const wchar_t* scale;  // the display's scaling, as the user types it
    double bound;          // how far off the readout may be: half a step of the scaling, 1 px at 200 %
  };
  const Display displays[] = {{96, L"100", 0}, {120, L"125", 0.5}, {144, L"150", 0.5}, {192, L"200", 1}};
  const Display* display = nullptr;
  for (const auto& d : displays) display = d.dpi == dpi ? &d : display;
  ASSERT_NE(display, nullptr) << "no scaling known for " << dpi << " dpi";
  // Physical positions on the 1024 x 768 display: some the scale divides, some not.
  const POINT positions[] = {{600, 450}, {1001, 701}, {0, 0}, {1023, 767}, {333, 201}, {120, 96}};
  // The readouts that the README promises, word for word.
  struct Example {
    int dpi;
    POINT physical;
    const wchar_t* readout;
  };
  const Example examples[] = {{144, {600, 450}, L"600 & 450"},
                              {144, {1001, 701}, L"1000.5 & 700.5"},
                              {144, {1023, 767}, L"1023 & 766.5"},
                              {192, {1023, 767}, L"1024 & 768"}};

  PinvaleProcess pinvale;
  BringToFront(pinvale.Window());
  HWND text1 = pinvale.Control(kText1);
  const auto readsNear = [&](POINT physical) {
    return WaitUntil([&] { return ReadsNear(TextOf(text1), physical, display->bound); }, milliseconds(3000));
  };

  // What the program sees, as this equally unaware driver sees it: the
  // layout's client area, centred on the scaled-down screen.
  RECT client{};
  RECT frame{};
  GetClientRect(pinvale.Window(), &client);
  GetWindowRect(pinvale.Window(), &frame);
  std::printf("%d dpi: client area %ld x %ld, window at (%ld, %ld) on a screen of %d x %d\n", dpi,
              client.right, client.bottom, frame.left, frame.top, GetSystemMetrics(SM_CXSCREEN),
              GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(client.right, 399);
  EXPECT_EQ(client.bottom, 109);
  EXPECT_NEAR(frame.left + frame.right, GetSystemMetrics(SM_CXSCREEN), 1) << "not centred across";
  EXPECT_NEAR(frame.top + frame.bottom, GetSystemMetrics(SM_CYSCREEN), 1) << "not centred down";

  SendMessageW(pinvale.Control(kText2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(display->scale));
  for (const POINT physical : positions) {
    ASSERT_TRUE(MovePhysicalPointer(physical)) << "xdotool did not run";
    POINT handed{};
    EXPECT_TRUE(PointerArrives(physical, dpi, handed))
        << "physical " << PairText(physical) << " handed as " << PairText(handed);
    EXPECT_TRUE(readsNear(physical)) << "physical " << PairText(physical) << " reads "
                                     << testing::PrintToString(TextOf(text1)) << ", off by more than "
                                     << display->bound;
    for (const auto& example : examples) {
      if (example.dpi == dpi && example.physical.x == physical.x && example.physical.y == physical.y) {
        EXPECT_EQ(TextOf(text1), example.readout) << "physical " << PairText(physical);
      }
    }
    std::printf("%d dpi, scale %ls: physical %ls reads %ls\n", dpi, display->scale,
                PairText(physical).c_str(), TextOf(text1).c_str());
  }

  // Pause and start, clicked where they are on the display. Pause is clicked
  // once the readout shows the pointer on it; then, with the pointer moved
  // away, the readout must stay.
  const POINT onPause = PhysicalCentre(pinvale.Control(kImage2), dpi);
  POINT handed{};
  ASSERT_TRUE(MovePhysicalPointer(onPause) && PointerArrives(onPause, dpi, handed));
  ASSERT_TRUE(readsNear(onPause)) << testing::PrintToString(TextOf(text1));
  const std::wstring frozen = TextOf(text1);
  // Held until the program has the press in its queue, and settled.
  ASSERT_TRUE(AtX(L"mousedown 1") && KeySeen(VK_LBUTTON, true) && Settle(pinvale.Window()) &&
              AtX(L"mouseup 1"));
  ASSERT_TRUE(MovePhysicalPointer({100, 100}) && PointerArrives({100, 100}, dpi, handed))
      << "the pointer did not leave the pause button";
  EXPECT_TRUE(TextStays(text1, frozen))
      << "the readout moved while paused: " << testing::PrintToString(TextOf(text1));
  const POINT onStart = PhysicalCentre(pinvale.Control(kImage1), dpi);
  ASSERT_TRUE(MovePhysicalPointer(onStart, L" click 1") && PointerArrives(onStart, dpi, handed));
  ASSERT_TRUE(MovePhysicalPointer({600, 450}));
  EXPECT_TRUE(readsNear({600, 450})) << "start did not resume: " << testing::PrintToString(TextOf(text1));
}

}  // namespace
}  // namespace pinvale::e2e
