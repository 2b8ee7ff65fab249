#include "controls/TraceRaster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// Processors with AVX2 (nearly all x86-64 ones in use) take the rows a line reaches eight at a
// time; the choice is made once, at run time, so the binaries still run on plain x86-64.
#if defined(__x86_64__) && defined(__GNUC__)
#define TRAZELLE_RASTER_AVX2 1
#include <immintrin.h>
#endif

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

// Four lanes of the compiler's vector extension (GCC and Clang), for the loops over the rows a
// line reaches.
constexpr int kLanes = 4;
using Floats4 = float __attribute__((vector_size(16)));

// Four coverage bytes to floats and back (rounded down, all within 0..255). The compiler
// moves bytes between vector lanes one at a time; SSE2, which every x86-64 has, widens and
// narrows them in a few instructions.
Floats4 LoadLevels(const uint8_t* p)
{
#if defined(__SSE2__)
  int32_t word;
  std::memcpy(&word, p, 4);
  const __m128i zero = _mm_setzero_si128();
  const __m128i bytes = _mm_cvtsi32_si128(word);
  return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero));
#else
  return Floats4{static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]),
                 static_cast<float>(p[3])};
#endif
}

void StoreLevels(Floats4 levels, uint8_t* p)
{
#if defined(__SSE2__)
  __m128i words = _mm_cvttps_epi32(levels);
  words = _mm_packs_epi32(words, words);
  const int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
  std::memcpy(p, &bytes, 4);
#else
  for (int i = 0; i < kLanes; ++i)
    p[i] = static_cast<uint8_t>(static_cast<int>(levels[i]));
#endif
}

// As std::clamp, for one value or four; a NaN comes out as `lo`.
float Clamp(float v, float lo, float hi)
{
  return std::min(v > lo ? v : lo, hi);
}
Floats4 Clamp(Floats4 v, float lo, float hi)
{
#if defined(__SSE2__)
  return _mm_min_ps(_mm_max_ps(v, _mm_set1_ps(lo)), _mm_set1_ps(hi));
#else
  v = v > lo ? v : lo;
  return v < hi ? v : hi;
#endif
}
template <typename T>
T Clamp01(T v)
{
  return Clamp(v, 0.f, 1.f);
}

// std::floor and std::ceil as int, without the library call they need on plain x86-64; far
// values are held at a bound well outside any picture first.
int FloorInt(float v)
{
  v = Clamp(v, -1e7f, 1e7f);
  const int i = static_cast<int>(v);
  return i - (v < static_cast<float>(i) ? 1 : 0);
}
int CeilInt(float v)
{
  return -FloorInt(-v);
}

#if defined(TRAZELLE_RASTER_AVX2)
using Floats8 = float __attribute__((vector_size(32)));

__attribute__((target("avx2"))) Floats8 LoadLevels8(const uint8_t* p)
{
  const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
  return _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(bytes));
}

__attribute__((target("avx2"))) void StoreLevels8(Floats8 levels, uint8_t* p)
{
  const __m256i words = _mm256_cvttps_epi32(levels);
  const __m128i halves =
      _mm_packs_epi32(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(halves, halves));
}

__attribute__((target("avx2"))) Floats8 Clamp01x8(Floats8 v)
{
  return _mm256_min_ps(_mm256_max_ps(v, _mm256_setzero_ps()), _mm256_set1_ps(1.f));
}

// As TraceRaster::CoverRows, eight rows at a time: whole groups of eight first, then the last
// few rows with the rest of the group masked off.
__attribute__((target("avx2"))) void CoverRows8(uint8_t* first, int rows, float py, float px,
                                                float ux, float uy, float length, float outer)
{
  constexpr int kWide = 8;
  const Floats8 lane = {0.f, 1.f, 2.f, 3.f, 4.f, 5.f, 6.f, 7.f};
  Floats8 along = px * ux + (py + lane) * uy, across = px * uy - (py + lane) * ux;
  const Floats8 alongStep = kWide * uy + Floats8{}, acrossStep = kWide * ux + Floats8{};
  uint8_t* row = first;
  for (uint8_t* const whole = first + (rows & ~(kWide - 1)); row < whole; row += kWide)
  {
    const Floats8 ends = Clamp01x8(_mm256_min_ps(along, length - along) + 0.5f);
    const Floats8 distance = _mm256_max_ps(across, -across);
    StoreLevels8(LoadLevels8(row) * (1.f - Clamp01x8(outer - distance) * ends) + 0.5f, row);
    along += alongStep;
    across -= acrossStep;
  }
  if (row == first + rows) return;
  const Floats8 left = static_cast<float>(first + rows - row) - lane;
  const Floats8 ends = Clamp01x8(_mm256_min_ps(along, length - along) + 0.5f);
  const Floats8 distance = _mm256_max_ps(across, -across);
  const Floats8 cover = _mm256_and_ps(Clamp01x8(outer - distance),
                                      _mm256_cmp_ps(left, _mm256_setzero_ps(), _CMP_GT_OQ));
  StoreLevels8(LoadLevels8(row) * (1.f - cover * ends) + 0.5f, row);
}

