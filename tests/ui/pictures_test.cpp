// The pictures as the program carries them: the banner and the application icon are read
// back from the resources of this test program, which is linked with the same resource script.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "ui/resource.h"

namespace {

struct Bytes {
  const unsigned char* data = nullptr;
  size_t size = 0;
};

Bytes Resource(int id, LPCSTR type) {
  HMODULE self = GetModuleHandle(nullptr);
  HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(id), type);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(self, found);
  if (loaded == nullptr) return {};
  return {static_cast<const unsigned char*>(LockResource(loaded)), SizeofResource(self, found)};
}

unsigned Word(const unsigned char* p) { return p[0] | (p[1] << 8); }

TEST(Pictures, BannerIsASingle416x72GifWith256Colours) {
  Bytes gif = Resource(IDR_BANNER, RT_RCDATA);
  ASSERT_NE(gif.data, nullptr);
  const unsigned char* p = gif.data;
  const size_t palette_end = 13 + 3 * 256;
  ASSERT_GT(gif.size, palette_end);
  EXPECT_EQ(0, memcmp(p, "GIF89a", 6));
  EXPECT_EQ(416u, Word(p + 6));
  EXPECT_EQ(72u, Word(p + 8));
  ASSERT_TRUE(p[10] & 0x80) << "no global colour table";
  ASSERT_EQ(7, p[10] & 7) << "global colour table is not 256 entries";

  // Walks the data stream block by block up to the trailer.
  size_t pos = palette_end;
  int images = 0;
  auto skip_sub_blocks = [&] {
    while (pos < gif.size && p[pos] != 0) pos += p[pos] + 1;
    ++pos;
  };
  for (;;) {
    ASSERT_LT(pos, gif.size) << "no trailer";
    const unsigned char kind = p[pos];
    if (kind == 0x3B) break;
    if (kind == 0x21) {
      ASSERT_LT(pos + 3, gif.size);
      if (p[pos + 1] == 0xF9) {
        EXPECT_EQ(0, p[pos + 3] & 1) << "transparent colour at " << pos;
      }
      pos += 2;
    } else if (kind == 0x2C) {
      ASSERT_LT(pos + 10, gif.size);
      ++images;
      const unsigned char flags = p[pos + 9];
      pos += 10;
      if (flags & 0x80) pos += 3u << ((flags & 7) + 1);
      ++pos;  // LZW minimum code size
    } else {
      FAIL() << "unexpected block " << int(kind) << " at " << pos;
    }
    skip_sub_blocks();
  }
  EXPECT_EQ(1, images);
}

TEST(Pictures, IconHoldsElevenImagesIn256AndTrueColour) {
  struct Picture {
    unsigned size, bits;
  };
  const Picture expected[] = {{16, 8},  {24, 8},  {32, 8},  {48, 8},   {16, 32},  {24, 32},
                            {32, 32}, {48, 32}, {64, 32}, {128, 32}, {256, 32}};
  const size_t count = sizeof expected / sizeof expected[0];

  Bytes group = Resource(IDI_APP, RT_GROUP_ICON);
  ASSERT_NE(group.data, nullptr);
  ASSERT_GE(group.size, 6u);
  EXPECT_EQ(1u, Word(group.data + 2));  // icons, not cursors
  ASSERT_EQ(count, Word(group.data + 4));
  ASSERT_GE(group.size, 6 + 14 * count);
  for (size_t i = 0; i < count; ++i) {
    // GRPICONDIRENTRY: width, height, colours, reserved, planes, bit count, bytes, id
    const unsigned char* entry = group.data + 6 + 14 * i;
    const unsigned width = entry[0] ? entry[0] : 256, height = entry[1] ? entry[1] : 256;
    EXPECT_EQ(expected[i].size, width) << "image " << i;
    EXPECT_EQ(expected[i].size, height) << "image " << i;
    EXPECT_EQ(expected[i].bits, Word(entry + 6)) << "image " << i;
    Bytes image = Resource(Word(entry + 12), RT_ICON);
    ASSERT_NE(image.data, nullptr) << "image " << i;
    EXPECT_EQ(Word(entry + 8) | (Word(entry + 10) << 16), image.size) << "image " << i;
  }
}

}  // namespace
