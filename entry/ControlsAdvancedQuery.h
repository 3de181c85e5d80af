#pragma once
// The shell's advanced query control: the form defines the fields a user may filter on; the user states
// conditions on them (equal, different, range, starts with, in list); the control gives the form the
// condition text that continues a WHERE clause. Field names come only from the form's definitions and
// every value is quoted, so nothing the user types can change the shape of the statement.
#include <string>
#include <vector>

#include "db/Connection.h"
#include "entry/Controls.h"
#include "entry/ControlsLookup.h"

namespace entry {

enum class QueryOperator { Uguale, Diverso, Intervallo, IniziaCon, InElenco };

struct QueryCondition {
    std::string field;   // the defined field (or its caption)
    QueryOperator op = QueryOperator::Uguale;
    std::vector<std::string> values;  // one; two for a range; one or more for a list
};

// What the control asks the form when the user wants the value list of a field.
struct QueryLookupRequest {
    std::string caption;
    int side = 1;  // 1: first value (or the only one), 2: second value of a range
    // Filled by the form: the list's statement, columns and title.
    std::string statement;
    std::vector<LookupField> fields;
    std::string title;
};

class IAdvancedQuery : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::AdvancedQuery;

    virtual void Imposta(const std::string& ditta, long setting, const std::shared_ptr<Cinterface>& program,
                         const std::string& settingsKey, bool flag, const db::ConnectionPtr& connection) = 0;
    virtual void RimuoviCampi() = 0;
    virtual void DefinisciCampo(const std::string& caption, const std::string& field, const std::string& group,
                                long ordinal) = 0;
    virtual void OffriTabella(const std::string& table, const std::string& group) = 0;
    virtual void Completa() = 0;
    virtual void SelezionaQuery(const std::string& name) = 0;
    // Pre-sets the value of the field with this ordinal (an "equal" condition).
    virtual void ValoreCampo(long ordinal, const std::string& value) = 0;
    virtual long CampiDefiniti() const = 0;

    // The user's conditions. Error 5 when the field is not defined or the values do not fit the operator.
    virtual void AggiungiCondizione(const QueryCondition& condition) = 0;
    virtual void Svuota() = 0;
    virtual const std::vector<QueryCondition>& Condizioni() const = 0;
    // "" without conditions; otherwise " AND <condition>" for each, ready to follow the company condition.
    virtual std::string Condizione() const = 0;

    virtual Event<QueryLookupRequest&>& StartLookup() = 0;
};

}  // namespace entry
