// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pdb/ResourceDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "imaging/PalmColour.h"
#include "io/ByteOrder.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint32_t kNow = 3'900'000'000u;

Image Picture(int width, int height, Colour fill) {
    Image image(width, height, fill);
    image.Set(0, 0, kPureGreen);
    return image;
}

// A small database of supported and unsupported IDs, each bitmap a different colour.
Bytes DatabaseWith(std::initializer_list<std::uint16_t> ids, int depth = 16) {
    ResourceDatabase db;
    db.SetName("Test");
    std::uint8_t shade = 0;
    for (const std::uint16_t id : ids) {
        EXPECT_TRUE(db.AddBitmap(Picture(5, 3, Colour{shade, 0, 255}), id, kPureGreen, true, depth));
        shade = static_cast<std::uint8_t>(shade + 40);
    }
    return db.WriteDatabase(kNow).value();
}

std::uint32_t U32At(const Bytes& bytes, std::size_t at) {
    BigEndianReader r(bytes);
    r.Seek(at);
    return r.U32();
}
std::uint16_t U16At(const Bytes& bytes, std::size_t at) {
    BigEndianReader r(bytes);
    r.Seek(at);
    return r.U16();
}
void PutU16(Bytes& bytes, std::size_t at, std::uint16_t value) {
    BigEndianWriter w;
    w.U16(value);
    std::copy(w.Data().begin(), w.Data().end(), bytes.begin() + std::ptrdiff_t(at));
}
void PutFourCC(Bytes& bytes, std::size_t at, std::string_view code) { std::copy(code.begin(), code.end(), bytes.begin() + std::ptrdiff_t(at)); }

std::size_t EntryAt(std::size_t index) { return kDatabaseHeaderSize + kDatabaseEntrySize * index; }

std::vector<std::uint16_t> IdsOf(const ResourceDatabase& db) {
    std::vector<std::uint16_t> ids;
    for (const auto& e : db.Entries()) ids.push_back(e.id);
    return ids;
}

TEST(SupportedSkinIds, AreTheThirtyFiveIdsOfTheRanges) {
    const auto ids = SupportedSkinIds();
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    EXPECT_EQ(ids.front(), 1200);
    EXPECT_EQ(ids.back(), 9064);
    for (const std::uint32_t outside : {1199u, 1205u, 1300u, 1313u, 1319u, 1332u, 1349u, 1352u, 9037u, 9041u, 9063u, 9065u})
        EXPECT_FALSE(IsSupportedSkinId(outside)) << outside;
    for (const auto id : ids) EXPECT_TRUE(IsSupportedSkinId(id));
}

TEST(ResourceDatabaseName, IsZeroFilledBehindTheText) {
    ResourceDatabase db;
    EXPECT_EQ(db.NameField(), (std::array<std::uint8_t, 32>{}));
    db.SetName(std::string(31, 'x'));
    db.SetName("Summer");
    std::array<std::uint8_t, 32> six{'S', 'u', 'm', 'm', 'e', 'r'};
    EXPECT_EQ(db.NameField(), six);

    db.SetName(std::string(31, 'y'));
    EXPECT_EQ(db.Name(), std::string(31, 'y'));
    EXPECT_EQ(db.NameField()[31], 0);
    db.SetName(std::string(40, 'z'));  // longer than the field allows: cut, still terminated
    EXPECT_EQ(db.Name(), std::string(31, 'z'));
}

TEST(ResourceDatabaseWrite, HeaderFields) {
    const Bytes bytes = DatabaseWith({1301});
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), std::string("Test\0", 5));
    EXPECT_EQ(U16At(bytes, 32), 0x0001);  // resource database
    EXPECT_EQ(U16At(bytes, 34), 0);
    EXPECT_EQ(U32At(bytes, 36), kNow);
    EXPECT_EQ(U32At(bytes, 40), kNow);
    for (const std::size_t zero : {44u, 48u, 52u, 56u, 68u, 72u}) EXPECT_EQ(U32At(bytes, zero), 0u) << zero;
    EXPECT_EQ(std::string(bytes.begin() + 60, bytes.begin() + 68), "Skn7TSkn");
    EXPECT_EQ(U16At(bytes, 76), 1);
}

