// Every text the user sees, named once: the program, the resource script and the tests include
// this header. The file is UTF-8; the program is compiled with the Shift-JIS execution character
// set and windres converts the resource script's strings, so both show the same characters.
// Plain macros, because the resource script can use nothing else.
#pragma once

// The same text as UTF-16, for the wide functions that show it: a wide literal is compiled from
// the UTF-8 source whatever the execution character set, so it reads the same under every ANSI
// code page (932, 1252, 65001).
#define WIDE(text) L"" text

// Window identity and the title of every message box.
#define TEXT_TITLE "Perchling"

// The context menu (IDR_CONTEXT_MENU) and its "スキン" submenu.
#define TEXT_MENU_SKINS "スキン"
#define TEXT_MENU_NO_SKINS "スキンなし"
#define TEXT_MENU_RESCAN "スキン情報を更新(&U)"
#define TEXT_MENU_STARTUP "スタートアップに登録(&R)"
#define TEXT_MENU_ABOUT "Perchling について(&A)"
#define TEXT_MENU_CLOSE "閉じる(&E)"

// Message boxes.
#define TEXT_START_FAILED "Perchling を起動できませんでした。"
#define TEXT_FOLDER_UNNAMEABLE \
  "Perchling を置いたフォルダの名前に、この Windows では扱えない文字が含まれています。\n" \
  "英数字だけの名前のフォルダに移してから起動してください。"
#define TEXT_FOLDER_PATH_TOO_LONG \
  "Perchling を置いたフォルダのパスが長すぎます。\n" \
  "短いパスのフォルダ（たとえば C:\\Tools\\Perchling）に移してから起動してください。"
#define TEXT_PICTURE_SIZE_FAILED "画像サイズの取得に失敗しました。"
#define TEXT_SKIN_MISSING \
  "指定されたスキンは存在しません。\nスキン情報を更新しておきますので\n再度、指定し直して下さい。"
// The settings-write failure: this line, the path of setting.ini, then the advice.
#define TEXT_SAVE_FAILED "設定を保存できませんでした。"
#define TEXT_SAVE_FAILED_ADVICE \
  "ファイルが読み取り専用になっているか、管理者の権限がないと書き込めないフォルダ" \
  "（C:\\Program Files の中など）に置かれているためと思われます。\n" \
  "ファイルのプロパティで「読み取り専用」を外すか、Perchling のフォルダを書き込める場所" \
  "（たとえば C:\\Tools\\Perchling）に移してください。"
#define TEXT_RELAUNCH_FAILED "Perchling.exe を起動できませんでした。\n手動で起動してください。"
#define TEXT_ALREADY_REGISTERED "既に登録されています。\n改めて登録しますか？"
#define TEXT_REGISTERED "スタートアップへの登録は完了しました。"
#define TEXT_REGISTRATION_FAILED "スタートアップへの登録に失敗しました。"
#define TEXT_OPEN_FAILED "起動に失敗しました。"

// The Startup shortcut's description.
#define TEXT_SHORTCUT_DESCRIPTION "ぺるりんのデスクトップアクセサリ"

// The About box (IDD_ABOUT).
#define TEXT_ABOUT_CAPTION "□　Perchling について"
#define TEXT_ABOUT_FONT "ＭＳ Ｐゴシック"
// The version is the build's: PERCHLING_VERSION_TEXT, from the version.h made of res/version.h.in.
#define TEXT_ABOUT_VERSION \
  "Fenwobble  Perchling ver " PERCHLING_VERSION_TEXT "\nウィンドウの上の小さな止まり木"
#define TEXT_ABOUT_MAKER_LABEL "Fenwobble のホームページ"
#define TEXT_ABOUT_CHARACTER_LABEL "ぺるりんのホームページ"
#define TEXT_URL_MAKER "https://fenwobble.example/"
#define TEXT_URL_CHARACTER "https://fenwobble.example/bird/"