// At most eight rows from `first` in one go, those in [skipBegin, skipEnd) or from `rows` on left
// as they are: the few rows a level line reaches in a pixel column, around the run its column
// lines cover, without a branch.
__attribute__((target("avx2"))) void CoverBox8(uint8_t* first, int rows, int skipBegin, int skipEnd,
                                               float py, float px, float ux, float uy, float length,
                                               float outer)
{
  const Floats8 lane = {0.f, 1.f, 2.f, 3.f, 4.f, 5.f, 6.f, 7.f};
  const Floats8 along = px * ux + (py + lane) * uy, across = px * uy - (py + lane) * ux;
  const __m256i index = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  const __m256i skipped =
      _mm256_andnot_si256(_mm256_cmpgt_epi32(_mm256_set1_epi32(skipBegin), index),
                          _mm256_cmpgt_epi32(_mm256_set1_epi32(skipEnd), index));
  const __m256i drawn =
      _mm256_andnot_si256(skipped, _mm256_cmpgt_epi32(_mm256_set1_epi32(rows), index));
  const Floats8 ends = Clamp01x8(_mm256_min_ps(along, length - along) + 0.5f);
  const Floats8 distance = _mm256_max_ps(across, -across);
  const Floats8 cover = _mm256_and_ps(Clamp01x8(outer - distance), _mm256_castsi256_ps(drawn));
  StoreLevels8(LoadLevels8(first) * (1.f - cover * ends) + 0.5f, first);
}

bool HasAVX2()
{
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}
#endif

// Coverage level at which everything below shows.
constexpr uint8_t kAll = 255;
// A pixel that lets at most this much through is as good as covered: the lines through the
// maxima and minima would take at most this off it, far less than anyone sees in a trace, so
// they step over such rows as over fully covered ones.
constexpr uint8_t kHidden = 8;

} // namespace

bool TraceRaster::DefaultWideRows()
{
#if defined(TRAZELLE_RASTER_AVX2)
  static const bool avx2 = HasAVX2();
  return avx2;
#else
  return false;
#endif
}

void TraceRaster::SetWideRows(bool wide)
{
  mWideRows = wide && DefaultWideRows();
}

void TraceRaster::Begin(int width, int height, float scale)
{
  mWidth = std::max(width, 0);
  mHeight = std::max(height, 0);
  mScale = scale > 0.f ? scale : 1.f;
  mChannels = 0;
  const size_t n = static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight);
  if (mCoverage.size() < kMaxChannels * n) mCoverage.resize(kMaxChannels * n);
  if (mSolid.size() < kMaxChannels * static_cast<size_t>(mWidth))
    mSolid.resize(kMaxChannels * static_cast<size_t>(mWidth));
}

void TraceRaster::FillSpans(uint8_t* clear, Run* solidRuns, int column, const Span* spans, int n)
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
  uint8_t* p = clear + static_cast<size_t>(column) * static_cast<size_t>(mHeight);
  std::fill(p, p + (nEdges > 0 ? edges[0] : mHeight), kAll);
  if (nEdges > 0) std::fill(p + edges[nEdges - 1], p + mHeight, kAll);
  Run solid{0, 0}, run{0, 0};
  for (int e = 0; e + 1 < nEdges; ++e)
  {
    const int a = edges[e], b = edges[e + 1];
    if (a == b) continue;
    float keep = 1.f;
    for (int k = 0; k < n; ++k)
      if (spans[k].begin <= a && b <= spans[k].end) keep *= spans[k].keep;
    const auto level = static_cast<uint8_t>(keep * kAll + 0.5f);
    std::fill(p + a, p + b, level);
    if (level > kHidden) continue;
    run = run.end == a ? Run{run.begin, b} : Run{a, b};
    if (run.end - run.begin > solid.end - solid.begin) solid = run;
  }
  solidRuns[column] = solid;
}