TEST(ResourceDatabaseWrite, ThirtyFiveResourcesStartAt430) {
    ResourceDatabase db;
    std::vector<Bytes> expected;
    for (const auto id : SupportedSkinIds()) {
        const Image picture = Picture(11, 7, Colour{static_cast<std::uint8_t>(id), 40, 80});
        ASSERT_TRUE(db.AddBitmap(picture, id, kPureGreen, true, 8));
        expected.push_back(EncodePalmBitmap(picture, kPureGreen, true, 8)->bytes);
    }
    const Bytes bytes = db.WriteDatabase(kNow).value();
    EXPECT_EQ(U16At(bytes, 76), 35);
    EXPECT_EQ(U16At(bytes, 428), 0);  // the gap
    std::size_t offset = 430;
    for (std::size_t i = 0; i < 35; ++i) {
        EXPECT_EQ(std::string(bytes.begin() + std::ptrdiff_t(EntryAt(i)), bytes.begin() + std::ptrdiff_t(EntryAt(i)) + 4), "Tbmp");
        EXPECT_EQ(U16At(bytes, EntryAt(i) + 4), SupportedSkinIds()[i]);
        ASSERT_EQ(U32At(bytes, EntryAt(i) + 6), offset);
        const Bytes& resource = expected[i];
        ASSERT_LE(offset + resource.size(), bytes.size());
        EXPECT_TRUE(std::equal(resource.begin(), resource.end(), bytes.begin() + std::ptrdiff_t(offset))) << i;
        offset += resource.size();
    }
    EXPECT_EQ(offset, bytes.size());
}

TEST(ResourceDatabaseWrite, EntriesStayInAscendingIdOrder) {
    ResourceDatabase db;
    for (const std::uint16_t id : {std::uint16_t{1320}, std::uint16_t{1200}, std::uint16_t{9064}, std::uint16_t{1301}}) ASSERT_TRUE(db.AddBitmap(Picture(2, 2, kBlack), id, kPureGreen, true, 16));
    EXPECT_EQ(IdsOf(db), (std::vector<std::uint16_t>{1200, 1301, 1320, 9064}));
    const Bytes bytes = db.WriteDatabase(kNow).value();
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(U16At(bytes, EntryAt(i) + 4), IdsOf(db)[i]);
}

TEST(ResourceDatabaseWrite, EqualIdGoesInFrontOfTheExistingOne) {
    ResourceDatabase db;
    ASSERT_TRUE(db.AddBitmap(Picture(2, 2, Colour{255, 0, 0}), 1301, kPureGreen, true, 8));
    ASSERT_TRUE(db.AddBitmap(Picture(2, 2, Colour{0, 0, 255}), 1301, kPureGreen, true, 8));
    ASSERT_EQ(db.Count(), 2u);
    EXPECT_EQ(db.FindBitmap(1301)->image.At(1, 1), (Colour{0, 0, 255}));
}

TEST(ResourceDatabaseWrite, RefusalsChangeNothing) {
    ResourceDatabase db;
    EXPECT_FALSE(db.WriteDatabase(kNow).has_value());  // no entry
    for (const int depth : {1, 4, 24, 0}) EXPECT_FALSE(db.AddBitmap(Picture(2, 2, kBlack), 1301, kPureGreen, true, depth));
    // 16-bit rows of 40,000 pixels overflow the 16-bit rowBytes field.
    EXPECT_FALSE(db.AddBitmap(Image(40000, 1), 1301, kPureGreen, true, 16));
    EXPECT_EQ(db.Count(), 0u);
    EXPECT_FALSE(db.WriteDatabase(kNow).has_value());
}

TEST(ResourceDatabaseRead, WrittenDatabaseReadsBack) {
    ResourceDatabase written;
    written.SetName("Round");
    const Image picture = Picture(7, 5, Colour{200, 100, 50});
    ASSERT_TRUE(written.AddBitmap(picture, 9064, kPureGreen, true, 16));
    ASSERT_TRUE(written.AddBitmap(picture, 1200, kPureGreen, true, 8));
    const Bytes bytes = written.WriteDatabase(kNow).value();

    ResourceDatabase db;
    ASSERT_EQ(db.ReadDatabase(bytes), DatabaseReadOutcome::Read);
    EXPECT_EQ(db.Name(), "Round");
    EXPECT_EQ(db.Type(), "Skn7");
    EXPECT_EQ(db.Creator(), "TSkn");
    EXPECT_EQ(IdsOf(db), (std::vector<std::uint16_t>{1200, 9064}));
    EXPECT_FALSE(db.HasUnsupported());

    const auto at16 = db.FindBitmap(9064);
    ASSERT_TRUE(at16);
    ASSERT_EQ(at16->image.Width(), 7);
    ASSERT_EQ(at16->image.Height(), 5);
    EXPECT_EQ(at16->image.At(3, 3), (Colour{200, 100, 48}));
    EXPECT_EQ(at16->transparent, (Colour{0, 252, 0}));
    EXPECT_EQ(at16->image.At(0, 0), at16->transparent);
    const auto at8 = db.FindBitmap(1200);
    ASSERT_TRUE(at8);
    EXPECT_EQ(at8->image.At(3, 3), (Colour{204, 102, 51}));
    EXPECT_EQ(at8->transparent, kPureGreen);
    EXPECT_FALSE(db.FindBitmap(1201));
}

