// The main window as a user sees it: frame, size and place, controls, texts,
// tooltips, focus and icon.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "tests/e2e/driver.h"
#include "window/layout.h"
#include "window/scale_colors.h"

namespace pinvale::e2e {
namespace {

using namespace pinvale::window;  // the control ids

using std::chrono::milliseconds;

class WindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { pinvale_ = new PinvaleProcess(); }
  static void TearDownTestSuite() {
    delete pinvale_;
    pinvale_ = nullptr;
  }
  static PinvaleProcess& Pinvale() { return *pinvale_; }
  static int Dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
  }

 private:
  static PinvaleProcess* pinvale_;
};
PinvaleProcess* WindowTest::pinvale_ = nullptr;

TEST_F(WindowTest, FixedSingleFrameWithCloseButtonOnly) {
  const auto style = static_cast<DWORD>(GetWindowLongW(Pinvale().Window(), GWL_STYLE));
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the frame must not be resizable";
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
}

TEST_F(WindowTest, ClientAreaAndCentring) {
  ASSERT_EQ(Dpi(), 96) << "the geometry below is for 96 dots per inch";
  RECT client{};
  GetClientRect(Pinvale().Window(), &client);
  EXPECT_EQ(client.right, 399);
  EXPECT_EQ(client.bottom, 109);

  RECT frame{};
  GetWindowRect(Pinvale().Window(), &frame);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR(frame.left + frame.right, screenWidth, 1) << "not centred across";
  EXPECT_NEAR(frame.top + frame.bottom, screenHeight, 1) << "not centred down";
}

TEST_F(WindowTest, ControlsWhereTheLayoutPutsThem) {
  ASSERT_EQ(Dpi(), 96);
  struct Expected {
    int id;
    const wchar_t* className;
    RECT rect;  // left, top, right, bottom in client pixels
  };
  const Expected controls[] = {
      {kLabel3, L"Static", {32, 24, 32 + 65, 24 + 17}},   {kText2, L"Edit", {104, 24, 104 + 65, 24 + 18}},
      {kLabel4, L"Static", {192, 24, 192 + 65, 24 + 17}}, {kText1, L"Edit", {264, 24, 264 + 97, 24 + 18}},
      {kImage1, L"Static", {136, 56, 136 + 32, 56 + 32}}, {kImage2, L"Static", {224, 56, 224 + 32, 56 + 32}},
  };
  for (const auto& expected : controls) {
    HWND control = Pinvale().Control(expected.id);
    ASSERT_NE(control, nullptr) << "control " << expected.id;
    EXPECT_EQ(ClassOf(control), expected.className) << "control " << expected.id;
    const RECT rect = RectInParent(control);
    EXPECT_EQ(rect.left, expected.rect.left) << "control " << expected.id;
    EXPECT_EQ(rect.top, expected.rect.top) << "control " << expected.id;
    EXPECT_EQ(rect.right, expected.rect.right) << "control " << expected.id;
    EXPECT_EQ(rect.bottom, expected.rect.bottom) << "control " << expected.id;
    EXPECT_TRUE(IsWindowVisible(control)) << "control " << expected.id;
  }
}

TEST_F(WindowTest, TextsAtStart) {
  EXPECT_EQ(TextOf(Pinvale().Control(kLabel3)), L"屏幕分辨率");
  EXPECT_EQ(TextOf(Pinvale().Control(kLabel4)), L"屏幕坐标XY");
  EXPECT_EQ(TextOf(Pinvale().Control(kText2)), L"150");
}

TEST_F(WindowTest, BoxesAreSingleLineAndEditable) {
  for (int id : {kText2, kText1}) {
    const auto style = static_cast<DWORD>(GetWindowLongW(Pinvale().Control(id), GWL_STYLE));
    EXPECT_FALSE(style & ES_MULTILINE) << id;
    EXPECT_FALSE(style & ES_READONLY) << id;
    EXPECT_TRUE(style & WS_TABSTOP) << id;
  }
  for (int id : {kLabel3, kLabel4, kImage1, kImage2}) {
    const auto style = static_cast<DWORD>(GetWindowLongW(Pinvale().Control(id), GWL_STYLE));
    EXPECT_FALSE(style & WS_TABSTOP) << id << " must take no focus";
  }
}

