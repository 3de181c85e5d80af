#include "host/GlobalObject.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "db/Quote.h"
#include "db/Recordset.h"

namespace host {

namespace {

// The file of an embedded database's connection string: "sqlite:PATH" or a "sqlite:file:PATH?..." URI. Empty
// for any other database and for one in memory.
std::filesystem::path EmbeddedDatabaseFile(const std::string& connectionString) {
    const std::string sqlite = "sqlite:";
    if (connectionString.rfind(sqlite, 0) != 0) return {};
    std::string file = connectionString.substr(sqlite.size());
    if (file.rfind("file:", 0) == 0) {
        file = file.substr(5, file.find_first_of("?#") - 5);
        if (file.rfind("//", 0) == 0) {  // file://localhost/PATH, file:///PATH
            const auto path = file.find('/', 2);
            file = path == std::string::npos ? std::string() : file.substr(path);
        }
    }
    if (file.empty() || file == ":memory:") return {};
    return file;
}

}  // namespace

bool GlobalObject::NoCase::operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(db::AsciiUpper(x)) < static_cast<unsigned char>(db::AsciiUpper(y));
    });
}

GlobalObject::GlobalObject(std::string connectionString, long ditta)
    : connectionString_(std::move(connectionString)), ditta_(ditta) {
    auto connection = db::Connection::Create();
    connection->Open(connectionString_);
    Ricarica(*connection);
    connection->Close();
}

GlobalObject::GlobalObject(std::string connectionString, long ditta, db::Connection& connection)
    : connectionString_(std::move(connectionString)), ditta_(ditta) {
    Ricarica(connection);
}

void GlobalObject::Ricarica(db::Connection& connection) {
    std::map<std::string, db::Variant, NoCase> settings;
    const std::string ditta = db::SqlNumber(db::Variant(ditta_));

    auto fashion = connection.Execute("SELECT * FROM FA00_PARAMETRI WITH (NOLOCK) WHERE FA00_DITTA_CG18 = " + ditta);
    if (fashion->RecordCount() > 0) {
        fashion->MoveFirst();
        auto fields = fashion->GetFields();
        for (long i = 0; i < fields.Count(); ++i) settings[fields[i].Name()] = fields[i].Value();
    }

    auto rows = connection.Execute("SELECT AG00_CHIAVE, AG00_VALORE FROM AG00_IMPOSTAZIONI WITH (NOLOCK) "
                                   "WHERE AG00_DITTA_CG18 = " + ditta);
    if (rows->RecordCount() > 0) rows->MoveFirst();
    for (; !rows->EOF(); rows->MoveNext())
        settings[db::Trim((*rows)["AG00_CHIAVE"].Value().Text())] = (*rows)["AG00_VALORE"].Value();

    settings_ = std::move(settings);
}

db::Variant GlobalObject::Impostazione(const std::string& name) const {
    const auto it = settings_.find(name);
    return it == settings_.end() ? db::Variant() : it->second;
}

void GlobalObject::Imposta(const std::string& name, const db::Variant& value) { settings_[name] = value; }

std::string GlobalObject::VarianteColore() const {
    return db::Trim(Impostazione(entry::impostazioni::VarianteColore).Text());
}

std::string GlobalObject::UtenteDescrizione() const {
    return db::Trim(Impostazione(entry::impostazioni::UtenteDescrizione).Text());
}

std::string GlobalObject::CartellaLog() const {
    std::string folder = db::Trim(Impostazione(entry::impostazioni::CartellaLog).Text());
    // A relative folder belongs to the company's database, not to wherever the program was started: beside an
    // embedded database file, in a folder named after the file, so the logs of two databases never mix even
    // when the databases share a folder.
    const auto database = EmbeddedDatabaseFile(connectionString_);
    if (!folder.empty() && std::filesystem::path(folder).is_relative() && !database.empty())
        folder = (database.parent_path() / folder / database.filename()).string();
    // Callers put the file name right after the folder.
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

void GlobalObject::Registra(const std::shared_ptr<entry::Cinterface>& program) {
    if (program) programs_.push_back(program);
}

void GlobalObject::Deregistra(const std::shared_ptr<entry::Cinterface>& program) {
    std::erase_if(programs_, [&](const std::weak_ptr<entry::Cinterface>& p) {
        auto held = p.lock();
        return !held || held == program;
    });
}

std::vector<std::shared_ptr<entry::Cinterface>> GlobalObject::Programmi() const {
    std::vector<std::shared_ptr<entry::Cinterface>> open;
    for (const auto& p : programs_)
        if (auto held = p.lock()) open.push_back(held);
    return open;
}

}  // namespace host
