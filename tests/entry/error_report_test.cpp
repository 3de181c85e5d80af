#include <gtest/gtest.h>

#include "FakeHost.h"
#include "db/Connection.h"
#include "entry/ComponentInfo.h"
#include "entry/MDLFA_AGGANCI.h"

using entry::Pfun_GestioneErrore;
using entry_test::FakeHost;
using entry_test::FakeMessageService;

namespace {

class ErrorReport : public ::testing::Test {
protected:
    void SetUp() override { entry::SetHost(host); }
    void TearDown() override { entry::SetHost(nullptr); }
    std::shared_ptr<FakeHost> host = std::make_shared<FakeHost>();
    std::shared_ptr<FakeMessageService> service = std::make_shared<FakeMessageService>();
    db::Error error{3021, "No current record", "ADODB.Recordset"};
};

}  // namespace

TEST_F(ErrorReport, HandsTheErrorThenTheConnectionsErrorsThenShowsTheBox) {
    service->answers = {4, 5};
    auto connection = db::Connection::Create();
    connection->RecordError(db::Error(-2147217900, "Incorrect syntax near 'FROM'", "Microsoft OLE DB Provider"));
    EXPECT_EQ(Pfun_GestioneErrore(service, connection, "Form_Load", error), 4);
    EXPECT_EQ(Pfun_GestioneErrore(service, nullptr, "TXT_LINEA_StartDecode", error), 5);
    EXPECT_EQ(service->calls, (std::vector<std::string>{"SetError 3021", "SetConnectionErrors 1", "ShowErrorBox Form_Load",
                                                        "SetError 3021", "ShowErrorBox TXT_LINEA_StartDecode"}));
    EXPECT_EQ(service->title, "Agganci");
    EXPECT_EQ(service->description, "Generazione articoli da agganci");
    EXPECT_EQ(service->style, 4370);
    EXPECT_TRUE(host->boxes.empty());
}

TEST_F(ErrorReport, WithoutServiceShowsThePlatformBoxAndWithoutAShellIsError429) {
    host->answer = 2;
    EXPECT_EQ(Pfun_GestioneErrore(nullptr, nullptr, "InizializzaFrame", error), 2);
    ASSERT_EQ(host->boxes.size(), 1u);
    EXPECT_EQ(host->boxes[0].text, "Errore nella funzione: InizializzaFrame");
    EXPECT_EQ(host->boxes[0].style, 18);
    EXPECT_EQ(host->boxes[0].title, entry::kComponentTitle);

    entry::SetHost(nullptr);
    try {
        Pfun_GestioneErrore(nullptr, nullptr, "Form_Load", error);
        ADD_FAILURE() << "no error without a shell";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.Number(), 429);
        EXPECT_EQ(e.Description(), "Oggetto non disponibile: host");
    }
}
