#include "mass_duplication/SelezioneArticoli.h"

#include "db/Constants.h"
#include "db/Quote.h"
#include "entry/ErrorHandler.h"

namespace mass_duplication {

std::string SelectionStatement(const std::string& ditta, long entita, const std::string& condizione) {
    std::string s = std::string(" WITH CTE_ART AS (  SELECT") + " MG66_CODART, MG66_IDMEDIA_CG99," +
                    " MG66_FAM_MG53, MG66_SFAM_MG54," + " MG66_GRUPPO_MG55, MG66_SGRUPPO_MG56," + " MG66_MARCA_MG64," +
                    " MG66_GRUSTAT1_MG74, MG66_GRUSTAT2_MG75, MG66_GRUSTAT3_MG76, MG66_GRUSTAT4_MG77," +
                    " MG66_GRUPFIS_MG61," + " MG66_GUID," + " MG66_FLGVARART," + " MG87_DESCART," +
                    " FA12_STAGIONE_MG5T, FA12_TIPOLOGIA_FA04, FA12_TIPO_FA03,  " +
                    " FA13_MARCHIO_FA06, FA13_LINEA_FA05 , CAST (1 AS DECIMAL (1,0)) AS SEL " + "FROM" +
                    " MG66_ANAGRART WITH (NOLOCK) " + "INNER JOIN" + " MG87_ARTDESC WITH (NOLOCK) " + "ON" +
                    " MG87_DITTA_CG18   = MG66_DITTA_CG18 AND " + " MG87_CODART_MG66  = MG66_CODART AND " +
                    " MG87_OPZIONE_MG5E = '' AND " + " MG87_LINGUA_MG52  = '' " + "LEFT JOIN" +
                    " FA12_ARTICOLI WITH (NOLOCK) " + "ON" + " FA12_DITTA_CG18   = MG66_DITTA_CG18 AND " +
                    " FA12_CODART_MG66  = MG66_CODART AND " + " FA12_OPZIONE_MG5E = '' " + "LEFT JOIN" +
                    " FA13_ATTRIBUTI WITH (NOLOCK) " + "ON" + " FA13_GUID        = MG87_GUID AND " +
                    " FA13_ENTITA_FA11 = " + std::to_string(static_cast<short>(entita)) + " " + "WHERE" +
                    " MG66_DITTA_CG18  =  " + ditta + "   " + "\r\n";
    if (!condizione.empty()) s += condizione;
    return s + " ) SELECT * INTO  " + kTabellaArticoli + "  FROM CTE_ART";
}

void EliminaTabellaTemporanea(const db::ConnectionPtr& connessione, const std::string& tabella) {
    try {
        connessione->Execute("IF NOT OBJECT_ID('tempdb.." + tabella + "') IS NULL DROP TABLE " + tabella, nullptr,
                             db::adExecuteNoRecords);
    } catch (...) {
        // Ignored on purpose: when the drop fails the SELECT INTO that follows reports the real problem.
    }
}

bool RecuperaArticoli(const generation::GenerationContext& contesto, long entita, const std::string& condizione,
                      db::RecordsetPtr& selezione) {
    auto messaggi = contesto.messaggi;
    auto connessione = contesto.connessione;
    bool fatto = false;
    entry::Procedure("RecuperaArticoli", entry::HandlerTable::B, entry::ErrorContext(&messaggi, &connessione))
        .Step([&] {
            EliminaTabellaTemporanea(connessione, kTabellaArticoli);
            connessione->Execute(SelectionStatement(db::SqlNumber(contesto.ditta), entita, condizione), nullptr,
                                 db::adCmdText);
            auto rs = db::Recordset::Create();
            rs->CursorLocation(db::adUseClient);
            // The ticks the user changes stay in the selection (batch lock, never sent): the table is dropped
            // as soon as it has been read, so a selection of many thousand articles is not held twice, and
            // a variant list built meanwhile under the same name cannot take a tick's write.
            rs->Open(std::string("  SELECT * FROM ") + kTabellaArticoli + "  ", connessione, db::adOpenDynamic,
                     db::adLockBatchOptimistic);
            EliminaTabellaTemporanea(connessione, kTabellaArticoli);
            selezione = rs;
            fatto = true;
        })
        .Run();
    return fatto;
}

}  // namespace mass_duplication
