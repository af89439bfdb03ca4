#include "web/timetable_values.h"

#include "app/application.h"
#include "app/next_event_label.h"
#include "app/timetable_day.h"
#include "core/html_escape.h"
#include "core/speech_text.h"
#include "schedule/builtin_chimes.h"
#include "web/page_texts.h"

namespace chimewell {
namespace {

// Firings listed for each day; the page says when there are more.
constexpr size_t kListedFirings = 12;
constexpr size_t kQuotedChars = 30;

void AppendEscaped(std::string& out, std::string_view text) { AppendHtmlEscaped(out, text); }

// What one firing does, as the list shows it.
std::string WhatItDoes(const TSchedule& entry, TDateTime moment, const HolidayCalendar& holidays) {
  switch (entry.Cmd) {
    case ctSpeak:
      return "『" + CutWithMark(ExpandSpeechText(entry.Msg, moment, holidays), kQuotedChars) + "』";
    case ctTime:
      return page_texts::kTimeSignalWord;
    case ctWave: {
      const size_t slash = entry.Msg.rfind('/');
      return entry.Msg.substr(slash == std::string::npos ? 0 : slash + 1);
    }
    case ctMidi:
      return page_texts::kMusicWord;
  }
  return {};
}

void AppendDay(std::string& out, const char* which, const TimetableDay& day,
               const HolidayCalendar& holidays) {
  out += "<div class=\"ttday\"><h4>";
  out += which;
  out += FormatDateTime(" m/d（ddd）: ", day.date);
  out += "<b>";
  if (day.name.empty()) {
    out += page_texts::kNoTimetable;
  } else {
    AppendEscaped(out, day.name);
  }
  out += "</b>";
  if (day.changed) out += page_texts::kChangedMark;
  out += "</h4>\r\n";
  if (day.name.empty()) {
    out += "</div>\r\n";
    return;
  }
  if (day.firings.empty())
    out += std::string("<p class=\"note\">") + page_texts::kNoMoreToday + "</p>";
  out += "<ul class=\"ttlist\">";
  for (const TimetableDay::Firing& f : day.firings) {
    out += "<li>" + FormatDateTime("h:nn", f.moment) + " ";
    AppendEscaped(out, WhatItDoes(*f.entry, f.moment, holidays));
    out += "</li>";
  }
  if (day.more) out += std::string("<li>") + page_texts::kMoreFirings + "</li>";
  out += "</ul></div>\r\n";
}

std::string DaysBlock(const TimetablePage& page) {
  std::string out;
  AppendDay(out, page_texts::kToday, page.today, page.holidays);
  AppendDay(out, page_texts::kTomorrow, page.tomorrow, page.holidays);
  // One tap changes today's: a button for each timetable, none, and back to the calendar.
  out += "<form class=\"ttchange\" method=\"POST\" action=\"/\">";
  for (const auto& [name, lines] : page.timetables) {
    out += "<button type=\"submit\" name=\"TTTODAY\" value=\"";
    AppendEscaped(out, name);
    out += "\">";
    out += page_texts::kTodayIs;
    AppendEscaped(out, name);
    out += "</button> ";
  }
  out += std::string("<button type=\"submit\" name=\"TTTODAY\" value=\"なし\">") +
         page_texts::kTodayNone + "</button>";
  if (page.today.changed) {
    out += std::string(" <button type=\"submit\" name=\"TTREVERT\" value=\"1\">") +
           page_texts::kRevert + "</button>";
  }
  out += "</form>\r\n";
  return out;
}

void AppendLines(std::string& out, const LineList& lines) {
  for (const std::string_view line : lines) {
    AppendEscaped(out, line);
    out += "\r\n";
  }
}

std::string Editors(const TimetablePage& page) {
  std::string out;
  for (const auto& [name, lines] : page.timetables) {
    out +=
        "<form class=\"card timetable\" method=\"POST\" action=\"/\">"
        "<input type=\"hidden\" name=\"TTSET\" value=\"1\">"
        "<input type=\"hidden\" name=\"TTNAME\" value=\"";
    AppendEscaped(out, name);
    out += "\"><h3>";
    out += page_texts::kTimetableOpen;
    AppendEscaped(out, name);
    out += page_texts::kTimetableClose;
    out += "</h3><textarea name=\"TTLINES\" rows=\"" + std::to_string(lines.size() + 2) +
           "\" spellcheck=\"false\">";
    AppendLines(out, lines);
    out += "</textarea><div class=\"actions\"><button type=\"submit\" class=\"primary\">";
    out += page_texts::kTimetableOpen;
    AppendEscaped(out, name);
    out += page_texts::kTimetableClose;
    out += page_texts::kSaveTimetable;
    out += "</button></div></form>\r\n";
  }
  return out;
}

std::string AddOptions(const TimetablePage& page) {
  std::string out = std::string("<option value=\"\">") + page_texts::kMainSchedule + "</option>";
  for (const auto& [name, lines] : page.timetables) {
    out += "<option value=\"";
    AppendEscaped(out, name);
    out += "\">";
    out += page_texts::kTimetableOpen;
    AppendEscaped(out, name);
    out += page_texts::kTimetableClose;
    out += "</option>";
  }
  return out;
}

std::string ChimeOptions() {
  std::string out;
  for (const BuiltInChime& chime : kBuiltInChimes) {
    out += "<option value=\"" + std::string(chime.name) + "\">" + std::string(chime.label) +
           "</option>";
  }
  return out;
}

}  // namespace

TimetablePage ViewTimetables(const Application& app, TDateTime now, const TimetableDrafts& drafts) {
  TimetablePage page;
  page.holidays = app.Holidays();
  page.today = ViewTimetableDay(app.ScheduleData(), page.holidays, now, now, kListedFirings);
  // Tomorrow from its first moment: a millisecond before midnight, as firings are found after.
  const TDateTime tomorrow = DateOf(now) + 1;
  page.tomorrow = ViewTimetableDay(app.ScheduleData(), page.holidays, tomorrow,
                                   AddMilliseconds(tomorrow, -1), kListedFirings);
  for (const std::string& name : app.Calendar().Names()) {
    const bool refused = drafts.timetable && drafts.timetable->first == name;
    page.timetables.emplace_back(name,
                                 refused ? drafts.timetable->second : app.TimetableLines(name));
  }
  page.calendar = drafts.calendar ? *drafts.calendar : app.CalendarLines();
  return page;
}

void AppendTimetableValues(ReplacementList& list, const TimetablePage& page) {
  list.Add("$!TTDAYS!$", DaysBlock(page));
  list.Add("$!TTEDITORS!$", Editors(page));
  list.Add("$!CALROWS!$", std::to_string(page.calendar.size() + 2));
  std::string calendar_text;
  AppendLines(calendar_text, page.calendar);
  list.Add("$!CALSTR!$", calendar_text);
  list.Add("$!TTADDOPTIONS!$", AddOptions(page));
  list.Add("$!CHIMEOPTIONS!$", ChimeOptions());
}

}  // namespace chimewell
