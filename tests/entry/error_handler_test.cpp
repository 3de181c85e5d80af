#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "FakeHost.h"
#include "entry/ErrorHandler.h"

using entry::ErrorContext;
using entry::HandlerTable;
using entry::Procedure;
using entry_test::FakeHost;
using entry_test::FakeMessageService;

namespace {

// A procedure of three steps whose second fails once, with a clean-up step; `trail` records what ran.
struct Scenario {
    std::vector<std::string> trail;
    int failures = 1;  // how many times step 2 fails before it succeeds

    bool Run(HandlerTable table, const std::shared_ptr<entry::IMessageService>& service) {
        std::shared_ptr<entry::IMessageService> log = service;
        db::ConnectionPtr connection;
        return Procedure("Form_Load", table, ErrorContext(&log, &connection))
            .Step([&] { trail.push_back("1"); })
            .Step([&] {
                trail.push_back("2");
                if (failures-- > 0) throw db::Error(3021, "No current record");
            })
            .Step([&] { trail.push_back("3"); })
            .Cleanup([&] { trail.push_back("cleanup"); })
            .Run();
    }
};

using Trail = std::vector<std::string>;
const Trail kLeft{"1", "2", "cleanup"};
const Trail kContinued{"1", "2", "3", "cleanup"};
const Trail kRetried{"1", "2", "2", "3", "cleanup"};

struct TableCase {
    HandlerTable table;
    long answer;
    Trail expected;
};

class HandlerTables : public ::testing::TestWithParam<TableCase> {};

}  // namespace

TEST_P(HandlerTables, AnswerSelectsLeaveContinueOrRetry) {
    const auto& c = GetParam();
    auto service = std::make_shared<FakeMessageService>();
    service->answers = {c.answer};
    Scenario s;
    const bool ranToEnd = s.Run(c.table, service);
    EXPECT_EQ(s.trail, c.expected);
    EXPECT_EQ(ranToEnd, c.expected != kLeft);
    EXPECT_EQ(service->calls, (std::vector<std::string>{"SetError 3021", "ShowErrorBox Form_Load"}));
}

INSTANTIATE_TEST_SUITE_P(
    EveryAnswer, HandlerTables,
    ::testing::Values(TableCase{HandlerTable::A, 2, kLeft}, TableCase{HandlerTable::A, 3, kLeft},
                      TableCase{HandlerTable::A, 4, kRetried}, TableCase{HandlerTable::A, 5, kContinued},
                      TableCase{HandlerTable::A, 1, kLeft}, TableCase{HandlerTable::A, 7, kLeft},
                      TableCase{HandlerTable::B, 2, kContinued}, TableCase{HandlerTable::B, 3, kLeft},
                      TableCase{HandlerTable::B, 4, kRetried}, TableCase{HandlerTable::B, 5, kLeft},
                      TableCase{HandlerTable::B, 6, kLeft}, TableCase{HandlerTable::B, 0, kLeft},
                      TableCase{HandlerTable::C, 2, kContinued}, TableCase{HandlerTable::C, 3, kLeft},
                      TableCase{HandlerTable::C, 4, kRetried}, TableCase{HandlerTable::C, 5, kContinued},
                      TableCase{HandlerTable::C, 9, kLeft}));

TEST(ErrorRunner, RetryRunsTheStepAgainUntilItSucceeds) {
    auto service = std::make_shared<FakeMessageService>();
    service->answers = {4, 4};
    Scenario s;
    s.failures = 2;
    EXPECT_TRUE(s.Run(HandlerTable::B, service));
    EXPECT_EQ(s.trail, (Trail{"1", "2", "2", "2", "3", "cleanup"}));
    EXPECT_EQ(service->calls.size(), 4u);  // two reports, each an error then a box
}

