// The call rule on the streams the sound server lists: which recording or playing stream
// means that the user is talking to someone.
#include "platform/linux/call_streams.h"

#include <gtest/gtest.h>

namespace chimewell {
namespace {

constexpr char kOurs[] = "4242";

struct RecordingCase {
  const char* what;
  RecordingStream stream;
  bool call;
};

TEST(CallStreamsTest, ARecordingIsACallOnlyWhenAnotherProgramListensToAMicrophone) {
  const RecordingCase cases[] = {
      {"another program on a microphone", {false, false, "100", "", ""}, true},
      {"a program that does not say who it is", {false, false, "", "", ""}, true},
      {"a paused recorder", {true, false, "100", "", ""}, false},
      {"recording what the desktop plays", {false, true, "100", "", ""}, false},
      {"a volume control's level meter", {false, false, "100", "peaks", ""}, false},
      {"a level meter under PipeWire", {false, false, "100", "speex-float-1", "true"}, false},
      {"a microphone stream not marked a meter", {false, false, "100", "", "false"}, true},
      {"our own process", {false, false, kOurs, "", ""}, false},
      {"a resampling recorder", {false, false, "100", "speex-float-1", ""}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InCall({c.stream}, {}, kOurs), c.call) << c.what;
  }
}

TEST(CallStreamsTest, APlayingStreamIsACallByItsPhoneRoleInEitherServersWords) {
  const std::pair<const char*, bool> roles[] = {
      {"phone", true},
      {"Phone", true},
      {"communication", true},
      {"Communication", true},
      {"event", false},
      {"music", false},
      {"", false},
      {"phonebook", false},
  };
  for (const auto& [role, call] : roles) {
    EXPECT_EQ(InCall({}, {{role}}, kOurs), call) << role;
  }
}

TEST(CallStreamsTest, OneCallingStreamAmongOthersIsEnough) {
  const std::vector<RecordingStream> quiet = {{true, false, "1", "", ""}, {false, true, "2", "", ""}};
  EXPECT_FALSE(InCall(quiet, {{"music"}, {"event"}}, kOurs));
  EXPECT_TRUE(InCall(quiet, {{"music"}, {"phone"}}, kOurs));
  auto with_microphone = quiet;
  with_microphone.push_back({false, false, "3", "", ""});
  EXPECT_TRUE(InCall(with_microphone, {{"music"}}, kOurs));
  EXPECT_FALSE(InCall({}, {}, kOurs));
}

}  // namespace
}  // namespace chimewell
