#include "catalogue/enumeration.h"

#include <gtest/gtest.h>

#include "catalogue/enumeration_pieces.h"
#include "fakes/fake_service_manager.h"

namespace quorvel {
namespace {

using testing::FakeServiceManager;
using testing::FakeServiceRegistry;

const std::string KEY = "SYSTEM\\CurrentControlSet\\Services\\";

ServiceConfig config(std::uint32_t start, const std::string& account, const std::string& path) {
    ServiceConfig c;
    c.start_type = start;
    c.start_name = account;
    c.binary_path = path;
    return c;
}

TEST(BuildRow, FillsEveryColumnFromItsSource) {
    EnumRecord record{"FooSvc", "Foo Service", 0x10, 4};
    ServiceConfig c = config(2, "LocalSystem", "C:\\foo\\foo.exe -k");
    c.service_type = 0x20;  // the enumeration's type wins
    ServiceRow row = build_row(record, &c, std::string("does foo"));
    const char* expected[] = {"Foo Service", "does foo", "開始", "自動",
                              "LocalSystem", "C:\\foo\\foo.exe -k", "FooSvc", "独自プロセス"};
    for (int i = 0; i < COLUMN_COUNT; ++i) EXPECT_EQ(row.texts[i], expected[i]) << i;
    EXPECT_EQ(row.service_type, 0x10u);
    EXPECT_EQ(row.current_state, 4u);
}

TEST(BuildRow, UnreadConfigurationAndDescriptionLeaveEmptyColumns) {
    EnumRecord record{"Bar", "Bar", 0x8, 1};
    ServiceRow row = build_row(record, nullptr, std::nullopt);
    EXPECT_EQ(row.texts[COL_NAME], "Bar");
    for (int column : {1, 2, 3, 4, 5, 7}) EXPECT_EQ(row.texts[column], "") << column;
    EXPECT_EQ(row.texts[COL_SERVICE_NAME], "Bar");
}

TEST(DescribeService, ReadsTheServicesKeyAndStopsAtTheFirstZero) {
    FakeServiceRegistry registry;
    registry.keys[KEY + "A"]["Description"] = std::string("first\0rest", 10);
    registry.keys[KEY + "B"];  // key without the value
    EXPECT_EQ(describe_service(registry, "A"), "first");
    EXPECT_EQ(describe_service(registry, "B"), "");
    EXPECT_EQ(describe_service(registry, "C"), std::nullopt);
}

TEST(DescribeService, LongNamesReadTheirOwnKey) {
    FakeServiceRegistry registry;
    const std::string name(240, 'n');
    registry.keys[KEY + name]["Description"] = "long named";
    registry.keys[KEY + name.substr(0, 225)]["Description"] = "wrong key";
    EXPECT_EQ(describe_service(registry, name), "long named");
}

TEST(DescribeService, LongTextsAreCutWithoutSplittingACharacter) {
    FakeServiceRegistry registry;
    // 258 single bytes and then a double-byte character that would end at 260.
    registry.keys[KEY + "A"]["Description"] = std::string(258, 'x') + "説明";
    registry.keys[KEY + "B"]["Description"] = std::string(257, 'x') + "説明";
    registry.keys[KEY + "C"]["Description"] = std::string(259, 'x');
    EXPECT_EQ(describe_service(registry, "A"), std::string(258, 'x'));
    EXPECT_EQ(describe_service(registry, "B"), std::string(257, 'x') + "説");
    EXPECT_EQ(describe_service(registry, "C")->size(), 259u);
}

class ReadServiceRows : public ::testing::Test {
protected:
    FakeServiceManager scm;
    FakeServiceRegistry registry;

