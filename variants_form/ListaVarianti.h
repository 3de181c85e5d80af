#pragma once
// The statements that build the list of variants offered by FRMFA_VARIANTI, one per situation of the
// caller, and the statements that drop and read the list.
//
// The list lives in a temporary table of its own, ##TABTEMP_VARIANTI, not in ##TABTEMP. ##TABTEMP holds
// the article selection of the mass duplication, which is on screen while this form is open and into
// which the articles grid writes the user's ticks: building the variant list there would drop those ticks
// and leave the articles grid writing to a table that no longer exists. The SQLite dialect adapter makes
// the name a temporary table of the connection; on SQL Server it is a global temporary table, named
// apart from ##TABTEMP for the same reason.
#include <string>

namespace variants_form {

inline constexpr const char* kTabellaVarianti = "##TABTEMP_VARIANTI";

// Which list the caller's tab and mode ask for.
enum class TipoLista {
    VariantiModello,   // links tab: the model's active variants, and the colour variant when in use
    ArticoloSingolo,   // mass tab, one article: all its variants, ticked as the article uses them
    ArticoliMultipli,  // mass tab, several articles: every variant in active use, all ticked
};

TipoLista TipoListaPer(long tabVisible, bool modalitaDuplicaSingola);

// Drops the list: "IF NOT OBJECT_ID('tempdb..##TABTEMP_VARIANTI') IS NULL DROP TABLE ##TABTEMP_VARIANTI".
std::string EliminaLista();

// The statement that fills the list. `ditta` is the company code as a number; `articolo` and
// `varianteColore` are quoted here (any single quote doubled).
std::string CreaLista(TipoLista tipo, long ditta, const std::string& articolo, const std::string& varianteColore);

// The source of the list's recordset.
std::string LeggiLista();

}  // namespace variants_form
