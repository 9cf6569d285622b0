#include "history/record_format.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

RecordTexts foo_service() {
    return {"Foo Service", "", "開始", "自動", "LocalSystem", "C:\\foo\\foo.exe", "FooSvc",
            "独自プロセス"};
}

TEST(JoinRecord, PlainTextsAreJoinedByCommasOnly) {
    EXPECT_EQ(join_record(foo_service()),
              "Foo Service,,開始,自動,LocalSystem,C:\\foo\\foo.exe,FooSvc,独自プロセス");
    RecordTexts texts = foo_service();
    texts[COL_KIND] = "";
    texts[COL_PATH] = "%SystemRoot%\\system32\\svchost.exe -k netsvcs";  // '%' alone needs nothing
    EXPECT_EQ(join_record(texts),
              "Foo Service,,開始,自動,LocalSystem,%SystemRoot%\\system32\\svchost.exe -k "
              "netsvcs,FooSvc,");
}

TEST(JoinRecord, EscapesOnlyWhenATextHoldsACommaOrLineBreak) {
    RecordTexts texts = foo_service();
    texts[COL_DESCRIPTION] = "a, b\r\n100%";
    EXPECT_EQ(join_record(texts),
              "Foo Service,a%2C b%0D%0A100%25,開始,自動,LocalSystem,C:\\foo\\foo.exe,FooSvc,"
              "独自プロセス,%");
}

TEST(SplitRecord, GivesBackEveryTextThatWasJoined) {
    const std::string long_commas(259, ',');
    const struct {
        const char* name;
        int column;
        std::string text;
    } cases[] = {
        {"comma", COL_DESCRIPTION, "reads, writes, and deletes"},
        {"CR LF", COL_DESCRIPTION, "line one\r\nline two"},
        {"lone CR and LF", COL_LOGON, "\ra\n"},
        {"trailing comma", COL_KIND, "type,"},
        {"percent codes", COL_DESCRIPTION, "%2C and %25 and %"},
        {"percent code in a plain record", COL_DESCRIPTION, "100%2C"},
        {"double-byte before comma", COL_NAME, "表,示"},
        {"only commas", COL_PATH, long_commas},
        {"comma in the service name", COL_SERVICE_NAME, "odd,name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordTexts texts = foo_service();
        texts[c.column] = c.text;
        const std::string line = join_record(texts);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
        EXPECT_EQ(split_record(line), texts);
        EXPECT_EQ(read_history_lines(write_history_lines({line})),
                  std::vector<std::string>{line});
    }
}

TEST(SplitRecord, ReadsPlainLinesFieldByField) {
    const std::string long_field(1000, 'x');
    const struct {
        const char* name;
        std::string line;
        RecordTexts expected;
    } cases[] = {
        {"missing fields", "a,b", {"a", "b", "", "", "", "", "", ""}},
        {"empty last field", "a,b,c,d,e,f,g,", {"a", "b", "c", "d", "e", "f", "g", ""}},
        // A line of an older writer with an unescaped comma: the columns shift
        // as they always did and nothing is unescaped.
        {"extra field", "n,x,y,s,t,a,p%2C,k,kind", {"n", "x", "y", "s", "t", "a", "p%2C", "k"}},
        {"long field", long_field + ",b", {long_field, "b", "", "", "", "", "", ""}},
        {"empty", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(split_record(c.line), c.expected);
    }
}

TEST(SplitRecord, KeepsAPercentThatIsNoCode) {
    const RecordTexts texts = split_record("a%zz,b%2,c%2C,,,,,,%");
    EXPECT_EQ(texts[0], "a%zz");
    EXPECT_EQ(texts[1], "b%2");
    EXPECT_EQ(texts[2], "c,");
}

TEST(ReadHistoryLines, AnyRunOfLineBreaksEndsALine) {
    const std::string long_line(5000, 'L');
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> expected;
    } cases[] = {
        {"CR LF pairs", "A\r\n\r\n\r\n\r\nB\r\n", {"A", "B"}},
        {"LF only", "A\n\n\nB\n", {"A", "B"}},
        {"CR only", "A\r\r\rB\r", {"A", "B"}},
        {"mixed", "\n\rA\n\r\r\nB", {"A", "B"}},
        {"no last line break", "A\r\nB", {"A", "B"}},
        {"only line breaks", "\r\n\r\n\n\r", {}},
        {"empty", "", {}},
        {"zero byte kept in its line", std::string("A\r\nB\0C\r\nD", 9),
         {"A", std::string("B\0C", 3), "D"}},
        {"zero byte first", std::string("\0A\r\n", 4), {std::string("\0A", 2)}},
        {"long line whole", long_line + "\r\nB\r\n", {long_line, "B"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(read_history_lines(c.bytes), c.expected);
    }
}

TEST(WriteHistoryLines, EndsEveryLineWithCrLf) {
    EXPECT_EQ(write_history_lines({"A", "B"}), "A\r\nB\r\n");
    EXPECT_EQ(write_history_lines({}), "");
}

}  // namespace
}  // namespace quorvel
