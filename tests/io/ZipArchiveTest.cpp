// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Zip archives: what we write reads back, archives built here byte by byte
// read as their bytes say, and every archive we must not read is refused
// saying why, before anything is inflated.

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "io/ZipArchive.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(std::string_view text) { return {text.begin(), text.end()}; }

std::uint32_t Crc(const Bytes& bytes) {
    return static_cast<std::uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
}

// A raw deflate stream, made by zlib itself.
Bytes Deflated(const Bytes& bytes) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&stream, bytes.size()));
    stream.next_in = const_cast<Bytef*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// One entry as an archive holds it: its packed bytes and what the headers say of them.
struct Raw {
    std::string name;
    Bytes packed;
    std::uint32_t size;  // declared inflated size
    std::uint32_t crc;
    std::uint16_t method = 0;
    std::uint16_t flag = 0;
    long packedSize = -1;  // declared in place of the packed bytes' own size
};

Raw Stored(std::string name, std::string_view text) {
    const Bytes bytes = Of(text);
    return {std::move(name), bytes, static_cast<std::uint32_t>(bytes.size()), Crc(bytes)};
}

Raw Deflate(std::string name, std::string_view text) {
    const Bytes bytes = Of(text);
    return {std::move(name), Deflated(bytes), static_cast<std::uint32_t>(bytes.size()), Crc(bytes), 8};
}

void Put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// An archive laid out by hand: local headers with their data, the central
// directory, the end record; `count` overrides the number of entries the end
// record declares.
Bytes Archive(const std::vector<Raw>& entries, long count = -1) {
    Bytes out, directory;
    for (const Raw& e : entries) {
        const auto offset = static_cast<std::uint32_t>(out.size());
        const auto header = [&](Bytes& to, bool central) {
            Put32(to, central ? 0x02014B50 : 0x04034B50);
            if (central) Put16(to, 20);  // made by
            Put16(to, 20);               // needed to extract
            Put16(to, e.flag);
            Put16(to, e.method);
            Put16(to, 0);     // time
            Put16(to, 0x21);  // 1980-01-01
            Put32(to, e.crc);
            Put32(to, static_cast<std::uint32_t>(e.packedSize < 0 ? static_cast<long>(e.packed.size()) : e.packedSize));
            Put32(to, e.size);
            Put16(to, static_cast<std::uint32_t>(e.name.size()));
            Put16(to, 0);  // extra field
            if (central) {
                Put16(to, 0);  // comment
                Put16(to, 0);  // disk
                Put16(to, 0);  // internal attributes
                Put32(to, 0);  // external attributes
                Put32(to, offset);
            }
            to.insert(to.end(), e.name.begin(), e.name.end());
        };
        header(out, false);
        out.insert(out.end(), e.packed.begin(), e.packed.end());
        header(directory, true);
    }
    const auto directoryAt = static_cast<std::uint32_t>(out.size());
    out.insert(out.end(), directory.begin(), directory.end());
    const auto declared = static_cast<std::uint32_t>(count < 0 ? static_cast<long>(entries.size()) : count);
    Put32(out, 0x06054B50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, declared);
    Put16(out, declared);
    Put32(out, static_cast<std::uint32_t>(directory.size()));
    Put32(out, directoryAt);
    Put16(out, 0);  // comment
    return out;
}

TEST(ZipArchiveTest, WhatIsWrittenReadsBackEntryByEntry) {
    Bytes large;
    for (int i = 0; i < 100000; ++i) large.push_back(static_cast<std::uint8_t>(i % 251 < 200 ? 7 : i));
    const Bytes mime = Of("image/openraster"), text = Of("<image w=\"4\" h=\"4\"/>"), empty;
    const std::vector<ZipFileToWrite> kept = {
        {"mimetype", mime, true},    {"stack.xml", text, false}, {"data/large.bin", large, false},
        {"data/large.raw", large, true}, {"empty", empty, false},  {"Ebene \xC3\xA4.png", text, true},
    };

    const auto archive = WriteZip(kept);
    ASSERT_TRUE(archive.Ok()) << archive.Reason();
    auto reader = ZipReader::Open(*archive);
    ASSERT_TRUE(reader.Ok()) << reader.Reason();
    ASSERT_EQ(reader->Entries().size(), kept.size());
    EXPECT_LT(reader->Entries()[2].packedSize, large.size() / 4) << "deflated";
    EXPECT_EQ(reader->Entries()[3].packedSize, large.size()) << "stored";
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const ZipEntry& entry = reader->Entries()[i];
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(entry.name, kept[i].name);
        EXPECT_EQ(entry.size, kept[i].bytes.size());
        EXPECT_EQ(entry.deflated, !kept[i].store);
        const auto bytes = reader->Read(entry, entry.size);
        ASSERT_TRUE(bytes.Ok()) << bytes.Reason();
        EXPECT_TRUE(std::equal(bytes->begin(), bytes->end(), kept[i].bytes.begin(), kept[i].bytes.end()));
    }
    EXPECT_EQ(reader->Find("stack.xml"), &reader->Entries()[1]);
    EXPECT_EQ(reader->Find("stack"), nullptr);
    EXPECT_TRUE(*WriteZip(kept) == *archive) << "the same files are the same bytes";
}

