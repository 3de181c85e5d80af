#pragma once
// The links form on the demo company, driven only through the headless shell: the ERP opens the program,
// the scripted user types, picks, presses and answers; the test reads what the form shows, what the
// user was told and what reached the database.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "Queries.h"
#include "db/Connection.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "entry/CLSFA_AGGANCI.h"
#include "entry/ILinksForm.h"
#include "entry/MDLFA_AGGANCI.h"
#include "erp/DemoBuilder.h"
#include "erp/Procedures.h"
#include "host/HeadlessShell.h"
#include "host/controls/DataFrame.h"
#include "host/controls/Grid.h"
#include "host/controls/LookupTextBox.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "links_form/Register.h"

namespace testsupport {

class LinksFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = std::filesystem::temp_directory_path() /
               ("links_form_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db");
        std::filesystem::remove(path);
        {
            auto c = db::Connection::Create();
            c->Open(Connessione());
            erp::BuildDemoDatabase(*c, erp::DemoOptions{});
        }
        erp::RegisterProcedures();
        shell = host::HeadlessShell::Start(Connessione(), 1);
        links_form::Register();
    }
    void TearDown() override {
        // The window goes with the test, as when a program closes it: edits a test left unsaved are dropped
        // (a "cancel" would keep the form, and with it everything it holds).
        if (shell)
            shell->Messages()->SetMessageResponder([](const host::ShownMessage& m) -> std::optional<long> {
                if (m.text == host::controls::DataFrame::kDomandaChiusura) return entry::kAnswerNo;
                return std::nullopt;
            });
        shell.reset();
        entry::RegisterLinksForm(nullptr);
        std::filesystem::remove(path);
    }

    std::string Connessione() const { return "sqlite:" + path.string(); }

    // The ERP opens the program (modeless unless the request says otherwise).
    std::shared_ptr<entry::CLSFA_AGGANCI> Apri(const std::string& articolo = {}) {
        host::ProgramRequest request;
        request.articoloOrigine = db::Variant(articolo);
        return shell->Apri(request);
    }
    // The user does the script on the open links form; a step the user could not do fails the test.
    void Utente(const host::UserScript& script) {
        const bool ok = shell->Act(entry::kLinksFormName, script);
        ASSERT_TRUE(ok) << (shell->Failures().empty() ? std::string() : shell->Failures().back());
    }
    // A new row with the fields given, saved into the grid (the header waits for its own save).
    void SalvaRiga(const std::vector<std::pair<std::string, std::string>>& campi) {
        host::UserScript script;
        script.Press("GRIDNAV_AGGANCI", entry::pulsanti::Nuovo);
        for (const auto& [campo, valore] : campi) script.Type(campo, valore);
        script.Press("GRIDNAV_AGGANCI", entry::pulsanti::Salva);
        Utente(script);
    }
    // The model typed into the model field.
    void ApriModello(const std::string& modello) {
        Apri();
        Utente(host::UserScript().Type("TXT_MODORIGINE", modello));
    }

    std::shared_ptr<links_form::FRMFA_AGGANCI> Form() const {
        return std::dynamic_pointer_cast<links_form::FRMFA_AGGANCI>(shell->OpenForm(entry::kLinksFormName));
    }
    const links_form::Controlli& Ui() const { return Form()->Ui(); }
    template <class C>
    std::shared_ptr<C> Controllo(const std::string& nome) const {
        return shell->ControlOf<C>(entry::kLinksFormName, nome);
    }
    std::shared_ptr<host::controls::Grid> Griglia() const { return Controllo<host::controls::Grid>("QGRD_AGGANCI"); }
    std::vector<std::string> Colonna(const std::string& field) const { return Griglia()->ColumnTexts(field); }
    // A new header without rows, as for a model without links: its prefix can be typed, nothing generated.
    void ExpectNewEmptyHeader() const {
        EXPECT_EQ(Ui().FME_AGGANCI->Status(), entry::kvStatoNuovo);
        EXPECT_EQ(Griglia()->RowCount(), 0);
        EXPECT_FALSE(Ui().FME_AGGANCIDET->IsChanged());
        EXPECT_TRUE(Ui().TXT_PREFISSO->Enabled());
        EXPECT_FALSE(Ui().CMD_DUPLICA->Enabled());
    }
    // The codes (first column) of the list the lookup box showed last.
    std::vector<std::string> Lista(const std::string& box) const {
        std::vector<std::string> codes;
        for (const auto& row : Controllo<host::controls::LookupTextBox>(box)->LastList().rows)
            codes.push_back(db::RTrim(row.at(0).Text()));
        return codes;
    }

    // Every message box shown so far: its text.
    std::vector<std::string> Messaggi() const {
        std::vector<std::string> texts;
        for (const auto& m : shell->Messages()->Messages()) texts.push_back(m.text);
        return texts;
    }
    const host::ShownMessage& UltimoMessaggio() const { return shell->Messages()->Messages().back(); }
    // A message box as "text|title|style".
    static std::string BoxText(const host::ShownMessage& m) {
        return m.text + "|" + m.title + "|" + std::to_string(m.style);
    }

    // --- The database, read on the session's own connection ---
    db::Variant Valore(const std::string& sql) const { return Scalar(*shell->Connection(), sql); }
    long Conta(const std::string& sql) const { return Valore("SELECT COUNT(*) FROM (" + sql + ") AS T").CLng(); }
    void Esegui(const std::string& sql) const { Exec(*shell->Connection(), sql); }
    bool EsisteArticolo(const std::string& codice) const {
        return Conta("SELECT MG66_CODART FROM MG66_ANAGRART WHERE MG66_DITTA_CG18 = 1 AND MG66_CODART = " +
                     db::SqlText(codice)) > 0;
    }
    long IdStagione(const std::string& codice) const {
        return Valore("SELECT MG5T_IDSTAGIONE FROM MG5T_STAGIONI WHERE MG5T_DITTA_CG18 = 1 AND MG5T_CODICE = " +
                      db::SqlText(codice))
            .CLng();
    }
    std::string GuidTestata(const std::string& modello) const {
        return db::RTrim(Valore("SELECT FA63_GUID FROM FA63_AGGANCI WHERE FA63_DITTA_CG18 = 1 AND FA63_CODART_MG66 = " +
                                db::SqlText(modello))
                             .Text());
    }
    long RigheAgganci(const std::string& modello) const {
        return Conta("SELECT FA64_GUID FROM FA64_AGGANCIDET INNER JOIN FA63_AGGANCI ON FA63_GUID = FA64_GUID_FA63 "
                     "WHERE FA63_CODART_MG66 = " + db::SqlText(modello));
    }
    // Marks the link row of the fabric as generated, with the article code, as its run leaves it.
    void Generato(const std::string& modello, const std::string& tessuto, const std::string& articolo) const {
        const std::string riga = " WHERE FA64_CODTESS_FA12 = " + db::SqlText(tessuto) + " AND FA64_GUID_FA63 = " +
                                 db::SqlText(GuidTestata(modello));
        Esegui("UPDATE FA64_AGGANCIDET SET FA64_ARTAGGANCIO_MG66 = " + db::SqlText(articolo) + riga);
        Esegui("INSERT INTO AG02_ARTGENERATI (AG02_DITTA_CG18, AG02_CODART_MG66, AG02_GUID_FA64) SELECT 1, " +
               db::SqlText(articolo) + ", FA64_GUID FROM FA64_AGGANCIDET" + riga);
    }

    std::filesystem::path path;
    std::shared_ptr<host::HeadlessShell> shell;
};

}  // namespace testsupport