void TraceRaster::CoverRows(uint8_t* p, int r0, int r1, float px, float y0, float ux, float uy,
                            float length) const
{
  // Steep lines reach far down a pixel column, so this runs on several rows at a time; rows past
  // the last in the final few keep their value. The last few rows of a pixel column go through a
  // copy, so that nothing beyond the column is touched: its neighbour may belong to the helper.
  if (r1 < r0) return;
  const int rows = r1 - r0 + 1;
  const float py = static_cast<float>(r0) + 0.5f - y0;
  if (rows <= 2)
  {
    // A row or two, as level lines leave after the column lines: a vector's set-up would cost
    // more than the rows. The same arithmetic as the loops' first lanes.
    const float outer = Pen(mScale).outer;
    for (int r = 0; r < rows; ++r)
    {
      const float along = px * ux + (py + static_cast<float>(r)) * uy;
      const float across = px * uy - (py + static_cast<float>(r)) * ux;
      const float ends = Clamp01((along < length - along ? along : length - along) + 0.5f);
      const float distance = across > -across ? across : -across;
      const float cover = Clamp01(outer - distance);
      uint8_t& level = p[r0 + r];
      level = static_cast<uint8_t>(
          static_cast<int>(static_cast<float>(level) * (1.f - cover * ends) + 0.5f));
    }
    return;
  }
  if (r1 + 7 < mHeight)
  {
    CoverRun(p + r0, rows, py, px, ux, uy, length);
    return;
  }
  const int whole = rows & ~7;
  CoverRun(p + r0, whole, py, px, ux, uy, length);
  uint8_t tail[8];
  const int rest = rows - whole;
  std::memcpy(tail, p + r0 + whole, static_cast<size_t>(rest));
  CoverRun(tail, rest, py + static_cast<float>(whole), px, ux, uy, length);
  std::memcpy(p + r0 + whole, tail, static_cast<size_t>(rest));
}

void TraceRaster::CoverBox(uint8_t* p, int top, int bottom, Run solid, float px, float y0, float ux,
                           float uy, float length) const
{
  if (bottom < top) return;
  const float outer = Pen(mScale).outer, py = static_cast<float>(top) + 0.5f - y0;
  const int rows = bottom - top + 1, skipBegin = solid.begin - top, skipEnd = solid.end - top;
#if defined(TRAZELLE_RASTER_AVX2)
  if (mWideRows)
  {
    CoverBox8(p + top, rows, skipBegin, skipEnd, py, px, ux, uy, length, outer);
    return;
  }
#endif
  for (int half = 0; half < 8; half += kLanes)
  {
    const Floats4 lane = Floats4{0.f, 1.f, 2.f, 3.f} + static_cast<float>(half);
    const Floats4 along = px * ux + (py + lane) * uy, across = px * uy - (py + lane) * ux;
    const auto drawn = lane < static_cast<float>(rows) && !(lane >= static_cast<float>(skipBegin) &&
                                                            lane < static_cast<float>(skipEnd));
    const Floats4 ends = Clamp01((along < length - along ? along : length - along) + 0.5f);
    const Floats4 distance = across > -across ? across : -across;
    const Floats4 cover = drawn ? Clamp01(outer - distance) : 0.f;
    StoreLevels(LoadLevels(p + top + half) * (1.f - cover * ends) + 0.5f, p + top + half);
  }
}

void TraceRaster::CoverRun(uint8_t* first, int rows, float py, float px, float ux, float uy,
                           float length) const
{
  // Both distances grow by a constant from one row to the next; a pixel already fully covered
  // stays so without a test.
  if (rows <= 0) return;
  const Pen pen(mScale);
#if defined(TRAZELLE_RASTER_AVX2)
  if (mWideRows)
  {
    CoverRows8(first, rows, py, px, ux, uy, length, pen.outer);
    return;
  }
#endif
  const Floats4 lane = {0.f, 1.f, 2.f, 3.f};
  Floats4 along = px * ux + (py + lane) * uy, across = px * uy - (py + lane) * ux;
  Floats4 left = static_cast<float>(rows) - lane; // rows from each lane to the end
  const Floats4 alongStep = kLanes * uy + Floats4{}, acrossStep = kLanes * ux + Floats4{};
  for (uint8_t* row = first; row < first + rows; row += kLanes)
  {
    const Floats4 ends = Clamp01((along < length - along ? along : length - along) + 0.5f);
    const Floats4 distance = across > -across ? across : -across;
    const Floats4 cover = left > 0.f ? Clamp01(pen.outer - distance) : 0.f;
    StoreLevels(LoadLevels(row) * (1.f - cover * ends) + 0.5f, row);
    along += alongStep;
    across -= acrossStep;
    left -= static_cast<float>(kLanes);
  }
}

