// Every text perchskin prints, named once: the kit and its tests include this header. The file is
// UTF-8 and so are the kit's strings (unlike Perchling's), so a report holds any file name whole;
// the kit turns it into what its output needs. Texts with printf fields take them in the order
// the comments name. One word for one thing, as in readme.txt: アルファ値, 警告, ドット (also for
// rows: "下から 22 ドット"), バイト, 四角形, フォルダ, 透明な部分, 縁どり, and "この Windows では扱え
// ない文字". Warnings say what the user will see, not where it was measured. Every text is
// Shift-JIS encodable: under code page 932 the kit writes files and pipes in it.
#pragma once

// --help, and what a wrong command line gets: the default alpha threshold (%d), the transparent
// colour's red, green and blue (%d,%d,%d), the kept magenta's (%d,%d,%d), and the largest skin
// that is not shrunk (%d × %d).
#define TEXT_KIT_USAGE                                                                  \
  "perchskin: Perchling のスキンを作る道具\n"                                           \
  "\n"                                                                                  \
  "  perchskin convert 入力画像 出力.bmp [--alpha-threshold N] [--key-background] [--fit]\n" \
  "      PNG・GIF・JPEG・TIFF・BMP の画像を、Perchling が読める 24 ビット BMP に変換します。\n" \
  "      アルファ値が N 未満（既定 %d）のドットは透明になるマゼンタ (%d,%d,%d) に、\n"    \
  "      もともとマゼンタの不透明なドットは (%d,%d,%d) になり、抜けずに残ります\n"      \
  "      （透明な部分のない画像では、マゼンタがそのまま透明になります）。\n"        \
  "      --key-background: 透明な部分もマゼンタもない画像の周りが一色なら、その色の\n"  \
  "      周りとつながったところを透明にします（線で囲まれた中の同じ色は残ります）。\n"    \
  "      --fit: %d × %d ドットより大きい画像を、縦横の比を保ってその中に縮めます。\n"  \
  "  perchskin check スキン.bmp ...\n"                                                  \
  "      スキンとして使えるかを調べます（大きさ、形の細かさ、縁どり、名前など）。\n" \
  "  perchskin 画像 ...\n"                                                              \
  "      画像をこのプログラムにドロップしたときと同じです。Perchling.exe と skin フォルダの\n" \
  "      あるフォルダに置いてあれば、画像を skin フォルダの「名前.bmp」に変換して調べます\n" \
  "      （skin フォルダにある BMP は、Perchling が読めないものだけをその場で変換します）。\n" \
  "      なければ、画像を同じフォルダの「名前.bmp」に変換し（BMP は Perchling が読めない\n" \
  "      ときだけ）、すべてを調べます。同じ名前のファイルは、ドロップで開いた\n"          \
  "      ウィンドウで尋ねて「y」と答えたときだけ置き換えます。ドロップでは --key-background と\n" \
  "      --fit をいつも使います。使えない結果は skin フォルダに書き込みません。\n"      \
  "  perchskin --help\n"                                                                \
  "      この説明を表示します。\n"                                                      \
  "\n"                                                                                  \
  "終了コード: 0 問題なし、1 警告あり、2 使えない・失敗\n"
// A double-click: no file, and a console window of its own.
#define TEXT_KIT_DOUBLE_CLICK                                                                 \
  "perchskin: Perchling のスキンを作る道具です。\n"                                          \
  "画像（PNG・BMP など）をエクスプローラーでこの perchskin.exe にドロップすると、スキンにします。\n" \
  "コマンド プロンプトでは perchskin convert と perchskin check が使えます（perchskin --help で説明）。\n"
#define TEXT_KIT_BAD_ARGUMENTS "コマンドの指定が正しくありません。perchskin --help で使い方を表示します。\n"
#define TEXT_KIT_BAD_THRESHOLD "--alpha-threshold には 0 から 255 までの整数を指定してください。\n"