    void SetUp() override {
        scm.add("Zeta", "Zeta display", 0x10, 4).config = config(2, "LocalSystem", "z.exe");
        scm.add("disk", "Disk driver", 0x1, 4).config = config(0, "", "disk.sys");
        scm.add("Alpha", "Alpha display", 0x20, 1).config = config(3, "NT AUTHORITY\\LocalService", "a.exe");
        scm.add("fs", "File system", 0x2, 1).config = config(1, "", "fs.sys");
        scm.add("rec", "Recognizer", 0x8, 1).config = config(1, "", "rec.sys");
        scm.add("Beta", "Beta display", 0x110, 2).config = config(4, "", "b.exe");
        registry.keys[KEY + "Zeta"]["Description"] = "Zeta does things";
        registry.keys[KEY + "Alpha"];
    }

    std::vector<std::string> column(const std::vector<ServiceRow>& rows, int c) {
        std::vector<std::string> out;
        for (const ServiceRow& row : rows) out.push_back(row.texts[c]);
        return out;
    }
};

TEST_F(ReadServiceRows, ListsServicesOnlyInTheManagersOrder) {
    auto rows = read_service_rows(scm, registry, false, false).rows;
    EXPECT_EQ(scm.enumerate_masks, std::vector<std::uint32_t>{0x30});
    EXPECT_EQ(column(rows, COL_SERVICE_NAME), (std::vector<std::string>{"Zeta", "Alpha", "Beta"}));
    EXPECT_EQ(column(rows, COL_STATE), (std::vector<std::string>{"開始", "", "開始中"}));
    EXPECT_EQ(column(rows, COL_START_TYPE), (std::vector<std::string>{"自動", "手動", "無効"}));
    EXPECT_EQ(column(rows, COL_DESCRIPTION), (std::vector<std::string>{"Zeta does things", "", ""}));
    EXPECT_EQ(column(rows, COL_KIND),
              (std::vector<std::string>{"独自プロセス", "共有プロセス", "独自プロセス(対話許可)"}));
}

TEST_F(ReadServiceRows, ShowAllAddsDriversWithTheirLabels) {
    auto rows = read_service_rows(scm, registry, true, false).rows;
    EXPECT_EQ(scm.enumerate_masks, std::vector<std::uint32_t>{0x3B});
    EXPECT_EQ(column(rows, COL_KIND),
              (std::vector<std::string>{"独自プロセス", "デバイスドライバ", "共有プロセス",
                                        "ファイルシステムドライバ", "", "独自プロセス(対話許可)"}));
    EXPECT_EQ(column(rows, COL_START_TYPE),
              (std::vector<std::string>{"自動", "ブート", "手動", "システム", "システム", "無効"}));
}

TEST_F(ReadServiceRows, SkippingDescriptionsOpensNoKey) {
    auto rows = read_service_rows(scm, registry, true, true).rows;
    EXPECT_EQ(registry.reads, 0);
    for (const ServiceRow& row : rows) EXPECT_EQ(row.texts[COL_DESCRIPTION], "");
}

TEST_F(ReadServiceRows, EveryHandleIsClosedServiceBeforeManager) {
    scm.services[2].openable = false;        // Alpha cannot be opened
    scm.services[5].config_readable = false;  // Beta's configuration cannot be read
    auto rows = read_service_rows(scm, registry, false, false).rows;
    EXPECT_EQ(scm.open_handles(), 0);
    EXPECT_EQ(scm.log, (std::vector<std::string>{
                           "open manager 983103", "open Zeta 1", "close Zeta", "open Alpha 1",
                           "open Beta 1", "close Beta", "close manager"}));
    // Rows whose configuration could not be read are still listed.
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].texts[COL_NAME], "Alpha display");
    EXPECT_EQ(rows[1].texts[COL_START_TYPE], "");
    EXPECT_EQ(rows[1].texts[COL_PATH], "");
    EXPECT_EQ(rows[2].texts[COL_STATE], "開始中");
    EXPECT_EQ(rows[2].texts[COL_LOGON], "");
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
        const auto rows = read_service_rows(scm, registry, true, true).rows;
        EXPECT_EQ(column(rows, COL_SERVICE_NAME), all);
        EXPECT_EQ(scm.piece_starts, c.starts);
    }
}

