#pragma once
// A running mixer that records into a WAV file, for tests that listen to what was played.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "platform/audio_test_support.h"
#include "platform/mixer.h"

namespace chimewell::testing {

class CaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = TempPath(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                     ".wav");
    auto sink = MakeWavFileSink(path_);
    ASSERT_TRUE(sink);
    mixer_ = std::make_unique<Mixer>(std::move(sink));
    mixer_->Start();
  }
  void TearDown() override {
    if (mixer_) mixer_->Stop();
    std::remove(path_.c_str());
  }
  // Stops the mixer and returns everything it wrote.
  PcmClip Captured() {
    mixer_->Stop();
    auto clip = LoadWaveFile(path_);
    EXPECT_TRUE(clip);
    return clip ? *clip : PcmClip{};
  }

  std::string path_;
  std::unique_ptr<Mixer> mixer_;
};

}  // namespace chimewell::testing