// A square of pixels as 0x00RRGGBB values, row by row.
using Pixels = std::vector<COLORREF>;

Pixels ScreenPixels(RECT rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  Pixels pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(memory, x, y));
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// An icon of Pinvale.exe drawn unscaled on the given background.
Pixels IconPixels(int iconId, COLORREF background, int size = 32) {
  HMODULE module = LoadLibraryExW(ExecutablePath().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  auto icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, 0));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  const RECT all{0, 0, size, size};
  FillRect(memory, &all, brush);
  DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  Pixels pixels;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) pixels.push_back(GetPixel(memory, x, y));
  }
  DeleteObject(brush);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  DestroyIcon(icon);
  FreeLibrary(module);
  return pixels;
}

// How many pixels differ by more than the tolerance in some channel.
int Differing(const Pixels& a, const Pixels& b, int tolerance = 8) {
  int count = 0;
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    const auto channel = [](COLORREF c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    for (int shift : {0, 8, 16}) {
      if (std::abs(channel(a[i], shift) - channel(b[i], shift)) > tolerance) {
        ++count;
        break;
      }
    }
  }
  return count + static_cast<int>(std::max(a.size(), b.size()) - std::min(a.size(), b.size()));
}

TEST_F(WindowTest, PicturesShowTheirIconsUnscaled) {
  BringToFront(Pinvale().Window());
  MoveMouseTo({0, 0});  // no tooltip over the pictures
  Sleep(milliseconds(300));
  for (const auto& [id, icon] : {std::pair{kImage1, 2}, std::pair{kImage2, 3}}) {
    HWND picture = Pinvale().Control(id);
    const auto style = static_cast<DWORD>(GetWindowLongW(picture, GWL_STYLE));
    EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(SS_ICON)) << id;
    EXPECT_TRUE(style & SS_NOTIFY) << id << " must report clicks";
    EXPECT_NE(SendMessageW(picture, STM_GETICON, 0, 0), 0) << id;

    RECT rect{};
    GetWindowRect(picture, &rect);
    const Pixels shown = ScreenPixels(rect);
    const Pixels expected = IconPixels(icon, shown.front());  // the corner shows the background
    EXPECT_LE(Differing(shown, expected), 16) << "picture " << id << " is not its icon's 32 x 32 image";
  }
}

TEST_F(WindowTest, CaptionShowsTheApplicationIcon) {
  // Wine will not hand another process the window's icon, so look for its
  // 16 x 16 image at the left of the title bar. The frame draws it blended,
  // hence the loose colour tolerance; an empty or other icon still fails.
  BringToFront(Pinvale().Window());
  MoveMouseTo({0, 0});
  Sleep(milliseconds(300));
  RECT frame{};
  GetWindowRect(Pinvale().Window(), &frame);
  const RECT strip{frame.left, frame.top, frame.left + 48, frame.top + GetSystemMetrics(SM_CYCAPTION) + 8};
  const Pixels shown = ScreenPixels(strip);
  const int stripWidth = strip.right - strip.left;
  const int stripHeight = strip.bottom - strip.top;
  int best = 256;
  for (int top = 0; top + 16 <= stripHeight; ++top) {
    for (int left = 0; left + 16 <= stripWidth; ++left) {
      Pixels candidate;
      for (int y = top; y < top + 16; ++y) {
        for (int x = left; x < left + 16; ++x)
          candidate.push_back(shown[static_cast<std::size_t>(y * stripWidth + x)]);
      }
      best = std::min(best, Differing(candidate, IconPixels(1, candidate.front(), 16), 64));
    }
  }
  EXPECT_LE(best, 24) << "no application icon in the title bar";
}