// A pass that ends early starts the list over once; what it finally
// gives is never short without the mark.
TEST(EnumerateInPieces, AShortPassStartsOverOnceAndAShortListIsMarked) {
    const EnumRecord a{"A", "A", 0x10, 1}, b{"B", "B", 0x10, 1};
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
        auto records = enumerate_in_pieces([&](std::uint32_t& resume,
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
        EXPECT_EQ(take_incomplete_mark(records), c.complete);
        std::vector<std::string> names;
        for (const EnumRecord& record : records) names.push_back(record.service_name);
        EXPECT_EQ(names, c.listed);
        EXPECT_EQ(calls, c.calls);
    }
}

TEST(EnumerateInPieces, TheLongerOfTwoShortPassesIsKept) {
    int pass = 0;
    auto records = enumerate_in_pieces([&](std::uint32_t&, std::vector<EnumRecord>& out) {
        if (++pass == 1) out.push_back({"A", "A", 0x10, 1});  // then the manager fails for good
        return PieceEnd::failed;
    });
    EXPECT_FALSE(take_incomplete_mark(records));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].service_name, "A");
}

TEST(EnumerateInPieces, EachServiceComesOnceByItsExactName) {
    std::vector<EnumRecord> records = {{"A", "first", 0x10, 1},  {"B", "B", 0x10, 1},
                                       {"A", "second", 0x10, 4}, {"a", "other", 0x10, 1},
                                       {"B", "B", 0x10, 1}};
    drop_repeated_services(records);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].display_name, "first");
    EXPECT_EQ(records[1].service_name, "B");
    EXPECT_EQ(records[2].service_name, "a");
    EXPECT_TRUE(take_incomplete_mark(records));
    EXPECT_EQ(records.size(), 3u);
}

TEST_F(ReadServiceRows, AListThatStaysShortSaysSoAndOneThatRecoversDoesNot) {
    scm.piece_size = 2;
    // Services only: Zeta, Alpha in the first piece, Beta in the second.
    scm.piece_faults = {{2, PieceEnd::failed}};
    ServiceListing listing = read_service_rows(scm, registry, false, true);
    EXPECT_TRUE(listing.complete);
    EXPECT_EQ(column(listing.rows, COL_SERVICE_NAME),
              (std::vector<std::string>{"Zeta", "Alpha", "Beta"}));
    EXPECT_EQ(scm.piece_starts, (std::vector<std::uint32_t>{0, 2, 0, 2}));

    scm.piece_starts.clear();
    scm.piece_faults = {{2, PieceEnd::more}, {4, PieceEnd::failed}};
    listing = read_service_rows(scm, registry, false, true);
    EXPECT_FALSE(listing.complete);
    EXPECT_EQ(column(listing.rows, COL_SERVICE_NAME), (std::vector<std::string>{"Zeta", "Alpha"}));
    EXPECT_EQ(scm.open_handles(), 0);
}

TEST_F(ReadServiceRows, AServiceHandedOutTwiceIsListedOnce) {
    scm.piece_size = 2;
    scm.pieces_starting_early = {2};  // the second piece starts again at Alpha
    const ServiceListing listing = read_service_rows(scm, registry, false, true);
    EXPECT_TRUE(listing.complete);
    EXPECT_EQ(column(listing.rows, COL_SERVICE_NAME),
              (std::vector<std::string>{"Zeta", "Alpha", "Beta"}));
}

TEST_F(ReadServiceRows, NoManagerGivesNoRowsAndSaysSo) {
    scm.manager_opens = false;
    const ServiceListing listing = read_service_rows(scm, registry, true, false);
    EXPECT_TRUE(listing.rows.empty());
    EXPECT_FALSE(listing.complete);  // an empty list must not pass for no services
    EXPECT_EQ(scm.log, std::vector<std::string>{"open manager 983103"});
}

}  // namespace
}  // namespace quorvel