TEST(ResourceDatabaseRead, TypeOtherThanLogoAndAnyCreatorReadAlike) {
    Bytes bytes = DatabaseWith({1301, 1302});
    for (const auto& [type, creator] : {std::pair{"Ski6", "TSkn"}, std::pair{"Skn7", "abcd"}, std::pair{"\0\0\0\0", "\xff\xff\xff\xff"}}) {
        PutFourCC(bytes, 60, std::string_view(type, 4));
        PutFourCC(bytes, 64, std::string_view(creator, 4));
        ResourceDatabase db;
        ASSERT_EQ(db.ReadDatabase(bytes), DatabaseReadOutcome::Read);
        EXPECT_EQ(db.Creator(), std::string(creator, 4));
        EXPECT_TRUE(db.FindBitmap(1301));
        EXPECT_TRUE(db.FindBitmap(1302));
    }
}

TEST(ResourceDatabaseRead, CarrierLogoIsRefusedBeforeItsEntries) {
    Bytes bytes = DatabaseWith({1301});
    PutFourCC(bytes, 60, "logo");
    ResourceDatabase db;
    EXPECT_EQ(db.ReadDatabase(bytes), DatabaseReadOutcome::CarrierLogo);
    EXPECT_EQ(db.Count(), 0u);
    EXPECT_FALSE(db.FindBitmap(1301));
    // Only the exact code counts.
    PutFourCC(bytes, 60, "LOGO");
    EXPECT_EQ(db.ReadDatabase(bytes), DatabaseReadOutcome::Read);
}

TEST(ResourceDatabaseRead, UnsupportedIdStaysWithoutBitmap) {
    const Bytes bytes = DatabaseWith({1000, 1301});
    ResourceDatabase db;
    ASSERT_EQ(db.ReadDatabase(bytes), DatabaseReadOutcome::Read);
    EXPECT_EQ(IdsOf(db), (std::vector<std::uint16_t>{1000, 1301}));
    EXPECT_FALSE(db.Entries()[0].bitmap.has_value());
    EXPECT_TRUE(db.HasUnsupported());
    EXPECT_FALSE(db.FindBitmap(1000));
    EXPECT_TRUE(db.FindBitmap(1301));
}

TEST(ResourceDatabaseRead, FirstOfTwoEqualIdsIsUsed) {
    Bytes bytes = DatabaseWith({1301, 1302});  // 1301 is (0, 0, 255), 1302 (40, 0, 255)
    PutU16(bytes, EntryAt(1) + 4, 1301);
    ResourceDatabase db;
    ASSERT_EQ(db.ReadDatabase(bytes), DatabaseReadOutcome::Read);
    ASSERT_EQ(db.Count(), 2u);
    EXPECT_EQ(db.FindBitmap(1301)->image.At(2, 2), Quantise565(Colour{0, 0, 255}));
    EXPECT_FALSE(db.FindBitmap(1302));

    // Also when the first one is unreadable: the later entry does not stand in.
    PutU16(bytes, 78 + 6, 0);
    PutU16(bytes, 78 + 8, 0);
    ASSERT_EQ(db.ReadDatabase(bytes), DatabaseReadOutcome::Read);
    EXPECT_FALSE(db.FindBitmap(1301));
}

TEST(ResourceDatabaseRead, EntryTypeCodeDoesNotMatter) {
    Bytes bytes = DatabaseWith({1301});
    PutFourCC(bytes, EntryAt(0), "PICT");
    ResourceDatabase db;
    ASSERT_EQ(db.ReadDatabase(bytes), DatabaseReadOutcome::Read);
    EXPECT_TRUE(db.FindBitmap(1301));
}

TEST(ResourceDatabaseRead, NoRecordsMeansNothingFound) {
    Bytes bytes = DatabaseWith({1301, 1000});
    PutU16(bytes, 76, 0);
    ResourceDatabase db;
    ASSERT_EQ(db.ReadDatabase(bytes), DatabaseReadOutcome::Read);
    EXPECT_EQ(db.Count(), 0u);
    EXPECT_FALSE(db.HasUnsupported());
    for (const auto id : SupportedSkinIds()) EXPECT_FALSE(db.FindBitmap(id));
}

