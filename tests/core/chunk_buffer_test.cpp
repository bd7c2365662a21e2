#include <cstring>

#include <gtest/gtest.h>

#include "core/ChunkBuffer.h"

TEST(ChunkBuffer, ValuesAreLittleEndianAndReadBackInOrder)
{
  ChunkBuffer chunk;
  EXPECT_TRUE(chunk.Empty());
  EXPECT_EQ(chunk.Bytes(), nullptr);
  chunk.WriteInt(10100);
  chunk.WriteDouble(1.0);
  chunk.WriteBool(true);
  chunk.WriteText("abc");
  ASSERT_EQ(chunk.Length(), 4 + 8 + 1 + 4 + 3);

  const unsigned char expectInt[] = {0x74, 0x27, 0x00, 0x00};
  EXPECT_EQ(std::memcmp(chunk.Bytes(), expectInt, 4), 0);
  const unsigned char expectOne[] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
  EXPECT_EQ(std::memcmp(chunk.Bytes() + 4, expectOne, 8), 0);

  int32_t i = 0;
  double d = 0;
  bool b = false;
  WDL_String s;
  int pos = chunk.ReadInt(&i, 0);
  pos = chunk.ReadDouble(&d, pos);
  pos = chunk.ReadBool(&b, pos);
  pos = chunk.ReadText(&s, pos);
  EXPECT_EQ(i, 10100);
  EXPECT_EQ(d, 1.0);
  EXPECT_TRUE(b);
  EXPECT_STREQ(s.Get(), "abc");
  EXPECT_EQ(pos, chunk.Length());
}

TEST(ChunkBuffer, ReadsPastTheEndFailAndLeaveTheOutputAlone)
{
  ChunkBuffer chunk;
  chunk.WriteInt(1);
  double d = 5.0;
  EXPECT_EQ(chunk.ReadDouble(&d, 0), -1);
  EXPECT_EQ(d, 5.0);
  int32_t i = 9;
  EXPECT_EQ(chunk.ReadInt(&i, 1), -1);
  EXPECT_EQ(chunk.ReadInt(&i, -1), -1);
  EXPECT_EQ(chunk.ReadInt(&i, 0x7FFFFFFF), -1);
  EXPECT_EQ(i, 9);
}

TEST(ChunkBuffer, ReadTextWithMissingOrNonsenseBytes)
{
  ChunkBuffer chunk;
  chunk.WriteInt(10); // claims ten bytes
  chunk.WriteBytes("abc", 3);
  WDL_String s("keep");
  // The end position is returned even though the bytes are not all there.
  EXPECT_EQ(chunk.ReadText(&s, 0), 14);
  EXPECT_STREQ(s.Get(), "keep");

  ChunkBuffer negative;
  negative.WriteInt(-8);
  EXPECT_EQ(negative.ReadText(&s, 0), -1);

  ChunkBuffer huge;
  huge.WriteInt(0x7FFFFFFF);
  EXPECT_EQ(huge.ReadText(&s, 0), -1); // end would overflow an int

  ChunkBuffer empty;
  empty.WriteText("");
  EXPECT_EQ(empty.ReadText(&s, 0), 4);
  EXPECT_STREQ(s.Get(), "keep"); // length 0 sets nothing
}

TEST(ChunkBuffer, WriteChunkAppendsWithoutLength)
{
  ChunkBuffer a, b;
  a.WriteInt(1);
  b.WriteInt(2);
  b.WriteInt(3);
  a.WriteChunk(b);
  EXPECT_EQ(a.Length(), 12);
  int32_t v = 0;
  a.ReadInt(&v, 8);
  EXPECT_EQ(v, 3);
}
