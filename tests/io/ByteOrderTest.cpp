// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/ByteOrder.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ByteOrder, WritesMostSignificantByteFirst) {
    BigEndianWriter w;
    w.U8(0x01);
    w.U16(0x0203);
    w.U32(0x04050607);
    w.FourCC("Tbmp");
    w.Flags(true, false, true, false, false, true, false, false);
    w.Zeros(2);
    const std::vector<std::uint8_t> expected{1, 2, 3, 4, 5, 6, 7, 'T', 'b', 'm', 'p', 0xA4, 0, 0};
    EXPECT_EQ(w.Data(), expected);
}

TEST(ByteOrder, ReadsBackWhatWasWritten) {
    BigEndianWriter w;
    w.U16(0xFFFE);
    w.U32(0x80000001);
    w.FourCC("spl3");
    const auto bytes = w.Take();
    BigEndianReader r(bytes);
    EXPECT_EQ(r.U16(), 0xFFFE);
    EXPECT_EQ(r.U32(), 0x80000001u);
    EXPECT_EQ(r.FourCC(), "spl3");
    EXPECT_TRUE(r.AtEnd());
    EXPECT_TRUE(r.Ok());
}

TEST(ByteOrder, ReadPastEndFailsForGoodAndYieldsZero) {
    const std::vector<std::uint8_t> bytes{0x12, 0x34, 0x56};
    BigEndianReader r(bytes);
    EXPECT_EQ(r.U16(), 0x1234);
    EXPECT_EQ(r.U16(), 0);  // only one byte left
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.U8(), 0);  // the failure sticks, even though a byte remains
    EXPECT_EQ(r.Position(), 2u);
}

TEST(ByteOrder, SeekAndSliceAreBoundsChecked) {
    const std::vector<std::uint8_t> bytes(10, 7);
    BigEndianReader r(bytes);
    r.Seek(10);
    EXPECT_TRUE(r.Ok());
    EXPECT_TRUE(r.Bytes(0).empty());
    EXPECT_TRUE(r.Ok());
    r.Seek(11);
    EXPECT_FALSE(r.Ok());

    BigEndianReader s(bytes);
    s.Skip(4);
    EXPECT_EQ(s.Bytes(6).size(), 6u);
    EXPECT_TRUE(s.Ok());
    BigEndianReader t(bytes);
    t.Skip(5);
    EXPECT_TRUE(t.Bytes(6).empty());
    EXPECT_FALSE(t.Ok());
}

}  // namespace
}  // namespace corvane
