#include <gtest/gtest.h>

#include "common/error.h"
#include "common/integer_list.h"

TEST(IntegerList, PutAppendsZerosUntilTheIndexExists) {
    TIntegerList list;
    list.Put(5, 9);
    EXPECT_EQ(list.Items(), (std::vector<int32_t>{0, 0, 0, 0, 0, 9}));
    list.Put(1, 4);
    EXPECT_EQ(list.Items(), (std::vector<int32_t>{0, 4, 0, 0, 0, 9}));
    EXPECT_THROW(list.Put(-1, 1), EError);
}

TEST(IntegerList, RemoveTakesOnlyTheFirstOccurrence) {
    TIntegerList list;
    for (int v : {3, 1, 3, 2})
        list.Add(v);
    EXPECT_TRUE(list.Remove(3));
    EXPECT_EQ(list.Items(), (std::vector<int32_t>{1, 3, 2}));
    EXPECT_FALSE(list.Remove(7));
    EXPECT_EQ(list.Get(1), 3);
    EXPECT_THROW(list.Get(3), EError);
    EXPECT_THROW(list.Get(-1), EError);
}
