#include "engine/ProductionCopy.h"

#include "db/CommonSql.h"
#include "db/Driver.h"
#include "db/Quote.h"
#include "engine/CLSFA_DUPLICA.h"
#include "engine/RowCopy.h"
#include "engine/RunConstants.h"
#include "entry/MDLFA_AGGANCI.h"

namespace engine {
namespace {

// The entity under which the ERP links notes and attachments to a production cycle.
constexpr long kEntitaCiclo = 21;
// Characters of PD52_DESCR.
constexpr std::size_t kCycleDescriptionLength = 40;

// The first version of the source cycle, with `columns`; none when the new article's cycle exists already. The
// codes as written into the statement: quoted texts or markers.
std::string FirstCycleVersionSql(const std::string& columns, const std::string& company, const std::string& source,
                                 const std::string& target) {
    return "SELECT TOP 1 " + columns + " FROM PD52_ANAGCICLI WHERE PD52_DITTA_CG18 = " + company +
           " AND PD52_CODICE = " + source + " AND NOT EXISTS (SELECT PD52_CODICE FROM PD52_ANAGCICLI WHERE " +
           "PD52_DITTA_CG18 = " + company + " AND PD52_CODICE = " + target + ") ORDER BY PD52_VERSIONE";
}

}  // namespace

bool ProductionCopy::CicloPerArticolo() {
    auto& e = engine_;
    auto rs = ConstantRows(e.constants_.get(), *e.UsableConnection(),
                           std::string("          SELECT ") + "     PD42_FLGCICLOCODART" + " FROM " +
                               "     PD42_PARGEST WITH (NOLOCK)" + " WHERE " +
                               "     PD42_DITTA_CG18 = " + e.DittaText());
    bool flag = false;
    if (rs->RecordCount() > 0) {
        rs->MoveFirst();
        flag = db::Variant(entry::Pfun_Numero(rs->GetFields().Item(0L).Value())).CDbl() == 1;
    }
    rs->Close();
    return flag;
}

std::string ProductionCopy::CopyProductionData(const db::Variant& origine, const db::Variant& nuovo,
                                               bool cicloPerArticolo) {
    auto& e = engine_;
    const std::string extra = " AND PD18_OPZIONE = ' '";
    std::string cicloOrigine;
    if (cicloPerArticolo) {
        // The table keeps one row per article and option: that row's cycle is the one the new article copies.
        auto cycle = e.UsableConnection()->Execute("SELECT PD18_CODCICLO FROM PD18_ARTPROD WHERE " +
                                                       ArticleRowsWhere("PD18", e.DittaText(), origine, extra),
                                                   nullptr, db::kCommonSqlText);
        if (cycle->RecordCount() > 0) {
            cycle->MoveFirst();
            cicloOrigine = entry::Pfun_Testo(cycle->GetFields().Item(0L).Value());
        }
    }
    auto plan = e.ArticleTableCopy("PD18_ARTPROD", "PD18", origine, nuovo, extra, 0);
    plan.rule = [](const std::string& name) {
        return NameIsOneOf(name, {"PD18_DITTA_CG18", "PD18_CODART_MG66", "PD18_CODCICLO"}) ? FieldAction::Skip
                                                                                          : FieldAction::Copy;
    };
    // A blank cycle code means no cycle; otherwise the article's own cycle when the company keeps one per
    // article.
    plan.complete = [&, newCode = db::Variant(nuovo.Text())](db::Recordset& source, db::Recordset& target) {
        const db::Variant code = source["PD18_CODCICLO"].Value();
        if (db::Trim(code.Text()).empty())
            target["PD18_CODCICLO"].Value(db::Variant::Null());
        else
            target["PD18_CODCICLO"].Value(cicloPerArticolo ? newCode : code);
    };
    plan.hooksAsSql = true;
    const std::string blank = "CASE WHEN LTRIM(RTRIM(COALESCE(PD18_CODCICLO, ''))) = '' THEN NULL ELSE ";
    if (cicloPerArticolo)
        plan.setSql = {{"PD18_CODCICLO", blank + "? END", {db::Variant(nuovo.Text())}}};
    else
        plan.setSql = {{"PD18_CODCICLO", blank + "PD18_CODCICLO END"}};
    plan.before = EngineEvent::BeforeUpdatePD18;
    plan.after = EngineEvent::AfterUpdatePD18;
    RowCopy(e).Run(plan);
    return cicloOrigine;
}

void ProductionCopy::CopyFormulas(const db::Variant& origine, const db::Variant& nuovo) {
    auto& e = engine_;
    // The base article's formulas only (option blank), in one statement as row by row.
    auto plan = e.ArticleTableCopy("PD27_ANAFORMULE", "PD27", origine, nuovo, " AND PD27_OPZIONE = ' '", 2);
    plan.sourceSql = "SELECT * FROM PD27_ANAFORMULE WHERE" + std::string(" PD27_DITTA_CG18 = ") + e.DittaText() +
                     " AND PD27_CODART_MG66 = '" + db::SqlEscape(origine.Text()) + "'" + " AND PD27_OPZIONE = ' '";
    plan.before = EngineEvent::BeforeUpdatePD27;
    plan.after = EngineEvent::AfterUpdatePD27;
    RowCopy(e).Run(plan);
}

void ProductionCopy::CopyCycle(const std::string& cicloOrigine, const db::Variant& nuovo) {
    auto& e = engine_;
    const db::ConnectionPtr connection = e.UsableConnection();
    const std::string company = e.DittaText();
    const std::string newCode = nuovo.Text();
    std::shared_ptr<entry::IIdentifierService> identifiers;
    auto newIdentifiers = [&] {
        identifiers = entry::Host().CreateIdentifierService();
        identifiers->Connection(connection);
    };
    const std::string description = db::Left(e.descrizioneArticoloDaGenerare_.Text(), kCycleDescriptionLength);

    const std::string sourceSql = FirstCycleVersionSql("*", company, db::SqlText(cicloOrigine), db::SqlText(newCode));
    std::vector<NewCycle> written;
    if (!e.Listened(EngineEvent::BeforeUpdatePD52) && !e.Listened(EngineEvent::AfterUpdatePD52)) {
        // No one sees the new row: it is written from the values it takes, the source's first version read for
        // its version and identifier alone. The same row as the copy below writes.
        e.statementText_ = sourceSql;
        auto first = connection->ExecuteWith(FirstCycleVersionSql("PD52_VERSIONE, PD52_GUID", company, "?", "?"),
                                             {{{}, db::Variant(cicloOrigine)}, {{}, db::Variant(newCode)}});
        if (first->EOF()) return;
        newIdentifiers();
        NewCycle cycle{cicloOrigine, (*first)["PD52_GUID"].Value().Text(), newCode, description,
                       identifiers->NuovoIdentificativo(), (*first)["PD52_VERSIONE"].Value()};
        connection->ExecuteWith(
            "INSERT INTO PD52_ANAGCICLI (PD52_DITTA_CG18, PD52_CODICE, PD52_VERSIONE, PD52_DESCR, PD52_GUID) "
            "VALUES (?, ?, ?, ?, ?)",
            {{{}, e.ditta_},
             {{}, db::Variant(cycle.code)},
             {{}, cycle.version},
             {{}, db::Variant(cycle.description)},
             {{}, db::Variant(cycle.guid)}},
            nullptr, db::kCommonSqlText | db::adExecuteNoRecords);
        written.push_back(std::move(cycle));
    } else {
        CopySpec plan;
        plan.sourceSql = sourceSql;
        plan.emptySql = "SELECT * FROM PD52_ANAGCICLI WHERE 0=1";
        plan.emptyCommonSql = true;
        plan.set = {{"PD52_DITTA_CG18", e.ditta_},
                    {"PD52_CODICE", db::Variant(newCode)},
                    {"PD52_DESCR", db::Variant(description)}};
        // The new cycle is a header of its own: no other column comes from the source.
        plan.rule = [](const std::string&) { return FieldAction::Skip; };
        plan.beforeTarget = [&] {
            newIdentifiers();
            return true;
        };
        plan.complete = [&](db::Recordset& source, db::Recordset& target) {
            target["PD52_VERSIONE"].Value(source["PD52_VERSIONE"].Value());
            target["PD52_GUID"].Value(db::Variant(identifiers->NuovoIdentificativo()));
        };
        plan.before = EngineEvent::BeforeUpdatePD52;
        plan.after = EngineEvent::AfterUpdatePD52;
        if (!RowCopy(e).Run(plan)) return;
        // The rows as written, a handler's changes included; their source is the first version.
        auto& source = *e.rstSource_;
        auto& target = *e.rstTarget_;
        source.MoveFirst();
        for (target.MoveFirst(); !target.EOF(); target.MoveNext())
            written.push_back({source["PD52_CODICE"].Value().Text(), source["PD52_GUID"].Value().Text(),
                               target["PD52_CODICE"].Value().Text(), target["PD52_DESCR"].Value().Text(),
                               target["PD52_GUID"].Value().Text(), target["PD52_VERSIONE"].Value()});
    }

    if (!e.collDatiDaDuplicare_) throw db::Error(db::errc::ObjectRequired, "Object required");
    if (e.collDatiDaDuplicare_->Item("KEY26").Equals(db::Variant(true))) CopyCycleContents(*identifiers, written);
    identifiers->Connection(nullptr);
}

void ProductionCopy::CopyCycleContents(entry::IIdentifierService& identifiers, const std::vector<NewCycle>& written) {
    auto& e = engine_;
    auto cycles = entry::Host().CreateCycleService();
    cycles->Connection(e.UsableConnection());
    cycles->Ditta(e.ditta_);
    for (const NewCycle& cycle : written) {
        cycles->CopiaCiclo(cycle.sourceCode, cycle.code, cycle.description, "", "", true, "", "", cycle.version,
                           cycle.version);
        identifiers.CopiaDatiCollegati(cycle.sourceGuid, cycle.guid, kEntitaCiclo, kEntitaCiclo, 0, 0);
    }
    cycles->Connection(nullptr);
}

entry::ImpostazioniElabDisba ProductionCopy::BillSettings(const db::Variant& origine, const db::Variant& nuovo,
                                                          const std::shared_ptr<entry::Cinterface>& programma,
                                                          const db::Variant& stringaConnessione,
                                                          const db::ConnectionPtr& connessione) {
    if (!programma || !programma->ClsGlobal()) throw db::Error(db::errc::ObjectRequired, "Object required");
    entry::ImpostazioniElabDisba s;
    s.stringaConnessione = stringaConnessione.Text();
    s.modoConnessione = 0;
    s.connessione = connessione;
    s.programma = programma;
    s.origine = {origine.Text(), "", 0, ""};
    s.destinazione = {nuovo.Text(), "", 0, ""};
    s.utente = programma->ClsGlobal()->UtenteDescrizione();
    s.opzioni = {db::Variant(0), db::Variant(1),    db::Variant(1),  db::Variant(0),  db::Variant(0),    db::Variant(0),
                 db::Variant(0), db::Variant(true), db::Variant(""), db::Variant(""), db::Variant(false)};
    return s;
}

}  // namespace engine
