#include "history/reg_file.h"

#include <gtest/gtest.h>

#include "fakes/registry_bytes.h"

namespace quorvel {
namespace {

using testing::le32;
using testing::sz;

const std::string KEY = "SYSTEM\\CurrentControlSet\\Services\\Foo";

std::string bytes_upto(int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += static_cast<char>(i);
    return out;
}

RegFile every_kind_of_value() {
    using std::string;
    RegFile file;
    file.comments = {"record=Foo,,,手動", " spaced ; comment "};
    file.keys = {
        {KEY,
         {
             {"", VALUE_SZ, sz("default")},
             {"Description", VALUE_SZ, sz("a, \"quoted\" \\ path ソース")},
             {"ImagePath", VALUE_EXPAND_SZ, sz("%SystemRoot%\\x.exe")},
             {"DependOnService", VALUE_MULTI_SZ, string("One\0Two\0\0", 9)},
             {"Start", VALUE_DWORD, le32(3)},
             {"Big", VALUE_QWORD, string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
             {"Blob", VALUE_BINARY, bytes_upto(256)},
             {"Nothing", VALUE_NONE, ""},
             {"EmptyText", VALUE_SZ, ""},
             {"EmptyBlob", VALUE_BINARY, ""},
             {"ShortDword", VALUE_DWORD, "\x01\x02"},
             {"Unterminated", VALUE_SZ, "no zero"},
             {"TwoLines", VALUE_SZ, string("one\r\ntwo\0", 9)},
             {"Inner Zero", VALUE_SZ, string("a\0b\0", 4)},
             {"Big endian", 5, le32(1)},
             {"Odd type", 0x12345678, "x"},
             {"名前\\ソ\"", VALUE_SZ, sz("表")},
         }},
        {KEY + "\\Parameters", {{"ServiceDll", VALUE_EXPAND_SZ, sz("C:\\s.dll")}}},
        {KEY + "\\Parameters\\Nested\\Deeper", {}},
        {KEY + "\\Parameters\\表示]", {{"x", VALUE_DWORD, le32(0xFFFFFFFF)}}},
    };
    return file;
}

TEST(RegFile, EveryValueComesBackByteForByte) {
    const RegFile written = every_kind_of_value();
    std::string bytes;
    ASSERT_TRUE(write_reg_file(written, bytes));
    RegFile read;
    ASSERT_TRUE(read_reg_file(bytes, read));
    EXPECT_EQ(read.comments, written.comments);
    ASSERT_EQ(read.keys.size(), written.keys.size());
    for (std::size_t k = 0; k < written.keys.size(); ++k) {
        SCOPED_TRACE(written.keys[k].path);
        EXPECT_EQ(read.keys[k].path, written.keys[k].path);
        ASSERT_EQ(read.keys[k].values.size(), written.keys[k].values.size());
        for (std::size_t v = 0; v < written.keys[k].values.size(); ++v) {
            SCOPED_TRACE(written.keys[k].values[v].name);
            EXPECT_EQ(read.keys[k].values[v], written.keys[k].values[v]);
        }
    }
}

TEST(RegFile, WritesWhatTheRegistryEditorImports) {
    RegFile file;
    file.comments = {"record=x"};
    file.keys = {{KEY,
                  {{"", VALUE_SZ, sz("d")},
                   {"Path\\\"q\"", VALUE_SZ, sz("C:\\a \"b\"")},
                   {"ソフト", VALUE_SZ, sz("ソ")},
                   {"Start", VALUE_DWORD, le32(0x1A)},
                   {"Image", VALUE_EXPAND_SZ, sz("%a%")},
                   {"Raw", VALUE_BINARY, std::string("\x00\xff", 2)},
                   {"Q", VALUE_QWORD, std::string(8, '\0')},
                   {"N", VALUE_NONE, ""}}},
                 {KEY + "\\Parameters", {}}};
    std::string bytes;
    ASSERT_TRUE(write_reg_file(file, bytes));
    // The second byte of "ソ" is 0x5C, a backslash: never escaped.
    EXPECT_EQ(bytes,
              "REGEDIT4\r\n"
              ";record=x\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Foo]\r\n"
              "@=\"d\"\r\n"
              "\"Path\\\\\\\"q\\\"\"=\"C:\\\\a \\\"b\\\"\"\r\n"
              "\"ソフト\"=\"ソ\"\r\n"
              "\"Start\"=dword:0000001a\r\n"
              "\"Image\"=hex(2):25,61,25,00\r\n"
              "\"Raw\"=hex:00,ff\r\n"
              "\"Q\"=hex(b):00,00,00,00,00,00,00,00\r\n"
              "\"N\"=hex(0):\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Foo\\Parameters]\r\n"
              "\r\n");
}

TEST(RegFile, LongHexDataIsWrappedWithinTheEditorsLineWidth) {
    RegFile file;
    file.keys = {{KEY, {{"Blob", VALUE_BINARY, bytes_upto(200)}}}};
    std::string bytes;
    ASSERT_TRUE(write_reg_file(file, bytes));
    std::size_t start = 0, continued = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        const std::string line = bytes.substr(start, end - start);
        EXPECT_LE(line.size(), 80u) << line;
        if (!line.empty() && line.back() == '\\') ++continued;
        start = end + 2;
    }
    EXPECT_GT(continued, 5u);
}

TEST(RegFile, ReadsTheEditorsOwnWriting) {
    const std::string text =
        "REGEDIT4\n"
        "\n"
        "; exported by hand\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Foo]\n"
        "\"Blob\"=hex:0A,0b, 0c,\\\n"
        "  0d\n"
        "\"Dword\"=dword:FFFFFFFF\n"
        "\"Empty\"=\"\"\n"
        "@ = \"default\"\n"
        "\n"
        "\n";
    RegFile file;
    ASSERT_TRUE(read_reg_file(text, file));
    EXPECT_EQ(file.comments, (std::vector<std::string>{" exported by hand"}));
    ASSERT_EQ(file.keys.size(), 1u);
    const std::vector<RegistryValue> expected = {
        {"Blob", VALUE_BINARY, "\x0a\x0b\x0c\x0d"},
        {"Dword", VALUE_DWORD, "\xff\xff\xff\xff"},
        {"Empty", VALUE_SZ, std::string(1, '\0')},
        {"", VALUE_SZ, sz("default")},
    };
    EXPECT_EQ(file.keys[0].values, expected);
}

// Found by fuzzing: only a hex value line continues on the next line.
TEST(RegFile, ACommentEndingLikeAHexLineIsOneLine) {
    const RegFile file = {{"record=a=hex:01,\\"}, {{KEY, {{"v", VALUE_BINARY, "\x01"}}}}};
    std::string bytes;
    ASSERT_TRUE(write_reg_file(file, bytes));
    RegFile read;
    ASSERT_TRUE(read_reg_file(bytes, read));
    EXPECT_EQ(read.comments, file.comments);
    EXPECT_EQ(read.keys, file.keys);
}

TEST(RegFile, RefusesWhatItCannotReadExactly) {
    const std::string key = "[HKEY_LOCAL_MACHINE\\SYSTEM\\X]\r\n";
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"Unicode header", "Windows Registry Editor Version 5.00\r\n\r\n" + key},
        {"no header", key},
        {"another root", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n"},
        {"root alone", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\]\r\n"},
        {"value before a key", "REGEDIT4\r\n\"a\"=\"b\"\r\n"},
        {"deletion of a value", "REGEDIT4\r\n" + key + "\"a\"=-\r\n"},
        {"deletion of a key", "REGEDIT4\r\n[-HKEY_LOCAL_MACHINE\\SYSTEM\\X]\r\n"},
        {"unknown escape", "REGEDIT4\r\n" + key + "\"a\"=\"b\\n\"\r\n"},
        {"unclosed text", "REGEDIT4\r\n" + key + "\"a\"=\"b\r\n"},
        {"text after the quote", "REGEDIT4\r\n" + key + "\"a\"=\"b\"c\r\n"},
        {"bad hex byte", "REGEDIT4\r\n" + key + "\"a\"=hex:0g\r\n"},
        {"long hex byte", "REGEDIT4\r\n" + key + "\"a\"=hex:100\r\n"},
        {"gap in hex", "REGEDIT4\r\n" + key + "\"a\"=hex:01,,02\r\n"},
        {"long dword", "REGEDIT4\r\n" + key + "\"a\"=dword:123456789\r\n"},
        {"no equals sign", "REGEDIT4\r\n" + key + "\"a\" \"b\"\r\n"},
        {"unclosed key", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\X\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RegFile file;
        file.comments = {"untouched"};
        EXPECT_FALSE(read_reg_file(c.text, file));
        EXPECT_EQ(file.comments, (std::vector<std::string>{"untouched"}));
    }
}

TEST(RegFile, RefusesToWriteWhatALineCannotHold) {
    const struct {
        const char* name;
        RegFile file;
    } cases[] = {
        {"line break in a value name", {{}, {{KEY, {{"a\r\nb", VALUE_SZ, ""}}}}}},
        {"line break in a key", {{}, {{KEY + "\n[x]", {}}}}},
        {"broken double-byte character", {{}, {{KEY + "\x83", {}}}}},
        {"lead byte before 0x7F", {{}, {{KEY, {{"\x81\x7F", VALUE_SZ, ""}}}}}},
        {"lead byte before 0xFD", {{"\x81\xFD"}, {}}},
        {"line break in a comment", {{"one\ntwo"}, {}}},
        {"empty key path", {{}, {{"", {}}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = "untouched";
        EXPECT_FALSE(write_reg_file(c.file, bytes));
        EXPECT_EQ(bytes, "untouched");
    }
}

}  // namespace
}  // namespace quorvel
