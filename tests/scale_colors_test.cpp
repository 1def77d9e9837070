// The window's pure logic: the scale box's colours while its text gives no readout, in
// the schemes Windows users have (Wine always reports high contrast off), its placement,
// and what each message means for start and pause.
#include "window/scale_colors.h"

#include <gtest/gtest.h>

#include "window/layout.h"
#include "window/sampling_commands.h"

namespace pinvale::window {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

TEST(UnusableScaleColors, ReadableInEveryScheme) {
  struct Case {
    const char* scheme;
    bool highContrast;
    TextColors window;
    TextColors highlight;
    TextColors expected;
  };
  const Case cases[] = {
      {"default", false, {kBlack, kWhite}, {kWhite, {0, 120, 215}}, {kBlack, kUnusableScaleTint}},
      {"dark: white on black",
       false,
       {kWhite, kBlack},
       {kWhite, {0, 120, 215}},
       {kBlack, kUnusableScaleTint}},
      {"dark red text", false, {{128, 0, 0}, kWhite}, {kWhite, kBlack}, {{128, 0, 0}, kUnusableScaleTint}},
      {"high contrast black", true, {kWhite, kBlack}, {kBlack, {26, 235, 255}}, {kBlack, {26, 235, 255}}},
      {"high contrast white", true, {kBlack, kWhite}, {kWhite, {55, 0, 110}}, {kWhite, {55, 0, 110}}},
      {"high contrast, a pair that does not read",
       true,
       {kWhite, kBlack},
       {{90, 90, 90}, {60, 60, 60}},
       {kWhite, {60, 60, 60}}},
  };
  for (const auto& c : cases) {
    const TextColors chosen = UnusableScaleColors(c.highContrast, c.window, c.highlight);
    EXPECT_EQ(chosen.background, c.expected.background) << c.scheme;
    EXPECT_EQ(chosen.text, c.expected.text) << c.scheme;
    EXPECT_GE(ContrastRatio(chosen.text, chosen.background), kMinimumContrast) << c.scheme;
  }
}

TEST(ContrastRatio, KnownPairs) {
  EXPECT_NEAR(ContrastRatio(kBlack, kWhite), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(kWhite, kBlack), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio({118, 118, 118}, kWhite), 4.54, 0.01);  // the lightest grey that reads on white
  EXPECT_NEAR(ContrastRatio(kUnusableScaleTint, kUnusableScaleTint), 1.0, 1e-9);
}

// The window centred on a screen, its caption never out of reach.
TEST(CentredOn, KeepsTheSizeAndTheCaptionOnTheArea) {
  EXPECT_EQ(CentredOn({0, 0, 1024, 768}, 405, 138), (ScreenRect{309, 315, 714, 453}));
  EXPECT_EQ(CentredOn({-1920, -200, 0, 880}, 405, 138),
            (ScreenRect{-1163, 271, -758, 409}));  // left of and above
  EXPECT_EQ(CentredOn({0, 0, 320, 100}, 405, 138),
            (ScreenRect{0, 0, 405, 138}));  // a screen smaller than the window
}

// A caption 23 pixels high, on an 800 x 600 work area: a piece as wide as it
// is high, left of the close button, and half its height must be in it.
TEST(CaptionCanBeGrabbed, NeedsAPieceOfTheCaptionInTheArea) {
  const struct {
    ScreenRect window;
    bool grabbable;
  } cases[] = {{{300, 200, 705, 338}, true},  {{770, 300, 1175, 438}, true}, {{785, 300, 1190, 438}, false},
               {{-390, 300, 15, 438}, false},  // the close button alone
               {{300, -10, 705, 128}, true},  {{300, -20, 705, 118}, false}, {{300, 590, 705, 728}, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(CaptionCanBeGrabbed(c.window, {0, 0, 800, 600}, 23), c.grabbable)
        << c.window.left << "," << c.window.top;
  }
  EXPECT_EQ(PlaceInReach({785, 300, 1190, 438}, {0, 100, 800, 600}, 23), (ScreenRect{197, 281, 602, 419}));
  EXPECT_EQ(PlaceInReach({770, 300, 1175, 438}, {0, 100, 800, 600}, 23), (ScreenRect{770, 300, 1175, 438}));
}

// Clicks and double clicks on a picture, Enter and Esc, and the two menu items,
// whose low four bits are the system's; nothing else.
TEST(SamplingCommands, EachMessageMeansItsCommand) {
  EXPECT_EQ(CommandFor(kImage1, kPictureDoubleClicked), &kSamplingCommands[0]);
  EXPECT_EQ(CommandFor(kDialogCancel, 0), &kSamplingCommands[1]);
  EXPECT_EQ(CommandFor(kImage2, 2 /* STN_ENABLE */), nullptr);
  EXPECT_EQ(CommandFor(kText2, 0), nullptr);
  EXPECT_EQ(CommandForMenuItem(0x0023), &kSamplingCommands[1]);
  EXPECT_EQ(CommandForMenuItem(0xF060 /* SC_CLOSE */), nullptr);
}

}  // namespace
}  // namespace pinvale::window