// Refusals; each begins with the file's name (%s).
#define TEXT_KIT_MISSING "%s: ファイルが見つかりません。名前と場所を確かめてください。\n"
#define TEXT_KIT_UNREADABLE \
  "%s: 画像として読めません。壊れているか、対応していない形式です。PNG・GIF・JPEG・TIFF・BMP のどれかで保存し直してください。\n"
#define TEXT_KIT_TOO_LARGE "%s: 画像が大きすぎます（%d × %d）。縦横とも %d ドットまでにしてください。\n"
#define TEXT_KIT_SAME_FILE "%s: 入力ファイルには上書きしません。別の出力ファイルを指定してください。\n"
#define TEXT_KIT_EXISTS "%s: 既にあるので上書きしません。名前を変えるか消してから、もう一度どうぞ。\n"
// Asked in a console window of its own before a dropped picture replaces a file (its name, %s)
#define TEXT_KIT_ASK_REPLACE "%s は既にあります。置き換えますか？ (y/n、Enter だけなら置き換えません): "
// A name Windows keeps for a device in every folder
#define TEXT_KIT_DEVICE_NAME \
  "%s: CON・PRN・AUX・NUL・CONIN$・CONOUT$・COM1 から COM9・LPT1 から LPT9 などは Windows が機器に使う名前なので、スキンの名前にできません。名前を変えてください。\n"
#define TEXT_KIT_CANNOT_WRITE "%s: 書き込めません。出力先のフォルダがあり、書き込めるかを確かめてください。\n"
// A file that is not a BMP, but a picture the kit can convert (a PNG named .bmp)
#define TEXT_KIT_NOT_BMP \
  "%s: 中身が BMP ではない画像です。このファイルを perchskin.exe にドロップすると、Perchling が読める BMP に変換します（コマンドでは perchskin convert）。\n"
// A file that nothing reads as a picture
#define TEXT_KIT_NO_PICTURE \
  "%s: 画像ではありません。スキンにするには、画像を作ったプログラムで PNG か BMP として保存してください。\n"
#define TEXT_KIT_BAD_HEADER \
  "%s: BMP の見出しが壊れています。画像を作ったプログラムで BMP として保存し直してください。\n"
#define TEXT_KIT_BAD_SIZE \
  "%s: 幅か高さが 0 以下です。画像を作ったプログラムで BMP として保存し直してください。\n"
#define TEXT_KIT_UNSUPPORTED \
  "%s: この形式の BMP（%d ビット、圧縮 %u）は Perchling で読めません。このファイルを perchskin.exe にドロップすると、Perchling が読める BMP に変換します（コマンドでは perchskin convert）。\n"
#define TEXT_KIT_TRUNCATED "%s: ファイルが途中で切れています。保存かコピーをやり直してください。\n"
#define TEXT_KIT_LOAD_FAILED \
  "%s: Perchling と同じ方法では読み込めませんでした。このファイルを perchskin.exe にドロップすると、Perchling が読める BMP に変換します（コマンドでは perchskin convert）。\n"
// A skin at a path too long for the loader, which could not be copied to the temporary folder to
// be loaded from there: not the skin's fault.
#define TEXT_KIT_NO_COPY \
  "%s: パスが長いので一時フォルダにコピーして調べようとしましたが、コピーできませんでした（スキンのせいではありません）。一時フォルダ（TEMP）のパスが短く書き込めるかを確かめるか、スキンを短いパスのフォルダに置いてから調べてください。\n"
// the path the skin has in Perchling's skin folder, its length in bytes of the system's code
// page, the most Perchling opens
#define TEXT_KIT_PATH_TOO_LONG \
  "%s: パスが長すぎて Perchling では開けません（%u バイト、%d バイトまで）。名前を短くするか、Perchling のフォルダを短いパスのフォルダに移してください。\n"

// A conversion: input (%s), output (%s), pixels made transparent (%u), the kept magenta's red,
// green and blue (%d,%d,%d), magenta pixels kept (%u).
#define TEXT_KIT_CONVERTED \
  "%s を %s に変換しました。透明にしたドット %u、(%d,%d,%d) にして残したマゼンタのドット %u。\n"
