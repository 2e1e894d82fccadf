#include <gtest/gtest.h>

#include "FrameTestUtils.h"
#include "History.h"

using TList = std::vector<std::string>;

namespace {
std::string Numbered(std::string text, int i) {
  text += std::to_string(i);
  return text;
}
}  // namespace

TEST(History, AddMovesOrInserts) {
  TList list{"/a", "/b", "c:\\data", "/d"};
  AddToHistory(list, "C:\\Data", 15);  // present in another spelling: moved up, new spelling
  EXPECT_EQ(list, (TList{"C:\\Data", "/a", "/b", "/d"}));
  AddToHistory(list, "", 15);
  EXPECT_EQ(list.size(), 4u);

  TList full;
  for (int i = 0; i < 15; ++i) full.push_back(Numbered("e", i));  // e0 newest .. e14 oldest
  AddToHistory(full, "new", 15);
  ASSERT_EQ(full.size(), 15u);
  EXPECT_EQ(full.front(), "new");
  EXPECT_EQ(full.back(), "e13");  // e14 dropped

  TList overfull{"a", "b", "c"};
  AddToHistory(overfull, "x", 2);  // a list already past max is cut, not grown
  EXPECT_EQ(overfull, (TList{"x", "a"}));
  TList none;
  AddToHistory(none, "x", 0);
  EXPECT_EQ(none, TList{"x"});
}

TEST(History, LoadSkipsGapsAndNeedsTheSection) {
  TIniFile ini;
  ini.SetText("[PtrFiles]\nHistory0=/t/a.bin\nHistory5=/t/b.bin\nOther=x\nHistory50=/t/late.bin\n");
  TList list{"kept"};
  EXPECT_FALSE(LoadHistory(ini, "TtrFiles", list));
  EXPECT_EQ(list, TList{"kept"});  // no section: list untouched
  EXPECT_TRUE(LoadHistory(ini, "ptrfiles", list));
  EXPECT_EQ(list, (TList{"/t/a.bin", "/t/b.bin"}));  // History50 lies beyond max 50
}

TEST(History, SaveWritesAtMostMaxAndErases) {
  TIniFile ini;
  ini.SetText("[Files]\nHistory70=stale\n");
  TList list;
  for (int i = 0; i < 60; ++i) list.push_back(Numbered("f", i));
  SaveHistory(ini, "Files", list, true);
  auto keys = ini.ReadSection("Files");
  ASSERT_EQ(keys.size(), 50u);
  EXPECT_EQ(keys.front(), "History0");
  EXPECT_EQ(keys.back(), "History49");
  EXPECT_EQ(ini.ReadString("Files", "History49", ""), "f49");

  SaveHistory(ini, "Files", TList{"x"}, false, 50, false, "Dir");
  EXPECT_TRUE(ini.ValueExists("Files", "History1"));  // without erase the old keys stay
  EXPECT_EQ(ini.ReadString("Files", "Dir0", ""), "x");
}

TEST(History, QuotingRoundTripThroughAFile) {
  TTempDir dir;
  const std::string name = dir / "Tallis.ini";
  TList list{"*.bin \"new\"", "plain"};
  ASSERT_TRUE(SaveHistory(name, "Files", list, true, DefaultHistoryMax, true));
  TIniFile ini(name);
  EXPECT_EQ(ini.ReadString("Files", "History0", ""), "*.bin #new#");
  TList loaded;
  ASSERT_TRUE(LoadHistory(ini, "Files", loaded, DefaultHistoryMax, true));
  EXPECT_EQ(loaded, list);
}
