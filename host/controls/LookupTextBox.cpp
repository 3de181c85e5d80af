#include "host/controls/LookupTextBox.h"

#include "db/Error.h"
#include "db/Field.h"

namespace host::controls {

namespace {

std::vector<db::Variant> CurrentRow(db::Recordset& rs) {
    std::vector<db::Variant> row;
    auto fields = rs.GetFields();
    for (long i = 0; i < fields.Count(); ++i) row.push_back(fields.Item(i).Value());
    return row;
}

bool ShownAsDescription(const entry::DecodeRequest& request, const std::string& column) {
    for (const auto& field : request.fields)
        if (field.target && db::SameText(field.column, column)) return true;
    return false;
}

// The code as its master spells it: the first column of the record found, descriptions aside, that holds
// the typed code. Empty when none does.
std::string MasterSpelling(db::Recordset& found, const entry::DecodeRequest& request, const std::string& typed) {
    auto fields = found.GetFields();
    for (long i = 0; i < fields.Count(); ++i) {
        auto field = fields.Item(i);
        if (ShownAsDescription(request, field.Name())) continue;
        const std::string value = db::RTrim(field.Value().Text());
        if (db::SameCode(value, db::Trim(typed))) return value;
    }
    return {};
}

}  // namespace

void ShowInTarget(const std::shared_ptr<entry::IControl>& target, const std::string& text) {
    if (auto box = std::dynamic_pointer_cast<entry::ITextBox>(target)) box->Text(text);
    else if (auto label = std::dynamic_pointer_cast<entry::ILabel>(target)) label->Caption(text);
}

LookupTextBox::LookupTextBox(std::string name, ConnectionResolver resolver)
    : TextBoxOf(std::move(name)), resolver_(std::move(resolver)) {}

void LookupTextBox::Refresh() {
    Decode();
    afterItem_.Raise();
}

void LookupTextBox::Terminate() {
    TextBoxOf::Terminate();
    program_.reset();
    connection_.reset();
    ownConnection_.reset();
}

void LookupTextBox::UserType(const std::string& text) {
    UserReaches();
    Choose(Typed(text), nullptr);
}

LookupList LookupTextBox::UserOpenList() {
    UserReaches();
    if (!lookupAttivo_) throw db::Error(db::errc::InvalidProcedureCall, "The box " + Name() + " offers no list");
    LookupList list;
    startLookup_.Raise(list.request);
    if (db::Trim(list.request.statement).empty())
        throw db::Error(db::errc::InvalidProcedureCall, "The form gave the box " + Name() + " no list");
    auto rs = Run(list.request.statement, list.request.connectionString);
    auto fields = rs->GetFields();
    for (long i = 0; i < fields.Count(); ++i) list.columns.push_back(fields.Item(i).Name());
    if (rs->RecordCount() > 0) rs->MoveFirst();
    for (; !rs->EOF(); rs->MoveNext()) list.rows.push_back(CurrentRow(*rs));
    lastList_ = list;
    return list;
}

void LookupTextBox::UserPick(const std::string& code) {
    const LookupList list = UserOpenList();
    for (const auto& row : list.rows) {
        if (!row.empty() && db::SameCode(row.front().Text(), code)) {
            Choose(db::RTrim(row.front().Text()), &row);
            return;
        }
    }
    throw db::Error(db::errc::InvalidProcedureCall, "The list of " + Name() + " has no row " + code);
}

void LookupTextBox::Choose(const std::string& text, const std::vector<db::Variant>* row) {
    beforeItem_.Raise();
    Text(text);
    if (row) itemSelected_.Raise(*row);
    // The database finds a code whatever its case; the box keeps it as the master spells it, as a pick from
    // the list does, so that what is bound and stored is the master's code.
    const std::string spelled = Decode();
    if (!spelled.empty()) Text(spelled);
    afterItem_.Raise();
}

std::string LookupTextBox::Decode() {
    entry::DecodeRequest request;
    startDecode_.Raise(request);
    const bool nothingToDecode = db::Trim(Text()).empty() || db::Trim(request.statement).empty();
    db::RecordsetPtr rs;
    if (!nothingToDecode) rs = Run(request.statement, request.connectionString);
    decodificato_ = rs && rs->RecordCount() > 0;
    if (decodificato_) rs->MoveFirst();
    for (const auto& field : request.fields) {
        if (!field.target) continue;
        ShowInTarget(field.target, decodificato_ ? db::RTrim((*rs)[field.column].Value().Text()) : std::string());
    }
    return decodificato_ ? MasterSpelling(*rs, request, Text()) : std::string();
}

db::ConnectionPtr LookupTextBox::ConnectionFor(const std::string& connectionString) {
    if (connection_ && connection_->State() != 0 &&
        (connectionString.empty() || connection_->ConnectionString() == connectionString))
        return connection_;
    if (resolver_)
        if (auto shared = resolver_(connectionString)) return shared;
    if (connectionString.empty())
        throw db::Error(3709, "The connection cannot be used to perform this operation", Name());
    if (!ownConnection_ || ownConnection_->ConnectionString() != connectionString) {
        ownConnection_ = db::Connection::Create();
        ownConnection_->Open(connectionString);
    }
    return ownConnection_;
}

db::RecordsetPtr LookupTextBox::Run(const std::string& statement, const std::string& connectionString) {
    return ConnectionFor(connectionString)->Execute(statement);
}

}  // namespace host::controls
