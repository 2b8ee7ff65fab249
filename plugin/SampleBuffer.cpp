#include "plugin/SampleBuffer.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace qm::Trazelle
{

namespace
{

// Walks two channel arrays as frames, so a bulk enqueue needs no staging copy. A channel without a
// buffer reads as silence.
class FrameReader
{
public:
  FrameReader(const double* left, const double* right)
      : mLeft(left ? left : &kSilence), mRight(right ? right : &kSilence), mLeftStep(left ? 1 : 0),
        mRightStep(right ? 1 : 0)
  {
  }

  Frame operator*() const noexcept { return {*mLeft, *mRight}; }
  FrameReader& operator++() noexcept
  {
    mLeft += mLeftStep;
    mRight += mRightStep;
    return *this;
  }
  FrameReader operator++(int) noexcept
  {
    FrameReader before = *this;
    ++*this;
    return before;
  }

private:
  static constexpr double kSilence = 0.0;
  const double* mLeft;
  const double* mRight;
  std::ptrdiff_t mLeftStep;
  std::ptrdiff_t mRightStep;
};

} // namespace

SampleBuffer::SampleBuffer(std::uint64_t capacity, Frame fill)
    : mHistory(static_cast<std::size_t>(capacity), fill), mFill(fill)
{
  MakeQueue(capacity);
}

SampleBuffer::~SampleBuffer()
{
  ReleaseQueue();
}

void SampleBuffer::Resize(std::uint64_t capacity)
{
  ReleaseQueue();
  mHistory = boost::circular_buffer<Frame>(static_cast<std::size_t>(capacity), mFill);
  MakeQueue(capacity);
  mTaken = 0;
}

void SampleBuffer::ReleaseQueue()
{
  mProducer.reset();
  mConsumer.reset();
  mQueue.reset();
}

void SampleBuffer::MakeQueue(std::uint64_t capacity)
{
  mCapacity = capacity;
  // The count goes with the frames it counts: a stale count would have the consumer drain partial
  // columns from then on.
  mAvailable.store(0);
  mQueued.store(0);
  mDropped.store(0);

  // Sized for one producer: the queue pre-allocates about twice N frames of blocks, and the
  // producer's block index covers all of them, so a push never needs memory. The queue alone
  // would accept up to its pool size; mQueued holds it to exactly N.
  const std::size_t queueCapacity = static_cast<std::size_t>(std::max<std::uint64_t>(capacity, 1));
  mQueue = std::make_unique<Queue>(queueCapacity, 1, 0);
  mProducer = std::make_unique<moodycamel::ProducerToken>(*mQueue);
  mConsumer = std::make_unique<moodycamel::ConsumerToken>(*mQueue);
}

bool SampleBuffer::Push(const Frame& frame)
{
  return Push(&frame[0], &frame[1], 1) == 1;
}

// GCC's middle end reports a false overflow inside the queue's inlined bulk enqueue (on the path
// where the producer owns no block yet).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wstringop-overflow"
std::size_t SampleBuffer::Push(const double* left, const double* right, std::size_t nFrames)
{
  if (nFrames == 0) return 0;
  const std::uint64_t queued = mQueued.load(std::memory_order_acquire);
  const std::uint64_t room = mCapacity > queued ? mCapacity - queued : 0;
  std::size_t pushed = static_cast<std::size_t>(std::min<std::uint64_t>(nFrames, room));
  if (pushed > 0 && !mQueue->try_enqueue_bulk(*mProducer, FrameReader(left, right), pushed))
    pushed = 0;
  if (pushed > 0)
  {
    mQueued.fetch_add(pushed, std::memory_order_release);
    mAvailable.fetch_add(pushed);
  }
  if (pushed < nFrames) mDropped.fetch_add(nFrames - pushed, std::memory_order_relaxed);
  return pushed;
}
#pragma GCC diagnostic pop

std::size_t SampleBuffer::Drain(std::size_t maxFrames)
{
  if (maxFrames == 0) return 0;
  const std::size_t taken =
      mQueue->try_dequeue_bulk(*mConsumer, std::back_inserter(mHistory), maxFrames);
  if (taken > 0) mQueued.fetch_sub(taken, std::memory_order_release);
  mTaken += taken;
  return taken;
}

void SampleBuffer::SubtractAvailable(std::uint64_t frames)
{
  mAvailable.fetch_sub(frames);
}

void SampleBuffer::SetView(int columns, int stride)
{
  mColumns = std::max(0, columns);
  mStride = std::max(1, stride);
  mSpan =
      static_cast<int>(std::min<long long>(static_cast<long long>(mColumns) * mStride, INT_MAX));
}

std::size_t SampleBuffer::Consume(int columns, int stride)
{
  SetView(columns, stride);
  const std::uint64_t available = Available();
  const std::uint64_t wanted = available - available % static_cast<std::uint64_t>(mStride);
  const std::size_t drained = Drain(static_cast<std::size_t>(wanted));
  SubtractAvailable(drained);
  mStart = static_cast<int>(mHistory.size()) - mSpan;
  return drained;
}

} // namespace qm::Trazelle