void TraceRaster::AddSegment(uint8_t* clear, const Run* solidRuns, int cBegin, int cEnd, float x0,
                             float y0, float x1, float y1) const
{
  // Butt ends: across the line the pen's profile, along it a soft end of one device pixel
  // centred on the end point, as a stroke's anti-aliased butt cap.
  const Pen pen(mScale);
  const float dx = x1 - x0, dy = y1 - y0;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 1e-6f) || !std::isfinite(length)) return;
  const float ux = dx / length, uy = dy / length;
  // Only pixels whose middle lies closer than the pen's reach to the segment's box.
  const int c0 = FloorInt(std::min(x0, x1) - pen.outer - 0.5f) + 1;
  const int c1 = CeilInt(std::max(x0, x1) + pen.outer - 0.5f) - 1;
  const int r0 = std::max(0, FloorInt(std::min(y0, y1) - pen.outer - 0.5f) + 1);
  const int r1 = std::min(mHeight - 1, CeilInt(std::max(y0, y1) + pen.outer - 0.5f) - 1);
  // Rows the pen reaches in a column: where the distance across, px * uy - py * ux, stays below
  // the pen's reach, i.e. within `band` rows of the row where the line crosses the column's
  // middle (a row more for rounding); a steep line keeps the whole box.
  const bool steep = !(std::fabs(ux) > 1e-3f);
  const float slope = steep ? 0.f : uy / ux, band = steep ? 0.f : pen.outer / std::fabs(ux);
  const float lo = static_cast<float>(r0), hi = static_cast<float>(r1);
  for (int c = std::max(c0, cBegin); c <= std::min(c1, cEnd - 1); ++c)
  {
    uint8_t* p = clear + static_cast<size_t>(c) * static_cast<size_t>(mHeight);
    const float px = static_cast<float>(c) + 0.5f - x0;
    int top = r0, bottom = r1;
    if (!steep)
    {
      // Held within the box, which starts at row 0 or below: truncating is rounding down, and
      // a row more than rounding up at the bottom costs a row of no coverage at most.
      const float middle = px * slope + y0 - 0.5f;
      top = std::max(top, static_cast<int>(Clamp(middle - band, lo, hi)) - 1);
      bottom = std::min(bottom, static_cast<int>(Clamp(middle + band, lo, hi)) + 2);
    }
    // The rows the column lines cover fully stay as they are (an empty run starts at row 0).
    const Run solid = solidRuns[c];
    if (bottom - top < 8 && top + 8 <= mHeight)
    {
      CoverBox(p, top, bottom, solid, px, y0, ux, uy, length);
      continue;
    }
    CoverRows(p, top, std::min(bottom, solid.begin - 1), px, y0, ux, uy, length);
    CoverRows(p, std::max(top, solid.end), bottom, px, y0, ux, uy, length);
  }
}

void TraceRaster::AddChannel(const float* x, const float* top, const float* bottom, int count,
                             const kit::gfx::IColor& color)
{
  if (mWidth <= 0 || mHeight <= 0 || mChannels >= kMaxChannels) return;
  Channel& channel = mInputs[mChannels];
  const auto n = static_cast<size_t>(std::max(count, 0));
  for (auto* values : {&channel.x, &channel.top, &channel.bottom})
    if (values->size() < n) values->resize(n);
  std::copy_n(x, n, channel.x.data());
  std::copy_n(top, n, channel.top.data());
  std::copy_n(bottom, n, channel.bottom.data());
  channel.count = static_cast<int>(n);
  mColors[mChannels++] = color;
}

void TraceRaster::SetHelped(bool helped)
{
  mHelped = helped && HelperThread::Available();
  if (!mHelped) mHelper.reset();
}

double TraceRaster::HelperSeconds() const
{
  return mHelper ? mHelper->JobSeconds() : 0.0;
}

