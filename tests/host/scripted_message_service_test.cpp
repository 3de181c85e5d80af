#include <gtest/gtest.h>

#include "db/Connection.h"
#include "entry/ErrorHandler.h"
#include "entry/MDLFA_AGGANCI.h"
#include "host/HostFactory.h"
#include "host/ScriptedMessageService.h"

using host::ScriptedMessageService;

TEST(ScriptedMessages, DefaultAnswerIsTheBoxDefaultButton) {
    EXPECT_EQ(ScriptedMessageService::DefaultAnswer(0), 1);         // OK
    EXPECT_EQ(ScriptedMessageService::DefaultAnswer(64), 1);        // OK, information icon
    EXPECT_EQ(ScriptedMessageService::DefaultAnswer(1), 1);         // OK / Cancel
    EXPECT_EQ(ScriptedMessageService::DefaultAnswer(4), 6);         // Yes / No
    EXPECT_EQ(ScriptedMessageService::DefaultAnswer(4 + 32), 6);    // Yes / No, question icon
    EXPECT_EQ(ScriptedMessageService::DefaultAnswer(4 + 256), 7);   // Yes / No, second button default
    EXPECT_EQ(ScriptedMessageService::DefaultAnswer(3 + 512), 2);   // Yes / No / Cancel, third default
    EXPECT_EQ(ScriptedMessageService::DefaultAnswer(18), 3);        // Abort / Retry / Ignore
    EXPECT_EQ(ScriptedMessageService::DefaultAnswer(5), 4);         // Retry / Cancel
}

TEST(ScriptedMessages, QueuedAnswersComeFirstThenTheAlwaysAnswerThenTheDefault) {
    ScriptedMessageService s;
    s.MessageAnswers().Queue({7, 2});
    EXPECT_EQ(s.MsgBox("Q1", 4, "T"), 7);
    EXPECT_EQ(s.MsgBox("Q2", 3, "T"), 2);
    EXPECT_EQ(s.MsgBox("Q3", 4, "T"), 6);  // queue used up: default button
    s.MessageAnswers().Always(7);
    EXPECT_EQ(s.MsgBox("Q4", 4, "T"), 7);
    EXPECT_EQ(s.MsgBox("Q5", 4, "T"), 7);
}

TEST(ScriptedMessages, RecordsEveryMessageWithItsAnswer) {
    ScriptedMessageService s;
    s.MessageAnswers().Push(7);
    s.MsgBox("Il cambio ditta è consentito solo dopo la chiusura del programma in uso!", 64, "Informazione");
    s.MsgBox("Confermi?", 4, "Attenzione!");
    ASSERT_EQ(s.Messages().size(), 2u);
    EXPECT_EQ(s.Messages()[0].text, "Il cambio ditta è consentito solo dopo la chiusura del programma in uso!");
    EXPECT_EQ(s.Messages()[0].style, 64);
    EXPECT_EQ(s.Messages()[0].title, "Informazione");
    EXPECT_EQ(s.Messages()[0].answer, 7);
    EXPECT_FALSE(s.Messages()[0].platform);
    EXPECT_EQ(s.Messages()[1].answer, 6);
    s.ClearRecords();
    EXPECT_TRUE(s.Messages().empty());
}

TEST(ScriptedMessages, ResponderAnswersBeforeTheScript) {
    ScriptedMessageService s;
    s.MessageAnswers().Always(6);
    s.SetMessageResponder([](const host::ShownMessage& m) -> std::optional<long> {
        if (m.text.find("troncare") != std::string::npos) return 7;
        return std::nullopt;
    });
    EXPECT_EQ(s.MsgBox("Vuoi troncare il codice?", 4, "T"), 7);
    EXPECT_EQ(s.MsgBox("Altra domanda", 4, "T"), 6);
}

TEST(ScriptedErrorBox, RecordsTheHandedErrorAndAnswersAbortByDefault) {
    ScriptedMessageService s;
    s.SetError(db::Error(3021, "No current record", "ADODB.Recordset"));
    s.SetConnectionErrors({db::Error(-2147217900, "Incorrect syntax", "Provider")});
    EXPECT_EQ(s.ShowErrorBox("Agganci", "Generazione articoli da agganci", "Form_Load", 4370), 3);
    ASSERT_EQ(s.ErrorBoxes().size(), 1u);
    const auto& box = s.ErrorBoxes()[0];
    EXPECT_EQ(box.number, 3021);
    EXPECT_EQ(box.description, "No current record");
    EXPECT_EQ(box.source, "ADODB.Recordset");
    EXPECT_EQ(box.procedure, "Form_Load");
    EXPECT_EQ(box.title, "Agganci");
    EXPECT_EQ(box.componentDescription, "Generazione articoli da agganci");
    EXPECT_EQ(box.style, 4370);
    ASSERT_EQ(box.connectionErrors.size(), 1u);
    EXPECT_EQ(box.connectionErrors[0].Description(), "Incorrect syntax");

    // The next report carries only what it hands over itself.
    s.SetError(db::Error(6, "Overflow"));
    s.ShowErrorBox("Agganci", "", "EseguiQuery", 4370);
    EXPECT_EQ(s.ErrorBoxes()[1].number, 6);
    EXPECT_TRUE(s.ErrorBoxes()[1].connectionErrors.empty());
}

TEST(ScriptedErrorBox, HasItsOwnScript) {
    ScriptedMessageService s;
    s.ErrorBoxAnswers().Queue({4, 5});
    s.MessageAnswers().Always(7);
    EXPECT_EQ(s.ShowErrorBox("", "", "P", 4370), 4);
    EXPECT_EQ(s.ShowErrorBox("", "", "P", 4370), 5);
    EXPECT_EQ(s.ShowErrorBox("", "", "P", 4370), 3);
    EXPECT_EQ(s.MsgBox("x", 4, ""), 7);
}

TEST(ShellErrorReport, ARetriedProcedureShowsOneBoxPerFailure) {
    auto shell = host::InstallShellHost();
    std::shared_ptr<entry::IMessageService> log = entry::Host().CreateMessageService();
    shell->Messages()->ErrorBoxAnswers().Queue({4});
    db::ConnectionPtr connection;
    int attempts = 0;
    const bool ranToEnd = entry::Procedure("CMD_DUPLICA_Click", entry::HandlerTable::B,
                                           entry::ErrorContext(&log, &connection))
                              .Step([&] {
                                  if (++attempts == 1) throw db::Error(3021, "No current record");
                              })
                              .Run();
    EXPECT_TRUE(ranToEnd);
    EXPECT_EQ(attempts, 2);
    ASSERT_EQ(shell->Messages()->ErrorBoxes().size(), 1u);
    EXPECT_EQ(shell->Messages()->ErrorBoxes()[0].procedure, "CMD_DUPLICA_Click");
    EXPECT_EQ(shell->Messages()->ErrorBoxes()[0].answer, 4);
    entry::SetHost(nullptr);
}

TEST(ShellErrorReport, WithoutMessageServiceThePlatformBoxIsRecordedAndAborts) {
    auto shell = host::InstallShellHost();
    EXPECT_EQ(entry::Pfun_GestioneErrore(nullptr, nullptr, "Form_Load", db::Error(5, "x")), 3);
    ASSERT_EQ(shell->Messages()->Messages().size(), 1u);
    const auto& box = shell->Messages()->Messages()[0];
    EXPECT_EQ(box.text, "Errore nella funzione: Form_Load");
    EXPECT_EQ(box.style, 18);
    EXPECT_EQ(box.title, "Agganci");
    EXPECT_TRUE(box.platform);
    entry::SetHost(nullptr);
}
