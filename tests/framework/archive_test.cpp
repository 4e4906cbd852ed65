// The archive's byte order and its end-of-file report.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "framework/archive.h"

TEST(Archive, StoresLittleEndianIntsAndFloats)
{
    CArchive ar;
    ar << std::int32_t(1) << 1.0f << std::int32_t(-2);
    EXPECT_EQ(ar.Bytes(), (std::vector<unsigned char>{1, 0, 0, 0, 0, 0, 0x80, 0x3f, 0xfe, 0xff, 0xff, 0xff}));
}

TEST(Archive, LoadsWhatItStoredBitForBit)
{
    CArchive out;
    out << -0.0f << std::nanf("") << std::int32_t(0x7fffffff);
    CArchive in(out.Bytes());
    float a, b;
    std::int32_t c;
    in >> a >> b >> c;
    EXPECT_TRUE(std::signbit(a));
    EXPECT_TRUE(std::isnan(b));
    EXPECT_EQ(c, 0x7fffffff);
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(Archive, ReadingPastTheEndThrowsWithTheSizes)
{
    std::vector<unsigned char> bytes{1, 0, 0, 0, 2, 0};
    CArchive in(bytes);
    std::int32_t v;
    in >> v;
    try {
        in >> v;
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_STREQ(e.what(), "file ends after 6 of 8 bytes");
    }
}
