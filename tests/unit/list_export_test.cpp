#include "export/list_export.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

// The field as it comes out of a row whose other cells are empty.
std::string first_field(const std::string& text, ExportMode mode) {
    RowTexts texts;
    texts[0] = text;
    const std::string line = export_row(texts, mode);
    const std::string rest = mode == ExportMode::tab ? "\t\t\t\t\t\t\t\r\n" : ",,,,,,,\r\n";
    EXPECT_EQ(line.substr(line.size() - rest.size()), rest);
    return line.substr(0, line.size() - rest.size());
}

TEST(ListExport, HeaderRowIsTheColumnHeadersByteForByte) {
    const std::string comma = export_header(ExportMode::comma);
    EXPECT_EQ(comma, "名前,説明,状態,スタートアップの種類,ログオン,パス,内部名,種別\r\n");
    // 名前 and 説明 in code page 932, whatever the compiler was told.
    EXPECT_EQ(comma.substr(0, 10), "\x96\xBC\x91\x4F,\x90\xE0\x96\xBE,");
    EXPECT_EQ(export_header(ExportMode::tab),
              "名前\t説明\t状態\tスタートアップの種類\tログオン\tパス\t内部名\t種別\r\n");
}

TEST(ListExport, FieldsInBothModes) {
    const std::string long_text(300, 'x');
    const struct {
        const char* name;
        std::string text;
        std::string comma;
        std::string tab;
    } cases[] = {
        {"plain", "Provides X", "Provides X", "Provides X"},
        {"comma", "Provides X, Y", "\"Provides X, Y\"", "Provides X, Y"},
        {"quotes and comma", "He said \"x, y\"", "\"He said \"\"x, y\"\"\"",
         "He said \"x, y\""},
        {"leading quote", "\"quoted\" start", "\"\"\"quoted\"\" start\"", "\"quoted\" start"},
        {"line break vanishes", "First line\r\nsecond line", "First linesecond line",
         "First linesecond line"},
        {"leading and trailing breaks", "\r\n\rmiddle\n\r", "middle", "middle"},
        {"comma after a break", "a\r\n,b", "\"a,b\"", "a,b"},
        {"only breaks", "\r\n\r\n", "", ""},
        {"empty", "", "", ""},
        {"tab kept", "a\tb", "a\tb", "a\tb"},
        {"double-byte with comma", "説明, カンマ入り", "\"説明, カンマ入り\"", "説明, カンマ入り"},
        {"longer than one piece", long_text, long_text, long_text},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(first_field(c.text, ExportMode::comma), c.comma);
        EXPECT_EQ(first_field(c.text, ExportMode::tab), c.tab);
    }
}

TEST(ListExport, EveryColumnInOrderAndEmptyCellsKeepTheirPlace) {
    const RowTexts texts = {"Name", "", "開始", "", "LocalSystem", "C:\\a b\\x.exe", "svc", ""};
    EXPECT_EQ(export_row(texts, ExportMode::comma),
              "Name,,開始,,LocalSystem,C:\\a b\\x.exe,svc,\r\n");
    EXPECT_EQ(export_row(texts, ExportMode::tab),
              "Name\t\t開始\t\tLocalSystem\tC:\\a b\\x.exe\tsvc\t\r\n");
}

TEST(ListExport, TabModeForTxtInAnyCaseOnly) {
    const struct {
        const char* path;
        ExportMode mode;
    } cases[] = {
        {"C:\\out\\LIST.TXT", ExportMode::tab},
        {"C:\\out\\list.Txt", ExportMode::tab},
        {"C:\\out\\list.csv.txt", ExportMode::tab},
        {"C:\\out\\list.csv", ExportMode::comma},
        {"C:\\out\\list.dat", ExportMode::comma},
        {"C:\\out\\list.txt.csv", ExportMode::comma},
        {"C:\\out\\list", ExportMode::comma},
        {"C:\\old.tools\\list", ExportMode::comma},
        {"C:\\old.txt\\list", ExportMode::comma},
        {"C:\\out\\list.", ExportMode::comma},
        {"C:\\out\\list.txts", ExportMode::comma},
        {"C:\\ソ\\list.txt", ExportMode::tab},  // ソ ends in the byte 0x5C
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(export_mode(c.path), c.mode);
    }
}

}  // namespace
}  // namespace quorvel
