// Where the window goes on a screen: centred, and never with its caption
// out of reach.
#include "window/layout.h"

#include <gtest/gtest.h>

namespace pinvale::window {
namespace {

TEST(CentredOn, KeepsTheSizeAndTheCaptionOnTheArea) {
  struct Case {
    ScreenRect area;
    int width;
    int height;
    ScreenRect expected;
  };
  const Case cases[] = {
      {{0, 0, 1024, 768}, 405, 138, {309, 315, 714, 453}},
      {{-1920, -200, 0, 880}, 405, 138, {-1163, 271, -758, 409}},  // a monitor left of and above the main one
      {{0, 0, 320, 100}, 405, 138, {0, 0, 405, 138}},              // a screen smaller than the window
  };
  for (const auto& c : cases) EXPECT_EQ(CentredOn(c.area, c.width, c.height), c.expected) << c.area.left;
}

}  // namespace
}  // namespace pinvale::window