TEST(ResourceDatabaseRead, RejectedBitmapIsKeptButNotFound) {
    Bytes bytes = DatabaseWith({1301, 1302});
    // The resource's first bitmap claims version 1, which the decoder refuses.
    const std::size_t resource = U32At(bytes, EntryAt(0) + 6);
    bytes[resource + 9] = 1;
    ResourceDatabase db;
    ASSERT_EQ(db.ReadDatabase(bytes), DatabaseReadOutcome::Read);
    ASSERT_EQ(db.Count(), 2u);
    ASSERT_TRUE(db.Entries()[0].bitmap.has_value());
    EXPECT_FALSE(db.Entries()[0].bitmap->Ok());
    EXPECT_FALSE(db.FindBitmap(1301));
    EXPECT_TRUE(db.FindBitmap(1302));
}

// ---- damaged files: each named after its defect ---------------------------------------

TEST(ResourceDatabaseRead, DamagedFilesNeverReadOutsideTheirBytes) {
    const Bytes whole = DatabaseWith({1301, 1302, 9999});
    const std::size_t list = kDatabaseHeaderSize;
    const std::size_t firstResource = U32At(whole, EntryAt(0) + 6);

    ResourceDatabase db;
    // truncated-header: no entries at all.
    for (const std::size_t keep : {std::size_t{0}, std::size_t{31}, std::size_t{62}, std::size_t{77}}) {
        const Bytes part(whole.begin(), whole.begin() + std::ptrdiff_t(keep));
        ASSERT_EQ(db.ReadDatabase(part), DatabaseReadOutcome::Read) << keep;
        EXPECT_EQ(db.Count(), 0u) << keep;
    }
    // truncated-entry-list inside the first entry's ID: there is no entry.
    {
        const Bytes part(whole.begin(), whole.begin() + std::ptrdiff_t(list + 5));
        db.ReadDatabase(part);
        EXPECT_EQ(db.Count(), 0u);
    }
    // truncated-entry-list inside the first entry's offset: known ID, unreadable.
    {
        const Bytes part(whole.begin(), whole.begin() + std::ptrdiff_t(list + 8));
        db.ReadDatabase(part);
        ASSERT_EQ(db.Count(), 1u);
        EXPECT_EQ(db.Entries()[0].id, 1301);
        EXPECT_FALSE(db.Entries()[0].Readable());
        EXPECT_FALSE(db.FindBitmap(1301));
    }
    // truncated-entry-list inside the third entry's offset: its unsupported ID still counts.
    {
        const Bytes part(whole.begin(), whole.begin() + std::ptrdiff_t(EntryAt(2) + 7));
        db.ReadDatabase(part);
        EXPECT_EQ(IdsOf(db), (std::vector<std::uint16_t>{1301, 1302, 9999}));
        EXPECT_TRUE(db.HasUnsupported());
    }
    // truncated-resource: the first resource is cut, the later ones are gone with it.
    {
        const Bytes part(whole.begin(), whole.begin() + std::ptrdiff_t(firstResource + 20));
        db.ReadDatabase(part);
        EXPECT_EQ(db.Count(), 3u);
        EXPECT_FALSE(db.FindBitmap(1301));
        EXPECT_FALSE(db.FindBitmap(1302));
    }
    // offset-past-end and offset-at-end.
    for (const std::uint32_t offset : {std::uint32_t(whole.size()), std::uint32_t(whole.size() + 1), 0xFFFFFFFFu}) {
        Bytes bytes = whole;
        BigEndianWriter w;
        w.U32(offset);
        std::copy(w.Data().begin(), w.Data().end(), bytes.begin() + std::ptrdiff_t(EntryAt(0) + 6));
        db.ReadDatabase(bytes);
        EXPECT_FALSE(db.FindBitmap(1301)) << offset;
        EXPECT_TRUE(db.FindBitmap(1302)) << offset;
    }
    // numRecords far beyond the entries present.
    {
        Bytes bytes = whole;
        PutU16(bytes, 76, 0xFFFF);
        db.ReadDatabase(bytes);
        EXPECT_LE(db.Count(), bytes.size() / kDatabaseEntrySize);
        EXPECT_TRUE(db.FindBitmap(1301));  // the real entries are still there
    }
}

TEST(ResourceDatabaseRead, EveryPrefixOfAFileIsReadSafely) {
    const Bytes whole = DatabaseWith({1200, 1000, 9064}, 8);
    ResourceDatabase db;
    for (std::size_t keep = 0; keep <= whole.size(); ++keep) {
        const Bytes part(whole.begin(), whole.begin() + std::ptrdiff_t(keep));
        ASSERT_EQ(db.ReadDatabase(part), DatabaseReadOutcome::Read);
        for (const auto id : SupportedSkinIds()) {
            const auto found = db.FindBitmap(id);
            if (found) {
                EXPECT_EQ(found->image.Width(), 5);
                EXPECT_EQ(found->image.Height(), 3);
            }
        }
    }
    EXPECT_TRUE(db.FindBitmap(9064));
}