// the transparent colour's red, green and blue
#define TEXT_KIT_OPAQUE_PICTURE \
  "  透明な部分のない画像なので、マゼンタ (%d,%d,%d) のドットをそのまま透明にしました。\n"
// A picture without transparency or magenta whose plain background was made transparent: the
// background's red, green and blue.
#define TEXT_KIT_BACKGROUND_KEYED \
  "  透明な部分もマゼンタもないので、周りの背景の色 (%d,%d,%d) を、周りとつながったところだけ透明にしました（線で囲まれた中の同じ色は残ります）。\n"
// A picture shrunk to fit half a screen: its width and height, then the skin's.
#define TEXT_KIT_SHRUNK "  大きいので、%d × %d ドットから %d × %d ドットに縮めました（縦横の比はそのままです）。\n"
// After the report on a dropped picture that would be unusable as a skin.
#define TEXT_KIT_NOT_WRITTEN \
  "  スキンは書き込んでいません（フォルダはそのままです）。直してから、もう一度ドロップしてください。\n"
// After a dropped picture became a usable skin: the way through Perchling's menu to it (%s), its
// steps joined by TEXT_KIT_MENU_ARROW, the menu's items in the menu's words (res/texts.h).
#define TEXT_KIT_NEXT_STEP "  次は Perchling で %s を選んでください。\n"
// The same beside the picture: its file name (%s), then the way through the menu (%s).
#define TEXT_KIT_NEXT_STEP_COPY \
  "  次は %s を Perchling.exe のあるフォルダの skin フォルダにコピーし、Perchling で %s を選んでください。\n"
#define TEXT_KIT_RIGHT_CLICK "右クリック"
#define TEXT_KIT_MENU_ARROW " → "

// The report of a check: the file (%s), then its facts, then one line per finding.
#define TEXT_KIT_REPORT_FILE "%s\n"
// width, height, bits per pixel, compression's name
#define TEXT_KIT_REPORT_FORMAT "  大きさ %d × %d ドット、%d ビット、圧縮 %s\n"
#define TEXT_KIT_COMPRESSION_NONE "なし"
#define TEXT_KIT_COMPRESSION_RLE8 "RLE8"
#define TEXT_KIT_COMPRESSION_RLE4 "RLE4"
#define TEXT_KIT_COMPRESSION_BITFIELDS "BITFIELDS"
// share cut out in per cent, whole and tenths
#define TEXT_KIT_REPORT_CUT "  透明な部分 %u.%u %%\n"
// rectangles, the count that makes it slow, the count that hides it
#define TEXT_KIT_REPORT_RECTS \
  "  形の四角形 %u 個: 形が細かいほど増え、少ないほど軽く動きます（%d 個から動くウィンドウに遅れ、%d 個からは表示されないことがあります）\n"
// Said instead of every finding on the pixels, which Perchling cannot read as they are stored.
#define TEXT_KIT_TOP_DOWN \
  "  警告: 上から順にドットを保存した BMP です。Perchling はこの並びのドットを読めないので、透明な部分や形は調べていません。このファイルを perchskin.exe にドロップすると変換します（コマンドでは perchskin convert）。\n"
// width, height, the widest and the tallest picture that does not warn, the size a drop shrinks
// it to
#define TEXT_KIT_LARGE \
  "  警告: 大きな画像です（%d × %d ドット）。幅 %d ドット、高さ %d ドットを超えると画面を大きく覆います。元の画像を perchskin.exe にドロップすると、%d × %d ドットに縮めます。\n"
// Neither transparency nor magenta: what to do.
#define TEXT_KIT_NOTHING_CUT \
  "  警告: 透明な部分がないので、ウィンドウは四角形のままです。背景を透明にした PNG で保存するか、背景を一色で塗って（ペイントなら白いキャンバスのままで構いません）、その画像を perchskin.exe にドロップしてください。\n"
