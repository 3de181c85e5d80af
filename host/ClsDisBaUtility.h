#pragma once
// The bill-of-materials utility: replaces a component on the bill lines that a filter selects, and sets
// the quantity on the lines of the new component. The filter only selects (it is matched against the rows
// read, never put into a statement); the lines it may select are always those of the company that use
// the component concerned, so an empty filter or a wrong one cannot touch any other line.
//
// Each run checks first and writes after: when it finds anomalies it changes nothing and returns True,
// with their text (one per line, CR LF between them) in Anomalie. Its writes are one unit inside the
// caller's transaction.
#include <string>
#include <vector>

#include "entry/HostInterfaces.h"

namespace host {

class ClsDisBaUtility : public entry::IDisBaUtility {
public:
    void Connection(const db::ConnectionPtr& c) override { connection_ = c; }
    void ActiveInterface(const std::shared_ptr<entry::Cinterface>& program) override { program_ = program; }
    void Modalita(long mode) override { modalita_ = mode; }
    void Filtro(const std::string& filter) override { filtro_ = filter; }
    void ComponenteDaSostituire(const std::string& code) override { daSostituire_ = code; }
    void ComponenteSostitutivo(const std::string& code) override { sostitutivo_ = code; }
    void Quantita(double quantity) override { quantita_ = quantity; }

    bool EseguiSostituzione(const db::Variant& ditta) override;
    bool EseguiAggiornamentoQuantita(const db::Variant& ditta) override;
    std::string Anomalie() const override { return anomalie_; }

private:
    struct Riga {
        std::string distinta;   // PD96_IDDISBA_PD95, as a number for a statement
        std::string sequenza;   // PD96_SEQCOMP, the same
    };
    db::Connection& RequireConnection() const;
    // The lines of the company that use `component` and match the filter.
    std::vector<Riga> RigheSelezionate(const std::string& company, const std::string& component);
    bool ArticoloEsiste(const std::string& company, const std::string& code);
    // Sets `assignment` on the lines, as one unit; no anomalies, so False. With anomalies: their text, True.
    bool Concludi(const std::vector<std::string>& anomalies, const std::vector<Riga>& lines,
                  const std::string& assignment);

    db::ConnectionPtr connection_;
    std::shared_ptr<entry::Cinterface> program_;
    long modalita_ = 0;
    std::string filtro_;
    std::string daSostituire_;
    std::string sostitutivo_;
    double quantita_ = 0;
    std::string anomalie_;
};

}  // namespace host
