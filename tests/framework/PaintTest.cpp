#include <gtest/gtest.h>

#include "TestDialogs.h"
#include "support/DialogDriver.h"

namespace {

using namespace probe;

constexpr COLORREF kBlue = RGB(100, 100, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Paints into the bare dialog, whose background is free of controls.
class Painting : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(ProcessEventsUntil([&] { return dialog.paintCalls > 0; }));
    background = GrabClient(dialog).At(1, 1);
  }
  void TearDown() override { dialog.DestroyWindow(); }

  ProbeDialog dialog{BareTemplate()};
  COLORREF background = 0;
};

TEST_F(Painting, UpdateWindowPaintsWhatIsInvalidAtOnceThroughOnPaint) {
  dialog.paint = [](CPaintDC& dc) { dc.Rectangle(10, 30, 40, 50); };
  dialog.paintCalls = 0;
  dialog.InvalidateRect(CRect{0, 0, 60, 60}, true);
  EXPECT_EQ(dialog.paintCalls, 0) << "invalidating only marks";
  dialog.UpdateWindow();
  EXPECT_EQ(dialog.paintCalls, 1);
  dialog.UpdateWindow();
  EXPECT_EQ(dialog.paintCalls, 1) << "nothing is left invalid";
  EXPECT_EQ(GrabClient(dialog).At(20, 40), kWhite);
}

TEST_F(Painting, EveryPaintStartsFromAnErasedBackground) {
  dialog.paint = [](CPaintDC& dc) { dc.Rectangle(10, 30, 40, 50); };
  dialog.Invalidate();
  dialog.UpdateWindow();
  dialog.paint = nullptr;
  dialog.Invalidate();
  dialog.UpdateWindow();
  EXPECT_EQ(GrabClient(dialog).At(20, 40), background);
}

TEST_F(Painting, TextIsDrawnOnAnOpaqueCellOfTheFullFontHeight) {
  dialog.paint = [](CPaintDC& dc) {
    dc.SetBkColor(kBlue);
    dc.SetTextColor(kBlue);
    dc.TextOut(10, 30, "i");
  };
  dialog.Invalidate();
  dialog.UpdateWindow();
  const int right = 10 + TextWidth(dialog, "i") - 1;
  const int bottom = 30 + DialogFont(dialog).lineHeight - 1;
  const ClientPicture picture = GrabClient(dialog);
  EXPECT_EQ(picture.At(10, 30), kBlue);
  EXPECT_EQ(picture.At(right, bottom), kBlue);
  EXPECT_EQ(picture.At(right + 1, 30), background);
  EXPECT_EQ(picture.At(10, bottom + 1), background);
  EXPECT_EQ(picture.At(9, 30), background);
}

TEST_F(Painting, ARectangleIsOutlinedByThePenAndFilledWhiteShortOfItsRightAndBottom) {
  dialog.paint = [](CPaintDC& dc) { dc.Rectangle(10, 30, 40, 50); };
  dialog.Invalidate();
  dialog.UpdateWindow();
  const ClientPicture picture = GrabClient(dialog);
  EXPECT_EQ(picture.At(10, 30), kBlack);
  EXPECT_EQ(picture.At(39, 49), kBlack);
  EXPECT_EQ(picture.At(39, 30), kBlack);
  EXPECT_EQ(picture.At(20, 40), kWhite);
  EXPECT_EQ(picture.At(40, 40), background);
  EXPECT_EQ(picture.At(20, 50), background);
}

TEST_F(Painting, AFivePixelLineCoversTwoPixelsEitherSideAndStopsShortOfItsEnd) {
  const CPen redPen(5, kRed);
  const CPen* replaced = nullptr;
  dialog.paint = [&](CPaintDC& dc) {
    replaced = dc.SelectPen(&redPen);
    dc.MoveTo(50, 60);
    dc.LineTo(50, 51);
    dc.SelectPen(replaced);
  };
  dialog.Invalidate();
  dialog.UpdateWindow();
  ASSERT_NE(replaced, nullptr);
  EXPECT_EQ(replaced->Width(), 1);
  EXPECT_EQ(replaced->Color(), kBlack);

  const ClientPicture picture = GrabClient(dialog);
  for (int x = 48; x <= 52; ++x) {
    EXPECT_EQ(picture.At(x, 60), kRed) << x;
    EXPECT_EQ(picture.At(x, 52), kRed) << x;
    EXPECT_EQ(picture.At(x, 51), background) << "the end point is not drawn, column " << x;
  }
  EXPECT_EQ(picture.At(47, 55), background);
  EXPECT_EQ(picture.At(53, 55), background);
  EXPECT_EQ(picture.At(50, 61), background);
}

TEST_F(Painting, AnIconIsDrawnAtItsSystemSize) {
  ASSERT_EQ(GetSystemMetrics(SM_CXICON), kIconSize);
  ASSERT_EQ(GetSystemMetrics(SM_CYICON), kIconSize);
  const IconResource* icon = FindIconResource(kIconResource);
  ASSERT_NE(icon, nullptr);
  dialog.paint = [&](CPaintDC& dc) { dc.DrawIcon(5, 6, *icon); };
  dialog.Invalidate();
  dialog.UpdateWindow();
  const ClientPicture picture = GrabClient(dialog);
  EXPECT_EQ(picture.At(5, 6), kIconColour);
  EXPECT_EQ(picture.At(5 + kIconSize - 1, 6 + kIconSize - 1), kIconColour);
  EXPECT_EQ(picture.At(5 + kIconSize, 6), background);
}

TEST_F(Painting, TheClientRectangleStartsAtTheOriginAndTheWindowIsNotMinimised) {
  const CRect client = dialog.GetClientRect();
  EXPECT_EQ(client.left, 0);
  EXPECT_EQ(client.top, 0);
  const ClientPicture drawn = GrabClient(dialog);
  EXPECT_EQ(client.Width(), drawn.width);
  EXPECT_EQ(client.Height(), drawn.height);
  EXPECT_FALSE(dialog.IsIconic());
}

}  // namespace