// The same when the border is one colour, which a drop makes transparent: its red, green, blue.
#define TEXT_KIT_NOTHING_CUT_PLAIN \
  "  警告: 透明な部分がないので、ウィンドウは四角形のままです。元の画像を perchskin.exe にドロップすると、周りの背景の色 (%d,%d,%d) を透明にします。\n"
#define TEXT_KIT_ALL_CUT \
  "  使えません: すべてのドットが透明なので、何も表示されず、右クリックもできません。\n"
#define TEXT_KIT_SLOW_SHAPE \
  "  警告: 形の四角形が多すぎます。透明なドットが細かく混ざると増えます。動くウィンドウに遅れてついて行くことがあり、もっと多いと表示と描き直しも遅れます。\n"
#define TEXT_KIT_HIDDEN_SHAPE \
  "  使えません: 形の四角形が多すぎます。表示までに何十秒もかかるか、まったく表示されないことがあります。\n"
// how many near-magenta pixels, then the first coordinates, each as TEXT_KIT_POINT
#define TEXT_KIT_FRINGE \
  "  警告: マゼンタに近いのに透明にならないドットが %u 個あります（縁どり）。位置（左上から）: %s\n"
// What to do about a fringe: for a BMP (or any picture but a JPEG), and for a picture that was a
// JPEG.
#define TEXT_KIT_FRINGE_ADVICE \
  "  BMP を変換しても縁どりは消えません。背景を透明にした PNG で保存して、それを perchskin.exe にドロップしてください（コマンドでは perchskin convert）。縁をなめらかにしない設定（アンチエイリアスなし）で描いても消えます。\n"
#define TEXT_KIT_FRINGE_JPEG \
  "  JPEG は色が少しずつにじむので、マゼンタが正確な色のまま残りません。PNG で描くか PNG で保存し直して、それを perchskin.exe にドロップしてください。\n"
#define TEXT_KIT_POINT "(%d, %d)"
#define TEXT_KIT_POINT_SEPARATOR " "
#define TEXT_KIT_MORE_POINTS " ..."
// the rows that overlap the title bar
#define TEXT_KIT_FLOATS \
  "  警告: 下から %d ドットに不透明なドットがありません。タイトルバーに届かず、浮いて見えます。\n"
// the name's length in bytes, the most that fits
#define TEXT_KIT_NAME_TOO_LONG \
  "  使えません: 名前が長すぎます（%u バイト、%d バイトまで）。スキンの一覧に載らないので、短くしてください。\n"
#define TEXT_KIT_NAME_CODE_PAGE \
  "  使えません: 名前に、この Windows では扱えない文字があります。名前を変えてください。\n"
#define TEXT_KIT_NAME_EMPTY "  使えません: .bmp を除くと名前が残りません。名前を付けてください。\n"
#define TEXT_KIT_NAME_WILDCARD "  使えません: 名前に ? か * があります。名前を変えてください。\n"
#define TEXT_KIT_NAME_NOT_BMP \
  "  使えません: 拡張子が .bmp ではないので、スキンの一覧に載りません。perchskin.exe にドロップすると BMP に変換します（コマンドでは perchskin convert）。\n"
// the most names the menu lists
#define TEXT_KIT_NOT_LISTED \
  "  使えません: skin フォルダのスキンが多すぎて、この名前はスキンの一覧に載りません（名前の順に最初の %d 個だけが載ります）。使わないスキンを skin フォルダから消してください。\n"
#define TEXT_KIT_VERDICT_FINE "  判定: 問題ありません。\n"
#define TEXT_KIT_VERDICT_WARNINGS "  判定: 使えますが、警告があります。\n"
#define TEXT_KIT_VERDICT_UNUSABLE "  判定: このままでは使えません。\n"

// When the kit has a console window of its own (pictures dropped on it), it waits before closing.
#define TEXT_KIT_PRESS_ENTER "Enter キーを押すと閉じます。"
