#include "model/RecordList.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

RecordList listOf(int entries, int sizeOfView, int viewStartAt = 0, int cursorPos = 0) {
    RecordList list;
    list.sizeOfView = sizeOfView;
    for (int i = 0; i < entries; ++i) {
        list.items.push_back("e" + std::to_string(i));
        list.children.emplace_back();
    }
    list.viewStartAt = viewStartAt;
    list.cursorPos = cursorPos;
    return list;
}

struct ViewCase {
    const char* what;
    int entries, sizeOfView, viewStartAt, cursorPos;
    int argument;
    int wantCount, wantStart, wantCursor;
};

void PrintTo(const ViewCase& c, std::ostream* os) {
    *os << c.what;
}

class AppendTest : public ::testing::TestWithParam<ViewCase> {};

TEST_P(AppendTest, NewEntryEndsVisibleAndSelected) {
    const ViewCase& c = GetParam();
    RecordList list = listOf(c.entries, c.sizeOfView, c.viewStartAt, c.cursorPos);
    list.SetItemText(c.argument, "new");
    EXPECT_EQ(list.count(), c.wantCount);
    EXPECT_EQ(list.children.size(), list.items.size());
    EXPECT_EQ(list.items.back(), "new");
    EXPECT_EQ(list.children.back().sizeOfView, c.sizeOfView);
    EXPECT_EQ(list.viewStartAt, c.wantStart);
    EXPECT_EQ(list.cursorPos, c.wantCursor);
}

INSTANTIATE_TEST_SUITE_P(RecordList, AppendTest,
                         ::testing::Values(ViewCase{"empty list", 0, 6, 0, 0, 0, 1, 0, 0},
                                           ViewCase{"window still has room", 3, 6, 0, 1, 3, 4, 0, 3},
                                           ViewCase{"full window scrolls by one", 6, 6, 0, 2, 6, 7, 1, 5},
                                           ViewCase{"scrolled list", 10, 3, 7, 0, 100, 11, 8, 2},
                                           ViewCase{"far past the end", 2, 6, 0, 0, 200000, 3, 0, 2},
                                           ViewCase{"negative index", 2, 6, 0, 0, -1, 3, 0, 2}));

class DeleteTest : public ::testing::TestWithParam<ViewCase> {};

TEST_P(DeleteTest, KeepsViewInsideTheList) {
    const ViewCase& c = GetParam();
    RecordList list = listOf(c.entries, c.sizeOfView, c.viewStartAt, c.cursorPos);
    list.DeleteItem(c.argument);
    EXPECT_EQ(list.count(), c.wantCount);
    EXPECT_EQ(list.children.size(), list.items.size());
    EXPECT_EQ(list.viewStartAt, c.wantStart);
    EXPECT_EQ(list.cursorPos, c.wantCursor);
}

INSTANTIATE_TEST_SUITE_P(RecordList, DeleteTest,
                         ::testing::Values(ViewCase{"only entry", 1, 6, 0, 0, 0, 0, 0, 0},
                                           ViewCase{"empty list ignores it", 0, 6, 0, 0, 0, 0, 0, 0},
                                           ViewCase{"last entry of a scrolled list", 5, 3, 4, 0, 0, 4, 3, 0},
                                           ViewCase{"past the end deletes the last", 5, 3, 2, 2, 9, 4, 2, 1},
                                           ViewCase{"negative index deletes the last", 5, 6, 0, 4, -1, 4, 0,
                                                    3},
                                           ViewCase{"middle entry", 5, 6, 0, 1, 1, 4, 0, 1}));

TEST(RecordList, DeleteRemovesTheAddressedEntry) {
    RecordList list = listOf(5, 3, 2, 0);
    list.DeleteItem(1); // absolute 3
    EXPECT_EQ(list.items, (std::vector<std::string>{"e0", "e1", "e2", "e4"}));
    RecordList tail = listOf(3, 6);
    tail.DeleteItem(7);
    EXPECT_EQ(tail.items, (std::vector<std::string>{"e0", "e1"}));
}

class SelectTest : public ::testing::TestWithParam<ViewCase> {};

TEST_P(SelectTest, ClampsAndScrolls) {
    const ViewCase& c = GetParam();
    RecordList list = listOf(c.entries, c.sizeOfView, c.viewStartAt, c.cursorPos);
    list.SelectIndex(c.argument);
    EXPECT_EQ(list.viewStartAt, c.wantStart);
    EXPECT_EQ(list.cursorPos, c.wantCursor);
}

INSTANTIATE_TEST_SUITE_P(RecordList, SelectTest,
                         ::testing::Values(ViewCase{"inside the window", 10, 3, 4, 0, 5, 10, 4, 1},
                                           ViewCase{"below the window", 10, 3, 4, 0, 8, 10, 8, 0},
                                           ViewCase{"negative", 10, 3, 4, 2, -5, 10, 0, 0},
                                           ViewCase{"past the end", 10, 3, 4, 0, 40, 10, 9, 0},
                                           ViewCase{"above the window", 10, 3, 4, 0, 2, 10, 2, 0},
                                           ViewCase{"empty list", 0, 3, 0, 0, 5, 0, -1, 0}));

TEST(RecordList, OutOfRangeReadsAndWritesAreAbsorbed) {
    RecordList list = listOf(3, 4, 1, 0);
    list.children[2].items.push_back("inner");
    list.children[2].children.emplace_back();
    EXPECT_EQ(list.ItemText(0), "e1");
    EXPECT_EQ(list.ItemText(2), "");
    EXPECT_EQ(list.ItemText(-2), "");
    EXPECT_EQ(list.ItemText(INT_MAX), "");
    EXPECT_EQ(list.ChildAt(1).items, (std::vector<std::string>{"inner"}));
    const RecordList outside = list.ChildAt(7);
    EXPECT_TRUE(outside.items.empty());
    EXPECT_EQ(outside.sizeOfView, 4);

    RecordList replacement = listOf(1, 9);
    list.SetChildAt(5, replacement);
    list.SetChildAt(0, replacement);
    EXPECT_EQ(list.children[1].items, replacement.items);
    EXPECT_EQ(list.count(), 3);

    list.SetItemText(1, "renamed");
    EXPECT_EQ(list.items[2], "renamed");
}

