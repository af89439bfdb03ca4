#pragma once
// One Open JTalk process at work at a time, with the next one loaded ahead of need, and a
// watchdog that kills a synthesis that runs too long.
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/fault.h"
#include "platform/linux/child_process.h"
#include "platform/linux/open_jtalk_setup.h"
#include "platform/pcm_clip.h"

namespace chimewell {

// Synthesize and Reset are called by one owning thread; Stop from any thread. The members
// below mutex_ are guarded by it; spare_ and work_dir_ belong to the owning thread.
class OpenJTalkEngine {
 public:
  enum class Outcome { kDone, kFailed, kNoWorkFolder, kStopped, kTimedOut };

  // `limit`: how long one synthesis may run before it is killed. `report` hears of a fault
  // on the watchdog's thread.
  OpenJTalkEngine(OpenJTalkSetup setup, std::chrono::milliseconds limit, FaultReport report);
  ~OpenJTalkEngine();
  OpenJTalkEngine(const OpenJTalkEngine&) = delete;
  OpenJTalkEngine& operator=(const OpenJTalkEngine&) = delete;

  // False when no folder for the engine's output could be made.
  bool HasWorkFolder() const { return !work_dir_.empty(); }
  // Starts the first process loading; the owning thread calls it once before Synthesize.
  void Warm();
  // Synthesizes one line of text into `clip` (its lead-in trimmed).
  Outcome Synthesize(const std::string& line, std::optional<PcmClip>* clip);
  // Ends the synthesis under way, and any the owner starts before its next Reset, with
  // kStopped.
  void Stop();
  // Lets syntheses run again after a Stop.
  void Reset();

 private:
  // A process that has loaded its dictionary and voice and waits for its line on stdin.
  struct Spare {
    std::shared_ptr<ChildProcess> process;
    int input = -1;
    std::string output;
  };
  Spare StartSpare();
  static void Discard(Spare& spare);
  // The folder for the output files; made anew when it was removed (a cleaned /tmp).
  bool EnsureWorkDir();
  void Watch();

  const OpenJTalkSetup setup_;
  const std::chrono::milliseconds limit_;
  std::string work_dir_;
  uint64_t next_output_ = 0;
  Spare spare_;

  std::mutex mutex_;
  std::condition_variable cv_;
  std::shared_ptr<ChildProcess> running_;  // the process synthesizing right now
  std::optional<std::chrono::steady_clock::time_point> deadline_;  // of running_
  bool stopped_ = false;
  bool timed_out_ = false;
  bool quit_ = false;
  std::thread watchdog_;
};

}  // namespace chimewell