TEST_F(WindowTest, FocusStartsInScaleBoxAndTabMovesBetweenBoxes) {
  BringToFront(Pinvale().Window());
  const DWORD thread = Pinvale().ThreadId();
  HWND text2 = Pinvale().Control(kText2);
  HWND text1 = Pinvale().Control(kText1);
  EXPECT_EQ(FocusOf(thread), text2);

  PressKey(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(thread) == text1; })) << "Tab did not reach the readout box";
  PressKey(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(thread) == text2; })) << "Tab did not return to the scale box";
  PressKey(VK_TAB, true);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(thread) == text1; })) << "Shift+Tab did not go back";
  PressKey(VK_TAB, true);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(thread) == text2; }));

  // Kept in either box across minimize, another window's activation and restore.
  HWND other = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
  for (HWND box : {text1, text2}) {
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(thread) == box; }));
    ShowWindow(Pinvale().Window(), SW_MINIMIZE);
    ShowWindow(other, SW_SHOW);
    BringToFront(other);
    ShowWindow(Pinvale().Window(), SW_RESTORE);
    BringToFront(Pinvale().Window());
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(thread) == box; }))
        << "the focus did not come back to " << (box == text1 ? "the readout box" : "the scale box");
  }
  DestroyWindow(other);
}

BOOL CALLBACK KeepShownTooltip(HWND window, LPARAM found) {
  if (ClassOf(window) == TOOLTIPS_CLASSW && IsWindowVisible(window)) {
    *reinterpret_cast<std::wstring*>(found) = TextOf(window);
    return FALSE;
  }
  return TRUE;
}

// The text of the program's tooltip that is showing, if one is.
std::wstring ShownTooltip(DWORD threadId) {
  std::wstring shown;
  EnumThreadWindows(threadId, KeepShownTooltip, reinterpret_cast<LPARAM>(&shown));
  return shown;
}

