#pragma once

#include "graphics/GraphicsStructs.h"

#include <cstdint>
#include <vector>

namespace qm::control
{

/** The oscilloscope's traces rendered in software: per channel a coverage mask, one byte per device
 * pixel, for a back end to fill with the channel's colour in a single draw. Each channel looks as
 * its per-column outlines look when stroked 1 pixel wide with a 1-device-pixel soft edge: a
 * vertical line at every column but the last from its maximum to its minimum, the line through the
 * column maxima and the one through the minima; overlapping parts build up coverage as overlapping
 * strokes do.
 *
 * Buffers grow to the largest picture asked for and are reused: no allocation once drawn. */
class TraceRaster
{
public:
  /** Starts a picture of `width` x `height` device pixels; `scale` is device pixels per logical
   * pixel. */
  void Begin(int width, int height, float scale);
  /** Adds one channel (at most two), drawn over the ones before it. x, top and bottom are
   * logical, relative to the picture's top left corner: column i at (x[i], top[i] .. bottom[i]).
   */
  void AddChannel(const float* x, const float* top, const float* bottom, int count,
                  const kit::gfx::IColor& color);
  /** Leaves each channel as its coverage (255 fully covered), for a back end to fill with the
   * channel's colour, channel 0 first. */
  void End();
  int Channels() const { return mChannels; }
  /** Channel `channel`'s coverage after End, column by column: pixel (x, y) at index
   * x * Height() + y. */
  const uint8_t* Coverage(int channel) const
  {
    return mCoverage.data() + static_cast<size_t>(channel) * static_cast<size_t>(mWidth) *
                                  static_cast<size_t>(mHeight);
  }
  const kit::gfx::IColor& ChannelColor(int channel) const { return mColors[channel]; }

  int Width() const { return mWidth; }
  int Height() const { return mHeight; }

  /** Whether steep lines are covered eight rows at a time, as on processors with AVX2 (the
   * default there), or four at a time as everywhere else; both must draw the same picture. */
  bool WideRows() const { return mWideRows; }
  void SetWideRows(bool wide);

private:
  // Rows [begin, end) of one pixel column that a line covers, and how much of what lies below
  // shows through it.
  struct Span
  {
    int begin, end;
    float keep;
  };
  // Column lines reaching one pixel column: they are half a pixel apart and reach a little more
  // than a pixel either side.
  static constexpr int kMaxSpans = 16;

  void FillSpans(int column, const Span* spans, int n);
  void AddSegment(float x0, float y0, float x1, float y1);
  void CoverRows(uint8_t* p, int r0, int r1, float px, float y0, float ux, float uy, float length);

  static constexpr int kMaxChannels = 2;

  bool mWideRows = DefaultWideRows();
  static bool DefaultWideRows();

  int mWidth = 0, mHeight = 0;
  float mScale = 1.f;
  int mChannels = 0;
  kit::gfx::IColor mColors[kMaxChannels];
  // Column by column, so that a column line and a column of pixels are contiguous: per channel
  // and pixel how much of what lies below shows (in 255ths: a byte keeps the memory traffic of
  // the whole picture small); End turns it into coverage.
  std::vector<uint8_t> mCoverage;
  uint8_t* mClear = nullptr; // the channel being added
  // Per pixel column of the channel being added, the longest run of rows [begin, end) its column
  // lines cover (all but) fully: nothing drawn over it changes it visibly, so segments step over
  // it.
  struct Run
  {
    int begin, end;
  };
  std::vector<Run> mSolid;
};

} // namespace qm::control
