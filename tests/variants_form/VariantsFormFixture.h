#pragma once
// The demo company in a database file, the headless shell started on it, and FRMFA_VARIANTI opened as the
// links form opens it, with a scripted user acting inside the modal show.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <unistd.h>

#include "Queries.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "entry/CLSFA_AGGANCI.h"
#include "entry/MDLFA_AGGANCI.h"
#include "erp/DemoBuilder.h"
#include "host/HeadlessShell.h"
#include "host/controls/BasicControls.h"
#include "host/controls/Grid.h"
#include "variants_form/ApriVarianti.h"
#include "variants_form/FRMFA_VARIANTI.h"

namespace varianti_test {

// The list by variant code, each row as "SEL|description|automatic grouping|personalised code"; read
// through a cursor of its own so that the caller's position stays.
using Lista = std::map<std::string, std::string>;
inline Lista Righe(const db::RecordsetPtr& lista) {
    Lista righe;
    if (!lista) return righe;
    auto cursore = lista->Clone();
    if (cursore->RecordCount() == 0) return righe;
    for (cursore->MoveFirst(); !cursore->EOF(); cursore->MoveNext()) {
        auto campo = [&cursore](const char* nome) { return (*cursore)[nome].Value(); };
        righe[entry::Pfun_Testo(campo("MG5F_CODICEVAR"))] =
            entry::Pfun_Numero(campo("SEL")) + "|" + entry::Pfun_Testo(campo("MG5F_DESCR_VAR")) + "|" +
            entry::Pfun_Numero(campo("RAGGRAUTOMATICO")) + "|" + entry::Pfun_Testo(campo("RAGGRPERSONALIZZATO"));
    }
    return righe;
}

inline host::controls::Grid& Griglia(entry::Form& form) {
    return dynamic_cast<host::controls::Grid&>(*form.Control("QGRD_VARIANTI"));
}
inline host::controls::TextBox& Raggruppamento(entry::Form& form) {
    return dynamic_cast<host::controls::TextBox&>(*form.Control("TXT_RAGGR"));
}

// The grid row (1-based) of a variant.
inline long RigaDi(entry::Form& form, const std::string& codice) {
    const auto codici = Griglia(form).ColumnTexts("MG5F_CODICEVAR");
    for (std::size_t i = 0; i < codici.size(); ++i)
        if (db::RTrim(codici[i]) == codice) return static_cast<long>(i) + 1;
    throw db::Error(db::errc::ItemNotFound, "No row for variant " + codice);
}

// What the user does, by variant code rather than by row.
inline host::UserScript& Seleziona(host::UserScript& s, const std::string& codice) {
    return s.Do("select " + codice, [codice](entry::Form& form, host::HeadlessShell&) {
        Griglia(form).UserSelectRow(RigaDi(form, codice));
    });
}
inline host::UserScript& Spunta(host::UserScript& s, const std::string& codice, const std::string& campo) {
    return s.Do("tick " + campo + " of " + codice, [codice, campo](entry::Form& form, host::HeadlessShell&) {
        Griglia(form).UserTickCell(RigaDi(form, codice), campo);
    });
}

class VariantsForm : public ::testing::Test {
protected:
    static std::filesystem::path Modello() {
        return std::filesystem::temp_directory_path() / ("variants_form_demo_" + std::to_string(::getpid()) + ".db");
    }
    // The demo company is built once; each test works on a copy of its own.
    static void SetUpTestSuite() {
        std::filesystem::remove(Modello());
        auto c = db::Connection::Create();
        c->Open("sqlite:" + Modello().string());
        erp::BuildDemoDatabase(*c, erp::DemoOptions{});
        c->Close();
    }
    static void TearDownTestSuite() { std::filesystem::remove(Modello()); }

    void SetUp() override {
        path = std::filesystem::temp_directory_path() /
               ("variants_form_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db");
        std::filesystem::copy_file(Modello(), path, std::filesystem::copy_options::overwrite_existing);
        shell = host::HeadlessShell::Start("sqlite:" + path.string(), 1);
        conn = shell->Connection();
        program = shell->CreaProgramma(host::ProgramRequest{});
    }
    void TearDown() override {
        program.reset();
        conn.reset();
        shell.reset();
        std::filesystem::remove(path);
    }

    // What the links form hands over for its tab and mode (by default: the links tab on MODELLO01).
    variants_form::AperturaVarianti Apertura(long tab = entry::Util_Agganci, bool singola = false,
                                             const std::string& articolo = "MODELLO01") const {
        variants_form::AperturaVarianti a;
        a.ActiveInterface = program;
        a.Gcon_Connect = conn;
        a.Gcls_Log = shell->Messages();
        a.tabVisible = tab;
        a.ModalitaDuplicaSingola = singola;
        a.Articolo = articolo;
        return a;
    }

    // Opens the form modally; the user does `script`, then closes the window.
    db::RecordsetPtr Apri(const variants_form::AperturaVarianti& apertura, host::UserScript script = {}) {
        shell->WhenShown(variants_form::kNomeForm, std::move(script));
        return variants_form::ApriVarianti(apertura);
    }

    void Esegui(const std::string& sql) { conn->Execute(sql, nullptr, db::adExecuteNoRecords); }

    // The mass tab's selection as it leaves it: the articles of `condizione` in ##TABTEMP, all ticked,
    // read through a client cursor.
    db::RecordsetPtr SelezioneMassiva(const std::string& condizione) {
        Esegui("IF NOT OBJECT_ID('tempdb..##TABTEMP') IS NULL DROP TABLE ##TABTEMP");
        Esegui("SELECT MG66_CODART, CAST (1 AS DECIMAL (1,0)) AS SEL INTO ##TABTEMP FROM MG66_ANAGRART "
               "WHERE MG66_DITTA_CG18 = 1 AND " + condizione);
        auto rs = db::Recordset::Create();
        rs->CursorLocation(db::adUseClient);
        rs->Open("  SELECT * FROM ##TABTEMP  ", conn, db::adOpenDynamic, db::adLockOptimistic);
        return rs;
    }

    std::string Fallimenti() const {
        std::string testo;
        for (const auto& f : shell->Failures()) testo += f + "\n";
        return testo;
    }

    std::filesystem::path path;
    std::shared_ptr<host::HeadlessShell> shell;
    db::ConnectionPtr conn;
    std::shared_ptr<entry::CLSFA_AGGANCI> program;
};

}  // namespace varianti_test
