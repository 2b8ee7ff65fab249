#include "controls/TraceRaster.h"

#include <algorithm>
#include <cmath>

namespace qm::control
{

namespace
{

// A 1-pixel stroke with a soft edge of one device pixel: fully covered up to `kInner` from its
// middle line, fading linearly to nothing at `kOuter` (both in device pixels, set per scale).
struct Pen
{
  float inner, outer;
  explicit Pen(float scale) : inner(std::max(0.f, 0.5f * scale - 0.5f)), outer(0.5f * scale + 0.5f)
  {
  }
  float Cover(float distance) const { return std::clamp(outer - distance, 0.f, 1.f); }
};

} // namespace

void TraceRaster::Begin(int width, int height, float scale)
{
  mWidth = std::max(width, 0);
  mHeight = std::max(height, 0);
  mScale = scale > 0.f ? scale : 1.f;
  mChannels = 0;
  const size_t n = static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight);
  if (mCoverage.size() < kMaxChannels * n) mCoverage.resize(kMaxChannels * n);
  if (mPixels.size() < 4 * n) mPixels.resize(4 * n);
}

void TraceRaster::FillSpans(int column, const Span* spans, int n)
{
  // Writes the whole pixel column. Row boundaries of all spans, in order: between two
  // neighbours every span covers the whole run or none of it; outside them everything shows.
  int edges[2 * kMaxSpans];
  int nEdges = 0;
  for (int k = 0; k < n; ++k)
  {
    edges[nEdges++] = spans[k].begin;
    edges[nEdges++] = spans[k].end;
  }
  std::sort(edges, edges + nEdges);
  float* p = mClear + static_cast<size_t>(column) * static_cast<size_t>(mHeight);
  std::fill(p, p + (nEdges > 0 ? edges[0] : mHeight), 1.f);
  if (nEdges > 0) std::fill(p + edges[nEdges - 1], p + mHeight, 1.f);
  for (int e = 0; e + 1 < nEdges; ++e)
  {
    const int a = edges[e], b = edges[e + 1];
    if (a == b) continue;
    float keep = 1.f;
    for (int k = 0; k < n; ++k)
      if (spans[k].begin <= a && b <= spans[k].end) keep *= spans[k].keep;
    std::fill(p + a, p + b, keep);
  }
}

void TraceRaster::AddSegment(float x0, float y0, float x1, float y1)
{
  // Butt ends: across the line the pen's profile, along it a soft end of one device pixel
  // centred on the end point, as a stroke's anti-aliased butt cap.
  const Pen pen(mScale);
  const float dx = x1 - x0, dy = y1 - y0;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 1e-6f) || !std::isfinite(length)) return;
  const float ux = dx / length, uy = dy / length;
  // Only pixels whose middle lies closer than the pen's reach to the segment's box.
  const int c0 = static_cast<int>(std::floor(std::min(x0, x1) - pen.outer - 0.5f)) + 1;
  const int c1 = static_cast<int>(std::ceil(std::max(x0, x1) + pen.outer - 0.5f)) - 1;
  const int r0 = std::max(0, static_cast<int>(std::floor(std::min(y0, y1) - pen.outer - 0.5f)) + 1);
  const int r1 =
      std::min(mHeight - 1, static_cast<int>(std::ceil(std::max(y0, y1) + pen.outer - 0.5f)) - 1);
  for (int c = std::max(c0, 0); c <= std::min(c1, mWidth - 1); ++c)
  {
    float* p = mClear + static_cast<size_t>(c) * static_cast<size_t>(mHeight);
    const float px = static_cast<float>(c) + 0.5f - x0;
    const float py = static_cast<float>(r0) + 0.5f - y0;
    // Both distances change by a constant from one row to the next.
    float along = px * ux + py * uy, across = px * uy - py * ux;
    for (int r = r0; r <= r1; ++r, along += uy, across -= ux)
    {
      if (p[r] == 0.f) continue; // already fully covered
      const float ends = std::clamp(std::min(along, length - along) + 0.5f, 0.f, 1.f);
      p[r] *= 1.f - pen.Cover(std::fabs(across)) * ends;
    }
  }
}

