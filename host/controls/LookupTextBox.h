#pragma once
// The shell's lookup text box. The form answers its StartLookup and StartDecode events with a
// statement; the box runs it, lists the rows or shows the decoded description, and reports whether the
// typed code was found. Statements run on the box's own connection when it has one of that connection
// string, otherwise on the connection the shell resolves for the string.
#include <functional>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "entry/ControlsLookup.h"
#include "host/controls/BasicControls.h"

namespace host::controls {

// The shell's open connection for a connection string (Nothing: the box opens one of its own).
using ConnectionResolver = std::function<db::ConnectionPtr(const std::string& connectionString)>;

// A lookup list as the box showed it.
struct LookupList {
    entry::LookupRequest request;
    std::vector<std::string> columns;
    std::vector<std::vector<db::Variant>> rows;
};

class LookupTextBox : public TextBoxOf<entry::ILookupTextBox> {
public:
    explicit LookupTextBox(std::string name, ConnectionResolver resolver = {});

    std::shared_ptr<entry::Cinterface> ActiveInterface() const override { return program_; }
    void ActiveInterface(const std::shared_ptr<entry::Cinterface>& program) override { program_ = program; }
    db::ConnectionPtr Connection() const override { return connection_; }
    void Connection(const db::ConnectionPtr& connection) override { connection_ = connection; }
    db::Variant Ditta() const override { return ditta_; }
    void Ditta(const db::Variant& ditta) override { ditta_ = ditta; }
    bool LookupAttivo() const override { return lookupAttivo_; }
    void LookupAttivo(bool on) override { lookupAttivo_ = on; }
    std::string IDLookup() const override { return idLookup_; }
    void IDLookup(const std::string& id) override { idLookup_ = id; }
    bool Decodificato() const override { return decodificato_; }
    void Refresh() override;
    void Terminate() override;

    entry::Event<entry::LookupRequest&>& StartLookup() override { return startLookup_; }
    entry::Event<entry::DecodeRequest&>& StartDecode() override { return startDecode_; }
    entry::Event<>& BeforeItem() override { return beforeItem_; }
    entry::Event<>& AfterItem() override { return afterItem_; }
    entry::Event<const std::vector<db::Variant>&>& ItemSelected() override { return itemSelected_; }

    void Resolver(ConnectionResolver resolver) { resolver_ = std::move(resolver); }

    // --- What the scripted user does ---
    // Types the code and leaves the field: BeforeItem, Change, decoding, AfterItem.
    void UserType(const std::string& text);
    // Opens the lookup list (StartLookup and the statement run). Error 5 when the box offers no list.
    LookupList UserOpenList();
    // Picks from the list the row whose first column is `code` (blanks at the end and case ignored):
    // BeforeItem, Change, ItemSelected, decoding, AfterItem. Error 5 when the list has no such row.
    void UserPick(const std::string& code);

    const LookupList& LastList() const { return lastList_; }

private:
    // Runs the form's decoding and shows the description found; returns the code as the master spells it
    // (empty when not found). Refresh leaves the text alone: a record shown again is not edited.
    std::string Decode();
    db::RecordsetPtr Run(const std::string& statement, const std::string& connectionString);
    db::ConnectionPtr ConnectionFor(const std::string& connectionString);
    void Choose(const std::string& text, const std::vector<db::Variant>* row);

    ConnectionResolver resolver_;
    std::shared_ptr<entry::Cinterface> program_;
    db::ConnectionPtr connection_;
    db::ConnectionPtr ownConnection_;  // opened by the box when nobody had one for the string
    db::Variant ditta_;
    bool lookupAttivo_ = true;
    std::string idLookup_;
    bool decodificato_ = false;
    LookupList lastList_;
    entry::Event<entry::LookupRequest&> startLookup_;
    entry::Event<entry::DecodeRequest&> startDecode_;
    entry::Event<> beforeItem_, afterItem_;
    entry::Event<const std::vector<db::Variant>&> itemSelected_;
};

// Shows a value in a target of a decoding: the text of a text box, the caption of a label.
void ShowInTarget(const std::shared_ptr<entry::IControl>& target, const std::string& text);

}  // namespace host::controls
