#include "controls/HelperThread.h"

#include <ctime>

namespace qm::control
{

namespace
{

double ThreadSeconds()
{
#if defined(CLOCK_THREAD_CPUTIME_ID)
  timespec now{};
  if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) != 0) return 0.0;
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
#else
  return 0.0;
#endif
}

std::atomic<double> gAllJobSeconds{0.0};

} // namespace

double HelperThread::AllJobSeconds()
{
  return gAllJobSeconds.load(std::memory_order_relaxed);
}

HelperThread::HelperThread() : mThread([this] { Loop(); }) {}

HelperThread::~HelperThread()
{
  {
    std::lock_guard lock(mMutex);
    mQuit = true;
  }
  mWake.notify_one();
  mThread.join();
}

bool HelperThread::Available()
{
  return std::thread::hardware_concurrency() > 1;
}

void HelperThread::Start(Job job, void* context)
{
  {
    std::lock_guard lock(mMutex);
    mJob = job;
    mContext = context;
  }
  mWake.notify_one();
}

void HelperThread::Wait()
{
  std::unique_lock lock(mMutex);
  mDone.wait(lock, [this] { return mJob == nullptr; });
}

double HelperThread::JobSeconds() const
{
  std::lock_guard lock(mMutex);
  return mJobSeconds;
}

void HelperThread::Loop()
{
  std::unique_lock lock(mMutex);
  for (;;)
  {
    mWake.wait(lock, [this] { return mQuit || mJob != nullptr; });
    if (mQuit) return;
    const Job job = mJob;
    void* context = mContext;
    lock.unlock();
    const double start = ThreadSeconds();
    job(context);
    const double spent = ThreadSeconds() - start;
    lock.lock();
    mJobSeconds += spent;
    gAllJobSeconds.fetch_add(spent, std::memory_order_relaxed);
    mJob = nullptr;
    mDone.notify_one();
  }
}

} // namespace qm::control
