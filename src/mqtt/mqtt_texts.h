#pragma once
// Every Japanese text the MQTT link logs or shows, in one place.
#include <string>

namespace chimewell::mqtt_texts {

inline std::string Connected(const std::string& broker) {
  return "MQTT: " + broker + " に接続しました";
}
inline std::string Lost(const std::string& broker) {
  return "MQTT: " + broker + " との接続が切れました。つなぎ直します";
}
inline constexpr const char* kBadBroker =
    "MQTT: ブローカーは mqtt://ホスト名:ポート か mqtts://ホスト名:ポート で指定してください";
inline constexpr const char* kBadName =
    "MQTT: この時計の名前は半角英小文字・数字・-・_ の 1～32 文字にしてください";
inline constexpr const char* kNoMessage = "MQTT: 話す文がないか、読めないメッセージです";
inline constexpr const char* kBadSwitch = "MQTT: mute には ON か OFF を送ってください";
inline constexpr const char* kQueueFull =
    "MQTT: 話す順番待ちがいっぱいのため、受け取れませんでした";
// A message that arrived later than LateLimit after it was sent.
inline std::string TooLate(const std::string& text) {
  return "見送り（MQTT 遅着） 『" + text + "』";
}

// The names Home Assistant shows for the clock's entities.
inline constexpr const char* kEntitySay = "お知らせ";
inline constexpr const char* kEntityTime = "時刻を読み上げ";
inline constexpr const char* kEntityMute = "消音";
inline constexpr const char* kEntityNextAt = "次の予定の時刻";
inline constexpr const char* kEntityNext = "次の予定";
inline constexpr const char* kEntityBusy = "取り込み中";

}  // namespace chimewell::mqtt_texts