// Limits are counted before an entry is looked at (the entries, from the end
// record) or as the directory is walked (its bytes, before a name is taken).
TEST(ZipArchiveTest, ArchivesWeMustNotReadAreRefusedSayingWhyAndThoseAtTheLimitsRead) {
    std::vector<Raw> many, longNames;
    for (std::uint64_t i = 0; i < kZipEntryLimit; ++i) many.push_back(Stored("e" + std::to_string(i), ""));
    std::vector<Raw> pastLimit = many;
    pastLimit.push_back(Stored("one-more", ""));
    // 64 names of 65,000 bytes fill the directory to just under its limit, a 65th passes it.
    for (int i = 0; i < 65; ++i) longNames.push_back(Stored(std::string(65000 - 8, 'n') + std::to_string(10000000 + i), ""));
    const std::vector<Raw> longNamesAtLimit(longNames.begin(), longNames.end() - 1);
    Raw encrypted = Stored("secret.png", "xxxxxxxxxxxx");
    encrypted.flag = 1;
    Raw bzip2 = Stored("b.png", "BZh9");
    bzip2.method = 12;
    Raw aes = Stored("c.png", "....");
    aes.method = 99;
    Raw storedTwoSizes = Stored("d.png", "abcdef");
    storedTwoSizes.size = 1000;
    const Bytes good = Archive({Stored("mimetype", "image/openraster"), Stored("stack.xml", "<image/>")});
    Bytes directoryLong = good;  // the end record declares a directory longer than the bytes before it
    directoryLong[directoryLong.size() - 10] = 0xFF;
    Bytes cut = good;
    cut.erase(cut.end() - 30, cut.end() - 22);  // a cut in the directory, the end record kept

    struct Case {
        const char* defect;
        Bytes archive;
        const char* reason;  // nullptr: read, with so many entries
        std::size_t entries = 0;
    };
    const Case cases[] = {
        {"too-many-entries", Archive({Stored("a", "")}, 60000), "declares 60000 entries, more than the 4096"},
        {"entries-at-limit", Archive(many), nullptr, kZipEntryLimit},
        {"entries-past-limit", Archive(pastLimit),
         "the archive declares 4097 entries, more than the 4096 a layered picture may have"},
        {"directory-at-limit", Archive(longNamesAtLimit), nullptr, longNamesAtLimit.size()},
        {"directory-past-limit", Archive(longNames), "the archive's directory takes more than the 4 MiB"},
        {"encrypted", Archive({Stored("mimetype", "image/openraster"), encrypted}), "'secret.png' is encrypted"},
        {"bzip2", Archive({bzip2}), "'b.png' is compressed with method 12"},
        {"aes", Archive({aes}), "'c.png' is compressed with method 99"},
        {"stored-two-sizes", Archive({storedTwoSizes}), "'d.png' is stored, yet declares two sizes"},
        {"parent-name", Archive({Stored("../../.bashrc", "x")}), "'../../.bashrc' leads out of the archive"},
        {"absolute-name", Archive({Stored("/etc/passwd", "x")}), "leads out"},
        {"drive-name", Archive({Stored("C:\\x", "x")}), "leads out"},
        {"directory-too-long", directoryLong, "not a zip archive"},
        {"directory-cut", cut, "cut short"},
        {"no-end-record", Bytes(good.begin(), good.end() - 22), "not a zip archive"},
        {"nothing", {}, "not a zip archive"},
    };
    for (const Case& c : cases) {
        const auto reader = ZipReader::Open(c.archive);
        if (!c.reason) {
            ASSERT_TRUE(reader.Ok()) << c.defect << ": " << reader.Reason();
            EXPECT_EQ(reader->Entries().size(), c.entries) << c.defect;
            continue;
        }
        ASSERT_FALSE(reader.Ok()) << c.defect;
        EXPECT_NE(reader.Reason().find(c.reason), std::string::npos) << c.defect << ": " << reader.Reason();
    }
}

