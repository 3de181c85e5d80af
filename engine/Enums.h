#pragma once
// Public enumerations of the duplication engine.
#include <cstdint>

namespace engine {

enum KvEnumDatiDaDuplicare : std::int32_t {
    KvEnumDatiDaDuplicare_Confezioni = 1,
    KvEnumDatiDaDuplicare_Scorte = 2,
    KvEnumDatiDaDuplicare_ArticoliAlternativi = 3,
    KvEnumDatiDaDuplicare_ArticoliSostitutivi = 4,
    KvEnumDatiDaDuplicare_ArticoliConcorrenti = 5,
    KvEnumDatiDaDuplicare_ArticoliClienti = 6,
    KvEnumDatiDaDuplicare_ArticoliFornitori = 7,
    KvEnumDatiDaDuplicare_PackingList = 8,
    KvEnumDatiDaDuplicare_UbicazioniFisse = 9,
    KvEnumDatiDaDuplicare_UbicazioniDinamiche = 10,
    KvEnumDatiDaDuplicare_Barcode = 11,
    KvEnumDatiDaDuplicare_AgentiPerArticolo = 12,
    KvEnumDatiDaDuplicare_ListiniDiVendita = 13,
    KvEnumDatiDaDuplicare_ListiniDiAcquisto = 14,
    KvEnumDatiDaDuplicare_UltimiPrezzi = 15,
    KvEnumDatiDaDuplicare_Applicazioni = 16,
    KvEnumDatiDaDuplicare_DatiPersonalizzati = 17,
    KvEnumDatiDaDuplicare_Varianti = 18,
    KvEnumDatiDaDuplicare_DatiIntra = 19,
    KvEnumDatiDaDuplicare_DatiLotto = 20,
    KvEnumDatiDaDuplicare_DatiTracciabilitaProdotti = 21,
    KvEnumDatiDaDuplicare_ParametriScorte = 22,
    KvEnumDatiDaDuplicare_DatiProduzione = 23,
    KvEnumDatiDaDuplicare_DistintaBase = 24,
    KvEnumDatiDaDuplicare_DescrizioneInLingua = 25,
    KvEnumDatiDaDuplicare_CicloProduzione = 26,
    KvEnumDatiDaDuplicare_AttributiFashion = 27,
    KvEnumDatiDaDuplicare_DatiProgetto = 28,
};

// Callers treat 0 as failure and any other value as success.
enum EnumMethodResult : std::int32_t { kvMethodOK = -1, kvMethodCanceled = 0 };

}  // namespace engine
