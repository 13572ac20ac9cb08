// The program's own texts: captions and messages, in UTF-8, shown through the wide-character
// window calls so they read correctly whatever the system's ANSI code page.
#pragma once

namespace setup::text {

// Captions.
inline constexpr char kSetupCaptionSuffix[] = " セットアップ";
inline constexpr char kInstallCaption[] = "インストール";
inline constexpr char kUninstallCaption[] = "アンインストール";

// Start-up and the main dialog.
inline constexpr char kChooseFolder[] = "インストール先フォルダを指定してください。";
inline constexpr char kAskPC9821[] = "インストールする機種は PC-9821 ですか？";
inline constexpr char kUninstallFinished[] = "アンインストールが終了しました";

// Destination checks.
inline constexpr char kNetworkRefused[] = "ネットワークドライブからのインストールはできません";
inline constexpr char kEnterFolder[] = "インストール先のフォルダ名を入力してください";
inline constexpr char kBadFolderName[] = "フォルダ名が正しくありません";
inline constexpr char kDriveRootRefused[] =
    "ドライブの一番上のフォルダにはインストールはできません\r\n他のフォルダを指定してください";
inline constexpr char kNotHardDisk[] = "ハードディスク以外のドライブにはインストールできません";
inline constexpr char kNoSpaceBefore[] = "ドライブの空き容量が足りません\r\n空きが";
inline constexpr char kNoSpaceAfter[] = "MBytes必要です";
inline constexpr char kCreateFolder[] = "フォルダが存在しません\r\nフォルダを作成しますか？";
inline constexpr char kOfferDirectX[] =
    "DirectX をインストールしますか？\r\nDirectXインストール後、再度CD-ROMのSETUPを起動してください。";
inline constexpr char kBrowseTitle[] = "インストールするフォルダを選択して下さい";

// Abort questions and ends.
inline constexpr char kQuitNotInstalled[] = "インストールしていません\r\n終了しますか？";
inline constexpr char kQuitWhileInstalling[] = "インストール途中です\r\nインストールを中止しますか？";
inline constexpr char kInstallAborted[] = "インストールを中止しました";
inline constexpr char kInstallFinished[] = "インストールが終了しました";

// Step labels in the progress window.
inline constexpr char kCopyingPrefix[] = "コピー中です ";
inline constexpr char kRegistryStep[] = "レジストリ設定";
inline constexpr char kConfigFileStep[] = "設定ファイル作成";
inline constexpr char kStartMenuStep[] = "スタートメニューに登録";
inline constexpr char kUninstallDataStep[] = "アンインストール情報作成";
inline constexpr char kTakingBack[] = "インストールを取り消しています";

// Step failures.
inline constexpr char kRegistryFailed[] =
    "レジストリに書き込めません\r\nWindowsNT/2000/XPの場合、インストール権限のあるユーザーで実行してください";
inline constexpr char kCannotCreateBefore[] = "ファイル ";
inline constexpr char kCannotCreateAfter[] = " を作成できません";
inline constexpr char kCannotCopyBefore[] = "ファイル ";
inline constexpr char kCannotCopyAfter[] = " をコピーできません";
inline constexpr char kCannotMakeFolderBefore[] = "フォルダ ";
inline constexpr char kCannotMakeFolderAfter[] = " を作成できません";

}  // namespace setup::text
