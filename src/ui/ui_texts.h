#pragma once
// Every text the window itself shows (the application's own texts live with it).

namespace chimewell::ui_texts {

inline constexpr const char* kCaption = "Chimewell";
inline constexpr const char* kPortLabel = "設定ページのポート:";
inline constexpr const char* kPortHint = "1 - 65535";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kCancel = "キャンセル";
inline constexpr const char* kAuthorNotice = "© Chimewell の作者";
// Families tried in turn for the window's own texts, a proportional Japanese gothic first.
inline constexpr const char* kWindowFontFamilies[] = {"ＭＳ Ｐゴシック", "IPAPGothic",
                                                       "IPAGothic", "Noto Sans CJK JP"};
inline constexpr int kWindowFontPixels = 12;
// Families tried in turn for a clock text whose settings name no face: Latin sans faces first.
inline constexpr const char* kClockFontFamilies[] = {"DejaVu Sans", "Liberation Sans", "Arial",
                                                      "sans-serif"};
// A second start with the same settings folder.
inline constexpr const char* kAlreadyRunning = "Chimewell はすでに起動しています";
inline constexpr const char* kCannotLockFolder =
    "cannot lock the settings folder, so a second clock could start beside this one: ";

}  // namespace chimewell::ui_texts