void TraceRaster::End(ChannelReady ready, void* context)
{
  if (!mHelped || mWidth < kChunks * kMinChunkColumns)
  {
    for (int channel = 0; channel < mChannels; ++channel)
    {
      DrawColumns(channel, 0, mWidth);
      if (ready) ready(context, channel);
    }
    return;
  }
  // Pixel columns are independent: each channel is drawn in parts, each taken by whichever of
  // this thread and the helper is free, with the same arithmetic as the whole. The first
  // channel's parts come first, so it can go on while the helper still draws the second.
  if (!mHelper) mHelper = std::make_unique<HelperThread>();
  mNextChunk.store(0, std::memory_order_relaxed);
  for (auto& done : mChunksDone)
    done.store(0, std::memory_order_relaxed);
  mHelper->Start([](void* raster) { static_cast<TraceRaster*>(raster)->DrawChunks(); }, this);
  int sent = 0;
  const auto sendFinished = [&]
  {
    while (sent < mChannels && mChunksDone[sent].load(std::memory_order_acquire) == kChunks)
      ready(context, sent++);
  };
  while (DrawNextChunk())
    if (ready) sendFinished();
  mHelper->Wait();
  if (ready) sendFinished();
}

int TraceRaster::ChunkBegin(int chunk) const
{
  return static_cast<int>(static_cast<int64_t>(mWidth) * chunk / kChunks);
}

bool TraceRaster::DrawNextChunk()
{
  const int k = mNextChunk.fetch_add(1, std::memory_order_relaxed);
  if (k >= kChunks * mChannels) return false;
  const int channel = k / kChunks, part = k % kChunks;
  DrawColumns(channel, ChunkBegin(part), ChunkBegin(part + 1));
  mChunksDone[channel].fetch_add(1, std::memory_order_release);
  return true;
}

void TraceRaster::DrawChunks()
{
  while (DrawNextChunk())
  {
  }
}

void TraceRaster::DrawColumns(int channel, int cBegin, int cEnd)
{
  const size_t n = static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight);
  uint8_t* clear = mCoverage.data() + static_cast<size_t>(channel) * n;
  DrawChannel(mInputs[channel], clear, mSolid.data() + static_cast<size_t>(channel) * mWidth,
              cBegin, cEnd);
  // Up to here a level is what shows through; 255 - x is ~x for a byte, eight at a time.
  uint8_t* p = clear + static_cast<size_t>(cBegin) * static_cast<size_t>(mHeight);
  uint8_t* const end = clear + static_cast<size_t>(cEnd) * static_cast<size_t>(mHeight);
  for (; p + sizeof(uint64_t) <= end; p += sizeof(uint64_t))
  {
    uint64_t word;
    std::memcpy(&word, p, sizeof(word));
    word = ~word;
    std::memcpy(p, &word, sizeof(word));
  }
  for (; p < end; ++p)
    *p = static_cast<uint8_t>(~*p);
}

void TraceRaster::DrawChannel(const Channel& channel, uint8_t* clear, Run* solid, int cBegin,
                              int cEnd)
{
  const Pen pen(mScale);
  const int count = channel.count;
  const float* x = channel.x.data();
  const float* top = channel.top.data();
  const float* bottom = channel.bottom.data();
  if (count < 2)
  {
    std::fill(clear + static_cast<size_t>(cBegin) * static_cast<size_t>(mHeight),
              clear + static_cast<size_t>(cEnd) * static_cast<size_t>(mHeight), kAll);
    return;
  }
  const float s = mScale;

  // The vertical lines of every column but the last, pixel column by pixel column: the few lines
  // that reach a pixel column cut it into runs of rows, each with one coverage.
  // The first column line within reach of this part, and the first segment that could reach it.
  const float reachL = static_cast<float>(cBegin) - pen.outer - 1.f;
  const float reachR = static_cast<float>(cEnd) + pen.outer + 1.f;
  const int from = static_cast<int>(std::lower_bound(x, x + count, reachL / s) - x);
  int first = std::max(from - 1, 0);
  for (int c = cBegin; c < cEnd; ++c)
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
      const int r0 = std::max(0, CeilInt(t - pen.inner - 0.5f));
      const int r1 = std::min(mHeight - 1, FloorInt(b + pen.inner - 0.5f));
      if (r1 >= r0) spans[nSpans++] = Span{r0, r1 + 1, 1.f - cover};
    }
    FillSpans(clear, solid, c, spans, nSpans);
  }
  // The lines through the maxima and through the minima, where they reach these pixel columns.
  for (int i = std::max(from, 1); i < count; ++i)
  {
    const float xa = x[i - 1] * s, xb = x[i] * s;
    if (std::min(xa, xb) > reachR) break;
    if (std::max(xa, xb) < reachL) continue;
    AddSegment(clear, solid, cBegin, cEnd, xa, top[i - 1] * s, xb, top[i] * s);
    AddSegment(clear, solid, cBegin, cEnd, xa, bottom[i - 1] * s, xb, bottom[i] * s);
  }
}

} // namespace qm::control