// Read as their bytes say, and only as the bytes they declare.
TEST(ZipArchiveTest, AnEntryIsReadOnlyAsTheBytesItDeclares) {
    const std::string text = "a layer's pixels, a layer's pixels, a layer's pixels";
    const Bytes bytes = Of(text);
    Raw shorter = Deflate("shorter", text);  // inflates to one byte more than it declares
    shorter.size -= 1;
    shorter.crc = Crc(Bytes(bytes.begin(), bytes.end() - 1));
    Raw longer = Deflate("longer", text);  // ends one byte before its declared size
    longer.size += 1;
    Raw badCrc = Deflate("bad-crc", text);
    badCrc.crc ^= 1;
    Raw damaged = Deflate("damaged", text);
    damaged.packed[0] ^= 0xFF;
    Raw storedBadCrc = Stored("stored-bad-crc", text);
    storedBadCrc.crc ^= 0x80000000;
    Raw pastEnd = Stored("past-end", text);
    pastEnd.size = 100000;
    pastEnd.packedSize = 100000;

    const Bytes twoEntries = Archive({Stored("a.txt", "stored text"), Deflate("dir/b.txt", "deflated, deflated, deflated")});
    struct Case {
        const char* defect;
        Bytes archive;
        std::uint64_t limit;
        const char* reason;  // nullptr: read, as the text
        const char* text = "";
        std::size_t entry = 0;
    };
    const Case cases[] = {
        {"stored", twoEntries, 100, nullptr, "stored text"},
        {"deflated", twoEntries, 100, nullptr, "deflated, deflated, deflated", 1},
        {"limit-exactly-the-size", twoEntries, 11, nullptr, "stored text"},
        {"over-limit", Archive({Deflate("big", text)}), bytes.size() - 1, "'big' declares 52 bytes, more than 51"},
        {"stored-over-limit", Archive({Stored("big", text)}), bytes.size() - 1, "'big' declares 52 bytes, more than 51"},
        {"inflates-longer", Archive({shorter}), 1000, "'shorter' is damaged or not the size it declares"},
        {"inflates-shorter", Archive({longer}), 1000, "'longer' is damaged or not the size it declares"},
        {"crc", Archive({badCrc}), 1000, "'bad-crc' is damaged"},
        {"damaged-stream", Archive({damaged}), 1000, "'damaged' is damaged"},
        {"stored-crc", Archive({storedBadCrc}), 1000, "'stored-bad-crc' is damaged"},
        {"packed-past-end", Archive({pastEnd}), 1 << 20, "'past-end' is cut short"},
    };
    for (const Case& c : cases) {
        auto reader = ZipReader::Open(c.archive);
        ASSERT_TRUE(reader.Ok()) << c.defect << ": " << reader.Reason();
        ASSERT_LT(c.entry, reader->Entries().size()) << c.defect;
        const ZipEntry& entry = reader->Entries()[c.entry];
        // A stored entry seen in place holds to every rule of one copied out.
        std::vector<Result<Bytes>> reads{reader->Read(entry, c.limit)};
        if (!entry.deflated) {
            const auto view = reader->View(entry, c.limit);
            reads.push_back(view ? Result<Bytes>(Bytes(view->begin(), view->end())) : Result<Bytes>(view.Error()));
        }
        for (const auto& read : reads) {
            if (!c.reason) {
                ASSERT_TRUE(read.Ok()) << c.defect << ": " << read.Reason();
                EXPECT_EQ(*read, Of(c.text)) << c.defect;
                continue;
            }
            ASSERT_FALSE(read.Ok()) << c.defect;
            EXPECT_NE(read.Reason().find(c.reason), std::string::npos) << c.defect << ": " << read.Reason();
        }
    }
}

}  // namespace
}  // namespace corvane