TEST(ResourceDatabaseRead, ManyEntriesOnOneBitmapAreParsedOnce) {
    // 6,000 entries of one ID pointing at the same resource: only the first is parsed.
    ResourceDatabase one;
    ASSERT_TRUE(one.AddBitmap(Picture(320, 30, kBlack), 9064, kPureGreen, true, 16));
    const Bytes single = one.WriteDatabase(kNow).value();
    const std::size_t resource = U32At(single, EntryAt(0) + 6);
    const std::size_t count = 6000;
    BigEndianWriter w;
    w.Bytes(std::span(single).first(76));
    w.U16(static_cast<std::uint16_t>(count));
    const std::size_t newResource = kDatabaseHeaderSize + kDatabaseEntrySize * count + 2;
    for (std::size_t i = 0; i < count; ++i) {
        w.FourCC("Tbmp");
        w.U16(9064);
        w.U32(static_cast<std::uint32_t>(newResource));
    }
    w.Zeros(2);
    w.Bytes(std::span(single).subspan(resource));
    ResourceDatabase db;
    ASSERT_EQ(db.ReadDatabase(w.Data()), DatabaseReadOutcome::Read);
    ASSERT_EQ(db.Count(), count);
    EXPECT_TRUE(db.FindBitmap(9064));
    EXPECT_TRUE(db.Entries()[1].shadowed);
    EXPECT_FALSE(db.Entries()[1].bitmap.has_value());
}

// A name field of 32 letters and no terminator: the name is its first 31
// bytes, and nothing behind the field is taken for part of it.
TEST(ResourceDatabaseRead, NameFieldWithoutZeroByte) {
    Bytes bytes = DatabaseWith({1301});
    std::fill(bytes.begin(), bytes.begin() + 32, std::uint8_t{'N'});
    ResourceDatabase db;
    ASSERT_EQ(db.ReadDatabase(bytes), DatabaseReadOutcome::Read);
    EXPECT_EQ(db.Name(), std::string(31, 'N'));
    EXPECT_EQ(db.Type(), "Skn7");
    EXPECT_TRUE(db.FindBitmap(1301));
}

// Each resource spans up to the next one's start or the end of the file, as
// the entries say, whatever order or overlap they have.
TEST(ResourceDatabaseRead, ResourceLengthsRunToTheNextStartOrTheEnd) {
    const Bytes written = DatabaseWith({1301, 1302, 1303});
    const std::size_t a = U32At(written, EntryAt(0) + 6), b = U32At(written, EntryAt(1) + 6),
                      c = U32At(written, EntryAt(2) + 6);
    ASSERT_LT(a, b);
    ASSERT_LT(b, c);
    const auto putOffset = [](Bytes& bytes, std::size_t entry, std::uint32_t offset) {
        BigEndianWriter w;
        w.U32(offset);
        std::copy(w.Data().begin(), w.Data().end(), bytes.begin() + std::ptrdiff_t(EntryAt(entry) + 6));
    };
    struct Case {
        const char* name;
        void (*damage)(Bytes&, const std::function<void(Bytes&, std::size_t, std::uint32_t)>&, std::size_t);
        std::vector<std::optional<std::size_t>> lengths;
    };
    const std::size_t end = written.size();
    const Case cases[] = {
        {"as written", [](Bytes&, const auto&, std::size_t) {}, {b - a, c - b, end - c}},
        {"offset past the end", [](Bytes& f, const auto& put, std::size_t) { put(f, 1, std::uint32_t(f.size() + 5)); },
         {c - a, std::nullopt, end - c}},
        {"two entries on one start", [](Bytes& f, const auto& put, std::size_t at) { put(f, 1, std::uint32_t(at)); },
         {c - a, c - a, end - c}},
        {"cut inside the last", [](Bytes& f, const auto&, std::size_t) { f.resize(f.size() - 3); },
         {b - a, c - b, end - 3 - c}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Bytes bytes = written;
        test.damage(bytes, putOffset, a);
        ResourceDatabase db;
        ASSERT_EQ(db.ReadDatabase(bytes), DatabaseReadOutcome::Read);
        EXPECT_EQ(db.ResourceLengths(), test.lengths);
    }
}

}  // namespace
}  // namespace corvane
