#pragma once
// Texts, titles and styles the links form shows, kept in one place: tests and the command line compare
// them exactly.
#include <string>

namespace links_form {

// Message-box styles.
inline constexpr long kStileCritico = 16;
inline constexpr long kStileAttenzione = 48;  // exclamation icon, OK only

inline constexpr const char* kCaptionForm = "Duplicazione articolo";
// Name under which the form keeps its layout, and the caption of the links tab.
inline constexpr const char* kNomeLayout = "Agganci\\Aperture";

inline constexpr const char* kMsgTipoAnagrafica = "Tipo anagrafica non specificato!";

inline constexpr const char* kTitoloAttenzione = "Attenzione!";
inline constexpr const char* kAvvisoEliminaRiga =
    "Se si procede verranno eliminate anche tutte le distinte e i dati anagrafici dell'aggancio: ";
inline constexpr const char* kAvvisoEliminaTestata =
    "Se si procede verranno eliminate anche tutte le distinte e i dati anagrafici degli agganci codificati per "
    "l'articolo ";

// A link row deleted whose article existed before the link recorded it: the article stays.
inline constexpr long kStileInformazione = 64;
inline std::string MsgArticoloNonGenerato(const std::string& articolo) {
    return "L'articolo " + articolo + " non è stato generato dall'aggancio: non viene eliminato.";
}

// A value the form refuses when a link header or row is saved. The field is named by its label.
inline constexpr const char* kTitoloDatiErrati = "Dati mancanti o errati";
inline std::string MsgCampoObbligatorio(const std::string& campo) { return "Campo obbligatorio mancante: " + campo; }
inline std::string MsgValoreNonValido(const std::string& campo, const std::string& valore) {
    return "Valore non valido per " + campo + ": " + valore;
}

// Labels of the fields (the captions the user reads beside them).
namespace etichette {
inline constexpr const char* Modello = "Modello origine";
inline constexpr const char* Prefisso = "Prefisso";
inline constexpr const char* Sequenza = "Sequenza";
inline constexpr const char* TessutoPrincipale = "Tessuto Principale da sostituire 1° liv";
inline constexpr const char* CodiceAlternativo = "Codice alternativo";
inline constexpr const char* TessutoAggancio = "Tessuto Aggancio";
inline constexpr const char* Descrizione = "Descrizione";
inline constexpr const char* DescrizioneEstesa = "Descrizione estesa";
inline constexpr const char* Quantita = "Qta ";
inline constexpr const char* Stagione = "Stagione";
inline constexpr const char* Linea = "Linea";
inline constexpr const char* Marchio = "Marchio";
inline constexpr const char* Tipologia = "Tipologia";
}  // namespace etichette

// Lookup lists the form builds itself.
inline constexpr const char* kTitoloTessutiDiba = "Elenco tessuti presenti in distinta standard";
inline constexpr const char* kLookupTessutiDiba = "TS_diba";
inline constexpr const char* kLookupPrefissi = "lkp_prefissi";

}  // namespace links_form
