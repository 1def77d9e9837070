// The readout in a locale whose decimal separator is the comma.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "window/layout.h"

namespace pinvale::e2e {
namespace {

using namespace pinvale::window;  // the control ids

using std::chrono::milliseconds;

TEST(CommaLocaleTest, ReadsAndWritesTheComma) {
  if (GetEnvironmentVariableW(L"PINVALE_EXPECT_COMMA", nullptr, 0) == 0) {
    GTEST_SKIP() << "needs a comma locale: run through tests/e2e/with-comma-locale.sh";
  }
  wchar_t separator[4] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4);
  ASSERT_EQ(std::wstring(separator), L",") << "Wine did not take the comma locale";

  PinvaleProcess pinvale;
  HWND text2 = pinvale.Control(kText2);
  HWND text1 = pinvale.Control(kText1);
  const auto readoutBecomes = [&](const std::wstring& expected) {
    return WaitUntil([&] { return TextOf(text1) == expected; }, milliseconds(3000));
  };
  SetCursorPos(333, 201);
  SendMessageW(text2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"12,5"));
  EXPECT_TRUE(readoutBecomes(L"41,625 & 25,125")) << testing::PrintToString(TextOf(text1));
  SendMessageW(text2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"110"));
  EXPECT_TRUE(readoutBecomes(L"366,3 & 221,1")) << testing::PrintToString(TextOf(text1));

  // The full stop is no separator here, and never a group separator.
  SendMessageW(text2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1.5"));
  SetCursorPos(400, 300);
  EXPECT_TRUE(TextStays(text1, L"366,3 & 221,1")) << testing::PrintToString(TextOf(text1));
  EXPECT_TRUE(pinvale.Alive());
}

}  // namespace
}  // namespace pinvale::e2e