TEST(RecordList, InsertKeepsTheViewAndAppendsPastTheEnd) {
    RecordList list = listOf(4, 3, 1, 1);
    list.InsertItem(1, "x");
    EXPECT_EQ(list.items, (std::vector<std::string>{"e0", "e1", "x", "e2", "e3"}));
    EXPECT_EQ(list.children.size(), 5u);
    EXPECT_EQ(list.children[2].sizeOfView, 0);
    EXPECT_EQ(list.viewStartAt, 1);
    EXPECT_EQ(list.cursorPos, 1);
    list.InsertItem(50, "y");
    EXPECT_EQ(list.items.back(), "y");
    EXPECT_EQ(list.children.back().sizeOfView, 3);
    EXPECT_EQ(list.viewStartAt, 3);
    EXPECT_EQ(list.cursorPos, 2);
}

TEST(RecordList, HugeViewPositionsNeverOverflow) {
    RecordList list = listOf(3, 6, INT_MAX, 0);
    EXPECT_EQ(list.ItemText(1), "");
    list.DeleteItem(INT_MAX);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.viewStartAt, 1);
    list.viewStartAt = INT_MIN;
    list.SelectIndex(1);
    EXPECT_EQ(list.viewStartAt, 1);
}

TEST(RecordList, ClearAndCopy) {
    RecordList list = listOf(2, 7, 1, 1);
    list.cycles = 5;
    list.isAutoInterval = true;
    list.delay = 99;
    list.playMode = 2;
    RecordList copy;
    copy.CopyFrom(list);
    EXPECT_EQ(copy.sizeOfView, 7);
    EXPECT_EQ(copy.viewStartAt, 1);
    EXPECT_TRUE(copy.SameContent(list));
    list.Clear();
    EXPECT_EQ(list.sizeOfView, 7);
    EXPECT_EQ(list.viewStartAt, 0);
    EXPECT_EQ(list.cursorPos, 0);
    EXPECT_TRUE(list.items.empty());
    EXPECT_TRUE(list.children.empty());
    EXPECT_EQ(list.cycles, 1);
    EXPECT_FALSE(list.isAutoInterval);
    EXPECT_EQ(list.delay, 30);
    EXPECT_EQ(list.playMode, 0);
    EXPECT_EQ(copy.count(), 2);
}

TEST(RecordList, SameContentComparesStepsAndSettingsOnly) {
    RecordList a = listOf(2, 6);
    RecordList b = listOf(2, 9, 1, 1);
    b.children[0].items.push_back("ignored");
    EXPECT_TRUE(a.SameContent(b));
    b.delay = 31;
    EXPECT_FALSE(a.SameContent(b));
    b.delay = a.delay;
    b.items[1] = "E1";
    EXPECT_FALSE(a.SameContent(b));
    EXPECT_FALSE(a.SameContent(listOf(3, 6)));
}

TEST(RecordList, FindItemIsExact) {
    const RecordList list = listOf(3, 6);
    EXPECT_EQ(list.FindItem("e2"), 2);
    EXPECT_EQ(list.FindItem("E2"), -1);
    EXPECT_EQ(list.FindItem(""), -1);
}

RecordList libraryOf(int entries, int sizeOfView, int viewStartAt) {
    RecordList library = listOf(entries, sizeOfView, viewStartAt);
    for (int i = 0; i < entries; ++i) {
        library.children[static_cast<std::size_t>(i)] = listOf(i + 1, 6);
    }
    return library;
}

TEST(AddToLibrary, SelectsAMatchWithoutAdding) {
    RecordList library = libraryOf(10, 3, 0);
    RecordList entry = listOf(3, 99, 2, 1); // same steps as the third entry, other view
    AddToLibrary(library, entry);
    EXPECT_EQ(library.count(), 10);
    EXPECT_EQ(library.viewStartAt, 0);
    EXPECT_EQ(library.cursorPos, 2);

    AddToLibrary(library, listOf(8, 6));
    EXPECT_EQ(library.count(), 10);
    EXPECT_EQ(library.viewStartAt, 7);
    EXPECT_EQ(library.cursorPos, 0);
}

TEST(AddToLibrary, AppendsANewEntryAsDefault) {
    RecordList library = libraryOf(3, 3, 0);
    RecordList entry = listOf(2, 6);
    entry.playMode = 1; // differs from the library's second entry in settings only
    AddToLibrary(library, entry);
    ASSERT_EQ(library.count(), 4);
    EXPECT_EQ(library.items.back(), "default");
    EXPECT_TRUE(library.children.back().SameContent(entry));
    EXPECT_EQ(library.viewStartAt, 1);
    EXPECT_EQ(library.cursorPos, 2);
}

TEST(AddToLibrary, AppendsWhateverViewPositionTheLibraryHolds) {
    // A view start taken from a file must not turn the append into an
    // overwrite of an existing entry.
    RecordList library = libraryOf(3, 9, -199999);
    AddToLibrary(library, listOf(5, 6));
    ASSERT_EQ(library.count(), 4);
    EXPECT_EQ(library.items[1], "e1");
    EXPECT_EQ(library.items.back(), "default");
    EXPECT_EQ(library.children.back().count(), 5);
}

} // namespace