TEST_F(WindowTest, TooltipsShowWhenTheMouseRests) {
  BringToFront(Pinvale().Window());
  struct Expected {
    int id;
    const wchar_t* tooltip;
  };
  const Expected tooltips[] = {
      {kText2, L"屏幕分辨率"},
      {kImage1, L"开始采集XY坐标，自带窗口置顶功能"},
      {kImage2, L"暂停采集XY坐标"},
  };
  for (const auto& expected : tooltips) {
    RECT rect{};
    GetWindowRect(Pinvale().Control(expected.id), &rect);
    // Arrive from outside the control, then rest on it.
    MoveMouseTo({rect.left - 40, rect.bottom + 40});
    Sleep(milliseconds(200));
    MoveMouseTo({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    std::wstring shown;
    const bool appeared = WaitUntil(
        [&] {
          shown = ShownTooltip(Pinvale().ThreadId());
          return shown == expected.tooltip;
        },
        milliseconds(4000));
    EXPECT_TRUE(appeared) << "control " << expected.id << " showed \"" << testing::PrintToString(shown)
                          << "\"";
  }
  // The labels and the readout box have none.
  for (int id : {kLabel3, kText1}) {
    RECT rect{};
    GetWindowRect(Pinvale().Control(id), &rect);
    MoveMouseTo({rect.left - 40, rect.bottom + 40});
    Sleep(milliseconds(200));
    MoveMouseTo({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    Sleep(milliseconds(1500));
    EXPECT_EQ(ShownTooltip(Pinvale().ThreadId()), L"") << "control " << id;
  }
}

// Where a control draws its text: the last column and row of its client
// area that differ from the background (the top-left pixel), and the pixel
// that stands out most from it.
struct Ink {
  int width = 0;
  int height = 0;
  int right = -1;
  int bottom = -1;
  COLORREF background = 0;
  COLORREF boldest = 0;
};

window::Rgb AsRgb(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

Ink InkOf(HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const Pixels pixels = ScreenPixels(client);
  Ink ink{client.right - client.left, client.bottom - client.top};
  ink.background = ink.boldest = pixels.front();
  for (int y = 0; y < ink.height; ++y) {
    for (int x = 0; x < ink.width; ++x) {
      const COLORREF pixel = pixels[static_cast<std::size_t>(y * ink.width + x)];
      if (Differing({pixel}, {ink.background}, 24) == 0) continue;
      ink.right = std::max(ink.right, x);
      ink.bottom = y;
      const auto contrast = [&](COLORREF c) {
        return window::ContrastRatio(AsRgb(c), AsRgb(ink.background));
      };
      if (contrast(pixel) > contrast(ink.boldest)) ink.boldest = pixel;
    }
  }
  return ink;
}

// Pinvale started with a system setting changed for the Wine session, shown
// inactive (no caret, no selection) with the pointer away; the setting is
// put back at the end.
class PinvaleWithSetting {
 public:
  PinvaleWithSetting(const std::function<void()>& change, std::function<void()> restore)
      : restore_{(change(), std::move(restore))} {
    WNDCLASSW plain{};
    plain.lpfnWndProc = DefWindowProcW;
    plain.lpszClassName = L"PinvaleTestActive";
    RegisterClassW(&plain);
    active_ = CreateWindowExW(0, plain.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr,
                              nullptr, nullptr, nullptr);
    BringToFront(active_);
    MoveMouseTo({GetSystemMetrics(SM_CXSCREEN) - 10, GetSystemMetrics(SM_CYSCREEN) - 10});
    Sleep(milliseconds(400));  // drawn inactive
  }
  ~PinvaleWithSetting() { DestroyWindow(active_); }
  PinvaleWithSetting(const PinvaleWithSetting&) = delete;
  PinvaleWithSetting& operator=(const PinvaleWithSetting&) = delete;
  HWND Control(int id) const { return pinvale_->Control(id); }
  DWORD Probed(const char* function) const {
    return Probe(pinvale_->Process()).Run(function, pinvale_->Window());
  }

 private:
  struct Restore {
    std::function<void()> restore;
    ~Restore() { restore(); }
  } restore_;  // also when Pinvale does not start
  std::unique_ptr<PinvaleProcess> pinvale_ = std::make_unique<PinvaleProcess>();
  HWND active_ = nullptr;
};

// No label wraps or is cut and no box clips its text, whatever size the
// user chose for the message font ("Make text bigger"), and at the scalings
// a system that does not stretch the program lays it out for. There, with a
// message font that has no Chinese and no font link to lend it any, every
// text and tooltip is drawn from one face that has all its glyphs.
TEST(TextSizeTest, TextsFitTheirControlsAtAnyMessageFontSize) {
  NONCLIENTMETRICSW saved{};
  saved.cbSize = sizeof saved;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved, &saved, 0);
  const wchar_t* const links = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink";
  wchar_t tahomaLinks[256] = {};
  DWORD linksSize = sizeof tahomaLinks;
  RegGetValueW(HKEY_LOCAL_MACHINE, links, L"Tahoma", RRF_RT_REG_MULTI_SZ, nullptr, tahomaLinks, &linksSize);
  const struct {
    LONG height;
    DWORD dpi;
    bool linked;
  } rows[] = {{saved.lfMessageFont.lfHeight, 96, true},   {-27 /* 20 points */, 96, true},
              {saved.lfMessageFont.lfHeight, 96, false},  {saved.lfMessageFont.lfHeight, 120, false},
              {saved.lfMessageFont.lfHeight, 144, false}, {saved.lfMessageFont.lfHeight, 192, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "message font height " << row.height << ", " << row.dpi << " dpi, "
                                    << (row.linked ? "Tahoma linked to a Chinese font" : "no font link"));
    const auto apply = [](NONCLIENTMETRICSW metrics, DWORD dpi) {
      SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics,
                            SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
      RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                      sizeof dpi);
    };
    NONCLIENTMETRICSW larger = saved;
    larger.lfMessageFont.lfHeight = row.height;
    PinvaleWithSetting pinvale(
        [&] {
          apply(larger, row.dpi);
          if (!row.linked) RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, links, L"Tahoma");
        },
        [&] {
          apply(saved, 96);
          RegSetKeyValueW(HKEY_LOCAL_MACHINE, links, L"Tahoma", REG_MULTI_SZ, tahomaLinks, linksSize);
        });
    for (int id : {kLabel3, kText2, kLabel4, kText1}) {
      const Ink ink = InkOf(pinvale.Control(id));
      EXPECT_GE(ink.right, 0) << "control " << id << " shows no text";
      EXPECT_LT(ink.right, ink.width - 1) << "control " << id << " cuts its text at the right";
      EXPECT_LT(ink.bottom, ink.height - 1) << "control " << id << " cuts or wraps its text";
    }
    RECT client{};
    GetClientRect(GetParent(pinvale.Control(kText1)), &client);
    EXPECT_EQ(client.right, MulDiv(5985, static_cast<int>(row.dpi), 1440)) << "not laid out at this scaling";
    EXPECT_EQ(pinvale.Probed("MissingGlyphs"), 0u);
  }
}

// The scale box's tint, in the default and in a dark colour scheme: its text
// always contrasts with it (WCAG's 4.5 : 1).
TEST(ColourSchemeTest, TintedScaleBoxTextContrasts) {
  const int elements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT};
  const COLORREF saved[] = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT)};
  const COLORREF dark[] = {RGB(0, 0, 0), RGB(255, 255, 255)};
  for (const COLORREF* scheme : {saved, dark}) {
    PinvaleWithSetting pinvale([&] { SetSysColors(2, elements, scheme); },
                               [&] { SetSysColors(2, elements, saved); });
    EXPECT_EQ(InkOf(pinvale.Control(kText2)).background, scheme[0]) << "the scheme did not reach Pinvale";
    SendMessageW(pinvale.Control(kText2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
    Ink ink;
    EXPECT_TRUE(WaitUntil([&] {
      ink = InkOf(pinvale.Control(kText2));
      return AsRgb(ink.background) == window::kUnusableScaleTint;
    })) << "the box is not tinted";
    const double contrast = window::ContrastRatio(AsRgb(ink.boldest), AsRgb(ink.background));
    std::printf("window text %06lx on %06lx: the tinted box draws %06lx on %06lx, contrast %.1f : 1\n",
                scheme[1], scheme[0], ink.boldest, ink.background, contrast);
    EXPECT_GE(contrast, window::kMinimumContrast);
  }
}

// From a shortcut's "Run" setting: the window never opens maximized, a
// minimized one takes no keys until it is restored, and typing into the
// new window replaces the scale.
TEST(StartUpTest, ShowCommandsFocusAndFirstTyping) {
  struct Case {
    const char* name;
    int show;
    bool minimized;
  };
  const Case cases[] = {{"normal", SW_SHOWNORMAL, false},
                        {"maximized", SW_SHOWMAXIMIZED, false},
                        {"minimized", SW_SHOWMINIMIZED, true},
                        {"minimized, not active", SW_SHOWMINNOACTIVE, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PinvaleProcess pinvale(c.show);
    HWND window = pinvale.Window();
    HWND text2 = pinvale.Control(kText2);
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_EQ(IsIconic(window) != 0, c.minimized);
    if (c.minimized) {
      EXPECT_NE(FocusOf(pinvale.ThreadId()), text2);
      TypeText(L"9");
      Sleep(milliseconds(300));  // keys that went astray would have arrived
      ShowWindow(window, SW_RESTORE);
      BringToFront(window);
    }
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 399);
    EXPECT_EQ(client.bottom, 109);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(pinvale.ThreadId()) == text2; }))
        << "no focus in the scale box";
    TypeText(L"125");
    EXPECT_TRUE(WaitUntil([&] { return TextOf(text2) == L"125"; }))
        << "typing 125 gave " << testing::PrintToString(TextOf(text2));
  }
}

