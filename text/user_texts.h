// The texts the user reads, each named once and used by name: the table's
// labels, the status bar, the About and save dialogs, and every message box
// with its caption. "%s" stands for a service's display name. The menu, the
// dialogs and the toolbar's tooltips are in the resource file; no other
// source spells a text for the user (scripts/check_texts.py).
#pragma once

namespace quorvel {

// Every build compiles these as code page 932 bytes (the fuzz build from a
// copy written as escapes): "ソ" is 0x83 0x5C there.
static_assert(sizeof("ソ") == 3 && "ソ"[1] == '\\', "the texts are code page 932 bytes");

// ---- The service table: the main list, the restore dialog, the saved list
// and the history's records (catalogue/service_row.cpp)

inline constexpr const char* COLUMN_HEADERS[] = {
    "名前", "説明", "状態", "スタートアップの種類",
    "ログオン", "パス", "内部名", "種別",
};

// States; a stopped service's is the empty text.
inline constexpr char RUNNING[] = "開始";
inline constexpr char START_PENDING[] = "開始中";

// Start-up types.
inline constexpr char BOOT_START[] = "ブート";
inline constexpr char SYSTEM_START[] = "システム";
inline constexpr char AUTO_START[] = "自動";
inline constexpr char DEMAND_START[] = "手動";
inline constexpr char DISABLED_START[] = "無効";

// Kinds: the process or driver kind, then the additions.
inline constexpr char OWN_PROCESS[] = "独自プロセス";
inline constexpr char SHARE_PROCESS[] = "共有プロセス";
inline constexpr char KERNEL_DRIVER[] = "デバイスドライバ";
inline constexpr char FILE_SYSTEM_DRIVER[] = "ファイルシステムドライバ";
inline constexpr char INTERACTIVE[] = "(対話許可)";
// A per-user service: the template the system copies for each user who
// signs in, and such a copy.
inline constexpr char USER_TEMPLATE[] = "(ユーザー別テンプレート)";
inline constexpr char USER_INSTANCE[] = "(ユーザー別インスタンス)";

// ---- The main window (app/)

// The status bar while services may be missing from the list.
inline constexpr char LIST_INCOMPLETE[] =
    "サービスの一覧を最後まで読み取れなかったため、表示されていないサービスがあるかもしれません。"
    "「最新の情報に更新」でやり直してください。";

// The About dialog: this and the version text, then these lines.
inline constexpr char ABOUT_VERSION_LABEL[] = "quorvel Version ";
inline constexpr char ABOUT_LINES[] =
    "\r\nサービスの削除と復活"
    "\r\n削除履歴は .his に保存"
    "\r\n管理者権限で動作";

// The save dialog's two description and pattern pairs, ended by an extra
// zero byte. The spacing of the two descriptions differs on purpose.
inline constexpr char SAVE_LIST_FILE_TYPES[] =
    "テキスト (カンマで区切られたファイル)( *.csv)\0*.csv\0"
    "テキスト (タブで区切られたファイル) (*.txt)\0*.txt\0";

// Why the program does not start (WinMain).
inline constexpr char START_UP_CAPTION[] = "Error";
inline constexpr char PLATFORM_REFUSED[] = "Windows NT/2000/XP で起動してください。";
inline constexpr char NO_EXECUTABLE_PATH[] =
    "実行ファイルの場所を取得できないため、起動できません。";
inline constexpr char NO_WINDOW[] = "ウィンドウを作成できませんでした。";

// ---- The operations' message boxes (operations/)

// Captions.
inline constexpr char ERROR_CAPTION[] = "エラー";
inline constexpr char DELETE_CAPTION[] = "削除";
inline constexpr char CONFIRMATION_CAPTION[] = "削除の確認";
inline constexpr char RESTORED_CAPTION[] = "復活";
inline constexpr char RESTORE_CONFIRMATION_CAPTION[] = "復活の確認";
inline constexpr char START_CAPTION[] = "開始";
inline constexpr char STOP_CAPTION[] = "停止";

// Deletion: refusals, questions and the outcome.
inline constexpr char DRIVER_REFUSED[] = "%s はデバイスドライバのため削除できません。";
inline constexpr char SYSTEM_QUESTION[] =
    "%s はシステム関係のサービスと思われます。\r\n"
    "システムが起動できなくなる等の不具合が発生する可能性があります。\r\n"
    "削除してもよろしいですか？";
inline constexpr char DEPENDENTS_REFUSED[] = "%s に依存するサービスがあるため削除できません。";
inline constexpr char DEPENDENTS_UNKNOWN[] =
    "%s に依存するサービスがあるかどうかを確かめられないため、削除できません。";
inline constexpr char LOAD_ORDER_QUESTION[] =
    "%s にはロード順序または依存関係が設定されています。削除しますか？";
inline constexpr char DEPENDENCIES_UNKNOWN[] =
    "%s のロード順序と依存関係を確かめられないため、削除できません。";
inline constexpr char CONFIRMATION[] = "サービス名 %s を削除しますか？";
inline constexpr char DELETED[] = "サービス名 %s を削除しました";
inline constexpr char NOT_DELETED[] = "サービス名 %s を削除できませんでした";
inline constexpr char NOT_SAVED[] =
    "%s の削除履歴を保存できないため、削除を中止しました。\r\n"
    "履歴ファイルに書き込めるか確かめてください。";
inline constexpr char RECORD_NOT_TAKEN_BACK[] =
    "削除の前に保存した記録を履歴ファイルから取り除けなかったため、記録が履歴に残っています。";
// The snapshot could not be saved: this, then the advice for the cause.
inline constexpr char SNAPSHOT_NOT_SAVED[] =
    "%s のレジストリ設定を保存できないため、削除を中止しました。\r\n";
inline constexpr char FOLDER_ADVICE[] =
    "履歴ファイルのあるフォルダーに書き込めるか確かめてください。";
inline constexpr char KEY_ADVICE[] =
    "サービスのレジストリ キーのうち、次のキーまたはその値を読み取れません。"
    "管理者として実行しているか、ほかのプログラムがキーを変更していないか確かめてください。\r\n";
inline constexpr char NAME_ADVICE[] =
    "サービスのレジストリ キーに、.reg ファイルに書けない名前 (改行などを含む名前) の"
    "キーまたは値があります。";
inline constexpr char CONFIG_UNREADABLE[] =
    "%s の現在の構成を読み取れないため、削除できません。\r\n"
    "削除履歴には削除するときの構成を記録するため、読み取れないままでは削除しません。";

// Restoration.
inline constexpr char RESTORED_TEXT[] = "サービス名 %s を復活しました";
inline constexpr char RESTORE_FAILED_TEXT[] = "%s の復活に失敗しました。";
// Added to the failure text when the name is held by a service marked for
// deletion.
inline constexpr char MARKED_FOR_DELETE_TEXT[] =
    "同じ名前のサービスが削除待ちのまま残っているため、"
    "そのサービスを開いているプログラム (サービス管理ツールなど) を閉じるか、"
    "Windows を再起動してからやり直してください。";
// After the success message: what of the snapshot could not be brought
// back, one a line after this text: a value by its key's path and name (a
// key's unnamed value as DEFAULT_VALUE_NAME), with the reason when it has
// one, or the snapshot file that could not be used.
inline constexpr char PARTLY_RESTORED_TEXT[] =
    "%s は復活しましたが、次の設定は元に戻せませんでした。";
inline constexpr char DEFAULT_VALUE_NAME[] = "(既定)";
inline constexpr char DIFFERS_FROM_RECORD[] = " (記録と異なるため使いません)";
inline constexpr char BAD_DESCRIPTOR[] = " (正しいセキュリティ記述子ではありません)";
inline constexpr char SNAPSHOT_UNUSABLE[] = " (読み込めません)";
// When the record's snapshot cannot be read now, or names a key or value
// twice: whether to restore from the record alone (No, the default,
// changes nothing). The file or folder follows on a line of its own, then
// the advice.
inline constexpr char SNAPSHOT_UNREADABLE_QUESTION[] =
    "%s のレジストリ設定を保存したファイル (スナップショット) を今は読み込めません。"
    "ほかのプログラム (ウイルス対策ソフト、バックアップなど) が開いているか、"
    "フォルダーを読み取れない可能性があります。";
inline constexpr char SNAPSHOT_UNREADABLE_ADVICE[] =
    "一覧の内容だけで復活しますか？ スナップショットにしかない設定 (サービス DLL など) は"
    "戻らず、スナップショットのファイルはそのまま残ります。\r\n"
    "「いいえ」を選ぶと何も変更しません。しばらくしてからやり直してください。";
// The 32-bit program on 64-bit Windows, before re-creating.
inline constexpr char WOW64_QUESTION[] =
    "このプログラムは 32 ビット版です。64 ビット版 Windows では、%s は 32 ビットの"
    "サービスとして作り直され、正しく動かないことがあります。\r\n"
    "64 ビット版の quorvel で復活することをお勧めします。このまま続けますか？";

// The snapshot and the history file after a restoration or a failed
// deletion. A snapshot kept, set aside under the name on the next line:
inline constexpr char SNAPSHOT_KEPT_TEXT[] =
    "スナップショットは削除せず、次のファイルとして残しました。";
// A snapshot whose record has gone could be neither deleted nor set aside;
// its path follows on the next line.
inline constexpr char SNAPSHOT_LEFT_TEXT[] =
    "スナップショットのファイルを削除も名前の変更もできなかったため、元の名前のまま残っています。"
    "同じサービスを次に削除する前に、このファイルをフォルダーの外へ移してください。";
// The service is back but its record stayed in the history file; the
// advice follows, then the file on the next line. Deletions give the advice
// too.
inline constexpr char HISTORY_NOT_UPDATED_TEXT[] =
    "%s の記録を履歴ファイルから取り除けなかったため、記録が履歴に残っています。";
inline constexpr char HISTORY_FILE_ADVICE[] =
    "ほかのプログラムが履歴ファイルを開いていないか、書き込めるか確かめてください。";

// Start and stop.
inline constexpr char START_MESSAGE[] = "%s を開始しました";
inline constexpr char STOP_MESSAGE[] = "%s を停止しました";

}  // namespace quorvel
