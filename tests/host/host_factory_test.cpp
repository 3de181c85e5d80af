#include <gtest/gtest.h>

#include "db/Recordset.h"
#include "host/HostFactory.h"

namespace {

template <class F>
void ExpectUnavailable(F create, const std::string& name) {
    try {
        create();
        ADD_FAILURE() << name << " was created";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.Number(), 429);
        EXPECT_EQ(e.Description(), "Oggetto non disponibile: " + name);
    }
}

}  // namespace

TEST(ShellHost, InstallMakesItTheComponentsHost) {
    auto shell = host::InstallShellHost();
    EXPECT_EQ(&entry::Host(), shell.get());
    // Every message service of the session is the one scripted service.
    EXPECT_EQ(entry::Host().CreateMessageService(), shell->Messages());
    EXPECT_EQ(entry::Host().CreateMessageService(), entry::Host().CreateMessageService());
    entry::SetHost(nullptr);
}

TEST(ShellHost, RecordsetsComePresetForBatchEditing) {
    host::ShellHost shell;
    auto rs = shell.CreateRecordsetProvider()->Recordset();
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->CursorLocation(), db::adUseClient);
    EXPECT_EQ(rs->CursorType(), db::adOpenStatic);
    EXPECT_EQ(rs->LockType(), db::adLockBatchOptimistic);
    EXPECT_EQ(rs->State(), db::adStateClosed);
    EXPECT_NE(rs, shell.CreateRecordsetProvider()->Recordset());
}

TEST(ShellHost, ConnectionProviderGivesUnopenedConnections) {
    host::ShellHost shell;
    auto c = shell.CreateConnectionProvider()->Connection();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->State(), db::adStateClosed);
}

TEST(ShellHost, NoHostInstalledIs429) {
    entry::SetHost(nullptr);
    ExpectUnavailable([] { entry::Host(); }, "host");
}
