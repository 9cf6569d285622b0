#include "operations/start_stop.h"

#include <gtest/gtest.h>

#include <functional>

#include "fakes/fake_prompt.h"
#include "fakes/fake_service_manager.h"
#include "text/user_texts.h"

namespace quorvel {
namespace {

using testing::CAFE_ACCENTED;
using testing::CAFE_PLAIN;
using testing::FakePause;
using testing::FakePrompt;
using testing::FakeService;
using testing::FakeServiceManager;

using Log = std::vector<std::string>;


// A pause that moves a clock on instead of sleeping, and lets the test
// change the service as the time passes.
class FakeClock : public Pause {
public:
    unsigned now_ms = 0;
    std::vector<unsigned> pauses;
    std::function<void(unsigned now_ms)> on_tick = [](unsigned) {};

    void sleep_ms(unsigned milliseconds) override {
        pauses.push_back(milliseconds);
        now_ms += milliseconds;
        on_tick(now_ms);
    }
};

int queries(const FakeServiceManager& scm) {
    int count = 0;
    for (const std::string& entry : scm.log) count += entry.rfind("query ", 0) == 0;
    return count;
}

struct RequestCase {
    const char* name;
    bool manager_opens;
    bool service_opens;
    bool accepted;
    bool done;  // started, or seen stopped
    Log log;
};

TEST(StartService, AsksOnceByTheServiceName) {
    const RequestCase cases[] = {
        {"accepted", true, true, true, true, {"start Svc"}},
        {"refused", true, true, false, false, {"start Svc"}},
        {"service not opened", true, false, true, false, {"start Svc"}},
        {"manager not opened", false, true, true, false, {"start Svc"}},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServiceManager scm;
        scm.manager_opens = c.manager_opens;
        FakeService& service = scm.add("Svc", "Service", 0x10, STATE_STOPPED);
        service.openable = c.service_opens;
        service.start_accepted = c.accepted;

        EXPECT_EQ(start_service(scm, u"Svc"), c.done);
        EXPECT_EQ(scm.log, c.log);
        EXPECT_EQ(scm.services[0].record.current_state, c.done ? STATE_RUNNING : STATE_STOPPED);
    }
}

TEST(StopService, FailuresBeforeThePollNeverPause) {
    const RequestCase cases[] = {
        {"stop refused", true, true, false, false, {"stop Svc"}},
        {"service not opened", true, false, true, false, {"stop Svc"}},
        {"manager not opened", false, true, true, false, {"stop Svc"}},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServiceManager scm;
        scm.manager_opens = c.manager_opens;
        FakeService& service = scm.add("Svc", "Service", 0x10, STATE_RUNNING);
        service.openable = c.service_opens;
        service.stop_accepted = c.accepted;
        FakePause pause;

        EXPECT_FALSE(stop_service(scm, pause, u"Svc"));
        EXPECT_EQ(scm.log, c.log);
        EXPECT_TRUE(pause.pauses.empty());
    }
}

TEST(StopService, PollsAtOnceThenEveryHalfSecondUpToTenTimes) {
    const struct {
        const char* name;
        unsigned stops_at_ms;      // on the fake clock; 0: already at the first poll
        unsigned readable_from_ms;  // queries fail before this
        bool never_stops;
        bool stopped;
        int queries;
        unsigned elapsed_ms;
    } cases[] = {
        {"stopped at the first poll", 0, 0, false, true, 1, 0},
        {"stopped after 3 s", 3000, 0, false, true, 7, 3000},
        {"stopped between two polls", 2800, 0, false, true, 7, 3000},
        {"stopped just before the last poll", 4500, 0, false, true, 10, 4500},
        {"never stopped", 0, 0, true, false, 10, 5000},
        {"failing queries, then stopped", 0, 1000, false, true, 3, 1000},
        {"queries always fail", 0, 1000000, false, false, 10, 5000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServiceManager scm;
        FakeService& service = scm.add("Svc", "Service", 0x10, STATE_RUNNING);
        service.queries_until_stopped = -1;  // the clock decides
        FakeClock clock;
        clock.on_tick = [&](unsigned now) {
            service.status_readable = now >= c.readable_from_ms;
            if (!c.never_stops && now >= c.stops_at_ms) service.record.current_state = STATE_STOPPED;
        };
        clock.on_tick(0);

        EXPECT_EQ(stop_service(scm, clock, u"Svc"), c.stopped);
        EXPECT_EQ(queries(scm), c.queries);
        EXPECT_EQ(clock.now_ms, c.elapsed_ms);
        for (unsigned pause : clock.pauses) EXPECT_EQ(pause, 500u);
    }
}

TEST(StartStopCommands, TellOnlySuccessNamingTheDisplayName) {
    const std::string long_name = std::string(255, 'x') + "名前";  // 259 bytes, as read from a row
    ASSERT_EQ(long_name.size(), 259u);
    const struct {
        const char* name;
        bool stop;
        bool accepted;
        std::string display_name;
        std::string text;  // "" when no box is shown
        std::string caption;
    } cases[] = {
        {"started", false, true, "表示名", "表示名 を開始しました", START_CAPTION},
        {"start refused", false, false, "表示名", "", ""},
        {"stopped", true, true, "表示名", "表示名 を停止しました", STOP_CAPTION},
        {"stop refused", true, false, "表示名", "", ""},
        {"longest name started", false, true, long_name, long_name + " を開始しました", START_CAPTION},
        {"longest name stopped", true, true, long_name, long_name + " を停止しました", STOP_CAPTION},
        {"percent in the name", false, true, "50%s %d", "50%s %d を開始しました", START_CAPTION},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServiceManager scm;
        FakeService& service = scm.add("Svc", c.display_name, 0x10,
                                       c.stop ? STATE_RUNNING : STATE_STOPPED);
        service.start_accepted = c.accepted;
        service.stop_accepted = c.accepted;
        FakePrompt prompt;
        FakePause pause;

        if (c.stop)
            stop_command(scm, prompt, pause, c.display_name, u"Svc");
        else
            start_command(scm, prompt, c.display_name, u"Svc");

        // The service name, not the display name.
        EXPECT_EQ(scm.log.at(0), c.stop ? "stop Svc" : "start Svc");
        if (c.text.empty()) {
            EXPECT_TRUE(prompt.shown.empty());
            continue;
        }
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].text, c.text);
        EXPECT_EQ(prompt.shown[0].caption, c.caption);
        EXPECT_EQ(prompt.shown[0].flags, static_cast<unsigned>(BOX_OK));
    }
}

// Two services the code page shows alike: the command reaches the one
// whose exact name it was given, and never the other.
TEST(StartStopCommands, ALookAlikeIsNeverStartedOrStopped) {
    for (const WideText& chosen : {CAFE_ACCENTED, CAFE_PLAIN}) {
        SCOPED_TRACE(chosen == CAFE_ACCENTED ? "accented" : "plain");
        FakeServiceManager scm;
        scm.add_exact(CAFE_ACCENTED, "Cafe", 0x10, STATE_STOPPED);
        scm.add_exact(CAFE_PLAIN, "Cafe", 0x10, STATE_STOPPED);
        const std::size_t mine = chosen == CAFE_ACCENTED ? 0 : 1;
        FakeService& other = scm.services[1 - mine];
        FakePrompt prompt;
        FakePause pause;

        start_command(scm, prompt, "Cafe", chosen);
        EXPECT_EQ(scm.services[mine].record.current_state, STATE_RUNNING);
        EXPECT_EQ(other.record.current_state, STATE_STOPPED);

        other.record.current_state = STATE_RUNNING;  // started by someone else
        stop_command(scm, prompt, pause, "Cafe", chosen);
        EXPECT_EQ(scm.services[mine].record.current_state, STATE_STOPPED);
        EXPECT_EQ(other.record.current_state, STATE_RUNNING);
        EXPECT_FALSE(other.stop_requested);
        EXPECT_TRUE(other.calls.empty());
        EXPECT_EQ(prompt.shown.size(), 2u);
    }
}

}  // namespace
}  // namespace quorvel
