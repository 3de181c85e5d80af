#include <gtest/gtest.h>

#include "FakeHost.h"
#include "db/Connection.h"
#include "entry/MDLFA_AGGANCI.h"

using entry::Pfun_GestioneErrore;

TEST(ErrorReport, GoesToTheServiceOrElseThePlatformBoxAndWithoutAShellIsError429) {
    auto host = std::make_shared<entry_test::FakeHost>();
    entry::SetHost(host);
    const db::Error error{3021, "No current record", "ADODB.Recordset"};

    // The service is handed the error, then the connection's errors, then shows the box.
    auto service = std::make_shared<entry_test::FakeMessageService>();
    service->answers = {4, 5};
    auto connection = db::Connection::Create();
    connection->RecordError(db::Error(-2147217900, "Incorrect syntax near 'FROM'", "Microsoft OLE DB Provider"));
    EXPECT_EQ(Pfun_GestioneErrore(service, connection, "Form_Load", error), 4);
    EXPECT_EQ(Pfun_GestioneErrore(service, nullptr, "TXT_LINEA_StartDecode", error), 5);
    EXPECT_EQ(service->calls, (std::vector<std::string>{"SetError 3021", "SetConnectionErrors 1",
                                                        "ShowErrorBox Form_Load", "SetError 3021",
                                                        "ShowErrorBox TXT_LINEA_StartDecode"}));
    EXPECT_EQ(service->lastBox, "Agganci|Generazione articoli da agganci|TXT_LINEA_StartDecode|4370");
    EXPECT_TRUE(host->boxes.empty());

    host->answer = 2;
    EXPECT_EQ(Pfun_GestioneErrore(nullptr, nullptr, "InizializzaFrame", error), 2);
    EXPECT_EQ(host->boxes, std::vector<std::string>{"Errore nella funzione: InizializzaFrame|18|Agganci"});

    entry::SetHost(nullptr);
    try {
        Pfun_GestioneErrore(nullptr, nullptr, "Form_Load", error);
        ADD_FAILURE() << "no error without a shell";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.Number(), 429);
        EXPECT_EQ(e.Description(), "Oggetto non disponibile: host");
    }
}