// Each call that the start-up depends on, failing: the program works
// without it, or says in a box which step failed and the system's text for
// why, and ends with exit code 1. Never a crash, never a silent end.
TEST(StartUpTest, EveryFailingCallIsSurvivedOrShown) {
  const struct {
    const wchar_t* fault;  // the call, which of its calls (0: every one), the error
    const wchar_t* step;   // the box's; none where the program works without it
    DWORD error;
  } cases[] = {{L"RegisterClassExW 1 8", L"注册窗口类", 8},
               {L"CreateWindowExW 1 5", L"创建窗口", 5},
               {L"CreateWindowExW 2 1450", L"创建控件", 1450},
               {L"SetTimer 1 1816", L"启动采集定时器", 1816},
               {L"CreateWindowExW 8 8" /* the tooltip */, nullptr, 0},
               {L"CreateFontIndirectW 0 8", nullptr, 0},
               {L"LoadImageW 0 1813", nullptr, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf8(c.fault));
    PinvaleProcess pinvale(-1, c.fault);
    if (c.step == nullptr) {
      EXPECT_TRUE(WaitUntil([&] { return !TextOf(pinvale.Control(kText1)).empty(); })) << "no readout";
      EXPECT_EQ(pinvale.Close(), 0u);
      continue;
    }
    ASSERT_EQ(ClassOf(pinvale.Window()), L"#32770") << "no message box";
    EXPECT_TRUE(TextStays(pinvale.Window(), TextOf(pinvale.Window()))) << "the box closed by itself";
    std::wstring said;
    for (HWND child = nullptr; (child = FindWindowExW(pinvale.Window(), child, L"Static", nullptr));) {
      said += TextOf(child);
    }
    wchar_t reason[256] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, c.error, 0, reason,
                   256, nullptr);
    std::printf("%s: %s\n", Utf8(c.fault).c_str(), Utf8(said).c_str());
    EXPECT_NE(said.find(c.step), std::wstring::npos);
    EXPECT_NE(said.find(std::wstring(reason).substr(0, 8)), std::wstring::npos) << "not the system's text";
    PostMessageW(pinvale.Window(), WM_COMMAND, IDOK, 0);
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(pinvale.Process(), 10000);
    GetExitCodeProcess(pinvale.Process(), &code);
    EXPECT_EQ(code, 1u);
  }
}

