#include "catalogue/enumeration.h"

#include <gtest/gtest.h>

#include "catalogue/enumeration_pieces.h"
#include "fakes/fake_code_page.h"
#include "fakes/fake_service_manager.h"
#include "fakes/registry_bytes.h"

namespace quorvel {
namespace {

using testing::CAFE_ACCENTED;
using testing::CAFE_PLAIN;
using testing::FakeCodePage;
using testing::FakeService;
using testing::FakeServiceManager;
using testing::FakeServiceRegistry;
using testing::wide_sz;

const WideText KEY = WideText(SERVICES_KEY) + u"\\";

void describe(FakeServiceRegistry& registry, const WideText& service, const WideText& text) {
    registry.set(KEY + service, {u"Description", VALUE_SZ, wide_sz(text)});
}

ServiceConfig config(std::uint32_t start, const std::string& account, const std::string& path) {
    ServiceConfig c;
    c.start_type = start;
    c.start_name = account;
    c.binary_path = path;
    return c;
}

TEST(BuildRow, FillsEveryColumnFromItsSource) {
    EnumRecord record{u"FooSvc", "FooSvc", "Foo Service", 0x10, 4};
    ServiceConfig c = config(2, "LocalSystem", "C:\\foo\\foo.exe -k");
    c.service_type = 0x20;  // the enumeration's type wins
    ServiceRow row = build_row(record, &c, std::string("does foo"));
    const char* expected[] = {"Foo Service", "does foo", "開始", "自動",
                              "LocalSystem", "C:\\foo\\foo.exe -k", "FooSvc", "独自プロセス"};
    for (int i = 0; i < COLUMN_COUNT; ++i) EXPECT_EQ(row.texts[i], expected[i]) << i;
    EXPECT_EQ(row.service_type, 0x10u);
    EXPECT_EQ(row.current_state, 4u);
    EXPECT_EQ(row.exact_name, u"FooSvc");
}

TEST(BuildRow, UnreadConfigurationAndDescriptionLeaveEmptyColumns) {
    EnumRecord record{u"Bar", "Bar", "Bar", 0x8, 1};
    ServiceRow row = build_row(record, nullptr, std::nullopt);
    EXPECT_EQ(row.texts[COL_NAME], "Bar");
    for (int column : {1, 2, 3, 4, 5, 7}) EXPECT_EQ(row.texts[column], "") << column;
    EXPECT_EQ(row.texts[COL_SERVICE_NAME], "Bar");
}

TEST(DescribeService, ReadsTheServicesKeyAndStopsAtTheFirstZero) {
    FakeServiceRegistry registry;
    FakeCodePage code_page;
    describe(registry, u"A", WideText(u"first\0rest", 10));
    registry.keys[KEY + u"B"];  // key without the value
    EXPECT_EQ(describe_service(registry, code_page, u"A"), "first");
    EXPECT_EQ(describe_service(registry, code_page, u"B"), "");
    EXPECT_EQ(describe_service(registry, code_page, u"C"), std::nullopt);
}

TEST(DescribeService, ShowsTheTextAsTheCodePageConvertsIt) {
    FakeServiceRegistry registry;
    FakeCodePage code_page;
    describe(registry, u"A", u"Intel\u00ae Optane\u2122 \u3042");
    EXPECT_EQ(describe_service(registry, code_page, u"A"), "IntelR Optane? あ");
}

TEST(DescribeService, LongNamesReadTheirOwnKey) {
    FakeServiceRegistry registry;
    FakeCodePage code_page;
    const WideText name(240, u'n');
    describe(registry, name, u"long named");
    describe(registry, name.substr(0, 225), u"wrong key");
    EXPECT_EQ(describe_service(registry, code_page, name), "long named");
}

// The cut counts the code page's bytes, as the list shows them.
TEST(DescribeService, LongTextsAreCutWithoutSplittingACharacter) {
    FakeServiceRegistry registry;
    FakeCodePage code_page;
    // 258 single bytes and then a double-byte character that would end at 260.
    describe(registry, u"A", code_page.to_wide(std::string(258, 'x') + "説明"));
    describe(registry, u"B", code_page.to_wide(std::string(257, 'x') + "説明"));
    describe(registry, u"C", WideText(259, u'x'));
    describe(registry, u"D", WideText(130, u'\u3042'));  // 260 bytes, 130 units
    EXPECT_EQ(describe_service(registry, code_page, u"A"), std::string(258, 'x'));
    EXPECT_EQ(describe_service(registry, code_page, u"B"), std::string(257, 'x') + "説");
    EXPECT_EQ(describe_service(registry, code_page, u"C")->size(), 259u);
    EXPECT_EQ(describe_service(registry, code_page, u"D")->size(), 258u);
}

class ReadServiceRows : public ::testing::Test {
protected:
    FakeServiceManager scm;
    FakeServiceRegistry registry;
    FakeCodePage code_page;

