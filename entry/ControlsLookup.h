#pragma once
// The shell's lookup text box (TXT_... fields with a list of allowed values and a decoded description).
//
// What the user does and what the box raises, in order:
//   types a code and leaves the field:  BeforeItem, Change, StartDecode (the box runs the statement and
//                                       fills the targets), AfterItem;
//   picks a row from the lookup list:   StartLookup (the box runs the statement and lists the rows),
//                                       BeforeItem, Change, ItemSelected (the chosen row), StartDecode,
//                                       AfterItem.
// A code found in another spelling (case, blanks) is then put in the box as its master spells it, which
// raises Change once more before AfterItem: what is bound and stored is the master's code.
// A handler that leaves the statement empty stops that step: no list, no decoding.
#include <memory>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Variant.h"
#include "entry/Controls.h"

namespace entry {

// One column of a lookup list: its caption and the column of the statement it shows.
struct LookupField {
    std::string caption;
    std::string column;
};

// Filled by the form in StartLookup.
struct LookupRequest {
    std::string statement;
    std::vector<LookupField> fields;
    std::string title;
    std::string connectionString;
};

// One decoded column and the control that shows it (a text box or a label; Nothing: not shown).
struct DecodeField {
    std::string column;
    std::shared_ptr<IControl> target;
};

// Filled by the form in StartDecode.
struct DecodeRequest {
    std::string statement;
    std::vector<DecodeField> fields;
    std::string connectionString;
};

class ILookupTextBox : public ITextBox {
public:
    static constexpr ControlKind kKind = ControlKind::LookupTextBox;

    // Host settings of the box: the program interface, the connection its statements may run on, the
    // company, whether the lookup list is offered.
    virtual std::shared_ptr<Cinterface> ActiveInterface() const = 0;
    virtual void ActiveInterface(const std::shared_ptr<Cinterface>& program) = 0;
    virtual db::ConnectionPtr Connection() const = 0;
    virtual void Connection(const db::ConnectionPtr& connection) = 0;
    virtual db::Variant Ditta() const = 0;
    virtual void Ditta(const db::Variant& ditta) = 0;
    virtual bool LookupAttivo() const = 0;
    virtual void LookupAttivo(bool on) = 0;

    // The lookup the box runs (the id the lookup service gives, or a name the form chooses).
    virtual std::string IDLookup() const = 0;
    virtual void IDLookup(const std::string& id) = 0;

    // True when the last decoding found the code.
    virtual bool Decodificato() const = 0;
    // Decodes the current text again (StartDecode, AfterItem).
    virtual void Refresh() = 0;

    virtual Event<LookupRequest&>& StartLookup() = 0;
    virtual Event<DecodeRequest&>& StartDecode() = 0;
    virtual Event<>& BeforeItem() = 0;
    virtual Event<>& AfterItem() = 0;
    // The row chosen from the list, one value per column of the statement.
    virtual Event<const std::vector<db::Variant>&>& ItemSelected() = 0;
};

}  // namespace entry
