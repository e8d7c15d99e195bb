// The spectrum strip along the bottom of the main window: a white box, a
// cluster of blue blocks at each function's first trigger bin, the "0Hz" and
// "2KHz" labels above it, and a red bar at the peak bin.
#include <algorithm>
#include <cmath>

#include "app/MonitorDlg.h"
#include "dsp/AcquisitionWorker.h"
#include "dsp/PeakSearch.h"

CRect SpectrumStrip{};

namespace {

// Lengths are in pixels at 100 %, scaled when drawn to the window's
// resolution, so on a screen scaled up the strip grows with the text it
// holds. The strip within the client area:
constexpr int kStripSideInsetPx = 2;
constexpr int kStripTopAboveClientBottomPx = 19;
constexpr int kStripBottomAboveClientBottomPx = 1;
// The bins across the strip's width: bin b sits at width · b / 64.
constexpr int kBinsAcrossStrip = 64;

constexpr COLORREF kMarkerColour = RGB(100, 100, 255);
constexpr COLORREF kLabelBackground = RGB(200, 200, 200);
constexpr COLORREF kLabelText = RGB(0, 0, 0);
constexpr COLORREF kPeakBarColour = RGB(255, 0, 0);
constexpr int kPeakBarWidthPx = 5;

// A function is drawn as one to three blocks, one for each trigger field above
// 0, all placed from its first trigger bin: offsets in pixels from that bin's
// column, and the blocks' top above the strip's bottom.
constexpr int kMarkerOffsetsPx[] = {-2, 6, 13};
constexpr int kMarkerTopAboveBottomPx = 17;
constexpr const char* kMarkerGlyph = "i";

constexpr int kLabelTopAboveBottomPx = 35;
constexpr int kHighLabelLeftOfRightPx = 40;

constexpr int kPeakBarFromAboveBottomPx = 5;
constexpr int kPeakBarToAboveBottomPx = 14;

// trunc(width · bin / 64 + left + offset), exactly: the product divided by a
// power of two is exact in a double. A trigger bin from a file written by other
// means can be any 32-bit number; such a block lies off the strip, and is kept
// just off the client area rather than at a column no int can hold.
int ColumnOf(const CRect& strip, std::int64_t bin, int offsetPx) {
  const double column = static_cast<double>(strip.Width()) * static_cast<double>(bin) / kBinsAcrossStrip +
                        strip.left + offsetPx;
  const double offClientPx = 2.0 * strip.Width() + 100.0;
  return static_cast<int>(std::trunc(std::clamp(column, strip.left - offClientPx, strip.right + offClientPx)));
}

void DrawMarkers(CPaintDC& dc, const CRect& strip) {
  dc.SetBkColor(kMarkerColour);
  dc.SetTextColor(kMarkerColour);
  const int top = strip.bottom - dc.ScaledPixels(kMarkerTopAboveBottomPx);
  for (int function = 1; function <= kFunctionCount; ++function) {
    const std::int32_t firstBin = configRecord.triggerBin1[function];
    const std::int32_t triggerBins[] = {firstBin, configRecord.triggerBin2[function],
                                        configRecord.triggerBin3[function]};
    for (int field = 0; field < 3; ++field) {
      if (triggerBins[field] <= 0) continue;
      dc.TextOut(ColumnOf(strip, firstBin, dc.ScaledPixels(kMarkerOffsetsPx[field])), top, kMarkerGlyph);
    }
  }
}

void DrawScaleLabels(CPaintDC& dc, const CRect& strip) {
  dc.SetBkColor(kLabelBackground);
  dc.SetTextColor(kLabelText);
  const int top = strip.bottom - dc.ScaledPixels(kLabelTopAboveBottomPx);
  dc.TextOut(strip.left, top, "0Hz");
  dc.TextOut(strip.right - dc.ScaledPixels(kHighLabelLeftOfRightPx), top, "2KHz");
}

// No bar while there is no peak: before the worker's first spectrum, and while
// a frame that was not read is heard as silence.
void DrawPeakBar(CPaintDC& dc, const CRect& strip, int peakBin) {
  if (peakBin < kFirstPeakBin || peakBin > kLastPeakBin) return;
  const CPen pen(dc.ScaledPixels(kPeakBarWidthPx), kPeakBarColour);
  const CPen* previous = dc.SelectPen(&pen);
  const int x = ColumnOf(strip, peakBin, 0);
  dc.MoveTo(x, strip.bottom - dc.ScaledPixels(kPeakBarFromAboveBottomPx));
  dc.LineTo(x, strip.bottom - dc.ScaledPixels(kPeakBarToAboveBottomPx));
  dc.SelectPen(previous);
}

}  // namespace

void CMonitorDlg::PaintWindow(CPaintDC& dc) {
  const CRect client = GetClientRect();
  if (IsIconic()) {
    const int x = (client.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, *appIcon);
    return;
  }

  const int inset = dc.ScaledPixels(kStripSideInsetPx);
  SpectrumStrip = CRect{client.left + inset, client.bottom - dc.ScaledPixels(kStripTopAboveClientBottomPx),
                        client.right - inset, client.bottom - dc.ScaledPixels(kStripBottomAboveClientBottomPx)};
  const CRect& strip = SpectrumStrip;
  dc.Rectangle(strip.left, strip.top, strip.right, strip.bottom);
  DrawMarkers(dc, strip);
  DrawScaleLabels(dc, strip);
  DrawPeakBar(dc, strip, PeakBin.load());
}
