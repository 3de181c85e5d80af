#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "FakeHost.h"
#include "entry/ErrorHandler.h"

using entry::ErrorContext;
using entry::HandlerTable;
using entry::Procedure;
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
    std::deque<long> answers;  // one error box each
    Trail expected;
    int failures = 1;
};

// A procedure's error context: the message service it reports through, the connection whose errors go along.
class ErrorRunner : public ::testing::Test {
protected:
    std::shared_ptr<FakeMessageService> service = std::make_shared<FakeMessageService>();
    std::shared_ptr<entry::IMessageService> log = service;
    db::ConnectionPtr connection;
};

}  // namespace

TEST(HandlerTables, AnswerSelectsLeaveContinueOrRetry) {
    using enum HandlerTable;
    const TableCase cases[] = {
        {A, {2}, kLeft},      {A, {3}, kLeft},      {A, {4}, kRetried},   {A, {5}, kContinued}, {A, {1}, kLeft},
        {A, {7}, kLeft},      {B, {2}, kContinued}, {B, {3}, kLeft},      {B, {4}, kRetried},   {B, {5}, kLeft},
        {B, {6}, kLeft},      {B, {0}, kLeft},      {C, {2}, kContinued}, {C, {3}, kLeft},      {C, {4}, kRetried},
        {C, {5}, kContinued}, {C, {9}, kLeft},
        {B, {4, 4}, {"1", "2", "2", "2", "3", "cleanup"}, 2},  // retry runs the step again until it succeeds
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "table " << static_cast<int>(c.table) << ", answer " << c.answers[0]);
        auto service = std::make_shared<FakeMessageService>();
        service->answers = c.answers;
        Scenario s;
        s.failures = c.failures;
        const bool ranToEnd = s.Run(c.table, service);
        EXPECT_EQ(s.trail, c.expected);
        EXPECT_EQ(ranToEnd, c.expected != kLeft);
        std::vector<std::string> reports;  // each an error then a box
        for (std::size_t i = 0; i < c.answers.size(); ++i)
            reports.insert(reports.end(), {"SetError 3021", "ShowErrorBox Form_Load"});
        EXPECT_EQ(service->calls, reports);
    }
}

// An exception of another kind is reported as an error of its own number; Form_Load creates its message service in
// an early step, and a later error must be reported through it; an error report that fails reaches the caller.
TEST_F(ErrorRunner, ReportsOtherExceptionsThroughTheServiceTheProcedureCreatedAndAFailingReportReachesTheCaller) {
    Procedure other("EseguiQuery", HandlerTable::A, ErrorContext(&log, &connection));
    other.Step([] { throw std::runtime_error("disk full"); });
    EXPECT_FALSE(other.Run());
    EXPECT_TRUE(other.LeftOnError());
    ASSERT_TRUE(other.LastError());
    EXPECT_EQ(other.LastError()->Number(), 51);
    EXPECT_EQ(other.LastError()->Description(), "disk full");
    EXPECT_EQ(other.LastError()->Source(), "EseguiQuery");

    log.reset();
    service->answers = {5};
    const bool ranToEnd = Procedure("Form_Load", HandlerTable::C, ErrorContext(&log, &connection))
                              .Step([&] { log = service; })
                              .Step([] { throw db::Error(5, "Invalid procedure call"); })
                              .Run();
    EXPECT_TRUE(ranToEnd);
    EXPECT_EQ(service->lastBox, "Agganci|Generazione articoli da agganci|Form_Load|4370");

    service->failOnShow = true;
    Scenario s;
    EXPECT_THROW(s.Run(HandlerTable::B, service), db::Error);
    EXPECT_EQ(s.trail, (Trail{"1", "2"}));
}

// A step returning false leaves without an error; an error left from during the clean-up ends the clean-up; resumed
// on error, each failing step is skipped without asking.
TEST_F(ErrorRunner, AFalseStepLeavesLeavingDuringCleanupEndsItAndResumeNextSkipsFailingSteps) {
    Trail trail;
    Procedure check("CMD_DUPLICA_Click", HandlerTable::B);
    check.Step([&] { trail.push_back("check"); return false; })
        .Step([&] { trail.push_back("never"); })
        .Cleanup([&] { trail.push_back("cleanup"); });
    EXPECT_FALSE(check.Run());
    EXPECT_FALSE(check.LeftOnError());
    EXPECT_FALSE(check.LastError());
    EXPECT_EQ(trail, (Trail{"check", "cleanup"}));

    trail.clear();
    service->answers = {3};
    Procedure p("DistruggiVFAgganci", HandlerTable::A, ErrorContext(&log, &connection));
    p.Step([&] { trail.push_back("body"); })
        .Cleanup([&] { throw db::Error(91, "Object variable not set"); })
        .Cleanup([&] { trail.push_back("second cleanup"); });
    EXPECT_TRUE(p.Run());  // the steps themselves ran to the end
    EXPECT_TRUE(p.LeftOnError());
    EXPECT_EQ(trail, (Trail{"body"}));

    trail.clear();
    auto host = std::make_shared<entry_test::FakeHost>();
    entry::SetHost(host);
    Procedure resumed = Procedure::ResumeNext("ShowForm");
    resumed.Step([&] { trail.push_back("1"); })
        .Step([&] { throw db::Error(91, "Object variable not set"); })
        .Step([&] { trail.push_back("3"); })
        .Step([&] { throw db::Error(6, "Overflow"); })
        .Step([&] { trail.push_back("5"); });
    EXPECT_TRUE(resumed.Run());
    EXPECT_EQ(trail, (Trail{"1", "3", "5"}));
    ASSERT_TRUE(resumed.LastError());
    EXPECT_EQ(resumed.LastError()->Number(), 6);
    EXPECT_TRUE(host->boxes.empty());
    entry::SetHost(nullptr);
}

