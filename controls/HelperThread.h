#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace qm::control
{

/** A second thread for the UI thread's per-frame work: Start hands it one job, Wait returns once
 * it is done. The picture is split between the two, so the host's UI thread spends about half the
 * time on it (on a machine with one core there is no helper: see Available).
 *
 * Start and Wait come from one thread, in turn; the job must not touch what the caller touches
 * until Wait. Nothing is allocated after construction. */
class HelperThread
{
public:
  using Job = void (*)(void* context);

  HelperThread();
  ~HelperThread();
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  /** Whether there is a second core to run a helper on. */
  static bool Available();

  void Start(Job job, void* context);
  void Wait();
  /** Processor time the jobs have taken on the helper so far, in seconds (0 where the platform
   * does not tell). */
  double JobSeconds() const;
  /** The same for every helper there has been in this process. */
  static double AllJobSeconds();

private:
  void Loop();

  mutable std::mutex mMutex;
  std::condition_variable mWake, mDone;
  Job mJob = nullptr;
  void* mContext = nullptr;
  bool mQuit = false;
  double mJobSeconds = 0.0;
  std::thread mThread; // last: started once the rest is ready
};

} // namespace qm::control