void TraceRaster::AddChannel(const float* x, const float* top, const float* bottom, int count,
                             const kit::gfx::IColor& color)
{
  if (mWidth <= 0 || mHeight <= 0 || mChannels >= kMaxChannels) return;
  const size_t n = static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight);
  mClear = mCoverage.data() + static_cast<size_t>(mChannels) * n;
  mColors[mChannels++] = color;
  const Pen pen(mScale);
  if (count < 2)
  {
    std::fill_n(mClear, n, 1.f);
    return;
  }
  const float s = mScale;

  // The vertical lines of every column but the last, pixel column by pixel column: the few lines
  // that reach a pixel column cut it into runs of rows, each with one coverage.
  int first = 0;
  for (int c = 0; c < mWidth; ++c)
  {
    const float middle = static_cast<float>(c) + 0.5f;
    while (first + 1 < count && x[first] * s <= middle - pen.outer)
      ++first;
    Span spans[kMaxSpans];
    int nSpans = 0;
    for (int i = first; i + 1 < count && nSpans < kMaxSpans; ++i)
    {
      const float xc = x[i] * s;
      if (xc >= middle + pen.outer) break;
      const float cover = pen.Cover(std::fabs(middle - xc));
      const float t = std::min(top[i], bottom[i]) * s, b = std::max(top[i], bottom[i]) * s;
      if (!(cover > 0.f) || !std::isfinite(t) || !std::isfinite(b)) continue;
      const int r0 = std::max(0, static_cast<int>(std::ceil(t - pen.inner - 0.5f)));
      const int r1 = std::min(mHeight - 1, static_cast<int>(std::floor(b + pen.inner - 0.5f)));
      if (r1 >= r0) spans[nSpans++] = Span{r0, r1 + 1, 1.f - cover};
    }
    FillSpans(c, spans, nSpans);
  }
  // The lines through the maxima and through the minima.
  for (int i = 1; i < count; ++i)
  {
    AddSegment(x[i - 1] * s, top[i - 1] * s, x[i] * s, top[i] * s);
    AddSegment(x[i - 1] * s, bottom[i - 1] * s, x[i] * s, bottom[i] * s);
  }
}

void TraceRaster::End()
{
  // The channels over each other, premultiplied, column by column like the coverage; coverage in
  // 256 steps, with each channel's colour and what it lets through looked up for each.
  uint8_t source[kMaxChannels][256][4];
  uint32_t keep[kMaxChannels][256];
  for (int ch = 0; ch < mChannels; ++ch)
    for (int q = 0; q < 256; ++q)
    {
      const kit::gfx::IColor& color = mColors[ch];
      const float alpha = static_cast<float>(q) / 255.f * static_cast<float>(color.A) / 255.f;
      source[ch][q][0] = static_cast<uint8_t>(static_cast<float>(color.R) * alpha + 0.5f);
      source[ch][q][1] = static_cast<uint8_t>(static_cast<float>(color.G) * alpha + 0.5f);
      source[ch][q][2] = static_cast<uint8_t>(static_cast<float>(color.B) * alpha + 0.5f);
      source[ch][q][3] = static_cast<uint8_t>(255.f * alpha + 0.5f);
      keep[ch][q] = static_cast<uint32_t>((1.f - alpha) * 256.f + 0.5f);
    }
  const size_t n = static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight);
  uint8_t* out = mPixels.data();
  for (size_t k = 0; k < n; ++k, out += 4)
  {
    int q[kMaxChannels] = {};
    int top = -1; // the last channel that covers the pixel at all
    for (int ch = 0; ch < mChannels; ++ch)
    {
      q[ch] = static_cast<int>((1.f - mCoverage[static_cast<size_t>(ch) * n + k]) * 255.f + 0.5f);
      if (q[ch] > 0) top = ch;
    }
    // Most pixels are either untouched or hidden under the last channel's solid colour.
    if (top < 0 || keep[top][q[top]] == 0)
    {
      const uint8_t* colour = top < 0 ? source[0][0] : source[top][q[top]];
      std::copy_n(colour, 4, out);
      continue;
    }
    uint32_t pixel[4] = {0, 0, 0, 0};
    for (int ch = 0; ch <= top; ++ch)
    {
      const uint32_t through = keep[ch][q[ch]];
      for (int c = 0; c < 4; ++c)
        pixel[c] = source[ch][q[ch]][c] + ((pixel[c] * through) >> 8);
    }
    for (int c = 0; c < 4; ++c)
      out[c] = static_cast<uint8_t>(std::min(pixel[c], 255u));
  }
}

} // namespace qm::control
