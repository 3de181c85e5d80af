#include "host/LookupServices.h"

#include <functional>

#include "db/Error.h"
#include "db/Quote.h"
#include "entry/HostInterfaces.h"
#include "entry/Rif.h"

namespace host {

namespace {

// Where the codes of one kind live. The statements are the shell's own; every value in them goes
// through the quoting helpers.
struct Catalogue {
    const char* kind;
    const char* title;
    const char* from;       // table (with joins) after FROM
    const char* company;    // company column
    const char* code;       // code column
    const char* description;
    const char* fixedFilter;                      // always part of the WHERE clause ("" for none)
    std::vector<const char*> parameterColumns;    // columns compared with the parameters, in order
};

const std::vector<Catalogue>& Catalogues() {
    static const std::vector<Catalogue> catalogues = {
        {entry::lookup::Linea, "Elenco linee", "FA05_LINEE WITH (NOLOCK)", "FA05_DITTA_CG18", "FA05_CODICE",
         "FA05_DESCR", "", {}},
        {entry::lookup::Marchio, "Elenco marchi", "FA06_MARCHI WITH (NOLOCK)", "FA06_DITTA_CG18", "FA06_CODICE",
         "FA06_DESCR", "", {}},
        {entry::lookup::Stagione, "Elenco stagioni", "MG5T_STAGIONI WITH (NOLOCK)", "MG5T_DITTA_CG18",
         "MG5T_CODICE", "MG5T_DESCR", "", {}},
        {entry::lookup::Tipologia, "Elenco tipologie", "FA04_TIPOLOGIE WITH (NOLOCK)", "FA04_DITTA_CG18",
         "FA04_CODICE", "FA04_DESCR", "", {"FA04_TIPO_FA03"}},
        {entry::lookup::Tessuti, "Elenco tessuti",
         "FA12_ARTICOLI WITH (NOLOCK) INNER JOIN MG87_ARTDESC WITH (NOLOCK) ON MG87_DITTA_CG18 = FA12_DITTA_CG18 "
         "AND MG87_CODART_MG66 = FA12_CODART_MG66 AND MG87_OPZIONE_MG5E = '' AND MG87_LINGUA_MG52 = ''",
         "FA12_DITTA_CG18", "FA12_CODART_MG66", "MG87_DESCART",
         "FA12_OPZIONE_MG5E = '' AND FA12_TIPO_FA03 = 'TS'", {}},
        {entry::lookup::ProdottiFiniti, "Elenco prodotti finiti",
         "FA12_ARTICOLI WITH (NOLOCK) INNER JOIN MG87_ARTDESC WITH (NOLOCK) ON MG87_DITTA_CG18 = FA12_DITTA_CG18 "
         "AND MG87_CODART_MG66 = FA12_CODART_MG66 AND MG87_OPZIONE_MG5E = '' AND MG87_LINGUA_MG52 = ''",
         "FA12_DITTA_CG18", "FA12_CODART_MG66", "MG87_DESCART",
         "FA12_OPZIONE_MG5E = '' AND FA12_TIPO_FA03 = 'PF'", {}},
        {entry::lookup::Articolo, "Elenco articoli",
         "MG66_ANAGRART WITH (NOLOCK) INNER JOIN MG87_ARTDESC WITH (NOLOCK) ON MG87_DITTA_CG18 = MG66_DITTA_CG18 "
         "AND MG87_CODART_MG66 = MG66_CODART AND MG87_OPZIONE_MG5E = '' AND MG87_LINGUA_MG52 = ''",
         "MG66_DITTA_CG18", "MG66_CODART", "MG87_DESCART", "", {}},
        {entry::lookup::Famiglia, "Elenco famiglie", "MG53_FAMIGLIE WITH (NOLOCK)", "MG53_DITTA_CG18",
         "MG53_CODICE", "MG53_DESCR", "", {}},
        {entry::lookup::Sottofamiglia, "Elenco sottofamiglie", "MG54_SOTTOFAMIGLIE WITH (NOLOCK)",
         "MG54_DITTA_CG18", "MG54_CODICE", "MG54_DESCR", "", {"MG54_FAM_MG53"}},
        {entry::lookup::Gruppo, "Elenco gruppi", "MG55_GRUPPI WITH (NOLOCK)", "MG55_DITTA_CG18", "MG55_CODICE",
         "MG55_DESCR", "", {"MG55_FAM_MG53", "MG55_SFAM_MG54"}},
        {entry::lookup::Sottogruppo, "Elenco sottogruppi", "MG56_SOTTOGRUPPI WITH (NOLOCK)", "MG56_DITTA_CG18",
         "MG56_CODICE", "MG56_DESCR", "", {"MG56_FAM_MG53", "MG56_SFAM_MG54", "MG56_GRUPPO_MG55"}},
        {entry::lookup::GruppoStatistico1, "Elenco gruppi statistici 1", "MG74_GRUSTAT1 WITH (NOLOCK)",
         "MG74_DITTA_CG18", "MG74_CODICE", "MG74_DESCR", "", {}},
        {entry::lookup::GruppoStatistico2, "Elenco gruppi statistici 2", "MG75_GRUSTAT2 WITH (NOLOCK)",
         "MG75_DITTA_CG18", "MG75_CODICE", "MG75_DESCR", "", {}},
        {entry::lookup::GruppoStatistico3, "Elenco gruppi statistici 3", "MG76_GRUSTAT3 WITH (NOLOCK)",
         "MG76_DITTA_CG18", "MG76_CODICE", "MG76_DESCR", "", {}},
        {entry::lookup::GruppoStatistico4, "Elenco gruppi statistici 4", "MG77_GRUSTAT4 WITH (NOLOCK)",
         "MG77_DITTA_CG18", "MG77_CODICE", "MG77_DESCR", "", {}},
    };
    return catalogues;
}

const Catalogue& Find(const std::string& kind) {
    for (const auto& c : Catalogues())
        if (db::SameText(kind, c.kind)) return c;
    throw db::Error(db::errc::InvalidProcedureCall, "Tipo di ricerca sconosciuto: " + kind);
}

// The company of the program the service was initialised with. Error 91 before Initialize.
std::string Company(const std::shared_ptr<entry::Cinterface>& program) {
    if (!program || !program->ClsGlobal())
        throw db::Error(entry::kObjectNotSet, "Object variable or With block variable not set", "LookupService");
    return db::SqlNumber(db::Variant(program->ClsGlobal()->DittaCorrente()));
}

// WHERE clause: company, the fixed filter, then one comparison per parameter given.
std::string Where(const Catalogue& c, const std::string& company, const std::vector<db::Variant>& parameters) {
    std::string where = std::string(" WHERE ") + c.company + " = " + company;
    if (*c.fixedFilter) where += std::string(" AND ") + c.fixedFilter;
    for (std::size_t i = 0; i < c.parameterColumns.size() && i < parameters.size(); ++i)
        where += std::string(" AND ") + c.parameterColumns[i] + " = " + db::SqlText(db::RTrim(parameters[i].Text()));
    return where;
}

}  // namespace

entry::LookupDefinition LookupService::Prepara(const std::string& kind, const std::vector<db::Variant>& parameters) {
    const Catalogue& c = Find(kind);
    entry::LookupDefinition definition;
    definition.statement = std::string("SELECT ") + c.code + ", " + c.description + " FROM " + c.from +
                           Where(c, Company(program_), parameters) + " ORDER BY " + c.code;
    definition.fields = {{"Codice", c.code}, {"Descrizione", c.description}};
    definition.title = c.title;
    definition.idLookup = std::string("lkp_") + c.kind;
    return definition;
}

entry::DecodeDefinition DecodeService::Decodifica(const std::string& kind, const std::string& text,
                                                  const std::vector<db::Variant>& parameters) {
    const Catalogue& c = Find(kind);
    entry::DecodeDefinition definition;
    definition.statement = std::string("SELECT ") + c.description + ", " + c.code + " FROM " + c.from +
                           Where(c, Company(program_), parameters) + " AND " + c.code + " = " +
                           db::SqlText(db::RTrim(text));
    definition.fields = {{c.description, nullptr}};
    return definition;
}

}  // namespace host
