#pragma once
// Every Japanese text the clock's API answers with (the `reason` of a refusal) and the page's
// key management shows, in one place.

namespace chimewell::api_texts {

// Trust.
inline constexpr const char* kWrongName =
    "このアドレスでは受け付けません。localhost か、このコンピューターの名前または IP "
    "アドレスを使ってください";
inline constexpr const char* kOtherSite = "ほかのサイトのページからの要求は受け付けません";
inline constexpr const char* kKeyNeeded =
    "他のコンピューターからは、設定画面で作ったキーを Authorization: Bearer で送ってください";
inline constexpr const char* kKeyWrong = "キーが違います（削除されたか、まだ作られていません）";

// The request itself.
inline constexpr const char* kUnknownPath = "この API はありません";
inline constexpr const char* kWrongMethod = "このメソッドは使えません";
inline constexpr const char* kBodyTooLarge = "送られたデータが大きすぎます";
inline constexpr const char* kJsonNeedsType =
    "JSON を送るときは Content-Type: application/json を付けてください";
inline constexpr const char* kUnknownType =
    "Content-Type は application/json か application/x-www-form-urlencoded にしてください";
inline constexpr const char* kBadJson = "JSON として読めません";
inline constexpr const char* kNotObject = "JSON はオブジェクト（{…}）で送ってください";
inline constexpr const char* kNotUtf8 = "文字コードが UTF-8 ではありません";
inline constexpr const char* kNoMessage = "message（話す文）がありません";
inline constexpr const char* kMessageNotText = "message は文字列にしてください";
inline constexpr const char* kTitleNotText = "title は文字列にしてください";
inline constexpr const char* kMessageTooLong = "message と title はそれぞれ 1,000 文字までです";
inline constexpr const char* kBadVolume = "volume は 1～100 の整数にしてください";
inline constexpr const char* kBadMoment =
    "at は ISO 8601 の日時にしてください（例: 2026-12-07T11:00:00+09:00）";
inline constexpr const char* kBadZones = "zones は名前の配列にしてください";
inline constexpr const char* kNoMuted = "muted（true か false）がありません";

// The clock's answer.
inline constexpr const char* kQueueFull =
    "話す順番待ちが 100 件でいっぱいです。しばらくしてから送ってください";
inline constexpr const char* kMomentPassed = "at の時刻はもう過ぎています";
inline constexpr const char* kEnding = "時計は終了するところです";

// The page's keys.
inline constexpr const char* kKeyMade =
    "キー「%s」を作りました。次のキーはこの一度しか表示されません。控えてください: ";
inline constexpr const char* kKeyRemoved = "キー「%s」を削除しました";
inline constexpr const char* kKeyBadName =
    "キーの名前は 1～40 文字で、前後の空白や制御文字を含めないでください";
inline constexpr const char* kKeyNameTaken = "その名前のキーはもうあります";
inline constexpr const char* kKeysFull = "キーは 20 個までです。使わないキーを削除してください";
inline constexpr const char* kKeyNotFound = "その名前のキーはありません";
inline constexpr const char* kKeyOnlyHere =
    "キーは、時計を動かしているコンピューターで開いた設定画面でだけ作成・削除できます";
inline constexpr const char* kNoKeys = "（キーはありません）";
inline constexpr const char* kRemoveKey = "削除";

// The page's [MQTT] form.
inline constexpr const char* kMqttSaved = "MQTT の設定を保存しました";
inline constexpr const char* kMqttOnlyHere =
    "MQTT の設定は、時計を動かしているコンピューターで開いた設定画面でだけ変更できます";
inline constexpr const char* kMqttBadBroker =
    "ブローカーは mqtt://ホスト名:ポート か mqtts://ホスト名:ポート で指定してください";
inline constexpr const char* kMqttBadName =
    "この時計の名前は半角英小文字・数字・-・_ の 1～32 文字にしてください";
inline constexpr const char* kMqttNoBroker = "MQTT を使うにはブローカーを指定してください";
inline constexpr const char* kMqttPasswordSet = "設定済み";
inline constexpr const char* kMqttPasswordNotSet = "未設定";

}  // namespace chimewell::api_texts
