#pragma once
// The texts the schedule shows the user, kept together so they can be read side by side.
#include <string>
#include <string_view>

#include "core/log.h"
#include "schedule/schedule_parser.h"

namespace chimewell::schedule_texts {

// "スクリプトの 3行目4項目めにエラーがあります": line and item both counted from 1.
inline std::string LineError(int line, int item) {
  return "スクリプトの " + std::to_string(line) + "行目" + std::to_string(item) +
         "項目めにエラーがあります";
}

// What an entry does, in the words a list of upcoming firings shows.
inline std::string_view CommandWord(TCommandType command) {
  switch (command) {
    case ctSpeak:
      return "話す";
    case ctTime:
      return "時報";
    case ctWave:
      return "WAVE";
    case ctMidi:
      return "MIDI";
  }
  return "?";
}

// The user's item as a reason quotes it: a whole pasted paragraph would drown the message.
inline std::string Quoted(std::string_view subject) {
  constexpr size_t kQuotedChars = 60;
  return "'" + ShortenForLog(subject, kQuotedChars) + "'";
}

// Why a line was refused, in plain words; `subject` is the item the reason names.
inline std::string FaultReason(ScheduleFault fault, std::string_view subject) {
  switch (fault) {
    case ScheduleFault::kNone:
      break;
    case ScheduleFault::kUnbalancedQuotes:
      return "引用符（\" または '）が閉じていません";
    case ScheduleFault::kUnknownCommand:
      return Quoted(subject) + " は知らない命令です（Speak, Time, Wave, Midi）";
    case ScheduleFault::kNoMessage:
      return "話す言葉・時報の書式・ファイルがありません";
    case ScheduleFault::kFileNotFound:
      return "ファイルが見つかりません: " + std::string(subject);
    case ScheduleFault::kEmptyMessage:
      return "話す言葉・時報の書式が空です";
    case ScheduleFault::kNoMode:
      return "タイミング（At, Skip, ALL, BGM）がありません";
    case ScheduleFault::kUnknownMode:
      return Quoted(subject) + " は知らないタイミングです（At, Skip, ALL, BGM）";
    case ScheduleFault::kTimeSignalAsMusic:
      return "時報は BGM にできません";
    case ScheduleFault::kBadTimeOfDay:
      return "時刻 " + Quoted(subject) + " は使えません（0:00～23:59.59）";
    case ScheduleFault::kBadInterval:
      return "間隔 " + Quoted(subject) + " は使えません（0.01～23:59.59）";
    case ScheduleFault::kBadMinuteOfHour:
      return "毎時の分 " + Quoted(subject) + " は使えません（0～59.59）";
    case ScheduleFault::kNoTime:
      return "時刻がありません";
    case ScheduleFault::kBadRepeat:
      return "繰り返し回数 " + Quoted(subject) + " は使えません（1以上）";
    case ScheduleFault::kBadVolume:
      return "音量 " + Quoted(subject) + " は使えません（1～100）";
    case ScheduleFault::kUnknownOption:
      return Quoted(subject) + " は知らない指定です";
    case ScheduleFault::kMissingValue:
      return Quoted(subject) + " の後に値がありません";
    case ScheduleFault::kBadWindowTime:
      return "時間帯 " + Quoted(subject) + " は使えません（0:00～24:00）";
    case ScheduleFault::kEmptyWindow:
      return "from の時刻は to より前にしてください";
    case ScheduleFault::kHolidayRuleClash:
      return Quoted(subject) +
             " は使えません：祝日除く（NoHoliday）と祝日のみ（OnHoliday）は同じ行に書けません";
  }
  return {};
}

// The line's position and why it was refused, as the panel, the page and the tool show it.
inline std::string LineErrorWithReason(int line, int item, ScheduleFault fault,
                                       std::string_view subject) {
  return LineError(line, item) + "：" + FaultReason(fault, subject);
}

}  // namespace chimewell::schedule_texts
