// Every text perchskin prints, named once: the kit and its tests include this header. The file is
// UTF-8; the kit is compiled with the Shift-JIS execution character set, like Perchling, so it
// prints Shift-JIS. Texts with printf fields take them in the order the comments name; in
// Shift-JIS no second byte of a character is '%', so the formats stay plain.
#pragma once

// --help, and what a wrong command line gets.
#define TEXT_KIT_USAGE                                                                  \
  "perchskin: Perchling のスキンを作る道具\n"                                           \
  "\n"                                                                                  \
  "  perchskin convert 入力画像 出力.bmp [--alpha-threshold N]\n"                       \
  "      PNG・GIF・JPEG・TIFF・BMP の画像を、Perchling が読める 24 ビット BMP に変換します。\n" \
  "      アルファ値が N 未満（既定 128）の画素は透明色のマゼンタ (255,0,255) に、\n"    \
  "      もともとマゼンタの不透明な画素は (255,0,254) になり、抜けずに残ります\n"      \
  "      （透明な部分のない画像では、マゼンタがそのまま透明色になります）。\n"        \
  "  perchskin check スキン.bmp ...\n"                                                  \
  "      スキンとして使えるかを調べます（大きさ、形の細かさ、縁のにじみ、名前など）。\n" \
  "  perchskin 画像 ...\n"                                                              \
  "      画像をこのプログラムにドロップしたときと同じです。BMP でない画像は同じフォルダーの\n" \
  "      「名前.bmp」に変換し（既にあれば上書きしません）、すべてを調べます。\n"        \
  "  perchskin --help\n"                                                                \
  "      この説明を表示します。\n"                                                      \
  "\n"                                                                                  \
  "終了コード: 0 問題なし、1 警告あり、2 使えない・失敗\n"
#define TEXT_KIT_BAD_ARGUMENTS "コマンドの指定が正しくありません。perchskin --help で使い方を表示します。\n"
#define TEXT_KIT_BAD_THRESHOLD "--alpha-threshold には 0 から 255 までの整数を指定してください。\n"

// Refusals; each begins with the file's name (%s).
#define TEXT_KIT_MISSING "%s: ファイルが見つかりません。\n"
#define TEXT_KIT_UNREADABLE "%s: 画像として読めません。壊れているか、対応していない形式です。\n"
#define TEXT_KIT_TOO_LARGE "%s: 画像が大きすぎます（%d × %d）。縦横とも %d ピクセルまでです。\n"
#define TEXT_KIT_SAME_FILE "%s: 入力ファイルには上書きしません。別の出力ファイルを指定してください。\n"
#define TEXT_KIT_EXISTS "%s: 既にあるので上書きしません。名前を変えるか消してから、もう一度どうぞ。\n"
#define TEXT_KIT_CANNOT_WRITE "%s: 書き込めません。出力先のフォルダーがあり、書き込めるかを確かめてください。\n"
#define TEXT_KIT_NOT_BMP "%s: BMP ファイルではありません。perchskin convert で変換してください。\n"
#define TEXT_KIT_BAD_HEADER "%s: BMP の見出しが壊れています。\n"
#define TEXT_KIT_BAD_SIZE "%s: 幅か高さが 0 以下です。\n"
#define TEXT_KIT_UNSUPPORTED \
  "%s: この形式の BMP（%d ビット、圧縮 %u）は Perchling で読めません。perchskin convert で変換してください。\n"
#define TEXT_KIT_TRUNCATED "%s: ファイルが途中で切れています。\n"
#define TEXT_KIT_LOAD_FAILED "%s: Perchling と同じ方法では読み込めませんでした。\n"

// A conversion: input (%s), output (%s), pixels made transparent (%u), magenta pixels kept (%u).
#define TEXT_KIT_CONVERTED \
  "%s を %s に変換しました。透明にした画素 %u、(255,0,254) にして残したマゼンタの画素 %u。\n"
#define TEXT_KIT_OPAQUE_PICTURE \
  "  透明な部分のない画像なので、マゼンタ (255,0,255) の画素をそのまま透明色にしました。\n"

