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

// Company settings and session data of the shell's global object (ClsGlobal).
class IClsGlobal : public db::Object {
public:
    virtual std::string ConnectionString() const = 0;      // connection information's text member
    virtual std::string DittaCorrente() const = 0;         // current company's code, as text
    virtual std::string VarianteColore() const = 0;        // Gcls_DittaCorrente.ClsParFashion.VarianteColore
    virtual std::string UtenteDescrizione() const = 0;     // Gcls_UtenteCorrente.Descrizione
    virtual std::string CartellaLog() const = 0;           // log folder, ending with a separator
    // Any other company setting by name (fashion switches, structured codes, production setting ...);
    // Empty when the company does not have it.
    virtual db::Variant Impostazione(const std::string& name) const = 0;
    virtual void Deregistra(const std::shared_ptr<Cinterface>& program) = 0;
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

class IIdentifierService : public db::Object {
public:
    virtual void Connection(const db::ConnectionPtr& c) = 0;
    virtual std::string NuovoIdentificativo() = 0;
    virtual void CopiaDatiCollegati(const std::string& source, const std::string& target, long a, long b, long c,
                                    long d) = 0;
};

class ICycleService : public db::Object {
public:
    virtual void Connection(const db::ConnectionPtr& c) = 0;
    virtual db::Variant CopiaCiclo(const std::string& sourceCycle, const std::string& newCycle,
                                   const std::string& description, const std::string& s1, const std::string& s2,
                                   bool flag, const std::string& s3, const std::string& s4,
                                   const db::Variant& versionFrom, const db::Variant& versionTo) = 0;
};

// Bill-of-materials processing (ClsElabDisba): settings then Elabora; or deletion of an identifier list.
class IElabDisba : public db::Object {
public:
    virtual void Impostazioni(const std::vector<db::Variant>& settings) = 0;  // the values in the caller's order
    virtual void Elabora(const db::Variant& ditta) = 0;
    virtual void EliminaDistinte(const std::vector<std::string>& identifiers) = 0;
};

class IProcessingLogService : public db::Object {
public:
    virtual void Apri(const db::Variant& ditta, const db::Date& date, const std::string& title) = 0;
    virtual void Riga(const std::string& text, long kind) = 0;
    virtual void Chiudi(long status) = 0;
};

// Creates the shell's business objects and services (the component's CreateObject).
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
};

// The factory the running shell installed. Error 429 ("ActiveX component can't create object") when none.
IHostFactory& Host();
void SetHost(std::shared_ptr<IHostFactory> factory);

}  // namespace entry
