#pragma once
// The host shell as the component sees it: abstract interfaces only. The shell (host/) implements them;
// the component never includes host/.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Error.h"
#include "db/Object.h"
#include "db/Recordset.h"
#include "db/Variant.h"

namespace entry {

class Cinterface;

// Names of the company settings the component asks the global object for (Impostazione).
namespace impostazioni {
inline constexpr const char* VarianteColore = "VarianteColore";        // colour-variant code
inline constexpr const char* UtenteDescrizione = "DescrizioneUtente";  // description of the current user
inline constexpr const char* CartellaLog = "CartellaLog";              // folder of the processing logs
inline constexpr const char* CodiciStrutturati = "CodiceStrutturato";  // warehouse structured codes (> 0: in use)
inline constexpr const char* GestioneProduzione = "DatiProduzione";  // production setting ("0", "1")
inline constexpr const char* Fashion = "FA00_FLGGESTIONE";                      // fashion management active (0/1), a column of FA00_PARAMETRI
inline constexpr const char* AttributiFashion = "FlgAttributiFashion";    // fashion attributes copied (0/1)
inline constexpr const char* EntitaAttributi = "EntitaAttributiArticolo";      // attribute entity of articles
inline constexpr const char* DatiProgetto = "DatiProgetto";            // project data in use (0/1)
}  // namespace impostazioni

// Company settings and session data of the shell's global object (ClsGlobal).
class IClsGlobal : public db::Object {
public:
    virtual std::string ConnectionString() const = 0;      // connection information's text member
    virtual std::string DittaCorrente() const = 0;         // current company's code, as text
    virtual std::string VarianteColore() const = 0;        // Gcls_DittaCorrente.ClsParFashion.VarianteColore
    virtual std::string UtenteDescrizione() const = 0;     // Gcls_UtenteCorrente.Descrizione
    virtual std::string CartellaLog() const = 0;           // log folder, ending with a separator
    // Any other company setting by name (the names in `impostazioni`, or a column of FA00_PARAMETRI such
    // as "FA00_INDRAGGR"); Empty when the company does not have it.
    virtual db::Variant Impostazione(const std::string& name) const = 0;
    virtual void Deregistra(const std::shared_ptr<Cinterface>& program) = 0;

