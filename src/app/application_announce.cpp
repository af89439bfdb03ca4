// Messages from other systems (the HTTP API, MQTT, a desktop shortcut): queued, fed to the
// message worker one at a time so they never overlap the schedule's speech, and the clock's
// state as those systems read it.
#include <algorithm>

#include "app/application.h"
#include "app/tell_request.h"
#include "app/texts.h"
#include "core/clock.h"
#include "core/local_time.h"
#include "core/text_encoding.h"
#include "platform/timer.h"

namespace chimewell {
namespace {

// A message with a moment is handed over this long ahead, as scheduled announcements are.
constexpr std::chrono::microseconds kHandOverLead = std::chrono::milliseconds(500);
// The longest text a shortcut may have spoken, as for the other ways in.
constexpr size_t kMaxTellChars = 1000;

}  // namespace

AnnouncementResult Application::SubmitAnnouncement(Announcement announcement) {
  AnnouncementResult result;
  if (exit_requested_ != 0) {
    result.refusal = AnnouncementRefusal::kEnding;
    return result;
  }
  const WallMoment now = deps_.clock.WallNow();
  if (announcement.at && *announcement.at + std::chrono::seconds(config_.LateLimit) < now) {
    result.refusal = AnnouncementRefusal::kMomentPassed;
    return result;
  }
  const WallMoment due = announcement.at ? std::max(*announcement.at, now) : now;
  const bool timed = announcement.at.has_value();
  const auto id = announcements_.Add(std::move(announcement));
  if (!id) {
    result.refusal = AnnouncementRefusal::kQueueFull;
    return result;
  }
  result.accepted = AnnouncementAccepted{*id, due};
  FeedAnnouncements();
  // A message for later needs the tick to wake for it.
  if (timed && running_ && !menu_.Paused()) Timer1Timer(false);
  return result;
}

void Application::SpeakCurrentTime() { PM_MenuClick(MenuItem::PM_Current); }

std::string Application::TellFromLine(std::string_view line) {
  const auto request = ParseTellLine(line);
  const auto error = [](const char* reason) { return std::string(kTellErrorPrefix) + reason; };
  if (!request) return error(texts::kTellUnknown);
  switch (request->kind) {
    case TellRequest::Kind::kNow:
      SpeakCurrentTime();
      break;
    case TellRequest::Kind::kMute:
      if (request->on != menu_.Muted()) SetMuted(request->on);
      break;
    case TellRequest::Kind::kSay: {
      if (!IsValidUtf8(request->text) ||
          Utf8Prefix(request->text, kMaxTellChars).size() != request->text.size()) {
        return error(texts::kTellBadText);
      }
      const AnnouncementResult result =
          SubmitAnnouncement({request->text, std::nullopt, std::nullopt});
      if (!result.accepted) {
        return error(result.refusal == AnnouncementRefusal::kQueueFull ? texts::kTellQueueFull
                                                                       : texts::kTellEnding);
      }
      break;
    }
  }
  return std::string(kTellOk);
}

void Application::AnnouncementFinished(uint64_t id) {
  announcements_.Finished(id);
  FeedAnnouncements();
}

void Application::FeedAnnouncements() {
  // A worker that ended without finishing its message (Clear All, a fault) leaves none behind.
  if (announcements_.HandedOver() && !playback_->HasMessageThread()) {
    announcements_.ForgetHandedOver();
  }
  const auto entry = announcements_.TakeReady(deps_.clock.WallNow(), kHandOverLead);
  if (!entry) return;
  const Announcement& a = entry->announcement;
  playback_->SetTicketedMessage(a.text, a.volume.value_or(config_.DefaultVolume), a.at, entry->id);
}

std::optional<WallMoment> Application::NextAnnouncementWake() const {
  return announcements_.NextReadyMoment(kHandOverLead);
}

ClockStatus Application::Status() const {
  ClockStatus status;
  status.next_event = next_firing_ ? next_event_text_ : std::string();
  if (next_firing_) status.next_due = WallOfLocal(next_firing_->nominal, next_firing_->due);
  status.muted = menu_.Muted();
  status.paused = menu_.Paused();
  status.quiet = QuietUntil(deps_.clock.Now()).has_value();
  status.busy = planner_.Holding().has_value();
  status.queued = announcements_.Size();
  status.problems = CurrentProblems();
  status.version = version_text_;
  return status;
}

}  // namespace chimewell
