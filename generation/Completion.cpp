#include "generation/Completion.h"

#include "db/CommonSql.h"
#include "db/Quote.h"
#include "entry/ErrorHandler.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/FashionData.h"
#include "generation/HostObject.h"

namespace generation {
namespace {

// The new article's values as SQL literals, each empty when the column is to keep the copied value
// (the description: "''").
struct Letterali {
    std::string stagione, linea, tipologia, marchio, descrizione, descrizioneEstesa;
};

db::Connection& Connessione(const GenerationContext& c, const char* procedure) {
    return *Richiesto(c.connessione, "Connessione", procedure);
}

bool IsBlank(const db::Variant& v) { return entry::Pfun_Testo(v).empty(); }

Letterali Formatta(const GenerationContext& contesto, const DatiArticoloGenerato& dati) {
    auto bo = Richiesto(entry::Host().CreateBoConsana(), "ClsBoConsana", "AggiornaFa12_Fa13");
    bo->ActiveInterface(contesto.programma);
    bo->Connection(contesto.connessione);
    auto codice = [&](const db::Variant& v) { return bo->FormattaValore(v, true, true); };
    Letterali l;
    if (dati.scheda == entry::Util_Agganci) {
        const auto& r = dati.riga;
        if (!IsBlank(r.stagione))
            l.stagione = codice(db::Variant(CodiceStagione(Connessione(contesto, "AggiornaFa12_Fa13"),
                                                          contesto.ditta, r.stagione, contesto.constants.get())));
        l.linea = codice(r.linea);
        l.tipologia = codice(r.tipologia);
        l.marchio = codice(r.marchio);
        l.descrizione = bo->FormattaValore(r.descrizione, true, false);
        l.descrizioneEstesa = codice(r.descrizioneEstesa);
    } else {
        const auto& m = dati.massivi;
        l.stagione = codice(m.stagione);
        l.linea = codice(m.linea);
        l.tipologia = codice(m.tipologia);
        l.marchio = codice(m.marchio);
        l.descrizione = bo->FormattaValore(m.descrizione, true, false);
        l.descrizioneEstesa = codice(m.descrizioneEstesa);
    }
    bo->Connection(nullptr);
    return l;
}

// ", COLUMN = literal" when the literal is not `empty`.
std::string Optional(const std::string& column, const std::string& literal, const std::string& empty = {}) {
    return literal == empty ? std::string() : ",   " + column + " = " + literal + "  ";
}

void Riporta(const GenerationContext& contesto, const std::string& procedure) {
    entry::Pfun_GestioneErrore(contesto.messaggi, contesto.connessione, procedure,
                               entry::ToError(std::current_exception(), procedure));
}

}  // namespace

bool AggiornaFa12_Fa13(const GenerationContext& contesto, const DatiArticoloGenerato& dati,
                       const std::string& nuovo, const std::string& origine, const std::string& tessuto) {
    try {
        auto& c = Connessione(contesto, "AggiornaFa12_Fa13");
        const std::string ditta = db::SqlNumber(contesto.ditta);
        const std::string codice = db::SqlEscape(nuovo);
        const Letterali l = Formatta(contesto, dati);
        const std::string fabric = dati.scheda == entry::Util_Agganci ? db::RTrim(tessuto) : std::string();
        auto program = Richiesto(contesto.programma, "ActInterface", "AggiornaFa12_Fa13");
        const std::string entity = db::SqlNumber(
            db::Variant(Richiesto(program->ClsGlobal(), "ClsGlobal", "AggiornaFa12_Fa13")->EntitaAttributi()));

        c.Execute(" UPDATE FA12_ARTICOLI " + std::string(" SET FA12_MODAGG_COD_MG66 = '") +
                      db::SqlEscape(db::RTrim(origine)) + "' , " + "   FA12_TESAGG_COD_MG66 = '" +
                      db::SqlEscape(fabric) + "'  " + Optional("FA12_STAGIONE_MG5T", l.stagione) +
                      Optional("FA12_TIPOLOGIA_FA04", l.tipologia) + " WHERE FA12_DITTA_CG18  = " + ditta + " " +
                      " AND  FA12_CODART_MG66  = '" + codice + "' " + " AND  FA12_OPZIONE_MG5E  = ''",
                  nullptr, db::kCommonSqlText | db::adExecuteNoRecords);
        // "SET X = X" alone changes nothing: without a value to write the statement is not sent.
        const std::string attributes = Optional("FA13_LINEA_FA05", l.linea) + Optional("FA13_MARCHIO_FA06", l.marchio);
        if (!attributes.empty())
            c.Execute(" UPDATE" + std::string("    FA13_ATTRIBUTI ") + "  SET" + "    FA13_GUID = FA13_GUID " +
                      attributes +
                      "   FROM  FA13_ATTRIBUTI WITH (NOLOCK)" + "  INNER JOIN MG87_ARTDESC " +
                      "     ON   FA13_GUID        = MG87_GUID " + "     AND  FA13_ENTITA_FA11 = " + entity + " " +
                      "  WHERE MG87_DITTA_CG18   = " + ditta + " AND " + "     MG87_CODART_MG66  = '" + codice +
                      "' AND " + "     MG87_LINGUA_MG52  = '' ",
                  nullptr, db::adExecuteNoRecords);
        const std::string descriptions =
            Optional("MG87_DESCART", l.descrizione, "''") + Optional("MG87_DESCARTEST", l.descrizioneEstesa);
        if (!descriptions.empty())
            c.Execute(" UPDATE" + std::string("    MG87_ARTDESC ") + "  SET" + "    MG87_NOTEART = MG87_NOTEART " +
                      descriptions + "  WHERE MG87_DITTA_CG18   = " + ditta +
                      " AND " + "     MG87_CODART_MG66  = '" + codice + "' AND " + "     MG87_LINGUA_MG52  = '' ",
                  nullptr, db::kCommonSqlText | db::adExecuteNoRecords);
        return true;
    } catch (...) {
        // The article is only half completed: the caller removes it, the user hears why.
        Riporta(contesto, "AggiornaFa12_Fa13");
        return false;
    }
}

void Pcls_DuplArticolo_AfterUpdateFA12(const GenerationContext& contesto, const DatiArticoloGenerato& dati,
                                       const std::string& origine, const db::RecordsetPtr& rstFA12) {
    try {
        auto& c = Connessione(contesto, "Pcls_DuplArticolo_AfterUpdateFA12");
        long id = 0;
        if (dati.scheda == entry::Util_Agganci)
            id = IsBlank(dati.riga.stagione) ? 0 : dati.riga.stagione.CLng();
        else
            id = Get_MG5T_IDSTAGIONE(c, contesto.ditta, entry::Pfun_Testo(dati.massivi.stagione),
                                     contesto.constants.get());
        if (!rstFA12) return;

        const std::string ditta = db::SqlNumber(contesto.ditta);
        if (id == 0) {
            auto source = c.Execute("SELECT FA12_STAGIONE_MG5T FROM FA12_ARTICOLI  " +
                                    std::string(" WHERE  FA12_DITTA_CG18 =  ") + ditta + " AND  FA12_CODART_MG66 =  " +
                                    "'" + db::SqlEscape(origine) + "'" + " AND  FA12_OPZIONE_MG5E = ''  ",
                                    nullptr, db::kCommonSqlText);
            if (source->RecordCount() > 0) {
                source->MoveFirst();
                id = Get_MG5T_IDSTAGIONE(c, contesto.ditta, entry::Pfun_Testo((*source)["FA12_STAGIONE_MG5T"].Value()),
                                         contesto.constants.get());
            }
        }

        // The engine's recordset keeps its own position: the new row is read through a clone.
        auto rows = rstFA12->Clone();
        if (rows->RecordCount() == 0) return;
        rows->MoveFirst();
        const std::string rowCompany = db::SqlNumber((*rows)["FA12_DITTA_CG18"].Value());
        const std::string article = db::SqlEscape((*rows)["FA12_CODART_MG66"].Value().Text());
        const std::string season = db::SqlNumber(db::Variant(id));

        auto history = c.Execute("SELECT * FROM FA25_STORICOSTAGIONI  " + std::string(" WHERE  FA25_DITTA_CG18 =  ") +
                                 rowCompany + " AND  FA25_CODART_MG66 =  " + "'" + article + "'" +
                                 " AND  FA25_IDSTAGIONE_MG5T =  " + season, nullptr, db::kCommonSqlText);
        if (history->RecordCount() > 0 || id == 0) return;

        // The four flags of the fashion parameters in one read; a missing row or a Null counts as 0.
        auto flags = engine::ConstantRows(contesto.constants.get(), c,
                                          "SELECT FA00_FLGPROTOTIPIA, FA00_FLGCAMPIONARIO, FA00_FLGCOLLEZIONE, "
                                          "FA00_FLGRIASSORTIMENTO FROM FA00_PARAMETRI WHERE FA00_DITTA_CG18 = " +
                                              db::SqlNumber(contesto.ditta));
        if (flags->RecordCount() > 0) flags->MoveFirst();
        auto flag = [&](const char* column) {
            const db::Variant value = flags->RecordCount() > 0 ? (*flags)[column].Value() : db::Variant::Null();
            return db::SqlNumber(db::Variant(value.IsNull() ? 0L : value.CLng()));
        };
        c.Execute("INSERT INTO FA25_STORICOSTAGIONI " +
                      std::string(" (FA25_DITTA_CG18, FA25_CODART_MG66, FA25_IDSTAGIONE_MG5T, FA25_FLGPROTOTIPIA, "
                                  "FA25_FLGCAMPIONARIO, FA25_FLGCOLLEZIONE , FA25_FLGRIASSORTIMENTO ) ") +
                      "VALUES (" + " " + rowCompany + ", '" + article + "', " + season + " , " +
                      flag("FA00_FLGPROTOTIPIA") + ", " + flag("FA00_FLGCAMPIONARIO") + ", " +
                      flag("FA00_FLGCOLLEZIONE") + ", " + flag("FA00_FLGRIASSORTIMENTO") + ") ",
                  nullptr, db::kCommonSqlText | db::adExecuteNoRecords);
    } catch (...) {
        // An event handler must not break the engine's copy: the error is shown and the copy goes on
        // without the history row.
        Riporta(contesto, "Pcls_DuplArticolo_AfterUpdateFA12");
    }
}

}  // namespace generation