// The report of a check: the file (%s), then its facts, then one line per finding.
#define TEXT_KIT_REPORT_FILE "%s\n"
// width, height, bits per pixel, compression's name
#define TEXT_KIT_REPORT_FORMAT "  大きさ %d × %d、%d ビット、圧縮 %s\n"
#define TEXT_KIT_COMPRESSION_NONE "なし"
#define TEXT_KIT_COMPRESSION_RLE8 "RLE8"
#define TEXT_KIT_COMPRESSION_RLE4 "RLE4"
#define TEXT_KIT_COMPRESSION_BITFIELDS "BITFIELDS"
// share cut out in per cent, whole and tenths
#define TEXT_KIT_REPORT_CUT "  透明な部分 %u.%u %%\n"
// rectangles, the count that makes it slow, the count that hides it
#define TEXT_KIT_REPORT_RECTS "  形の長方形 %u 個（%d 個から動きが遅く、%d 個から表示されなくなります）\n"
// runs of opaque pixels the shape is made of
#define TEXT_KIT_REPORT_RUNS \
  "  （横に続く不透明な画素の並び %u 本から。すぐ上の行と同じ並びの行は、まとめて 1 個に数えます）\n"
#define TEXT_KIT_TOP_DOWN \
  "  警告: 上の行から順に保存された BMP です。空白に見える環境があるので、perchskin convert で変換してください。\n"
#define TEXT_KIT_NOTHING_CUT "  警告: マゼンタ (255,0,255) の画素がひとつもありません。ウィンドウは四角いままです。\n"
#define TEXT_KIT_ALL_CUT "  使えません: すべての画素がマゼンタなので、何も表示されません。\n"
#define TEXT_KIT_SLOW_SHAPE \
  "  警告: 形の四角形が多すぎます。透明なドットが細かく混ざると増えます。Wine 10 では動くウィンドウに遅れてついて行き、もっと多いと Wine 8 でも表示と描き直しが遅れます。\n"
#define TEXT_KIT_HIDDEN_SHAPE \
  "  使えません: 形の四角形が多すぎます。Wine では表示までに何十秒もかかるか、まったく表示されません。\n"
// how many near-magenta pixels, then the first coordinates, each as TEXT_KIT_POINT
#define TEXT_KIT_FRINGE \
  "  警告: マゼンタに近いのに透明にならない画素が %u 個あります（縁のにじみ）。位置（左上から）: %s\n"
#define TEXT_KIT_POINT "(%d, %d)"
#define TEXT_KIT_POINT_SEPARATOR " "
#define TEXT_KIT_MORE_POINTS " ..."
// the rows that overlap the title bar
#define TEXT_KIT_FLOATS \
  "  警告: 下から %d 行に不透明な画素がありません。タイトルバーに届かず、浮いて見えます。\n"
// the name's length in bytes, the most that fits
#define TEXT_KIT_NAME_TOO_LONG \
  "  使えません: 名前が長すぎます（%u バイト、%d バイトまで）。スキンの一覧に載りません。\n"
#define TEXT_KIT_NAME_CODE_PAGE \
  "  使えません: 名前に、このシステムの文字コードで表せない文字があります。名前を変えてください。\n"
#define TEXT_KIT_NAME_EMPTY "  使えません: .bmp を除くと名前が残りません。スキンとして選べません。\n"
#define TEXT_KIT_NAME_WILDCARD "  使えません: 名前に ? か * があります。名前を変えてください。\n"
#define TEXT_KIT_NAME_NOT_BMP \
  "  使えません: 拡張子が .bmp ではないので、スキンの一覧に載りません。\n"
#define TEXT_KIT_VERDICT_FINE "  判定: 問題ありません。\n"
#define TEXT_KIT_VERDICT_WARNINGS "  判定: 使えますが、警告があります。\n"
#define TEXT_KIT_VERDICT_UNUSABLE "  判定: このままでは使えません。\n"

// When the kit has a console window of its own (pictures dropped on it), it waits before closing.
#define TEXT_KIT_PRESS_ENTER "Enter キーを押すと閉じます。"
