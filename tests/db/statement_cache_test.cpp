// The prepared-statement cache of a SQLite connection: kept from a text's second run, one statement per
// user at a time, room made by the least recently used statement that is not in use.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "db/TextHash.h"
#include "db/sqlite/StatementCache.h"

namespace db::sqlite {
namespace {

class StatementCacheTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK); }
    void TearDown() override {
        cache_.Clear();
        sqlite3_close(db_);
    }
    StatementCache& Cache() {
        cache_.Attach(db_);
        return cache_;
    }
    void Use(const std::string& sql) { Cache().Acquire(sql); }

    sqlite3* db_ = nullptr;
    StatementCache cache_{2};
};

TEST_F(StatementCacheTest, AStatementIsKeptFromItsSecondRunAndServesOneUserAtATime) {
    Use("SELECT 1");
    EXPECT_EQ(Cache().Size(), 0u);
    Use("SELECT 1");
    ASSERT_EQ(Cache().Size(), 1u);
    {
        StatementCache::Lease outer = Cache().Acquire("SELECT 1");
        ASSERT_NE(outer.Notes(), nullptr) << "the kept statement";
        StatementCache::Lease inner = Cache().Acquire("SELECT 1");  // run from inside the outer one
        EXPECT_NE(inner.get(), outer.get());
        EXPECT_EQ(inner.Notes(), nullptr);
        ASSERT_EQ(sqlite3_step(outer.get()), SQLITE_ROW);
        ASSERT_EQ(sqlite3_step(inner.get()), SQLITE_ROW);
    }
    EXPECT_EQ(Cache().Size(), 1u) << "the second copy is not kept";
    StatementCache::Lease again = Cache().Acquire("SELECT 1");
    EXPECT_NE(again.Notes(), nullptr);
    EXPECT_EQ(sqlite3_step(again.get()), SQLITE_ROW) << "returned reset";
}

TEST_F(StatementCacheTest, RoomIsMadeByTheLeastRecentlyUsedStatementNotInUse) {
    for (const char* sql : {"SELECT 1", "SELECT 2"}) Use(sql), Use(sql);
    ASSERT_EQ(Cache().Size(), 2u);
    {
        StatementCache::Lease busy = Cache().Acquire("SELECT 1");
        Use("SELECT 2");  // "SELECT 1" is now the least recently used, but in use
        Use("SELECT 3"), Use("SELECT 3");
        EXPECT_NE(Cache().Acquire("SELECT 3").Notes(), nullptr) << "kept in place of SELECT 2";
        EXPECT_EQ(Cache().Acquire("SELECT 2").Notes(), nullptr) << "made room";
    }
    EXPECT_NE(Cache().Acquire("SELECT 1").Notes(), nullptr) << "never put out while in use";

    // Cleared while in use: the lease still works and its statement goes when it ends.
    StatementCache::Lease held = Cache().Acquire("SELECT 1");
    Cache().Clear();
    EXPECT_EQ(sqlite3_step(held.get()), SQLITE_ROW);
}

// The cache finds a statement by a hash of its whole text: a byte changed anywhere, at any length (the
// words read whole, the tail read in pieces), must change the hash.
TEST(TextHashTest, EveryByteOfTheTextCounts) {
    for (std::size_t length = 0; length <= 48; ++length) {
        std::string text(length, 'S');
        const std::size_t plain = HashText(text);
        EXPECT_EQ(plain, HashText(std::string(length, 'S'))) << length;
        if (length > 0) {
            EXPECT_NE(plain, HashText(std::string(length - 1, 'S'))) << length;
        }
        for (std::size_t at = 0; at < length; ++at) {
            text[at] = 'T';
            EXPECT_NE(HashText(text), plain) << "length " << length << ", byte " << at;
            text[at] = 'S';
        }
    }
}

}  // namespace
}  // namespace db::sqlite
