// The scripted message service: which answer each box gets (queue, then "always", then the box's default
// button; the error box its own script, Abort by default), what it records, and the shell's error report.
#include <gtest/gtest.h>

#include "db/Connection.h"
#include "entry/MDLFA_AGGANCI.h"
#include "host/HostFactory.h"
#include "host/ScriptedMessageService.h"

using host::ScriptedMessageService;

TEST(ScriptedMessages, QueuedAnswersComeFirstThenTheAlwaysAnswerThenTheDefaultAndTheErrorBoxHasItsOwn) {
    // The default answer is the box's default button.
    const std::pair<long, long> styleAnswer[] = {{0, 1},       {64, 1},       {1, 1},  {4, 6}, {4 + 32, 6},
                                                 {4 + 256, 7}, {3 + 512, 2}, {18, 3}, {5, 4}};
    for (const auto& [style, answer] : styleAnswer)
        EXPECT_EQ(ScriptedMessageService::DefaultAnswer(style), answer) << style;

    ScriptedMessageService s;
    s.MessageAnswers().Queue({7, 2});
    s.ErrorBoxAnswers().Queue({4, 5});
    EXPECT_EQ(s.MsgBox("Q1", 4, "T"), 7);
    EXPECT_EQ(s.ShowErrorBox("", "", "P", 4370), 4);
    EXPECT_EQ(s.MsgBox("Q2", 3, "T"), 2);
    EXPECT_EQ(s.MsgBox("Q3", 4, "T"), 6);  // queue used up: default button
    s.MessageAnswers().Always(7);
    EXPECT_EQ(s.MsgBox("Q4", 4, "T"), 7);
    EXPECT_EQ(s.ShowErrorBox("", "", "P", 4370), 5);
    EXPECT_EQ(s.ShowErrorBox("", "", "P", 4370), 3);
    ASSERT_EQ(s.Messages().size(), 4u);
    EXPECT_EQ(s.Messages()[2].answer, 6);
    s.SetMessageResponder([](const host::ShownMessage& m) -> std::optional<long> {
        if (m.text.find("troncare") != std::string::npos) return 6;
        return std::nullopt;
    });
    EXPECT_EQ(s.MsgBox("Vuoi troncare il codice?", 4, "T"), 6);
    EXPECT_EQ(s.MsgBox("Altra domanda", 4, "T"), 7);
}

TEST(ScriptedErrorBox, RecordsTheErrorHandedOverForThatReportOnlyAndThePlatformBoxWithoutAService) {
    ScriptedMessageService s;
    s.SetError(db::Error(3021, "No current record", "ADODB.Recordset"));
    s.SetConnectionErrors({db::Error(-2147217900, "Incorrect syntax", "Provider")});
    EXPECT_EQ(s.ShowErrorBox("Agganci", "Generazione articoli da agganci", "Form_Load", 4370), 3);
    s.SetError(db::Error(6, "Overflow"));
    s.ShowErrorBox("Agganci", "", "EseguiQuery", 4370);
    ASSERT_EQ(s.ErrorBoxes().size(), 2u);
    const auto& box = s.ErrorBoxes()[0];
    EXPECT_EQ(std::to_string(box.number) + "|" + box.description + "|" + box.source + "|" + box.procedure + "|" +
                  box.title + "|" + box.componentDescription + "|" + std::to_string(box.style),
              "3021|No current record|ADODB.Recordset|Form_Load|Agganci|Generazione articoli da agganci|4370");
    ASSERT_EQ(box.connectionErrors.size(), 1u);
    EXPECT_EQ(box.connectionErrors[0].Description(), "Incorrect syntax");
    EXPECT_EQ(s.ErrorBoxes()[1].number, 6);
    EXPECT_TRUE(s.ErrorBoxes()[1].connectionErrors.empty());

    // Without a message service, the shell records the platform box, which answers Abort.
    auto shell = host::InstallShellHost();
    EXPECT_EQ(entry::Pfun_GestioneErrore(nullptr, nullptr, "Form_Load", db::Error(5, "x")), 3);
    ASSERT_EQ(shell->Messages()->Messages().size(), 1u);
    const auto& platformBox = shell->Messages()->Messages()[0];
    EXPECT_EQ(platformBox.text, "Errore nella funzione: Form_Load");
    EXPECT_EQ(platformBox.title, "Agganci");
    EXPECT_TRUE(platformBox.platform);
    entry::SetHost(nullptr);
}
