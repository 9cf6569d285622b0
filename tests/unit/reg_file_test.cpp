#include "history/reg_file.h"

#include <gtest/gtest.h>

#include "fakes/fake_code_page.h"
#include "fakes/registry_bytes.h"

namespace quorvel {
namespace {

using testing::le32;

const WideText KEY = u"SYSTEM\\CurrentControlSet\\Services\\Foo";

// A wide text value as the registry stores it: its units and a zero unit.
std::string wsz(const WideText& text) { return utf16le_bytes(text + u'\0'); }

// The bytes of a wide text of this length, zeros inside included.
std::string units(const char16_t* text, std::size_t length) {
    return utf16le_bytes(WideText(text, length));
}

std::string bytes_upto(int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += static_cast<char>(i);
    return out;
}

// The bytes of a file written in the Unicode format.
std::string unicode_file(const WideText& text) { return "\xFF\xFE" + utf16le_bytes(text); }

// What a line of the written file holds, as UTF-8 would not do: the units.
std::vector<WideText> lines_of(const std::string& bytes) {
    const WideText text = from_utf16le(bytes.substr(2));
    std::vector<WideText> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(u"\r\n", start);
        if (end == WideText::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

class RegFileTest : public ::testing::Test {
protected:
    testing::FakeCodePage code_page;

    RegFile round_trip(const RegFile& written) {
        std::string bytes;
        EXPECT_TRUE(write_reg_file(written, bytes));
        RegFile read;
        EXPECT_TRUE(read_reg_file(bytes, code_page, read));
        return read;
    }

    // The line a single value of KEY is written as.
    WideText value_line(const RegistryValue& value) {
        std::string bytes;
        if (!write_reg_file(RegFile{{}, {{KEY, {value}}}}, bytes)) return u"<refused>";
        return lines_of(bytes).at(3);
    }
};

void expect_same_keys(const RegistryTree& read, const RegistryTree& written) {
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t k = 0; k < written.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(read[k].path, written[k].path);
        ASSERT_EQ(read[k].values.size(), written[k].values.size());
        for (std::size_t v = 0; v < written[k].values.size(); ++v) {
            SCOPED_TRACE(v);
            EXPECT_EQ(read[k].values[v], written[k].values[v]);
        }
    }
}

RegFile every_kind_of_value() {
    using std::string;
    RegFile file;
    file.comments = {"record=Foo,,,%8E%E8%93%AE", " spaced ; comment "};
    file.keys = {
        {KEY,
         {
             {u"", VALUE_SZ, wsz(u"default")},
             {u"Description", VALUE_SZ, wsz(u"a, \"quoted\" \\ path \u30bd\u30fc\u30b9")},
             {u"Caf\u00e9 Intel\u00ae Optane\u2122 M\u00fcller", VALUE_SZ,
              wsz(u"Caf\u00e9 \u2122 \U0001F600")},
             {u"ImagePath", VALUE_EXPAND_SZ, wsz(u"%SystemRoot%\\M\u00fcller.exe")},
             {u"DependOnService", VALUE_MULTI_SZ, units(u"One\0Tw\u00f6\0\0", 9)},
             {u"Start", VALUE_DWORD, le32(3)},
             {u"Big", VALUE_QWORD, string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
             {u"Blob", VALUE_BINARY, bytes_upto(256)},
             {u"Nothing", VALUE_NONE, ""},
             {u"EmptyText", VALUE_SZ, ""},
             {u"ZeroOnly", VALUE_SZ, string(2, '\0')},
             {u"EmptyBlob", VALUE_BINARY, ""},
             {u"ShortDword", VALUE_DWORD, "\x01\x02"},
             {u"Unterminated", VALUE_SZ, utf16le_bytes(u"no zero")},
             {u"OddBytes", VALUE_SZ, string("a\0b", 3)},
             {u"TwoLines", VALUE_SZ, wsz(u"one\r\ntwo")},
             {u"Inner Zero", VALUE_SZ, units(u"a\0b\0", 4)},
             {u"Lone surrogate", VALUE_SZ, units(u"a\xD800z\0", 4)},
             {u"Lone low surrogate", VALUE_SZ, units(u"\xDC00\0", 2)},
             {u"Units holding 0x5C and 0x22 bytes", VALUE_SZ, wsz(u"\u5c5c\u225c")},
             {u"Big endian", 5, le32(1)},
             {u"Odd type", 0x12345678, "x"},
             {u"\u540d\u524d\\\u30bd\"", VALUE_SZ, wsz(u"\u8868")},
             {u"name \xD800 lone", VALUE_DWORD, le32(7)},
         }},
        {KEY + u"\\Parameters", {{u"ServiceDll", VALUE_EXPAND_SZ, wsz(u"C:\\s.dll")}}},
        {KEY + u"\\Parameters\\Nested\\Deeper", {}},
        {KEY + u"\\Parameters\\\u8868\u793a \u00e9\u2122]",
         {{u"x", VALUE_DWORD, le32(0xFFFFFFFF)}}},
    };
    return file;
}

TEST_F(RegFileTest, EveryValueComesBackByteForByte) {
    const RegFile written = every_kind_of_value();
    const RegFile read = round_trip(written);
    EXPECT_EQ(read.comments, written.comments);
    expect_same_keys(read.keys, written.keys);
}

TEST_F(RegFileTest, WritesTheEditorsUnicodeFormat) {
    RegFile file;
    file.comments = {"record=x%E9"};
    file.keys = {{KEY,
                  {{u"", VALUE_SZ, wsz(u"d")},
                   {u"Path\\\"q\"", VALUE_SZ, wsz(u"C:\\a \"b\"")},
                   {u"Caf\u00e9\u2122", VALUE_SZ, wsz(u"\u30bd\U0001F600")},
                   {u"Start", VALUE_DWORD, le32(0x1A)},
                   {u"Image", VALUE_EXPAND_SZ, wsz(u"%a%")},
                   {u"Raw", VALUE_BINARY, std::string("\x00\xff", 2)},
                   {u"Q", VALUE_QWORD, std::string(8, '\0')},
                   {u"N", VALUE_NONE, ""}}},
                 {KEY + u"\\Parameters", {}}};
    std::string bytes;
    ASSERT_TRUE(write_reg_file(file, bytes));
    EXPECT_EQ(bytes.substr(0, 6), std::string("\xFF\xFEW\0i\0", 6));
    EXPECT_EQ(bytes, unicode_file(u"Windows Registry Editor Version 5.00\r\n"
                                  u";record=x%E9\r\n"
                                  u"\r\n"
                                  u"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Foo]\r\n"
                                  u"@=\"d\"\r\n"
                                  u"\"Path\\\\\\\"q\\\"\"=\"C:\\\\a \\\"b\\\"\"\r\n"
                                  u"\"Caf\u00e9\u2122\"=\"\u30bd\U0001F600\"\r\n"
                                  u"\"Start\"=dword:0000001a\r\n"
                                  u"\"Image\"=hex(2):25,00,61,00,25,00,00,00\r\n"
                                  u"\"Raw\"=hex:00,ff\r\n"
                                  u"\"Q\"=hex(b):00,00,00,00,00,00,00,00\r\n"
                                  u"\"N\"=hex(0):\r\n"
                                  u"\r\n"
                                  u"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Foo\\"
                                  u"Parameters]\r\n"
                                  u"\r\n"));
}

TEST_F(RegFileTest, QuotesOnlyTextsTheEditorGivesBackExactly) {
    const struct {
        const char* name;
        std::string data;
        WideText line;
    } cases[] = {
        {"one zero unit", std::string(2, '\0'), u"@=\"\""},
        {"pair of surrogates", wsz(u"\U0001F600"), u"@=\"\U0001F600\""},
        {"no data", "", u"@=hex(1):"},
        {"no final zero", utf16le_bytes(u"ab"), u"@=hex(1):61,00,62,00"},
        {"two final zeros", units(u"a\0\0", 3), u"@=hex(1):61,00,00,00,00,00"},
        {"odd byte count", std::string("a\0\0\0\0", 5), u"@=hex(1):61,00,00,00,00"},
        {"tab", wsz(u"a\tb"), u"@=hex(1):61,00,09,00,62,00,00,00"},
        {"delete", wsz(u"\x7F"), u"@=hex(1):7f,00,00,00"},
        {"lone high surrogate at the end", wsz(u"\xD83D"), u"@=hex(1):3d,d8,00,00"},
        {"lone low surrogate", wsz(u"a\xDE00"), u"@=hex(1):61,00,00,de,00,00"},
        {"surrogates the wrong way round", wsz(u"\xDE00\xD83D"), u"@=hex(1):00,de,3d,d8,00,00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(value_line({u"", VALUE_SZ, c.data}), c.line);
    }
    // Other text types are kept as stored, whatever they hold.
    EXPECT_EQ(value_line({u"", VALUE_EXPAND_SZ, wsz(u"a")}), u"@=hex(2):61,00,00,00");
    EXPECT_EQ(value_line({u"", VALUE_MULTI_SZ, units(u"a\0\0", 3)}), u"@=hex(7):61,00,00,00,00,00");
}

TEST_F(RegFileTest, LongHexDataIsWrappedAsTheEditorWrapsIt) {
    RegFile file;
    file.keys = {{KEY,
                  {{u"Blob", VALUE_BINARY, bytes_upto(200)},
                   {u"ImagePath", VALUE_EXPAND_SZ, wsz(u"%SystemRoot%\\System32\\svchost.exe")}}}};
    std::string bytes;
    ASSERT_TRUE(write_reg_file(file, bytes));
    const std::vector<WideText> lines = lines_of(bytes);
    // The editor fills each line up to 77 columns of bytes, then '\'.
    EXPECT_EQ(lines[3].substr(0, 12), u"\"Blob\"=hex:0");
    EXPECT_EQ(lines[3].size(), 78u);  // 22 bytes
    EXPECT_EQ(lines[4].substr(0, 5), u"  16,");
    EXPECT_EQ(lines[4].size(), 78u);  // 25 bytes
    std::size_t image = 0;
    while (lines[image].compare(0, 12, u"\"ImagePath\"=") != 0) ++image;
    EXPECT_EQ(lines[image],
              u"\"ImagePath\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,"
              u"52,00,6f,00,6f,00,\\");
    for (const WideText& line : lines) EXPECT_LE(line.size(), 80u);
    expect_same_keys(round_trip(file).keys, file.keys);
}

TEST_F(RegFileTest, ReadsTheEditorsOwnWriting) {
    const std::string bytes = unicode_file(
        u"Windows Registry Editor Version 5.00\r\n"
        u"\r\n"
        u"; exported by hand\r\n"
        u"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Caf\u00e9]\r\n"
        u"\"Blob\"=hex:0A,0b, 0c,\\\r\n"
        u"  0d\r\n"
        u"\"Dword\"=dword:FFFFFFFF\r\n"
        u"\"Empty\"=\"\"\r\n"
        u"\"Intel\u00ae\"=hex(2):e9,00,00,00\r\n"
        u"@ = \"default \u2122\"\r\n"
        u"\r\n"
        u"\r\n");
    RegFile file;
    ASSERT_TRUE(read_reg_file(bytes, code_page, file));
    EXPECT_EQ(file.comments, (std::vector<std::string>{" exported by hand"}));
    ASSERT_EQ(file.keys.size(), 1u);
    EXPECT_EQ(file.keys[0].path, u"SYSTEM\\CurrentControlSet\\Services\\Caf\u00e9");
    const std::vector<RegistryValue> expected = {
        {u"Blob", VALUE_BINARY, "\x0a\x0b\x0c\x0d"},
        {u"Dword", VALUE_DWORD, "\xff\xff\xff\xff"},
        {u"Empty", VALUE_SZ, std::string(2, '\0')},
        {u"Intel\u00ae", VALUE_EXPAND_SZ, std::string("\xe9\0\0\0", 4)},
        {u"", VALUE_SZ, wsz(u"default \u2122")},
    };
    EXPECT_EQ(file.keys[0].values, expected);
}

// A code page that shows which bytes reach it: byte b becomes U+F000 + b.
class ByteTaggingCodePage : public CodePage {
public:
    std::string to_ansi(const WideText& text) override {
        std::string out;
        for (const char16_t unit : text) out += static_cast<char>(unit & 0xFF);
        return out;
    }
    WideText to_wide(const std::string& text) override {
        WideText out;
        for (const char c : text)
            out += static_cast<char16_t>(0xF000 + static_cast<unsigned char>(c));
        return out;
    }
};

TEST_F(RegFileTest, ReadsTheRegedit4FilesOfEarlierBuilds) {
    const std::string bytes =
        "REGEDIT4\r\n"
        ";record=\x82\xa0,,,\x8e\xe8\x93\xae\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\\x82\xa0]\r\n"
        "@=\"d\"\r\n"
        "\"\x83\x5c\"=\"\x83\x5c\\\"\"\r\n"  // "ソ"="ソ\"": a trail byte 0x5C escapes nothing
        "\"Text\"=hex(1):82,a0,00\r\n"
        "\"Image\"=hex(2):25,61,00\r\n"
        "\"List\"=hex(7):61,00,82,a0,00,00\r\n"
        "\"Start\"=dword:00000003\r\n"
        "\"Raw\"=hex:82,a0\r\n"
        "\"Q\"=hex(b):01,02,03,04,05,06,07,08\r\n"
        "\"Empty\"=hex(1):\r\n";
    ByteTaggingCodePage tagging;
    RegFile file;
    ASSERT_TRUE(read_reg_file(bytes, tagging, file));
    // Comments stay the bytes they were.
    EXPECT_EQ(file.comments, (std::vector<std::string>{"record=\x82\xa0,,,\x8e\xe8\x93\xae"}));
    const auto tagged = [&](const std::string& code_page_bytes) {
        return tagging.to_wide(code_page_bytes);
    };
    ASSERT_EQ(file.keys.size(), 1u);
    EXPECT_EQ(file.keys[0].path, tagged("SYSTEM\\\x82\xa0"));
    // Names and the text types' bytes, zeros and all, go through the code
    // page; other data stays as it was.
    const std::vector<RegistryValue> expected = {
        {u"", VALUE_SZ, utf16le_bytes(tagged(std::string("d\0", 2)))},
        {tagged("\x83\x5c"), VALUE_SZ, utf16le_bytes(tagged(std::string("\x83\x5c\"\0", 4)))},
        {tagged("Text"), VALUE_SZ, utf16le_bytes(tagged(std::string("\x82\xa0\0", 3)))},
        {tagged("Image"), VALUE_EXPAND_SZ, utf16le_bytes(tagged(std::string("%a\0", 3)))},
        {tagged("List"), VALUE_MULTI_SZ, utf16le_bytes(tagged(std::string("a\0\x82\xa0\0\0", 6)))},
        {tagged("Start"), VALUE_DWORD, le32(3)},
        {tagged("Raw"), VALUE_BINARY, "\x82\xa0"},
        {tagged("Q"), VALUE_QWORD, "\x01\x02\x03\x04\x05\x06\x07\x08"},
        {tagged("Empty"), VALUE_SZ, ""},
    };
    EXPECT_EQ(file.keys[0].values, expected);

    // With the system's code page the texts become the characters they were.
    ASSERT_TRUE(read_reg_file(bytes, code_page, file));
    EXPECT_EQ(file.keys[0].path, u"SYSTEM\\\u3042");
    EXPECT_EQ(file.keys[0].values[2], (RegistryValue{u"Text", VALUE_SZ, wsz(u"\u3042")}));
    EXPECT_EQ(file.keys[0].values[4],
              (RegistryValue{u"List", VALUE_MULTI_SZ, units(u"a\0\u3042\0\0", 5)}));
    // And it writes them back in the Unicode format, exactly.
    expect_same_keys(round_trip(RegFile{{}, file.keys}).keys, file.keys);
}

TEST_F(RegFileTest, CommentsOfAUnicodeFileComeBackAsCodePageText) {
    const std::string bytes =
        unicode_file(u"Windows Registry Editor Version 5.00\r\n;record=\u3042\u00e9\r\n");
    RegFile file;
    ASSERT_TRUE(read_reg_file(bytes, code_page, file));
    EXPECT_EQ(file.comments, (std::vector<std::string>{"record=\x82\xa0"
                                                       "e"}));
    EXPECT_TRUE(file.keys.empty());
    // Such a comment is not written back.
    std::string written;
    EXPECT_FALSE(write_reg_file(file, written));
}

// Found by fuzzing: only a hex value line continues on the next line.
TEST_F(RegFileTest, ACommentEndingLikeAHexLineIsOneLine) {
    const RegFile file = {{"record=a=hex:01,\\"}, {{KEY, {{u"v", VALUE_BINARY, "\x01"}}}}};
    const RegFile read = round_trip(file);
    EXPECT_EQ(read.comments, file.comments);
    EXPECT_EQ(read.keys, file.keys);
}

TEST_F(RegFileTest, RefusesWhatItCannotReadExactly) {
    const std::string key = "[HKEY_LOCAL_MACHINE\\SYSTEM\\X]\r\n";
    // Each body after either format's header.
    const struct {
        const char* name;
        std::string body;
    } cases[] = {
        {"another root", "[HKEY_CURRENT_USER\\Software\\X]\r\n"},
        {"root alone", "[HKEY_LOCAL_MACHINE\\]\r\n"},
        {"value before a key", "\"a\"=\"b\"\r\n"},
        {"deletion of a value", key + "\"a\"=-\r\n"},
        {"deletion of a key", "[-HKEY_LOCAL_MACHINE\\SYSTEM\\X]\r\n"},
        {"unknown escape", key + "\"a\"=\"b\\n\"\r\n"},
        {"unclosed text", key + "\"a\"=\"b\r\n"},
        {"text after the quote", key + "\"a\"=\"b\"c\r\n"},
        {"bad hex byte", key + "\"a\"=hex:0g\r\n"},
        {"long hex byte", key + "\"a\"=hex:100\r\n"},
        {"gap in hex", key + "\"a\"=hex:01,,02\r\n"},
        {"long dword", key + "\"a\"=dword:123456789\r\n"},
        {"no equals sign", key + "\"a\" \"b\"\r\n"},
        {"unclosed key", "[HKEY_LOCAL_MACHINE\\SYSTEM\\X\r\n"},
    };
    const auto expect_refused = [&](const std::string& bytes) {
        RegFile file;
        file.comments = {"untouched"};
        EXPECT_FALSE(read_reg_file(bytes, code_page, file));
        EXPECT_EQ(file.comments, (std::vector<std::string>{"untouched"}));
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expect_refused("REGEDIT4\r\n" + c.body);
        expect_refused(
            unicode_file(u"Windows Registry Editor Version 5.00\r\n" + widen_ascii(c.body)));
    }
    const std::string unicode_key = utf16le_bytes(widen_ascii(key));
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"no header", key},
        {"Unicode header in a code page file",
         "Windows Registry Editor Version 5.00\r\n\r\n" + key},
        {"REGEDIT4 header in a Unicode file", unicode_file(u"REGEDIT4\r\n") + unicode_key},
        {"UTF-16 without its byte-order mark",
         utf16le_bytes(u"Windows Registry Editor Version 5.00\r\n") + unicode_key},
        {"big-endian byte-order mark",
         "\xFE\xFF" + utf16le_bytes(u"Windows Registry Editor Version 5.00\r\n") + unicode_key},
        {"odd byte count",
         unicode_file(u"Windows Registry Editor Version 5.00\r\n") + unicode_key + "x"},
        {"a unit that only looks like a hex digit",
         unicode_file(u"Windows Registry Editor Version 5.00\r\n") + unicode_key +
             utf16le_bytes(u"\"a\"=dword:\u0130\r\n")},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        expect_refused(f.bytes);
    }
}

// The registry ends a name at a zero and passes over an empty part of a
// key path: "ImagePath\0x" would be written as ImagePath, "Foo\\Security"
// reach Foo\Security. Whatever checks a name must see the name the
// registry sees, so the reader takes no such file, in either format.
TEST_F(RegFileTest, RefusesNamesTheRegistryWouldTakeForOthers) {
    const std::string zero(1, '\0');
    const std::string key = "[HKEY_LOCAL_MACHINE\\SYSTEM\\X]\r\n";
    const struct {
        const char* name;
        std::string body;
    } cases[] = {
        {"zero in a value name", key + "\"ImagePath" + zero + "x\"=\"C:\\\\x.exe\"\r\n"},
        {"zero ending a value name", key + "\"Security" + zero + "\"=hex:01\r\n"},
        {"zero in a key path", "[HKEY_LOCAL_MACHINE\\SYSTEM\\X" + zero + "\\Y]\r\n"},
        {"tab in a value name", key + "\"a\tb\"=\"c\"\r\n"},
        {"escape in a value name", key + "\"a\x1b\"=\"c\"\r\n"},
        {"delete in a key path", "[HKEY_LOCAL_MACHINE\\SYSTEM\\X\x7f]\r\n"},
        {"doubled backslash in a key path", "[HKEY_LOCAL_MACHINE\\SYSTEM\\X\\\\Security]\r\n"},
        {"key path ending in a backslash", "[HKEY_LOCAL_MACHINE\\SYSTEM\\X\\]\r\n"},
        {"key path starting with a backslash", "[HKEY_LOCAL_MACHINE\\\\SYSTEM\\X]\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string& bytes :
             {"REGEDIT4\r\n" + c.body,
              unicode_file(u"Windows Registry Editor Version 5.00\r\n" + widen_ascii(c.body))}) {
            RegFile file;
            file.comments = {"untouched"};
            EXPECT_FALSE(read_reg_file(bytes, code_page, file));
            EXPECT_EQ(file.comments, (std::vector<std::string>{"untouched"}));
        }
    }
    // A double-byte character of an earlier build's file may end in a
    // backslash byte: only the wide path counts.
    RegFile file;
    ASSERT_TRUE(read_reg_file("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\\x95\\\\Sub\x95\\]\r\n",
                              code_page, file));
    ASSERT_EQ(file.keys.size(), 1u);
    EXPECT_EQ(file.keys[0].path, code_page.to_wide("SYSTEM\\\x95\\\\Sub\x95\\"));
}

TEST_F(RegFileTest, RefusesToWriteWhatALineCannotHold) {
    const struct {
        const char* name;
        RegFile file;
    } cases[] = {
        {"line break in a value name", {{}, {{KEY, {{u"a\r\nb", VALUE_SZ, ""}}}}}},
        {"tab in a value name", {{}, {{KEY, {{u"a\tb", VALUE_SZ, ""}}}}}},
        {"line break in a key", {{}, {{KEY + u"\n[x]", {}}}}},
        {"zero in a key", {{}, {{KEY + WideText(1, u'\0'), {}}}}},
        {"empty key path", {{}, {{u"", {}}}}},
        {"line break in a comment", {{"one\ntwo"}, {}}},
        {"code page text in a comment", {{"record=\x82\xa0"}, {}}},
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
