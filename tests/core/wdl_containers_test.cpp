#include <gtest/gtest.h>

#include "core/wdl/WDL_PtrList.h"
#include "core/wdl/WDL_String.h"
#include "core/wdl/WDL_TypedBuf.h"

TEST(WdlTypedBuf, GrowsInGranularityStepsAndNeverShrinks)
{
  WDL_TypedBuf<double> buf(64);
  double* first = buf.Resize(4);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(buf.GetSize(), 4);
  first[3] = 7.0;
  // Within the 64-byte allocation: same storage, contents kept.
  EXPECT_EQ(buf.Resize(8), first);
  EXPECT_EQ(buf.Get()[3], 7.0);
  // Shrinking and growing back within the allocation never moves it.
  buf.Resize(1);
  EXPECT_EQ(buf.GetSize(), 1);
  EXPECT_EQ(buf.Resize(8), first);
  buf.Clear();
  EXPECT_EQ(buf.Get(), nullptr);
  EXPECT_EQ(buf.GetSize(), 0);
}

TEST(WdlTypedBuf, RefusesSizesThatOverflow)
{
  WDL_TypedBuf<double> buf;
  buf.Resize(2);
  EXPECT_EQ(buf.Resize(0x7FFFFFFF), nullptr);
  EXPECT_EQ(buf.GetSize(), 2);
}

TEST(WdlPtrList, OwnsOnlyWhenAskedAndDeletesLastToFirst)
{
  static std::vector<int> order;
  struct Tracked
  {
    int id;
    ~Tracked() { order.push_back(id); }
  };
  order.clear();
  WDL_PtrList<Tracked> list;
  for (int i = 0; i < 3; ++i) list.Add(new Tracked{i});
  EXPECT_EQ(list.Get(3), nullptr);
  EXPECT_EQ(list.Get(-1), nullptr);
  list.Insert(0, new Tracked{9});
  EXPECT_EQ(list.Get(0)->id, 9);
  EXPECT_EQ(list.Find(list.Get(2)), 2);
  list.Empty(true);
  EXPECT_EQ(order, (std::vector<int>{2, 1, 0, 9}));
}

TEST(WdlString, FormatsAndCutsAtTheGivenLength)
{
  WDL_String s;
  EXPECT_STREQ(s.Get(), "");
  s.SetFormatted(5, "%s-%d", "abc", 1234);
  EXPECT_STREQ(s.Get(), "abc-1");
  s.Set("hello", 3);
  EXPECT_STREQ(s.Get(), "hel");
  s.Set(nullptr);
  EXPECT_EQ(s.GetLength(), 0);
}
