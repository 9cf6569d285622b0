// Restorations from snapshots edited to get past what the record decides:
// a second copy of the service's key, and names the registry would end at
// a zero. Neither may bring back another program or the deletion mark.
#include <gtest/gtest.h>

#include "fakes/fake_code_page.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_prompt.h"
#include "fakes/fake_restoration.h"
#include "fakes/fake_service_manager.h"
#include "fakes/fake_system_paths.h"
#include "fakes/registry_bytes.h"
#include "history/snapshot_store.h"
#include "operations/restoration.h"

namespace quorvel {
namespace {

using testing::FakeCodePage;
using testing::FakeFileSystem;
using testing::FakePrompt;
using testing::FakeServiceManager;
using testing::FakeServiceRegistry;
using testing::FakeSystemPaths;
using testing::le32;
using testing::wide_sz;

const std::string FOLDER = "C:\\q\\quorvel.snapshots";
const std::string HISTORY = "C:\\q\\quorvel.his";
const std::string RECORD = "Foo,,開始,自動,LocalSystem,C:\\foo.exe,FooSvc,独自プロセス";
const std::string KEY_LINE = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\FooSvc]";
const std::string ZERO(1, '\0');
const std::string UNREADABLE_QUESTION =
    "Foo のレジストリ設定を保存したファイル (スナップショット) を今は読み込めません。"
    "ほかのプログラム (ウイルス対策ソフト、バックアップなど) が開いているか、"
    "フォルダーを読み取れない可能性があります。\r\n";
const std::string UNREADABLE_ADVICE =
    "\r\n\r\n一覧の内容だけで復活しますか？ スナップショットにしかない設定 (サービス DLL "
    "など) は戻らず、スナップショットのファイルはそのまま残ります。\r\n"
    "「いいえ」を選ぶと何も変更しません。しばらくしてからやり直してください。";
const std::string KEPT = "スナップショットは削除せず、次のファイルとして残しました。\r\n";

enum class Format { unicode, regedit4 };

const char* name_of(Format format) { return format == Format::unicode ? "Unicode" : "REGEDIT4"; }

// One restoration of the record, over fakes of its own.
struct Scene : testing::FakeRestoration {
    std::string snapshot;

    // The record's snapshot: its own key with a description, and after
    // that `body` (ASCII lines, zeros allowed) as a hand editor added it.
    Scene(Format format, const std::string& body) : FakeRestoration(FOLDER, HISTORY) {
        history.records = {RECORD};
        files.files[HISTORY] = RECORD + "\r\n";
        const std::string lines = KEY_LINE + "\r\n\"Description\"=\"kept\"\r\n" + body;
        if (format == Format::regedit4) {
            snapshot = FOLDER + "\\000001-FooSvc.reg";
            files.files[snapshot] = "REGEDIT4\r\n;record=" + RECORD + "\r\n\r\n" + lines;
        } else {
            EXPECT_EQ(save_snapshot(files, FOLDER, RECORD, "FooSvc", {}, snapshot),
                      SnapshotSave::saved);
            files.files[snapshot] += utf16le_bytes(widen_ascii(lines));
        }
    }

    bool restore() { return restore_service(context, history, 0); }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& box : prompt.shown) out.push_back(box.text);
        return out;
    }

    // Created from the row alone, nothing of the snapshot written, its
    // record gone and the file set aside.
    void expect_restored_from_the_row() {
        ASSERT_EQ(scm.created.size(), 1u);
        EXPECT_EQ(scm.created[0].service_name, u"FooSvc");
        EXPECT_EQ(scm.created[0].binary_path, u"C:\\foo.exe");
        EXPECT_EQ(scm.created[0].start_type, 2u);
        EXPECT_EQ(scm.created[0].service_type, 0x10u);
        EXPECT_TRUE(scm.changed.empty());
        EXPECT_TRUE(registry.keys.empty());
        EXPECT_TRUE(history.records.empty());
        EXPECT_FALSE(files.exists(snapshot));
        EXPECT_TRUE(files.exists(kept_snapshot_path(snapshot)));
    }
};

// A second copy of the service's key (in any letter case) would be written
// after the first, whose values alone were checked; a value named twice
// would go to the manager as the first and to the registry as the second.
TEST(EditedSnapshot, ASecondCopyOfAKeyOrValueAsksAndYesRestoresFromTheRow) {
    const std::string second_copies[] = {
        KEY_LINE + "\r\n\"ImagePath\"=\"C:\\\\evil.exe\"\r\n\"DeleteFlag\"=dword:00000001\r\n",
        "[HKEY_LOCAL_MACHINE\\system\\currentcontrolset\\services\\foosvc]\r\n"
        "\"DeleteFlag\"=dword:00000001\r\n",
        "\"description\"=\"other\"\r\n",
    };
    for (const Format format : {Format::unicode, Format::regedit4}) {
        for (const std::string& second : second_copies) {
            SCOPED_TRACE(second + name_of(format));
            Scene scene(format, second);
            const std::string question = UNREADABLE_QUESTION + scene.snapshot + UNREADABLE_ADVICE;

            scene.prompt.answers = {ANSWER_NO};
            EXPECT_FALSE(scene.restore());
            EXPECT_EQ(scene.texts(), std::vector<std::string>{question});
            EXPECT_EQ(scene.prompt.shown[0].caption, "復活の確認");
            EXPECT_EQ(scene.prompt.shown[0].flags, 0x134u);  // warning, Yes/No, No the default
            EXPECT_TRUE(scene.scm.log.empty());
            EXPECT_EQ(scene.history.records, std::vector<HistoryRecord>{RECORD});
            EXPECT_EQ(scene.files.files[HISTORY], RECORD + "\r\n");
            EXPECT_TRUE(scene.files.exists(scene.snapshot));

            scene.prompt.shown.clear();
            scene.prompt.answers = {ANSWER_YES};
            EXPECT_TRUE(scene.restore());
            scene.expect_restored_from_the_row();
            EXPECT_EQ(scene.texts(), (std::vector<std::string>{
                                         question, "サービス名 Foo を復活しました",
                                         KEPT + kept_snapshot_path(scene.snapshot)}));
        }
    }
}

// A name holding a zero: the registry would write "ImagePath\0x" as
// ImagePath and "Security\0" unchecked. Such a file is not read, so the
// row alone restores and the file is named and kept.
TEST(EditedSnapshot, ANameHoldingAZeroLeavesTheSnapshotUnread) {
    const std::string edits[] = {
        "\"ImagePath" + ZERO + "x\"=\"C:\\\\evil.exe\"\r\n",
        "\"DeleteFlag" + ZERO + "\"=dword:00000001\r\n",
        KEY_LINE.substr(0, KEY_LINE.size() - 1) + "\\Security]\r\n\"Security" + ZERO +
            "\"=hex:01,00,00,80,ff,ff,00,00\r\n",
    };
    for (const Format format : {Format::unicode, Format::regedit4}) {
        for (const std::string& body : edits) {
            SCOPED_TRACE(std::to_string(&body - edits) + name_of(format));
            Scene scene(format, body);
            EXPECT_TRUE(scene.restore());
            scene.expect_restored_from_the_row();
            EXPECT_EQ(scene.texts(),
                      (std::vector<std::string>{
                          "サービス名 Foo を復活しました",
                          "Foo は復活しましたが、次の設定は元に戻せませんでした。\r\n" +
                              scene.snapshot + " (読み込めません)\r\n\r\n" + KEPT +
                              kept_snapshot_path(scene.snapshot)}));
        }
    }
}

}  // namespace
}  // namespace quorvel
