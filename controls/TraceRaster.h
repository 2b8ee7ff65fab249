#pragma once

#include "controls/HelperThread.h"
#include "graphics/GraphicsStructs.h"

#include <atomic>
#include <cstdint>
#include <memory>
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
   * logical, relative to the picture's top left corner: column i at (x[i], top[i] .. bottom[i]),
   * x ascending. They are copied; the drawing happens in End. */
  void AddChannel(const float* x, const float* top, const float* bottom, int count,
                  const kit::gfx::IColor& color);
  /** Called on End's thread as soon as a channel's coverage is complete, channel 0 first. */
  using ChannelReady = void (*)(void* context, int channel);
  /** Draws the channels and leaves each as its coverage (255 fully covered), for a back end to
   * fill with the channel's colour, channel 0 first. With a helper, the picture is drawn in parts
   * of pixel columns shared between the two threads, a channel after the other: `ready` may send
   * the first channel on while the helper still draws the second. */
  void End(ChannelReady ready = nullptr, void* context = nullptr);
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

  /** Whether End shares the picture with a helper thread: by default where there are two cores.
   * Both ways draw the same picture. */
  bool Helped() const { return mHelped; }
  void SetHelped(bool helped);
  /** Processor time the helper has spent on pictures so far, in seconds. */
  double HelperSeconds() const;

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

  static constexpr int kMaxChannels = 2;
  // The parts a helped picture is drawn in; narrower parts are not worth waking the helper for.
  static constexpr int kChunks = 8;
  static constexpr int kMinChunkColumns = 32;

  struct Channel
  {
    std::vector<float> x, top, bottom;
    int count = 0;
  };

  struct Run;
  int ChunkBegin(int chunk) const;
  bool DrawNextChunk();
  void DrawChunks();
  void DrawColumns(int channel, int cBegin, int cEnd);
  void DrawChannel(const Channel& channel, uint8_t* clear, Run* solid, int cBegin, int cEnd);
  void FillSpans(uint8_t* clear, Run* solid, int column, const Span* spans, int n);
  void AddSegment(uint8_t* clear, const Run* solid, int cBegin, int cEnd, float x0, float y0,
                  float x1, float y1) const;
  void CoverRows(uint8_t* p, int r0, int r1, float px, float y0, float ux, float uy,
                 float length) const;
  void CoverRun(uint8_t* first, int rows, float py, float px, float ux, float uy,
                float length) const;
  void CoverBox(uint8_t* p, int top, int bottom, Run solid, float px, float y0, float ux, float uy,
                float length) const;

  bool mWideRows = DefaultWideRows();
  static bool DefaultWideRows();

  int mWidth = 0, mHeight = 0;
  float mScale = 1.f;
  int mChannels = 0;
  kit::gfx::IColor mColors[kMaxChannels];
  Channel mInputs[kMaxChannels];
  // Column by column, so that a column line and a column of pixels are contiguous: per channel
  // and pixel how much of what lies below shows (in 255ths: a byte keeps the memory traffic of
  // the whole picture small); End turns it into coverage.
  std::vector<uint8_t> mCoverage;
  // Per channel and pixel column, the longest run of rows [begin, end) its column lines cover (all
  // but) fully: nothing drawn over it changes it visibly, so segments step over it.
  struct Run
  {
    int begin, end;
  };
  std::vector<Run> mSolid;
  bool mHelped = HelperThread::Available();
  std::unique_ptr<HelperThread> mHelper; // started with the first helped picture
  std::atomic<int> mNextChunk{0};
  std::atomic<int> mChunksDone[kMaxChannels] = {};
};

} // namespace qm::control
