// The keyed collection the engine is told what to copy through: keys without regard to case, a key put again
// moving its item last.
#include <gtest/gtest.h>

#include "db/Error.h"
#include "entry/Collection.h"

using db::Variant;

TEST(Collection, PutReplacesTheKeysItemAndMovesItLastAsRemoveThenAddWould) {
    entry::Collection put, removedAndAdded;
    for (entry::Collection* c : {&put, &removedAndAdded}) {
        c->Add(Variant(1), "KEY1");
        c->Add(Variant(2), "KEY2");
        c->Add(Variant(3));
    }
    put.Put(Variant(10), "key1");
    removedAndAdded.Remove("key1");
    removedAndAdded.Add(Variant(10), "key1");
    ASSERT_EQ(put.Count(), 3);
    for (long i = 1; i <= 3; ++i) {
        EXPECT_EQ(put.Item(i).CLng(), removedAndAdded.Item(i).CLng());
        EXPECT_EQ(put.Items()[static_cast<std::size_t>(i - 1)].first,
                  removedAndAdded.Items()[static_cast<std::size_t>(i - 1)].first);
    }
    EXPECT_EQ(put.Item("KEY1").CLng(), 10);

    put.Put(Variant(4), "KEY4");  // a new key is added
    EXPECT_EQ(put.Count(), 4);
    EXPECT_EQ(put.Item(4).CLng(), 4);
    EXPECT_THROW(put.Put(Variant(5), ""), db::Error);  // an item without a key cannot be put in place of one
    EXPECT_THROW(put.Add(Variant(6), "key4"), db::Error);
}