TEST(ErrorRunner, ReportsThroughTheServiceTheProcedureCreatedItself) {
    // Form_Load creates its message service in an early step; a later error must be reported through it.
    std::shared_ptr<entry::IMessageService> log;
    db::ConnectionPtr connection;
    auto service = std::make_shared<FakeMessageService>();
    service->answers = {5};
    const bool ranToEnd = Procedure("Form_Load", HandlerTable::C, ErrorContext(&log, &connection))
                              .Step([&] { log = service; })
                              .Step([] { throw db::Error(5, "Invalid procedure call"); })
                              .Run();
    EXPECT_TRUE(ranToEnd);
    EXPECT_EQ(service->procedure, "Form_Load");
}

TEST(ErrorRunner, OtherExceptionsAreReportedAsErrors) {
    std::shared_ptr<entry::IMessageService> log = std::make_shared<FakeMessageService>();
    db::ConnectionPtr connection;
    Procedure p("EseguiQuery", HandlerTable::A, ErrorContext(&log, &connection));
    p.Step([] { throw std::runtime_error("disk full"); });
    EXPECT_FALSE(p.Run());
    EXPECT_TRUE(p.LeftOnError());
    ASSERT_TRUE(p.LastError());
    EXPECT_EQ(p.LastError()->Number(), 51);
    EXPECT_EQ(p.LastError()->Description(), "disk full");
    EXPECT_EQ(p.LastError()->Source(), "EseguiQuery");
}

TEST(ErrorRunner, AFailingErrorReportReachesTheCaller) {
    auto service = std::make_shared<FakeMessageService>();
    service->failOnShow = true;
    Scenario s;
    EXPECT_THROW(s.Run(HandlerTable::B, service), db::Error);
    EXPECT_EQ(s.trail, (Trail{"1", "2"}));
}

TEST(ErrorRunner, StepReturningFalseLeavesWithoutError) {
    std::vector<std::string> trail;
    Procedure p("CMD_DUPLICA_Click", HandlerTable::B);
    p.Step([&] { trail.push_back("check"); return false; })
        .Step([&] { trail.push_back("never"); })
        .Cleanup([&] { trail.push_back("cleanup"); });
    EXPECT_FALSE(p.Run());
    EXPECT_FALSE(p.LeftOnError());
    EXPECT_FALSE(p.LastError());
    EXPECT_EQ(trail, (std::vector<std::string>{"check", "cleanup"}));
}

TEST(ErrorRunner, LeavingDuringCleanupEndsTheCleanup) {
    auto service = std::make_shared<FakeMessageService>();
    service->answers = {3};
    std::shared_ptr<entry::IMessageService> log = service;
    db::ConnectionPtr connection;
    std::vector<std::string> trail;
    Procedure p("DistruggiVFAgganci", HandlerTable::A, ErrorContext(&log, &connection));
    p.Step([&] { trail.push_back("body"); })
        .Cleanup([&] { throw db::Error(91, "Object variable not set"); })
        .Cleanup([&] { trail.push_back("second cleanup"); });
    EXPECT_TRUE(p.Run());  // the steps themselves ran to the end
    EXPECT_TRUE(p.LeftOnError());
    EXPECT_EQ(trail, (std::vector<std::string>{"body"}));
}

TEST(ResumeNext, SkipsEachFailingStepWithoutAsking) {
    auto host = std::make_shared<FakeHost>();
    entry::SetHost(host);
    std::vector<std::string> trail;
    Procedure p = Procedure::ResumeNext("ShowForm");
    p.Step([&] { trail.push_back("1"); })
        .Step([&] { throw db::Error(91, "Object variable not set"); })
        .Step([&] { trail.push_back("3"); })
        .Step([&] { throw db::Error(6, "Overflow"); })
        .Step([&] { trail.push_back("5"); });
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(trail, (std::vector<std::string>{"1", "3", "5"}));
    ASSERT_TRUE(p.LastError());
    EXPECT_EQ(p.LastError()->Number(), 6);
    EXPECT_TRUE(host->boxes.empty());
    entry::SetHost(nullptr);
}
