// On a display that the system scales, a program that declares no DPI
// awareness is handed scaled-down positions; with the display's scaling in
// the scale box, the readout gives the pointer's physical position. Runs
// where PINVALE_DPI names the display's DPI (with-display.sh sets it up),
// under a Wine that scales such programs as Windows does (Wine 10).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "readout/readout.h"
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

// Clicks a control at its physical place, as the user's hand does.
bool ClickPhysically(HWND control, int dpi) {
  RECT rect{};
  GetWindowRect(control, &rect);
  const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  return MovePhysicalPointer({MulDiv(centre.x, dpi, 96), MulDiv(centre.y, dpi, 96)}, L" click 1");
}

TEST(ScaledDisplayTest, ReadoutGivesPhysicalPixels) {
  const int dpi = DisplayDpi();
  if (dpi == 0) GTEST_SKIP() << "needs a scaled display: PINVALE_DPI, under Wine 10 (scripts/wine10-root.sh)";
  struct Display {
    int dpi;
    const wchar_t* scale;  // the display's scaling, as the user types it
  };
  const Display displays[] = {{96, L"100"}, {120, L"125"}, {144, L"150"}, {192, L"200"}};
  const Display* display = nullptr;
  for (const auto& d : displays) display = d.dpi == dpi ? &d : display;
  ASSERT_NE(display, nullptr) << "no scaling known for " << dpi << " dpi";
  // Physical positions on the 1024 x 768 display: some the scale divides, some not.
  const POINT positions[] = {{600, 450}, {1001, 701}, {0, 0}, {1023, 767}, {333, 201}, {120, 96}};

  PinvaleProcess pinvale;
  BringToFront(pinvale.Window());
  HWND text1 = pinvale.Control(kText1);
  const auto readoutBecomes = [&](const std::wstring& expected) {
    return WaitUntil([&] { return TextOf(text1) == expected; }, milliseconds(3000));
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
  const NumberFormat format = platform::UserNumberFormat();
  for (const POINT physical : positions) {
    ASSERT_TRUE(MovePhysicalPointer(physical)) << "xdotool did not run";
    // The system hands unaware programs the position in 96-dpi units.
    const POINT handed{MulDiv(physical.x, 96, dpi), MulDiv(physical.y, 96, dpi)};
    POINT seen{};
    EXPECT_TRUE(WaitUntil([&] { return GetCursorPos(&seen) && seen.x == handed.x && seen.y == handed.y; }))
        << "physical " << PairText(physical) << " handed as " << PairText(seen) << ", not "
        << PairText(handed);
    const auto readout = MakeReadout({handed.x, handed.y}, platform::AsTextView(display->scale), format);
    ASSERT_TRUE(readout.Ok());
    const std::wstring expected(platform::AsWide(readout.Value().CStr()));
    if (physical.x * 96 % dpi == 0 && physical.y * 96 % dpi == 0) {
      EXPECT_EQ(expected, PairText(physical)) << "where the scale divides the position, the readout is exact";
    }
    EXPECT_TRUE(readoutBecomes(expected))
        << "physical " << PairText(physical) << ": " << testing::PrintToString(TextOf(text1));
    std::printf("%d dpi, scale %ls: physical %ls reads %ls\n", dpi, display->scale,
                PairText(physical).c_str(), TextOf(text1).c_str());
  }

  // Pause and start, clicked where they are on the display.
  ASSERT_TRUE(ClickPhysically(pinvale.Control(kImage2), dpi));
  Sleep(milliseconds(300));
  const std::wstring frozen = TextOf(text1);
  MovePhysicalPointer({100, 100});
  Sleep(milliseconds(400));
  EXPECT_EQ(TextOf(text1), frozen) << "the readout moved while paused";
  ASSERT_TRUE(ClickPhysically(pinvale.Control(kImage1), dpi));
  MovePhysicalPointer({600, 450});
  EXPECT_TRUE(readoutBecomes(L"600 & 450")) << testing::PrintToString(TextOf(text1));
}

}  // namespace
}  // namespace pinvale::e2e
