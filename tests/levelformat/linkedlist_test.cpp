// TDLinkedList<T>: indexed access from the remembered cursor, misses, clearing, copies, walks
// and comparisons.
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

TEST(LinkedListTest, WalksFromTheCursorOrTheNearerEnd) {
    IntList list = Numbers(9);
    EXPECT_EQ(list.Count, 9);
    EXPECT_EQ(list.Cursor, nullptr);  // adding leaves the cursor alone

    // A fresh walk starts at the end nearer to the index: 6 > 9 / 2, so from the tail.
    EXPECT_EQ(list.Items(6), 60);
    EXPECT_EQ(list.CursorIndex, 6);
    EXPECT_EQ(list.Cursor, list.Tail->Prev->Prev);

    // Then one step per neighbouring index, in either direction.
    for (int i = 7; i < 9; ++i) {
        EXPECT_EQ(list.Items(i), i * 10);
        EXPECT_EQ(list.CursorIndex, i);
    }
    for (int i = 7; i >= 0; --i) {
        EXPECT_EQ(list.Items(i), i * 10);
        EXPECT_EQ(list.CursorIndex, i);
    }
    EXPECT_EQ(list.Cursor, list.Head);

    // Items hand out the stored value for changing in place.
    list.Items(4) = 99;
    EXPECT_EQ(list.Items(4), 99);
    list.Add(90);
    EXPECT_EQ(list.CursorIndex, 4);
    EXPECT_EQ(list.Items(9), 90);
}

TEST(LinkedListTest, AMissRaisesAndTheNextWalkStartsAfresh) {
    IntList empty;
    EXPECT_THROW(empty.Items(0), XIndexOutOfRange<int>);
    EXPECT_THROW(empty.Items(-1), XIndexOutOfRange<int>);

    IntList list = Numbers(4);
    EXPECT_THROW(list.Items(list.Count), XIndexOutOfRange<int>);
    EXPECT_EQ(list.Cursor, nullptr);
    EXPECT_EQ(list.Items(0), 0);
    EXPECT_THROW(list.Items(-1), XIndexOutOfRange<int>);
    EXPECT_EQ(list.Items(3), 30);
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
    EXPECT_EQ(levels.CursorIndex, 0);
    EXPECT_EQ(levels.Head, nullptr);
    EXPECT_EQ(levels.Tail, nullptr);
    EXPECT_EQ(levels.Cursor, nullptr);
    EXPECT_THROW(levels.Items(0), XIndexOutOfRange<TZNLevelWrapper>);
    levels.Add(level);
    EXPECT_EQ(levels.Items(0).GullRecords.Items(0).X, 100);
}

TEST(LinkedListTest, AWalkLeavesTheCursorAndEqualityIgnoresIt) {
    IntList list = Numbers(5);
    EXPECT_EQ(list.Items(3), 30);
    int expected = 0;
    for (const int item : list) {
        EXPECT_EQ(item, expected);
        expected += 10;
    }
    EXPECT_EQ(expected, 50);
    EXPECT_EQ(list.CursorIndex, 3);
    EXPECT_EQ(list.Cursor->Item, 30);

    IntList same = Numbers(5);
    EXPECT_TRUE(list == same) << "one list has a cursor, the other none";
    EXPECT_FALSE(list == Numbers(4));
    EXPECT_FALSE(Numbers(4) == list);
    same.Items(4) = 41;
    EXPECT_FALSE(list == same);
    EXPECT_TRUE(IntList() == IntList());
    for ([[maybe_unused]] const int item : IntList()) {
        ADD_FAILURE() << "an empty list has no items";
    }
}

}  // namespace
