// The table of setupcheck's texts and the filling of their arguments. The English texts are the
// ones scripts and tests read (under LC_ALL=C); the Japanese ones are for the publisher reading the
// report. Keys, file names, quoted values and command lines stay as written in both.
#include "setupcheck/texts.h"

#include <cstring>
#include <iterator>
#include <string_view>

namespace setupcheck {

namespace {

using enum TextId;

constexpr TextRow kTexts[] = {
    {Warning, "warning", "警告"},
    {Error, "error", "エラー"},
    {NoFindings, "no findings", "指摘はありません"},
    {OneWarning, "1 warning", "警告 1 件"},
    {Warnings, "{1} warnings", "警告 {1} 件"},
    {OneError, "1 error", "エラー 1 件"},
    {Errors, "{1} errors", "エラー {1} 件"},
    {WarningsAndErrors, "{1}, {2}", "{1}、{2}"},

    {Usage,
     "usage: setupcheck [--plan DIR] [--pc9821] CD_FOLDER\n"
     "       setupcheck [--plan DIR] [--pc9821] SCRIPT_FILE\n"
     "       setupcheck --to-sjis UTF8_FILE SETUP_INI\n"
     "  CD_FOLDER    the CD-ROM image folder that holds setup.ini\n"
     "  SCRIPT_FILE  a script checked as the setup.ini of the folder it lies in\n"
     "  --plan DIR   print the installation into DIR (an empty DIR takes the script's DIR)\n"
     "  --pc9821     install as a PC-9821 machine whose user says yes when asked\n"
     "  --to-sjis    convert a UTF-8 script to Shift-JIS with CR LF line ends; stops at a\n"
     "               character Shift-JIS lacks, naming it, and writes nothing\n"
     "  --help       print this text\n"
     "  --version    print the version of setupcheck and of the installer it checks for\n"
     "Exit status: 0 nothing found, 1 warnings, 2 errors.\n",
     "使い方: setupcheck [--plan DIR] [--pc9821] CD_FOLDER\n"
     "        setupcheck [--plan DIR] [--pc9821] SCRIPT_FILE\n"
     "        setupcheck --to-sjis UTF8_FILE SETUP_INI\n"
     "  CD_FOLDER    setup.ini のある CD-ROM イメージのフォルダ\n"
     "  SCRIPT_FILE  置かれたフォルダの setup.ini として調べるスクリプト\n"
     "  --plan DIR   DIR へのインストールの内容を表示する (DIR が空ならスクリプトの DIR)\n"
     "  --pc9821     PC-9821 の機種で、問われたら「はい」と答えたものとしてインストールする\n"
     "  --to-sjis    UTF-8 のスクリプトを Shift-JIS、CR LF 改行に変換する。Shift-JIS にない\n"
     "               文字があれば、その文字を示して止まり、何も書き出さない\n"
     "  --help       この説明を表示する\n"
     "  --version    setupcheck と、検査の対象のインストーラのバージョンを表示する\n"
     "終了コード: 0 指摘なし、1 警告あり、2 エラーあり\n"},
    {PlanNeedsWindowsFolder,
     "setupcheck: --plan takes the Windows folder the installation would go to, such as C:\\Games\\Hoshi, not "
     "\"{1}\" (or \"\" for the script's DIR)",
     "setupcheck: --plan にはインストール先の Windows のフォルダを C:\\Games\\Hoshi のように指定します。"
     "\"{1}\" は使えません (スクリプトの DIR を使うには \"\")"},

    {CannotRead, "setupcheck: cannot read {1}", "setupcheck: {1} を読み込めません"},
    {CannotWrite, "setupcheck: cannot write {1}", "setupcheck: {1} に書き込めません"},
    {ConversionStopped, "{1}:{2}; {3} is not written", "{1}:{2}。{3} は書き出していません"},
    {ByteNotUtf8, "{1}:{2}: the byte {3} is not UTF-8: save the file as UTF-8",
     "{1}:{2}: バイト {3} は UTF-8 ではありません。ファイルを UTF-8 で保存してください"},
    {NoShiftJisForm, "{1}:{2}: the character \"{3}\" ({4}) has no Shift-JIS form: replace it",
     "{1}:{2}: 文字 \"{3}\" ({4}) は Shift-JIS にありません。別の文字に置き換えてください"},

    {NoSuchFolder, "no such folder", "フォルダがありません"},
    {NoSuchCdFolder, "no such CD image folder", "CD イメージのフォルダがありません"},
    {NoScriptInFolder, "no {1} in the CD image folder", "CD イメージのフォルダに {1} がありません"},
    {CannotReadScript, "cannot read the script", "スクリプトを読み込めません"},
    {NameNotShiftJis, "\"{1}\": the name cannot be written in Shift-JIS, so the installer never sees it (rename it)",
     "\"{1}\": Shift-JIS で書けない名前なので、インストーラからは見えません (名前を変えてください)"},
    {SymbolicLink, "\"{1}\" is a symbolic link: not followed (a CD holds no links; put the file itself there)",
     "\"{1}\" はシンボリックリンクなので、たどりません (CD にリンクは置けません。ファイルそのものを置いてください)"},
    {BadImageName, "the image's entry {1} has a name Windows does not allow: not checked",
     "イメージの {1} は Windows で使えない名前なので、調べていません"},

    {DryRunShowsError, "the dry run into {1} shows the error \"{2}\"",
     "{1} への模擬インストールでエラー \"{2}\" が表示されます"},
    {DryRunStops, "the dry run stops before the end{1}{2}", "{1}模擬インストールが途中で止まります{2}"},
    {DryRunDoesNotStart, "the dry run does not start{1}{2}", "{1}模擬インストールが始まりません{2}"},
    {AfterBox, " after \"{1}\"", "\"{1}\" の表示の後、"},
    {AsPc9821, " (as a PC-9821)", " (PC-9821 として)"},
    {DefaultFolderRefused, "the installer refuses the default folder {1}{2} (the dry run uses {3} instead)",
     "インストーラは既定のフォルダ {1} を受け付けません{2}。模擬インストールでは代わりに {3} を使います"},
    {RefusalText, ": \"{1}\"", " (\"{1}\" と表示されます)"},

    {SavedAsUtf8,
     "the script is saved as UTF-8, not Shift-JIS (CP932): the installer shows its Japanese text garbled; save it as "
     "Shift-JIS, or convert it with iconv -f UTF-8 -t CP932 setup.ini > setup-sjis.ini",
     "スクリプトが Shift-JIS (CP932) ではなく UTF-8 で保存されています。インストーラでは日本語が文字化けします。"
     "Shift-JIS で保存し直すか、iconv -f UTF-8 -t CP932 setup.ini > setup-sjis.ini で変換してください"},
    {LineNotShiftJis,
     "this line is not Shift-JIS (CP932) text: the installer reads its bytes as other characters; save the script "
     "as Shift-JIS",
     "この行は Shift-JIS (CP932) のテキストではありません。インストーラは別の文字として読みます。"
     "スクリプトを Shift-JIS で保存してください"},
    {MarkBeforeHeader,
     "a byte-order mark stands before the header: the installer does not see this section (save the file as "
     "Shift-JIS without a BOM)",
     "見出しの前にバイトオーダーマークがあるので、インストーラはこのセクションを読みません "
     "(BOM なしの Shift-JIS で保存してください)"},
    {TextBeforeHeader, "text stands before the header on its line: the installer does not see this section",
     "同じ行の見出しの前に文字があるので、インストーラはこのセクションを読みません"},
    {NoSetupSection, "no [SETUP] section: the installer sees an empty script",
     "[SETUP] セクションがありません。インストーラには空のスクリプトに見えます"},
    {HiddenSectionOneEntry, "this section is hidden by the [SETUP] at line {1}: its 1 entry is never read",
     "このセクションは {1} 行目の [SETUP] に隠れ、その 1 項目は読まれません"},
    {HiddenSection, "this section is hidden by the [SETUP] at line {1}: its {2} entries are never read",
     "このセクションは {1} 行目の [SETUP] に隠れ、その {2} 項目は読まれません"},
    {SectionNeverRead, "section never read: the installer reads only [SETUP]",
     "読まれないセクションです。インストーラが読むのは [SETUP] だけです"},
    {MarkStartsFile, "a byte-order mark starts the file: save it as Shift-JIS without one",
     "ファイルの先頭にバイトオーダーマークがあります。BOM なしの Shift-JIS で保存してください"},
    {BeforeFirstSection, "before the first section: never read", "最初のセクションより前なので、読まれません"},
    {NoEqualsSign, "no \"=\" on this line: it is not an entry and is never read",
     "この行には \"=\" がないので、項目ではなく、読まれません"},
    {GivenAgain, "given again at line {1}: this value is never read",
     "{1} 行目にもう一度書かれているので、この値は読まれません"},
    {NulByte, "a NUL byte: the installer reads nothing from here on",
     "NUL バイトがあります。インストーラはここから先を読みません"},

    {ListKeyWithoutNumber, "never read: list keys carry a number ({1}1, {1}2, ...)",
     "読まれません。リストのキーには番号が付きます ({1}1, {1}2, ...)"},
    {UnknownKey, "unknown key, never read{1}", "知らないキーなので、読まれません{1}"},
    {DidYouMean, " (did you mean {1}?)", " ({1} の間違いではありませんか?)"},
    {NoDesktopShortcut, "has no effect: the installer makes no desktop shortcut",
     "効果はありません。インストーラはデスクトップにショートカットを作りません"},
    {NothingStarted, "has no effect: the installer starts nothing after installing",
     "効果はありません。インストーラはインストール後に何も起動しません"},
    {NotANumber, "{1} is not a number: read as 0", "{1} は数値ではないので、0 として読まれます"},
    {SizeTooLarge, "{1} MB: 2048 MB or more is beyond a signed 32-bit byte count",
     "{1} MB: 2048 MB 以上は符号付き 32 ビットのバイト数に収まりません"},
    {SizeNegative, "negative: the free space is not checked", "負の値なので、空き容量は調べられません"},
    {DirectXTooHigh, "no Windows reports a DirectX above {1}: the installation never goes ahead",
     "DirectX {1} より上を報告する Windows はないので、インストールが先に進みません"},
    {EmptyValueEndsList, "empty value ends the {1} list: the {2} keys after it are never read",
     "空の値で {1} のリストが終わるので、後の {2} 個のキーは読まれません"},
    {AfterEmptyValue, "never read: the empty {1} at line {2} ends the {3} list",
     "読まれません。{2} 行目の空の {1} で {3} のリストが終わっています"},
    {ListEmpty, "never read: the {1} list is empty because {2} is missing",
     "読まれません。{2} がないので、{1} のリストは空です"},
    {ListEndsEarly, "never read: the {1} list ends at {2} because {3} is missing",
     "読まれません。{3} がないので、{1} のリストは {2} で終わっています"},
    {ListKeyMisnumbered, "never read: list keys are numbered from 1 without leading zeros",
     "読まれません。リストのキーの番号は 1 から、先頭に 0 を付けずに書きます"},
    {NoTitle,
     "no title: captions are empty and the installed-programs entry would be written into the shared Uninstall key "
     "itself, over every other program's",
     "タイトルがありません。ウィンドウのタイトルが空になり、インストール済みプログラムの項目は共有の Uninstall "
     "キーそのものに書かれて、ほかのすべてのプログラムの項目を上書きします"},
    {NoRecordName, "no record name: the installation stops when it writes the uninstall record",
     "記録ファイルの名前がありません。アンインストール記録を書くところでインストールが止まります"},

    {StrayMacro,
     "\"{1}\" is a macro here too: {2} expands to {3} (the installer has no way to write the character itself)",
     "ここでも \"{1}\" はマクロです: {2} は {3} に展開されます (インストーラにはこの文字そのものを書く方法が"
     "ありません)"},
    {NoDestination, "no destination folder: the installer copies nothing for this line",
     "コピー先のフォルダがありません。インストーラはこの行では何もコピーしません"},
    {DestinationNotFullPath,
     "destination {1} is not a full path: the files land relative to the installer's current folder",
     "コピー先 {1} はフルパスではありません。ファイルはインストーラのカレントフォルダを基準に置かれます"},
    {TextAfterFields, "text after the third field is ignored", "3 番目の欄より後の文字は無視されます"},
    {TextAfterRegFields, "text after the third field is ignored (a value cannot hold a comma)",
     "3 番目の欄より後の文字は無視されます (値にコンマは書けません)"},
    {UnknownRoot, "root {1} selects HKEY_CURRENT_USER (only HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER are known)",
     "ルート {1} は HKEY_CURRENT_USER になります (使えるのは HKEY_LOCAL_MACHINE と HKEY_CURRENT_USER だけです)"},
    {ProtectedKey,
     "the uninstaller refuses to delete the key {1} (a shared or top-level key): it stays after uninstalling",
     "アンインストーラはキー {1} (共有のキーか最上位のキー) を削除しないので、アンインストール後も残ります"},
    {UnknownRegKeyword, "unknown keyword {1}: the line is ignored (open, string, long)",
     "知らないキーワード {1} なので、この行は無視されます (open, string, long のどれか)"},
    {ValueBeforeOpen, "a value before any \"open\" line: the installation stops with a registry error",
     "\"open\" の行より前に値があります。インストールはレジストリのエラーで止まります"},
    {LongNotANumber, "{1} is not a number: the installation stops with a registry error",
     "{1} は数値ではありません。インストールはレジストリのエラーで止まります"},
    {CfgWithoutName, "CFG lines without CFGNAME: no configuration file is written",
     "CFGNAME のない CFG 行です。設定ファイルは書かれません"},
    {CfgLineTooLong, "{1} bytes after expansion: longer than {2} bytes",
     "展開すると {1} バイトで、{2} バイトより長くなります"},
    {NoShortcutTarget, "no target: the shortcut points at the destination folder",
     "リンク先がありません。ショートカットはインストール先のフォルダを指します"},
    {NoShortcutName, "no name: the shortcut file is named \".lnk\"",
     "名前がありません。ショートカットのファイル名は \".lnk\" になります"},
    {ShortcutOutsideTitle, "folder {1} differs from TITLE {2}: the uninstaller leaves this shortcut behind",
     "フォルダ {1} が TITLE {2} と違うので、アンインストーラはこのショートカットを残します"},
    {RemoveWildcards, "wildcards are not expanded: this value deletes nothing",
     "ワイルドカードは展開されないので、この値では何も削除されません"},
    {RemoveNotFullPath, "{1} is not a full path: the uninstaller does not delete it",
     "{1} はフルパスではないので、アンインストーラは削除しません"},

    {NotCopied, "{1} is {2}: the installer does not copy it", "{1} は{2}なので、インストーラはコピーしません"},
    {KindHiddenSystem, "a hidden system file", "隠しシステムファイル"},
    {KindHidden, "hidden", "隠しファイル"},
    {KindSystem, "a system file", "システムファイル"},
    {KindNotPlain, "no plain file", "通常のファイル以外"},
    {MatchesNoFile, "{1} {2} matches no file{3} (looked for {4})",
     "{1} {2} に当てはまる{3}ファイルがありません (探したもの: {4})"},
    {Source, "source", "コピー元"},
    {Pc9821Source, "PC-9821 source", "PC-9821 用のコピー元"},
    {ThatIsCopied, " that is copied", "コピーされる"},
    {SizeTooSmall,
     "the files to copy total {1} bytes ({2} MB rounded up) but SIZE asks for {3} MB: the free-space check asks "
     "for too little",
     "コピーするファイルは合計 {1} バイト (切り上げて {2} MB) ですが、SIZE は {3} MB です。空き容量の確認で"
     "求める量が足りません"},
    {SrcNotSet,
     "SRC is not set, and its default \"\\\" makes every source path begin with \"\\\\\": no COPY source is found; "
     "write SRC=@: for the CD-ROM's root, or SRC=@:\\DATA for a folder on it",
     "SRC がなく、既定の \"\\\" ではコピー元のパスがすべて \"\\\\\" で始まるので、COPY のコピー元が見つかりません。"
     "CD-ROM のルートなら SRC=@:、CD-ROM のフォルダなら SRC=@:\\DATA のように書いてください"},
    {SrcIsBackslash,
     "SRC \"\\\" makes every source path begin with \"\\\\\": no COPY source is found; write SRC=@: for the "
     "CD-ROM's root, or SRC=@:\\DATA for a folder on it",
     "SRC が \"\\\" なので、コピー元のパスがすべて \"\\\\\" で始まり、COPY のコピー元が見つかりません。"
     "CD-ROM のルートなら SRC=@:、CD-ROM のフォルダなら SRC=@:\\DATA のように書いてください"},
    {ShortcutTargetNotInstalled, "the target {1} is not installed by any COPY line: the shortcut points at nothing",
     "リンク先 {1} はどの COPY 行でもインストールされないので、ショートカットの指す先がありません"},
    {CopiedAgain, "{1} is copied again (first by {2}): the later copy replaces the earlier one",
     "{1} がもう一度コピーされます (最初は {2})。後のコピーが前のものを置き換えます"},
    {NothingCopied, "no file is copied: {1}", "コピーされるファイルがありません: {1}"},
    {NoCopyLine, "the script has no COPY line", "スクリプトに COPY 行がありません"},
    {NoSourceNamesFile, "no COPY line's source names a file", "どの COPY 行のコピー元もファイルに当てはまりません"},

    {MovieNotAvi, "d.avi is no AVI movie with a video stream: the launcher starts the installer without it",
     "d.avi は映像のある AVI ムービーではありません。ランチャーはムービーなしでインストーラを起動します"},
    {MovieCodec,
     "d.avi is compressed as \"{1}\", which Windows does not ship: most machines show no movie (use uncompressed "
     "frames, Microsoft RLE or Microsoft Video 1)",
     "d.avi は Windows に入っていない \"{1}\" で圧縮されているので、多くのパソコンでムービーが表示されません "
     "(無圧縮、Microsoft RLE、Microsoft Video 1 のどれかを使ってください)"},
    {MovieTooLarge, "d.avi's frames are {1} x {2}: the launcher's 640 x 480 window shows only part of them",
     "d.avi のフレームは {1} x {2} です。ランチャーの 640 x 480 のウィンドウには一部しか表示されません"},

    {PlanInstallation, "Installation into {1}", "{1} へのインストール"},
    {PlanRefused, ": refused, nothing is installed", ": 受け付けられず、何もインストールされません"},
    {PlanStopped, " (stopped before the end)", " (途中で止まります)"},
    {PlanFilesCopied, "Files copied ({1}):", "コピーされるファイル ({1}):"},
    {PlanRegistry, "Registry:", "レジストリ:"},
    {PlanDefaultValue, "(default)", "(既定)"},
    {PlanConfigFile, "Configuration file", "設定ファイル"},
    {PlanUninstallRecord, "Uninstall record", "アンインストール記録"},
    {PlanFileNotWritten, "{1} {2}: not written", "{1} {2}: 書かれません"},
    {PlanFileBytes, "{1} {2} ({3} bytes):", "{1} {2} ({3} バイト):"},
    {PlanNoCrLf, "  (no CR LF at the end)", "  (行末に CR LF なし)"},
    {PlanNoConfigFile, "Configuration file: none (no CFGNAME)", "設定ファイル: なし (CFGNAME がありません)"},
    {PlanShortcuts, "Shortcuts ({1}):", "ショートカット ({1}):"},
    {PlanShortcut, "target {1}, working folder {2}, description \"{3}\"",
     "リンク先 {1}、作業フォルダ {2}、説明 \"{3}\""},
};
static_assert(std::size(kTexts) == static_cast<std::size_t>(TextId::Count), "one row for every text");

}  // namespace

const TextRow& RowOf(TextId id) { return kTexts[static_cast<std::size_t>(id)]; }

std::string Text::In(Language language) const {
  if (id_ == TextId::Count) return literal_;
  const TextRow& row = RowOf(id_);
  const std::string_view pattern = language == Language::Japanese ? row.japanese : row.english;
  std::string text;
  // One pass over the template only: an argument holding "{1}" is never filled in itself.
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    const bool placeholder = pattern[at] == '{' && at + 2 < pattern.size() && pattern[at + 1] >= '1' &&
                             pattern[at + 1] <= '9' && pattern[at + 2] == '}';
    if (!placeholder) {
      text += pattern[at];
      continue;
    }
    const std::size_t index = static_cast<std::size_t>(pattern[at + 1] - '1');
    if (index < args_.size()) text += args_[index].In(language);
    at += 2;
  }
  return text;
}

Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* value : {lcAll, lcMessages, lang}) {
    if (value == nullptr || *value == '\0') continue;
    // "ja", "ja_JP.UTF-8", "ja_JP.eucJP", "ja.SJIS"; not a longer language code that begins so.
    const bool japanese =
        std::strncmp(value, "ja", 2) == 0 && (value[2] == '\0' || std::strchr("_.@", value[2]) != nullptr);
    return japanese ? Language::Japanese : Language::English;
  }
  return Language::English;
}

}  // namespace setupcheck
