// The spectrum strip as the running monitor draws it, read back from a
// picture of its client area.
#include <cmath>

#include "DetectionWindow.h"

namespace {

constexpr COLORREF kMarker = RGB(100, 100, 255);
constexpr COLORREF kPeakBar = RGB(255, 0, 0);
constexpr COLORREF kLabelBackground = RGB(200, 200, 200);
constexpr COLORREF kStripInside = RGB(255, 255, 255);

class SpectrumStripPicture : public DetectionWindow {
 protected:
  // The strip's box as its paint places it in the client area.
  void TakePicture() {
    picture = GrabClient(window);
    left = 2;
    right = picture.width - 2;
    bottom = picture.height - 1;
    width = right - left;
  }

  int ColumnOfBin(double bin, int offsetPx = 0) const {
    return static_cast<int>(std::trunc(width * bin / 64.0 + left + offsetPx));
  }

  // Width of one marker block: the cell of the glyph "i" in the window's font.
  int MarkerWidth() const { return TextWidth(window, "i"); }

  // Sweeps a row from x and returns how many pixels in a row have the colour.
  int RunOf(COLORREF colour, int x, int y) const {
    int run = 0;
    while (x + run < picture.width && picture.At(x + run, y) == colour) ++run;
    return run;
  }

  void PlayTone(int bin) {
    sim.SetBinToneInput(bin, kLoudToneVolts, tqxsim::kInputBiasVolts);
    ASSERT_TRUE(ProcessEventsUntil([bin] { return PeakBin.load() == bin; }));
  }

  ClientPicture picture;
  int left = 0;
  int right = 0;
  int bottom = 0;
  int width = 0;
};

TEST_F(SpectrumStripPicture, ThePeakBarIsFivePixelsWideAtTheColumnOfThePeakBin) {
  Start();
  PlayTone(15);
  TakePicture();
  EXPECT_EQ(SpectrumStrip, (CRect{left, bottom - 18, right, bottom}));
  const int x = ColumnOfBin(15);
  const int barRow = bottom - 9;
  EXPECT_EQ(picture.At(x - 3, barRow), kStripInside);
  EXPECT_EQ(RunOf(kPeakBar, x - 2, barRow), 5) << "columns " << x - 2 << " to " << x + 2;
  // From 5 to 13 pixels above the strip's bottom edge.
  EXPECT_EQ(picture.At(x, bottom - 5), kPeakBar);
  EXPECT_EQ(picture.At(x, bottom - 13), kPeakBar);
  EXPECT_NE(picture.At(x, bottom - 4), kPeakBar);
  EXPECT_NE(picture.At(x, bottom - 14), kPeakBar);

  PlayTone(64);
  TakePicture();
  EXPECT_EQ(ColumnOfBin(64), right) << "bin 64 is the strip's right edge";
  EXPECT_EQ(picture.At(right, barRow), kPeakBar);
  EXPECT_EQ(picture.At(right - 2, barRow), kPeakBar);
  EXPECT_NE(picture.At(right - 3, barRow), kPeakBar);
}

TEST_F(SpectrumStripPicture, MarkersClusterAtTheFirstTriggerBinOneBlockPerTriggerFieldInUse) {
  ConfigRecord stored{};
  stored.triggerBin1[1] = 20;
  stored.triggerBin3[1] = 35;
  stored.triggerBin2[2] = 30;
  stored.triggerBin1[3] = -4;  // no trigger bins at all: nothing drawn
  Start(stored);
  TakePicture();
  const int blockRow = bottom - 15;
  const int blockWidth = MarkerWidth();
  ASSERT_LT(blockWidth, 8) << "blocks at their three places would run into each other";

  // Function 1: the first block and the third's place, both from bin 20.
  const int first = ColumnOfBin(20, -2);
  EXPECT_NE(picture.At(first - 1, blockRow), kMarker);
  EXPECT_EQ(RunOf(kMarker, first, blockRow), blockWidth);
  EXPECT_NE(picture.At(ColumnOfBin(20, 6), blockRow), kMarker) << "its second field is empty";
  EXPECT_EQ(RunOf(kMarker, ColumnOfBin(20, 13), blockRow), blockWidth);
  EXPECT_EQ(ColumnOfBin(20, 13) - first, 15);
  EXPECT_NE(picture.At(ColumnOfBin(35, -2), blockRow), kMarker) << "nothing at bin 35 itself";

  // Function 2: only its second block, placed as for bin 0.
  EXPECT_EQ(RunOf(kMarker, left + 6, blockRow), blockWidth);
  EXPECT_NE(picture.At(left + 5, blockRow), kMarker);
  EXPECT_NE(picture.At(left - 2, blockRow), kMarker) << "no first block at bin 0";

  int blocks = 0;
  for (int x = 0; x < picture.width; ++x) {
    if (picture.At(x, blockRow) == kMarker && (x == 0 || picture.At(x - 1, blockRow) != kMarker)) ++blocks;
  }
  EXPECT_EQ(blocks, 3);
}

TEST_F(SpectrumStripPicture, TheScaleLabelsStandAboveTheStripAtItsEnds) {
  Start();
  TakePicture();
  const int labelTop = bottom - 35;
  EXPECT_EQ(picture.At(left, labelTop), kLabelBackground);
  EXPECT_EQ(picture.At(right - 40, labelTop), kLabelBackground);
  EXPECT_NE(picture.At(right - 41, labelTop), kLabelBackground);
}

}  // namespace