    void SetUp() override {
        scm.add("Zeta", "Zeta display", 0x10, 4).config = config(2, "LocalSystem", "z.exe");
        scm.add("disk", "Disk driver", 0x1, 4).config = config(0, "", "disk.sys");
        scm.add("Alpha", "Alpha display", 0x20, 1).config = config(3, "NT AUTHORITY\\LocalService", "a.exe");
        scm.add("fs", "File system", 0x2, 1).config = config(1, "", "fs.sys");
        scm.add("rec", "Recognizer", 0x8, 1).config = config(1, "", "rec.sys");
        scm.add("Beta", "Beta display", 0x110, 2).config = config(4, "", "b.exe");
        describe(registry, u"Zeta", u"Zeta does things");
        registry.keys[KEY + u"Alpha"];
    }

    std::vector<std::string> column(const std::vector<ServiceRow>& rows, int c) {
        std::vector<std::string> out;
        for (const ServiceRow& row : rows) out.push_back(row.texts[c]);
        return out;
    }
};

TEST_F(ReadServiceRows, ListsServicesOnlyInTheManagersOrder) {
    auto rows = read_service_rows(scm, registry, code_page, false, false).rows;
    EXPECT_EQ(scm.enumerate_masks, std::vector<std::uint32_t>{0x30});
    EXPECT_EQ(column(rows, COL_SERVICE_NAME), (std::vector<std::string>{"Zeta", "Alpha", "Beta"}));
    EXPECT_EQ(column(rows, COL_STATE), (std::vector<std::string>{"開始", "", "開始中"}));
    EXPECT_EQ(column(rows, COL_START_TYPE), (std::vector<std::string>{"自動", "手動", "無効"}));
    EXPECT_EQ(column(rows, COL_DESCRIPTION), (std::vector<std::string>{"Zeta does things", "", ""}));
    EXPECT_EQ(column(rows, COL_KIND),
              (std::vector<std::string>{"独自プロセス", "共有プロセス", "独自プロセス(対話許可)"}));
}

TEST_F(ReadServiceRows, ShowAllAddsDriversWithTheirLabels) {
    auto rows = read_service_rows(scm, registry, code_page, true, false).rows;
    EXPECT_EQ(scm.enumerate_masks, std::vector<std::uint32_t>{0x3B});
    EXPECT_EQ(column(rows, COL_KIND),
              (std::vector<std::string>{"独自プロセス", "デバイスドライバ", "共有プロセス",
                                        "ファイルシステムドライバ", "", "独自プロセス(対話許可)"}));
    EXPECT_EQ(column(rows, COL_START_TYPE),
              (std::vector<std::string>{"自動", "ブート", "手動", "システム", "システム", "無効"}));
}

TEST_F(ReadServiceRows, SkippingDescriptionsOpensNoKey) {
    auto rows = read_service_rows(scm, registry, code_page, true, true).rows;
    EXPECT_EQ(registry.reads, 0);
    for (const ServiceRow& row : rows) EXPECT_EQ(row.texts[COL_DESCRIPTION], "");
}

TEST_F(ReadServiceRows, RowsWhoseConfigurationCannotBeReadAreStillListed) {
    scm.services[2].openable = false;        // Alpha cannot be opened
    scm.services[5].config_readable = false;  // Beta's configuration cannot be read
    auto rows = read_service_rows(scm, registry, code_page, false, false).rows;
    EXPECT_EQ(scm.log, (std::vector<std::string>{"config Zeta", "config Alpha", "config Beta"}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].texts[COL_NAME], "Alpha display");
    EXPECT_EQ(rows[1].texts[COL_START_TYPE], "");
    EXPECT_EQ(rows[1].texts[COL_PATH], "");
    EXPECT_EQ(rows[2].texts[COL_STATE], "開始中");
    EXPECT_EQ(rows[2].texts[COL_LOGON], "");
}

// Two services the code page shows alike are two rows, each read by its
// own exact name: neither gets the other's configuration or description.
TEST_F(ReadServiceRows, LookAlikesAreTwoRowsEachWithItsOwnTexts) {
    FakeServiceManager two;
    two.add_exact(CAFE_ACCENTED, "Cafe", 0x10, STATE_RUNNING).config = config(2, "", "accent.exe");
    two.add_exact(CAFE_PLAIN, "Cafe", 0x20, STATE_STOPPED).config = config(3, "", "plain.exe");
    describe(registry, CAFE_ACCENTED, u"accented");
    describe(registry, CAFE_PLAIN, u"plain");
    const auto rows = read_service_rows(two, registry, code_page, false, false).rows;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(column(rows, COL_SERVICE_NAME), (std::vector<std::string>{"qvtCafe", "qvtCafe"}));
    EXPECT_EQ(rows[0].exact_name, CAFE_ACCENTED);
    EXPECT_EQ(rows[1].exact_name, CAFE_PLAIN);
    EXPECT_EQ(column(rows, COL_PATH), (std::vector<std::string>{"accent.exe", "plain.exe"}));
    EXPECT_EQ(column(rows, COL_DESCRIPTION), (std::vector<std::string>{"accented", "plain"}));
    EXPECT_EQ(column(rows, COL_KIND), (std::vector<std::string>{"独自プロセス", "共有プロセス"}));
}

TEST_F(ReadServiceRows, PiecesOfAnySizeGiveEveryRowOnceInOrder) {
    const std::vector<std::string> all = {"Zeta", "disk", "Alpha", "fs", "rec", "Beta"};
    const struct {
        std::size_t piece_size;
        std::vector<std::uint32_t> starts;
    } cases[] = {
        {1, {0, 1, 2, 3, 4, 5}},
        {4, {0, 4}},
        {3, {0, 3}},  // the last piece is full
        {0, {0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.piece_size);
        scm.piece_size = c.piece_size;
        scm.piece_starts.clear();
        const auto rows = read_service_rows(scm, registry, code_page, true, true).rows;
        EXPECT_EQ(column(rows, COL_SERVICE_NAME), all);
        EXPECT_EQ(scm.piece_starts, c.starts);
    }
}

// A pass that ends early starts the list over once; what it finally
// gives is never short without saying so.
TEST(EnumerateInPieces, AShortPassStartsOverOnceAndAShortListIsMarked) {
    const EnumRecord a{u"A", "A", "A", 0x10, 1}, b{u"B", "B", "B", 0x10, 1};
    const struct {
        const char* name;
        std::vector<PieceEnd> ends;  // of the second piece of each pass
        std::vector<std::string> listed;
        bool complete;
        int calls;
    } cases[] = {
        {"the second piece is the last", {PieceEnd::last}, {"A", "B"}, true, 2},
        {"it fails, then the retry works", {PieceEnd::failed, PieceEnd::last}, {"A", "B"}, true, 4},
        {"more promised, none given, then the retry works",
         {PieceEnd::more, PieceEnd::last}, {"A", "B"}, true, 4},
        {"it fails twice", {PieceEnd::failed, PieceEnd::failed}, {"A"}, false, 4},
        {"more promised, none given, twice", {PieceEnd::more, PieceEnd::more}, {"A"}, false, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int calls = 0;
        std::size_t pass = 0;
        const Enumeration listed = enumerate_in_pieces([&](std::uint32_t& resume,
                                                           std::vector<EnumRecord>& out) {
            ++calls;
            if (resume == 0) {
                out.push_back(a);
                resume = 1;
                return PieceEnd::more;
            }
            if (pass >= c.ends.size()) ADD_FAILURE() << "called again";
            const PieceEnd end = c.ends.at(pass++);
            if (end == PieceEnd::last) out.push_back(b);
            return end;
        });
        EXPECT_EQ(listed.complete, c.complete);
        std::vector<std::string> names;
        for (const EnumRecord& record : listed.records) names.push_back(record.service_name);
        EXPECT_EQ(names, c.listed);
        EXPECT_EQ(calls, c.calls);
    }
}

TEST(EnumerateInPieces, TheLongerOfTwoShortPassesIsKept) {
    int pass = 0;
    const Enumeration listed =
        enumerate_in_pieces([&](std::uint32_t&, std::vector<EnumRecord>& out) {
            if (++pass == 1) out.push_back({u"A", "A", "A", 0x10, 1});  // then it fails for good
            return PieceEnd::failed;
        });
    EXPECT_FALSE(listed.complete);
    ASSERT_EQ(listed.records.size(), 1u);
    EXPECT_EQ(listed.records[0].exact_name, u"A");
}

// Letter case and look-alikes are other services; only the very same
// exact name is a repeat.
TEST(EnumerateInPieces, EachServiceComesOnceByItsExactName) {
    std::vector<EnumRecord> records = {
        {u"A", "A", "first", 0x10, 1},       {u"B", "B", "B", 0x10, 1},
        {u"A", "A", "second", 0x10, 4},      {u"a", "a", "other", 0x10, 1},
        {CAFE_ACCENTED, "qvtCafe", "accented", 0x10, 1},
        {CAFE_PLAIN, "qvtCafe", "plain", 0x10, 1},
        {u"B", "B", "B", 0x10, 1},           {CAFE_ACCENTED, "qvtCafe", "again", 0x10, 1}};
    drop_repeated_services(records);
    std::vector<std::string> displays;
    for (const EnumRecord& record : records) displays.push_back(record.display_name);
    EXPECT_EQ(displays, (std::vector<std::string>{"first", "B", "other", "accented", "plain"}));
}

TEST_F(ReadServiceRows, AListThatStaysShortSaysSoAndOneThatRecoversDoesNot) {
    scm.piece_size = 2;
    // Services only: Zeta, Alpha in the first piece, Beta in the second.
    scm.piece_faults = {{2, PieceEnd::failed}};
    ServiceListing listing = read_service_rows(scm, registry, code_page, false, true);
    EXPECT_TRUE(listing.complete);
    EXPECT_EQ(column(listing.rows, COL_SERVICE_NAME),
              (std::vector<std::string>{"Zeta", "Alpha", "Beta"}));
    EXPECT_EQ(scm.piece_starts, (std::vector<std::uint32_t>{0, 2, 0, 2}));

    scm.piece_starts.clear();
    scm.piece_faults = {{2, PieceEnd::more}, {4, PieceEnd::failed}};
    listing = read_service_rows(scm, registry, code_page, false, true);
    EXPECT_FALSE(listing.complete);
    EXPECT_EQ(column(listing.rows, COL_SERVICE_NAME), (std::vector<std::string>{"Zeta", "Alpha"}));
}

TEST_F(ReadServiceRows, AServiceHandedOutTwiceIsListedOnce) {
    scm.piece_size = 2;
    scm.pieces_starting_early = {2};  // the second piece starts again at Alpha
    const ServiceListing listing = read_service_rows(scm, registry, code_page, false, true);
    EXPECT_TRUE(listing.complete);
    EXPECT_EQ(column(listing.rows, COL_SERVICE_NAME),
              (std::vector<std::string>{"Zeta", "Alpha", "Beta"}));
}

TEST_F(ReadServiceRows, NoManagerGivesNoRowsAndSaysSo) {
    scm.manager_opens = false;
    const ServiceListing listing = read_service_rows(scm, registry, code_page, true, false);
    EXPECT_TRUE(listing.rows.empty());
    EXPECT_FALSE(listing.complete);  // an empty list must not pass for no services
    EXPECT_TRUE(scm.log.empty());
}

// One service read afresh, as a deletion reads it before recording it.
class ReadServiceRow : public ReadServiceRows {};

TEST_F(ReadServiceRow, ReadsStateKindConfigurationAndDescriptionNow) {
    FakeService& zeta = scm.services[0];
    zeta.record.current_state = STATE_STOPPED;
    zeta.record.service_type = 0x50;  // a per-user template now
    zeta.config = config(3, ".\\someone", "z2.exe");
    zeta.config.display_name = "Zeta renamed";
    describe(registry, u"Zeta", u"changed");
    ServiceRow row;
    ASSERT_TRUE(read_service_row(scm, registry, code_page, u"Zeta", false, row));
    EXPECT_EQ(row.texts, (std::array<std::string, COLUMN_COUNT>{
                             "Zeta renamed", "changed", "", "手動", ".\\someone", "z2.exe", "Zeta",
                             "独自プロセス(ユーザー別テンプレート)"}));
    EXPECT_EQ(row.exact_name, u"Zeta");
    EXPECT_EQ(row.service_type, 0x50u);

    const int reads = registry.reads;
    ASSERT_TRUE(read_service_row(scm, registry, code_page, u"Zeta", true, row));
    EXPECT_EQ(registry.reads, reads);
    EXPECT_EQ(row.texts[COL_DESCRIPTION], "");
}

TEST_F(ReadServiceRow, ByTheExactNameOnly) {
    scm.add_exact(CAFE_ACCENTED, "Cafe", 0x10, STATE_RUNNING).config = config(2, "", "accent.exe");
    ServiceRow row;
    EXPECT_FALSE(read_service_row(scm, registry, code_page, CAFE_PLAIN, true, row));
    ASSERT_TRUE(read_service_row(scm, registry, code_page, CAFE_ACCENTED, true, row));
    EXPECT_EQ(row.texts[COL_SERVICE_NAME], "qvtCafe");
    EXPECT_EQ(row.texts[COL_PATH], "accent.exe");
    EXPECT_EQ(row.exact_name, CAFE_ACCENTED);
}

TEST_F(ReadServiceRow, FailsWithoutStatusOrConfigurationAndLeavesTheRow) {
    const struct {
        const char* name;
        void (*break_it)(FakeServiceManager&);
    } cases[] = {
        {"status", [](FakeServiceManager& m) { m.services[0].status_readable = false; }},
        {"configuration", [](FakeServiceManager& m) { m.services[0].config_readable = false; }},
        {"service", [](FakeServiceManager& m) { m.services[0].openable = false; }},
        {"manager", [](FakeServiceManager& m) { m.manager_opens = false; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServiceManager broken = scm;
        c.break_it(broken);
        ServiceRow row;
        row.texts[COL_NAME] = "untouched";
        EXPECT_FALSE(read_service_row(broken, registry, code_page, u"Zeta", false, row));
        EXPECT_EQ(row.texts[COL_NAME], "untouched");
    }
}

}  // namespace
}  // namespace quorvel