// A smaller desktop: a window whose caption it takes out of reach comes
// back, minimized or not; one whose caption can still be grabbed stays.
TEST(DisplayChangeTest, WindowComesBackWhereItsCaptionCanBeGrabbed) {
  DEVMODEW smaller{};
  smaller.dmSize = sizeof smaller;
  smaller.dmPelsWidth = 800;
  smaller.dmPelsHeight = 600;
  smaller.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  const struct {
    const char* name;
    POINT at;
    bool minimized;
    bool moves;
  } cases[] = {{"off the smaller desktop", {850, 650}, false, true},
               {"only the caption's left end left", {785, 300}, false, true},
               {"minimized, restored off it", {850, 650}, true, true},
               {"in sight", {300, 200}, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PinvaleProcess pinvale;
    HWND window = pinvale.Window();
    SetWindowPos(window, nullptr, c.at.x, c.at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (c.minimized) ShowWindow(window, SW_MINIMIZE);
    ASSERT_EQ(ChangeDisplaySettingsW(&smaller, 0), DISP_CHANGE_SUCCESSFUL);
    Settle(window);
    EXPECT_EQ(IsIconic(window) != FALSE, c.minimized) << "the change restored it";
    if (c.minimized) ShowWindow(window, SW_RESTORE);
    RECT rect{};
    GetWindowRect(window, &rect);
    ChangeDisplaySettingsW(nullptr, 0);
    std::printf("%s: at (%ld, %ld) on 800 x 600\n", c.name, rect.left, rect.top);
    if (c.moves) {
      EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= 800 && rect.bottom <= 600);
    } else {
      EXPECT_TRUE(rect.left == c.at.x && rect.top == c.at.y);
    }
  }
}

// A taskbar 100 pixels high along the top (taskbar_e2e_test): a caption under it comes out; one below stays.
TEST(TaskbarTest, CaptionUnderTheTaskbarComesOut) {
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) && work.top == 100) << "no taskbar";
  for (const POINT at : {POINT{300, 40}, POINT{300, -30}, POINT{300, 200}}) {
    PinvaleProcess pinvale;
    RECT rect{};
    SetWindowPos(pinvale.Window(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(pinvale.Window(), WM_DISPLAYCHANGE, 32, MAKELPARAM(work.right, work.bottom));
    GetWindowRect(pinvale.Window(), &rect);
    std::printf("put at (%ld, %ld): at (%ld, %ld)\n", at.x, at.y, rect.left, rect.top);
    const ScreenRect centred = CentredOn({work.left, work.top, work.right, work.bottom},
                                         rect.right - rect.left, rect.bottom - rect.top);
    EXPECT_EQ(rect.top, at.y < 100 ? centred.top : at.y) << at.y;
  }
}

TEST_F(WindowTest, ClosesWithExitCodeZero) {
  PinvaleProcess other;
  EXPECT_EQ(other.Close(), 0u);
}

}  // namespace
}  // namespace pinvale::e2e
