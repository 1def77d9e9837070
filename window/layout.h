#pragma once
// The main window's look, as data: its client size and one table of its
// controls with their geometry in twips, texts and tooltips. Form1 creates
// the controls from the table in this order, which is also the Tab order.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "resources/resource_ids.h"

namespace pinvale::window {

// 1440 twips make an inch: 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerInch = 1440;

// Rounds to the nearest pixel, halves away from zero, as MulDiv does. In 32
// bits, which the layout's twips times any DPI a display has stay far within.
constexpr int TwipsToPixels(int twips, int dotsPerInch) noexcept {
  const int scaled = twips * dotsPerInch;
  const int half = kTwipsPerInch / 2;
  return scaled >= 0 ? (scaled + half) / kTwipsPerInch : (scaled - half) / kTwipsPerInch;
}

// A rectangle on the screen, in pixels.
struct ScreenRect {
  int left;
  int top;
  int right;
  int bottom;
  constexpr bool operator==(const ScreenRect&) const = default;
};

// A window of this size in the middle of the area. One larger than the area
// keeps its top-left corner, and so its caption and close button, on it.
constexpr ScreenRect CentredOn(ScreenRect area, int width, int height) noexcept {
  const int left = area.left + std::max(0, (area.right - area.left - width) / 2);
  const int top = area.top + std::max(0, (area.bottom - area.top - height) / 2);
  return {left, top, left + width, top + height};
}

// Whether the user can still drag the window back by its caption: a piece
// of its caption bar, left of the close button at its right end, as wide as
// the caption is high and half as high, lies in the area.
constexpr bool CaptionCanBeGrabbed(ScreenRect window, ScreenRect area, int captionHeight) noexcept {
  const int width = std::min(window.right - captionHeight, area.right) - std::max(window.left, area.left);
  const int height = std::min(window.top + captionHeight, area.bottom) - std::max(window.top, area.top);
  return width >= captionHeight && height >= captionHeight / 2;
}

// Where a window goes when the desktop changes: it stays while its caption
// can be grabbed, else it is centred on the work area.
constexpr ScreenRect PlaceInReach(ScreenRect window, ScreenRect work, int captionHeight) noexcept {
  if (CaptionCanBeGrabbed(window, work, captionHeight)) return window;
  return CentredOn(work, window.right - window.left, window.bottom - window.top);
}

struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

enum class ControlKind : std::uint8_t { Label, TextBox, Picture };

// Control ids: also the child window ids that WM_COMMAND reports.
enum ControlId : int {
  kLabel3 = 103,
  kText2 = 202,
  kLabel4 = 104,
  kText1 = 201,
  kImage1 = 301,
  kImage2 = 302,
};

struct ControlSpec {
  ControlId id;
  ControlKind kind;
  TwipsRect rect;
  const wchar_t* text;     // at start; none for pictures
  const wchar_t* tooltip;  // none where null
  int icon;                // resource id of a picture's icon, else 0
};

inline constexpr TwipsRect kClientArea{0, 0, 5985, 1635};

inline constexpr ControlSpec kControls[] = {
    {kLabel3, ControlKind::Label, {480, 360, 975, 255}, L"屏幕分辨率", nullptr, 0},
    {kText2, ControlKind::TextBox, {1560, 360, 975, 270}, L"150", L"屏幕分辨率", 0},
    {kLabel4, ControlKind::Label, {2880, 360, 975, 255}, L"屏幕坐标XY", nullptr, 0},
    {kText1, ControlKind::TextBox, {3960, 360, 1455, 270}, L"", nullptr, 0},
    {kImage1,
     ControlKind::Picture,
     {2040, 840, 480, 480},
     nullptr,
     L"开始采集XY坐标，自带窗口置顶功能",
     PINVALE_START_PICTURE},
    {kImage2, ControlKind::Picture, {3360, 840, 480, 480}, nullptr, L"暂停采集XY坐标", PINVALE_PAUSE_PICTURE},
};

// Where a control is in the table; every id is.
constexpr std::size_t IndexOf(ControlId id) noexcept {
  std::size_t i = 0;
  while (kControls[i].id != id) ++i;
  return i;
}

// The pictures show this image of their icon, unscaled.
inline constexpr int kPictureSize = 32;

}  // namespace pinvale::window
