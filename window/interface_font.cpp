#include "window/interface_font.h"

#include <cstring>
#include <cwchar>
#include <iterator>
#include <utility>

#include "window/layout.h"

namespace pinvale::window {
namespace {

// The layout is drawn for text of this size, whatever size the user chose
// for message boxes: a larger one would make the labels wrap and the boxes
// clip their text.
constexpr int kPoints = 9;

// Windows' own faces for Simplified Chinese, newest first ("Microsoft
// YaHei UI" from Windows 8, "Microsoft YaHei" from Vista, in every display
// language); the last, no face at all, lets the font mapper choose one for
// the charset.
constexpr const wchar_t* kChineseFaces[] = {L"Microsoft YaHei UI", L"Microsoft YaHei", L""};

bool DrawsEveryGlyph(HDC dc, const wchar_t* text) noexcept {
  if (text == nullptr) return true;
  WORD glyphs[64];
  const std::size_t length = wcslen(text);
  if (length > std::size(glyphs) ||
      GetGlyphIndicesW(dc, text, static_cast<int>(length), glyphs, GGI_MARK_NONEXISTING_GLYPHS) != length) {
    return false;
  }
  for (std::size_t i = 0; i < length; ++i) {
    if (glyphs[i] == 0xFFFF) return false;
  }
  return true;
}

// The font, if it is the face asked for (not the mapper's stand-in for a
// face this system lacks) and draws every text and tooltip of the layout
// itself. Font linking is not asked: it draws glyph by glyph from whichever
// fallback face comes first, in other shapes and weights, and in Japanese
// forms where a Japanese face comes before a Chinese one (as for Segoe UI).
platform::UniqueFont IfDrawingAll(const LOGFONTW& wanted) noexcept {
  platform::UniqueFont font(CreateFontIndirectW(&wanted));
  HDC dc = GetDC(nullptr);
  if (!font || dc == nullptr) {
    if (dc != nullptr) ReleaseDC(nullptr, dc);
    return {};
  }
  HGDIOBJ old = SelectObject(dc, font.Get());
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  const std::size_t asked = (wcslen(wanted.lfFaceName) + 1) * sizeof(wchar_t);
  bool drawsAll = wanted.lfFaceName[0] == L'\0' || std::memcmp(face, wanted.lfFaceName, asked) == 0;
  for (const ControlSpec& control : kControls) {
    drawsAll = drawsAll && DrawsEveryGlyph(dc, control.text) && DrawsEveryGlyph(dc, control.tooltip);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return drawsAll ? std::move(font) : platform::UniqueFont{};
}

}  // namespace

platform::UniqueFont CreateInterfaceFont(int dotsPerInch) noexcept {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
  LOGFONTW& font = metrics.lfMessageFont;
  font.lfHeight = -MulDiv(kPoints, dotsPerInch, 72);
  font.lfWidth = 0;
  // On a Chinese Windows, its message font ("Microsoft YaHei UI").
  if (font.lfCharSet == GB2312_CHARSET) {
    if (platform::UniqueFont chinese = IfDrawingAll(font)) return chinese;
  }
  LOGFONTW chinese = font;
  chinese.lfCharSet = GB2312_CHARSET;
  for (const wchar_t* face : kChineseFaces) {
    std::memcpy(chinese.lfFaceName, face, (wcslen(face) + 1) * sizeof(wchar_t));
    if (platform::UniqueFont found = IfDrawingAll(chinese)) return found;
  }
  return platform::UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace pinvale::window
