// TDLinkedList<T>: indexed access in any order and after a miss, clearing and copies.
#include <gtest/gtest.h>

#include "levelformat/records.h"

namespace {

using IntList = TDLinkedList<int>;

IntList Numbers(int count) {
    IntList list;
    for (int i = 0; i < count; ++i) {
        list.Add(i * 10);
    }
    return list;
}

TEST(LinkedListTest, ItemsAreFoundInAnyOrderAndAMissRaisesWithoutHarm) {
    IntList list = Numbers(9);
    for (const int i : {6, 7, 8, 7, 3, 0, 1, 8, 4, 5, 2}) {
        EXPECT_EQ(list.Items(i), i * 10) << i;
    }
    list.Items(4) = 99;  // the stored value, changed in place
    list.Add(90);
    EXPECT_EQ(list.Items(4), 99);
    EXPECT_EQ(list.Items(9), 90);

    EXPECT_THROW(IntList().Items(0), XIndexOutOfRange<int>);
    EXPECT_THROW(IntList().Items(-1), XIndexOutOfRange<int>);
    for (const int miss : {10, -1}) {
        EXPECT_THROW(list.Items(miss), XIndexOutOfRange<int>) << miss;
        EXPECT_EQ(list.Items(0), 0) << "after " << miss;
        EXPECT_EQ(list.Items(9), 90) << "after " << miss;
    }
    EXPECT_STREQ(XIndexOutOfRange<int>().what(), "");
}

TEST(LinkedListTest, ClearEmptiesAndCopiesAreDeep) {
    TZNLevelList levels;
    TZNLevelWrapper level;
    level.PictureName = "sea.jpg";
    level.GullRecords.Add(TZNGull{1, 2, 3, 4, 5, 6, 7});
    levels.Add(level);
    level.GullRecords.Items(0).X = 100;  // the list holds its own copy
    EXPECT_EQ(levels.Items(0).GullRecords.Items(0).X, 1);

    TZNLevelList copy = levels;
    copy.Items(0).GullRecords.Items(0).Y = 200;
    copy.Items(0).PictureName = "dunes.jpg";
    EXPECT_EQ(levels.Items(0).GullRecords.Items(0).Y, 2);
    EXPECT_EQ(levels.Items(0).PictureName, "sea.jpg");
    copy = levels;
    copy = copy;  // assigning a list to itself keeps it
    EXPECT_EQ(copy.Count, 1);
    EXPECT_EQ(copy.Items(0).GullRecords.Items(0).Y, 2);

    levels.Clear();
    EXPECT_EQ(levels.Count, 0);
    EXPECT_THROW(levels.Items(0), XIndexOutOfRange<TZNLevelWrapper>);
    levels.Add(level);
    EXPECT_EQ(levels.Items(0).GullRecords.Items(0).X, 100);
}

}  // namespace
