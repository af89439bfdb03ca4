#pragma once
// The pages and messages of access control (names, other machines, the access password), in
// one place.

namespace chimewell::access_texts {

// The server was reached under a name it does not go by (as after DNS rebinding).
inline constexpr const char* kWrongNamePage =
    "<HTML><HEAD><META charset=\"UTF-8\"><TITLE>Chimewell - エラー</TITLE></HEAD><BODY>"
    "<H1>このアドレスでは設定画面を開けません</H1>"
    "<P>http://localhost:ポート番号/ か、このコンピューターの名前または IP アドレスで"
    "開いてください。</P></BODY></HTML>";

// Another machine asked while no access password is set.
inline constexpr const char* kRemoteNotAllowedPage =
    "<HTML><HEAD><META charset=\"UTF-8\"><TITLE>Chimewell - エラー</TITLE></HEAD><BODY>"
    "<H1>他のコンピューターからは設定画面を開けません</H1>"
    "<P>許可するには、時計を動かしているコンピューターで設定画面を開き、基本設定の"
    "「他のコンピューターから開くときのパスワード」を設定してください。"
    "そのあとは、このパスワードを入力すると開けます（ユーザー名は何でもかまいません）。</P>"
    "</BODY></HTML>";

// Another machine without the right password.
inline constexpr const char* kPasswordNeededPage =
    "<HTML><HEAD><META charset=\"UTF-8\"><TITLE>Chimewell - パスワード</TITLE></HEAD><BODY>"
    "<H1>パスワードが必要です</H1>"
    "<P>基本設定で決めたパスワードを入力してください（ユーザー名は何でもかまいません）。</P>"
    "</BODY></HTML>";

// Too many wrong passwords from one address.
inline constexpr const char* kTooManyAttemptsPage =
    "<HTML><HEAD><META charset=\"UTF-8\"><TITLE>Chimewell - パスワード</TITLE></HEAD><BODY>"
    "<H1>パスワードの誤りが続いたため、しばらく受け付けません</H1>"
    "<P>1分ほど待ってからやり直してください。</P></BODY></HTML>";

// Base form: a new password sent by another machine, and one that is too short.
inline constexpr const char* kPasswordOnlyHere =
    "パスワードは、時計を動かしているコンピューターで開いた設定画面でだけ変更できます";
inline constexpr const char* kPasswordTooShort =
    "パスワードは8文字以上、256バイト以内にしてください";
inline constexpr const char* kPasswordNotSaved = "パスワードを保存できませんでした";

// $!ACCESSPASSWORD!$: whether one is set.
inline constexpr const char* kPasswordSet = "設定済み";
inline constexpr const char* kPasswordNotSet = "未設定（他のコンピューターからは開けません）";

}  // namespace chimewell::access_texts
