#pragma once
// The shell's advanced query control.
#include <string>
#include <vector>

#include "entry/ControlsAdvancedQuery.h"
#include "host/controls/ControlBase.h"

namespace host::controls {

class AdvancedQuery : public Control<entry::IAdvancedQuery> {
public:
    using Control::Control;
    static constexpr const char* kCampoNonPrevisto = "Campo non previsto dalla ricerca: ";
    void Imposta(const std::string& ditta, long setting, const std::shared_ptr<entry::Cinterface>& program,
                 const std::string& settingsKey, bool flag, const db::ConnectionPtr& connection) override;
    void RimuoviCampi() override { fields_.clear(); }
    void DefinisciCampo(const std::string& caption, const std::string& field, const std::string& group,
                        long ordinal) override;
    void OffriTabella(const std::string& table, const std::string& group) override;
    void Completa() override { completed_ = true; }
    void SelezionaQuery(const std::string& name) override { query_ = name; }
    void ValoreCampo(long ordinal, const std::string& value) override;
    long CampiDefiniti() const override { return static_cast<long>(fields_.size()); }
    void AggiungiCondizione(const entry::QueryCondition& condition) override;
    void Svuota() override { conditions_.clear(); }
    const std::vector<entry::QueryCondition>& Condizioni() const override { return conditions_; }
    std::string Condizione() const override;
    entry::Event<entry::QueryLookupRequest&>& StartLookup() override { return startLookup_; }
    void Terminate() override;

    const std::vector<std::string>& TabelleOfferte() const { return tables_; }
    // The captions of the defined fields, in their order: what a user may name in a condition.
    std::vector<std::string> Captions() const;

    // The user asks for the value list of a field (side 2: the second value of a range): the form fills
    // the request, the control runs it on its connection. The codes of the list's first column.
    std::vector<std::string> UserOpenList(const std::string& caption, int side = 1);
    const entry::QueryLookupRequest& LastRequest() const { return lastRequest_; }

private:
    struct Field {
        std::string caption, column, group;
        long ordinal = 0;
    };
    const Field* Find(const std::string& captionOrColumn) const;
    // The column of an offered table a name stands for - Table.COLUMN, or a column whose prefix names the
    // table - read from the table itself; "" when no offered table has it.
    std::string OfferedColumn(const std::string& name) const;

    std::vector<Field> fields_;
    std::vector<std::string> tables_;
    std::vector<entry::QueryCondition> conditions_;
    std::string query_;
    bool completed_ = false;
    db::ConnectionPtr connection_;
    std::shared_ptr<entry::Cinterface> program_;
    entry::Event<entry::QueryLookupRequest&> startLookup_;
    entry::QueryLookupRequest lastRequest_;
};

}  // namespace host::controls