    // Typed views of the settings above; a missing or empty setting reads as 0 / False.
    virtual long CodiciStrutturati() const { return NumberSetting(impostazioni::CodiciStrutturati); }
    virtual std::string GestioneProduzione() const { return Impostazione(impostazioni::GestioneProduzione).Text(); }
    virtual bool FashionAttivo() const { return NumberSetting(impostazioni::Fashion) != 0; }
    virtual bool AttributiFashion() const { return NumberSetting(impostazioni::AttributiFashion) != 0; }
    virtual long EntitaAttributi() const { return NumberSetting(impostazioni::EntitaAttributi); }
    virtual bool DatiProgetto() const { return NumberSetting(impostazioni::DatiProgetto) != 0; }

protected:
    // The setting as a number: 0 when missing, Null or blank; Error 13 when it is not a number.
    long NumberSetting(const std::string& name) const;
};

// Layout and script object models the navigator hands to a program.
class ILayoutObjectModel : public db::Object {
public:
    virtual db::ObjectPtr Add(const db::ObjectPtr& form, const std::string& name) = 0;
};
class IScriptObjectModel : public db::Object {
public:
    virtual db::ObjectPtr Add(const db::ObjectPtr& form, const std::string& name, const std::string& caption) = 0;
    virtual bool QueryClose() = 0;  // True vetoes closing the form
};

class INavigator : public db::Object {
public:
    virtual void Deregistra(const std::shared_ptr<Cinterface>& program) = 0;
    virtual std::shared_ptr<IScriptObjectModel> ScriptObjectModel() = 0;
};

// Receives the navigator's events (the program object subscribes through ActiveNavigator).
class INavigatorEvents {
public:
    virtual ~INavigatorEvents() = default;
    virtual void BeforeChangeDitta(bool& cancel) = 0;
    virtual void BeforeExportToOffice(bool& cancel, const db::ObjectPtr& expToOffice) = 0;
    virtual void InitializeLayoutObjectModel(const std::shared_ptr<ILayoutObjectModel>& layout) = 0;
    virtual void InitializeScriptObjectModel(const std::shared_ptr<IScriptObjectModel>& script) = 0;
};

// The program interface the shell drives every program through.
class Cinterface : public db::Object {
public:
    virtual std::shared_ptr<IClsGlobal> ClsGlobal() const = 0;
    virtual void ClsGlobal(const std::shared_ptr<IClsGlobal>& v) = 0;
    virtual db::ObjectPtr ActiveFrame() const = 0;
    virtual void ActiveFrame(const db::ObjectPtr& v) = 0;
    virtual std::shared_ptr<INavigator> ActiveNavigator() const = 0;
    virtual void ActiveNavigator(const std::shared_ptr<INavigator>& v) = 0;
    virtual std::shared_ptr<Cinterface> ActiveDll() const = 0;
    virtual void ActiveDll(const std::shared_ptr<Cinterface>& v) = 0;
    virtual db::ObjectPtr StatusBar() const = 0;
    virtual void StatusBar(const db::ObjectPtr& v) = 0;
    virtual bool CanInsert() const = 0;
    virtual void CanInsert(bool v) = 0;
    virtual bool CanDelete() const = 0;
    virtual void CanDelete(bool v) = 0;
    virtual bool CanUpdate() const = 0;
    virtual void CanUpdate(bool v) = 0;
    virtual bool CanQbe() const = 0;
    virtual void CanQbe(bool v) = 0;
    virtual std::int16_t WindowState() const = 0;
    virtual void WindowState(std::int32_t v) = 0;
    virtual bool WindowModal() const = 0;
    virtual void WindowModal(bool v) = 0;
    virtual std::int16_t ProgramMode() const = 0;
    virtual void ProgramMode(std::int32_t v) = 0;
    virtual db::Variant MenuModulo() const = 0;
    virtual void MenuModulo(const db::Variant& v) = 0;
    virtual db::Variant MenuPadre() const = 0;
    virtual void MenuPadre(const db::Variant& v) = 0;
    virtual db::Variant MenuProg() const = 0;
    virtual void MenuProg(const db::Variant& v) = 0;
    virtual db::Variant Caption() const = 0;
    virtual void Caption(const db::Variant& v) = 0;
    virtual std::int32_t hwndParent() const = 0;
    virtual void hwndParent(std::int32_t v) = 0;
    virtual db::Variant ShowForm() = 0;
    virtual db::Variant CloseForm() = 0;
    virtual db::ConnectionPtr Connection() const = 0;
    virtual void Connection(const db::ConnectionPtr& v) = 0;
    virtual db::ObjectPtr Cwindow() const = 0;
    virtual db::Variant TransferData(const db::Variant& data) = 0;
    virtual db::Variant Top() const = 0;
    virtual void Top(const db::Variant& v) = 0;
    virtual db::Variant Left() const = 0;
    virtual void Left(const db::Variant& v) = 0;
    virtual db::ObjectPtr ClsVoceMenu() const = 0;
    virtual void ClsVoceMenu(const db::ObjectPtr& v) = 0;
    virtual bool IsActive() const = 0;
    virtual void IsActive(bool v) = 0;
    virtual bool IsCalled() const = 0;
    virtual void IsCalled(bool v) = 0;
    virtual db::Variant Filtro() const = 0;
    virtual void Filtro(const db::Variant& v) = 0;
};

// Message service (Gcls_Log): message boxes and the error box.
class IMessageService : public db::Object {
public:
    virtual void Initialize(const std::shared_ptr<Cinterface>& program) = 0;
    // Returns the answer code (1 OK, 2 cancel, 3 abort, 4 retry, 5 ignore, 6 yes, 7 no).
    virtual long MsgBox(const std::string& text, long style, const std::string& title, bool flag = true,
                        long helpContext = 0) = 0;
    virtual void SetError(const db::Error& error) = 0;
    virtual void SetConnectionErrors(const std::vector<db::Error>& errors) = 0;
    virtual long ShowErrorBox(const std::string& title, const std::string& description,
                              const std::string& procedure, long style) = 0;
};

// --- Business objects ---

class IRecordsetProvider : public db::Object {
public:
    virtual db::RecordsetPtr Recordset() = 0;  // a new, unopened recordset with the provider's presets
};

class IBarcodeGenerator : public db::Object {
public:
    virtual void Connection(const db::ConnectionPtr& c) = 0;
    virtual void ActiveInterface(const db::Variant& program) = 0;
    virtual std::string Genera(long zero, const db::Variant& ditta, const std::string& articolo,
                               std::int16_t tipoGestione, std::int16_t flagCheckDigit, std::int16_t tipoBarcode,
                               std::int16_t progDa, std::int16_t progA) = 0;
    virtual void RegistraUtilizzo(const db::Variant& ditta, std::int16_t tipoGestione, std::int16_t tipoBarcode) = 0;
};

// Global identifiers of rows (..._GUID) and the data the ERP links to them (notes, attachments).
class IIdentifierService : public db::Object {
public:
    virtual void Connection(const db::ConnectionPtr& c) = 0;
    // A new unique identifier: upper-case GUID text, 8-4-4-4-12.
    virtual std::string NuovoIdentificativo() = 0;
    // Copies the data linked to `origine` under entity `entitaOrigine` onto `destinazione` under
    // `entitaDestinazione`, after what `destinazione` already has. The two options select variants of the
    // copy that this shell does not have: only 0, 0 is accepted (Error 5 otherwise).
    virtual void CopiaDatiCollegati(const std::string& origine, const std::string& destinazione, long entitaOrigine,
                                    long entitaDestinazione, long opzione1, long opzione2) = 0;
};

// Production cycles: copies the contents (phases) of one cycle version onto another of the company.
class ICycleService : public db::Object {
public:
    virtual void Connection(const db::ConnectionPtr& c) = 0;
    virtual void Ditta(const db::Variant& ditta) = 0;
    // The phases of cicloOrigine/versioneOrigine copied to cicloNuovo/versioneNuova, whose header must
    // exist. The description, the four texts and the flag are options of the cycle copy that the shell's
    // copy does not need. Returns the number of phases copied.
    virtual db::Variant CopiaCiclo(const std::string& cicloOrigine, const std::string& cicloNuovo,
                                   const std::string& descrizione, const std::string& testo1,
                                   const std::string& testo2, bool flag, const std::string& testo3,
                                   const std::string& testo4, const db::Variant& versioneOrigine,
                                   const db::Variant& versioneNuova) = 0;
};

// A bill of materials by its key: article, option ("" the base article), type (0 standard) and code ("" the
// article's own bill).
struct DistintaBase {
    std::string articolo;
    std::string opzione;
    long tipo = 0;
    std::string codice;
};

// What the bill-of-materials processing is given before Elabora, in the order it is handed over.
struct ImpostazioniElabDisba {
    std::string stringaConnessione;  // the company database
    long modoConnessione = 0;        // 0: work on `connessione`
    db::ConnectionPtr connessione;   // the copy is written here, inside the caller's transaction
    std::shared_ptr<Cinterface> programma;
    DistintaBase origine;
    DistintaBase destinazione;
    std::string utente;  // description of the user, written on the new headers
    // The values handed over after the user, in order; options of the processing that the shell's copy
    // does not use.
    std::vector<db::Variant> opzioni;
};

// Bill-of-materials processing (ClsElabDisba): settings then Elabora; or deletion of an identifier list.
class IElabDisba : public db::Object {
public:
    virtual void Connection(const db::ConnectionPtr& c) = 0;
    virtual void ActiveInterface(const std::shared_ptr<Cinterface>& program) = 0;
    // Every setting at once, the connection and the program interface included.
    virtual void Impostazioni(const ImpostazioniElabDisba& settings) = 0;
    // Copies the source bill (header and lines) to the destination, with new identifiers, as one unit: on an
    // error nothing of it stays. A source without a bill copies nothing; a destination that already has one
    // is an error.
    virtual void Elabora(const db::Variant& ditta) = 0;
    // Deletes the bills (headers and lines) named by the list "(12, 15)", as built from PD95_IDDISBA; "()"
    // deletes nothing. Error 13, with nothing deleted, when an item is not a whole number.
    virtual void EliminaDistinte(const std::string& elenco) = 0;
};

// The host's journal of processing runs: one run registered, its lines, then closed with a status.
class IProcessingLogService : public db::Object {
public:
    virtual void Connection(const db::ConnectionPtr& c) = 0;
    // Registers a run: company, user description, the day of the run and its title (at most 50 characters).
    virtual void Apri(const db::Variant& ditta, const std::string& utente, const db::Date& data,
                      const std::string& titolo) = 0;
    // One line of the run; kind 2 information, 3 error; evidenziata marks a highlighted line (kind 4).
    virtual void Riga(const std::string& testo, long kind, bool evidenziata) = 0;
    virtual void Chiudi(long stato) = 0;  // 1 = run ended
};

// Connection provider (Gcls_Connect): hands out unopened connections.
class IConnectionProvider : public db::Object {
public:
    virtual db::ConnectionPtr Connection() = 0;
};

// Bill-of-materials check object: does the article have a bill of materials, may its product type have one.
class IControlloDistinta : public db::Object {
public:
    virtual void ActiveInterface(const std::shared_ptr<Cinterface>& program) = 0;
    virtual bool EsisteDistinta(const std::string& articolo) = 0;
    virtual bool TipologiaPrevedeDistinta(const std::string& articolo) = 0;
};

// Bill-of-materials utility (ClsDisBaUtility): component substitution and quantity update on the lines
// that the filter selects. The filter is written in the recordset filter grammar ("PD95_CODART_MG66 = 'X'
// AND PD96_SEQCOMP = 3") over the columns of the headers (PD95_DISBA) and lines (PD96_LEGAMIDISBA) of the
// company: it selects, it never becomes part of a statement.
class IDisBaUtility : public db::Object {
public:
    virtual void Connection(const db::ConnectionPtr& c) = 0;
    virtual void ActiveInterface(const std::shared_ptr<Cinterface>& program) = 0;
    virtual void Modalita(long mode) = 0;  // 1 substitution, 2 quantity update
    virtual void Filtro(const std::string& filter) = 0;
    virtual void ComponenteDaSostituire(const std::string& code) = 0;
    virtual void ComponenteSostitutivo(const std::string& code) = 0;
    virtual void Quantita(double quantity) = 0;
    // Substitution: on the selected lines that use the component to replace, the replacing component.
    // Quantity update: the quantity on the selected lines that use the replacing component.
    // Each returns True when anomalies occurred (then nothing was changed); Anomalie then describes them.
    // Database errors are raised.
    virtual bool EseguiSostituzione(const db::Variant& ditta) = 0;
    virtual bool EseguiAggiornamentoQuantita(const db::Variant& ditta) = 0;
    virtual std::string Anomalie() const = 0;
};

// Article business object (ClsBoConsana): article removal and the SQL literal formatter. Works for the
// company of the program interface, on the connection it is given.
class IBoConsana : public db::Object {
public:
    virtual void Connection(const db::ConnectionPtr& c) = 0;
    virtual void ActiveInterface(const std::shared_ptr<Cinterface>& program) = 0;
    // Deletes the article with every row that belongs to it, as one unit inside the caller's transaction.
    // Status 0 when the article was deleted; otherwise nothing was deleted and errorText says why.
    // Database errors are raised (and nothing is deleted either).
    virtual long EliminaArticolo(const std::string& articolo, std::string& errorText) = 0;
    // The value as a quoted SQL literal, inner quotes doubled, "''" when empty (Null and Empty included).
    // senzaSpazi: leading and trailing blanks removed first. vuotoSeAssente: an empty value gives the empty
    // text instead of "''", so the caller can leave the column out of its statement.
    virtual std::string FormattaValore(const db::Variant& value, bool senzaSpazi, bool vuotoSeAssente) = 0;
};

// File access: creates a text file and writes it line by line.
class ITextStream : public db::Object {
public:
    // The text and a line end; line breaks inside the text are written as they are.
    virtual void WriteLine(const std::string& text) = 0;
    virtual void Close() = 0;
};
class IFileAccess : public db::Object {
public:
    // Creates the file for writing (an existing file is emptied). Error when the folder is missing or the
    // file cannot be created.
    virtual std::shared_ptr<ITextStream> CreaFile(const std::string& path) = 0;
    // As CreaFile, but never over an existing file: error 58 (File already exists) when one has that name.
    virtual std::shared_ptr<ITextStream> CreaFileNuovo(const std::string& path) = 0;
};

// Shows a text file to the user.
class ITextViewer : public db::Object {
public:
    virtual void Mostra(const std::string& path) = 0;
};

// Save-file dialog: the chosen path, or empty text when the user does not confirm one. The filter is
// description and pattern joined by '|' ("TXT File|*.txt").
class ISaveFileDialog : public db::Object {
public:
    virtual std::string Scegli(const std::string& startFolder, const std::string& filter,
                               const std::string& title) = 0;
};

// The error a host raises for an object it cannot create (429, "Oggetto non disponibile: <name>").
db::Error OggettoNonDisponibile(const std::string& name);

// Creates the shell's business objects and services (the component's CreateObject). An object the
// shell does not have raises OggettoNonDisponibile.
class IHostFactory {
public:
    virtual ~IHostFactory() = default;
    virtual std::shared_ptr<IRecordsetProvider> CreateRecordsetProvider() = 0;
    virtual std::shared_ptr<IBarcodeGenerator> CreateBarcodeGenerator() = 0;
    virtual std::shared_ptr<IIdentifierService> CreateIdentifierService() = 0;
    virtual std::shared_ptr<ICycleService> CreateCycleService() = 0;
    virtual std::shared_ptr<IElabDisba> CreateElabDisba() = 0;
    virtual std::shared_ptr<IMessageService> CreateMessageService() = 0;
    virtual std::shared_ptr<IProcessingLogService> CreateProcessingLogService() = 0;
    // The platform's own message box, for errors reported without a message service.
    virtual long PlatformMsgBox(const std::string& text, long style, const std::string& title) = 0;

    virtual std::shared_ptr<IConnectionProvider> CreateConnectionProvider() { throw OggettoNonDisponibile("ConnectionProvider"); }
    virtual std::shared_ptr<IControlloDistinta> CreateControlloDistinta() { throw OggettoNonDisponibile("ControlloDistinta"); }
    virtual std::shared_ptr<IDisBaUtility> CreateDisBaUtility() { throw OggettoNonDisponibile("ClsDisBaUtility"); }
    virtual std::shared_ptr<IBoConsana> CreateBoConsana() { throw OggettoNonDisponibile("ClsBoConsana"); }
    virtual std::shared_ptr<IFileAccess> CreateFileAccess() { throw OggettoNonDisponibile("FileAccess"); }
    virtual std::shared_ptr<ITextViewer> CreateTextViewer() { throw OggettoNonDisponibile("TextViewer"); }
    virtual std::shared_ptr<ISaveFileDialog> CreateSaveFileDialog() { throw OggettoNonDisponibile("SaveFileDialog"); }
};

// The factory the running shell installed. Error 429 ("Oggetto non disponibile: host") when none.
IHostFactory& Host();
void SetHost(std::shared_ptr<IHostFactory> factory);

}  // namespace entry
