// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/ZipArchive.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <zlib.h>

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstring>

#include "io/ByteOrder.h"

namespace corvane {
namespace {

// The bytes minizip reads from or writes to, in place of a file: a span to
// read, or a growing vector to write, with its position.
struct MemoryFile {
    std::span<const std::uint8_t> in;
    std::vector<std::uint8_t>* out = nullptr;
    std::uint64_t position = 0;

    std::uint64_t Size() const { return out ? out->size() : in.size(); }
};

MemoryFile& File(voidpf stream) { return *static_cast<MemoryFile*>(stream); }

voidpf ZCALLBACK OpenMemory(voidpf opaque, const void*, int) { return opaque; }

uLong ZCALLBACK ReadMemory(voidpf, voidpf stream, void* buffer, uLong size) {
    MemoryFile& file = File(stream);
    if (file.out || file.position >= file.in.size()) return 0;
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size, file.in.size() - file.position));
    std::memcpy(buffer, file.in.data() + file.position, n);
    file.position += n;
    return static_cast<uLong>(n);
}

uLong ZCALLBACK WriteMemory(voidpf, voidpf stream, const void* buffer, uLong size) {
    MemoryFile& file = File(stream);
    if (!file.out) return 0;
    const std::uint64_t end = file.position + size;
    if (end > file.out->size()) file.out->resize(static_cast<std::size_t>(end));
    std::memcpy(file.out->data() + file.position, buffer, size);
    file.position = end;
    return size;
}

ZPOS64_T ZCALLBACK TellMemory(voidpf, voidpf stream) { return File(stream).position; }

long ZCALLBACK SeekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    MemoryFile& file = File(stream);
    std::uint64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = file.position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END) base = file.Size();
    else if (origin != ZLIB_FILEFUNC_SEEK_SET) return -1;
    if (offset > file.Size() || base > file.Size() - offset) return -1;
    file.position = base + offset;
    return 0;
}

int ZCALLBACK CloseMemory(voidpf, voidpf) { return 0; }
int ZCALLBACK MemoryError(voidpf, voidpf) { return 0; }

zlib_filefunc64_def MemoryFunctions(MemoryFile& file) {
    return {OpenMemory, ReadMemory, WriteMemory, TellMemory, SeekMemory, CloseMemory, MemoryError, &file};
}

constexpr uLong kEncryptedFlag = 1;
constexpr uLong kUtf8NameFlag = 1 << 11;

std::string Quoted(const std::string& name) { return "the archive's entry '" + name + "'"; }

// Whether the archive ends with its end record and the comment it declares.
// minizip takes an end record whose last field, the comment's length, is cut
// off; a file cut there is cut short all the same.
bool EndsWithItsEndRecord(std::span<const std::uint8_t> archive) {
    constexpr std::size_t kEndRecordSize = 22;
    constexpr std::uint32_t kEndSignature = 0x06054b50;
    if (archive.size() < kEndRecordSize) return false;
    const std::size_t earliest = archive.size() > kEndRecordSize + 0xFFFF ? archive.size() - kEndRecordSize - 0xFFFF : 0;
    for (std::size_t at = archive.size() - kEndRecordSize + 1; at-- > earliest;) {
        LittleEndianReader r(archive);
        r.Seek(at);
        if (r.U32() != kEndSignature) continue;
        r.Seek(at + kEndRecordSize - 2);
        const std::uint16_t commentLength = r.U16();
        if (r.Ok() && at + kEndRecordSize + commentLength == archive.size()) return true;
    }
    return false;
}

// Inflates a raw deflate stream into exactly `out`: a stream that ends
// sooner or goes on longer, or is damaged, fails.
bool InflateExactly(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    std::size_t inAt = 0, outAt = 0;
    std::uint8_t spare = 0;  // takes a byte past the declared size, if there is one
    bool past = false;
    int status = Z_OK;
    while (status == Z_OK) {
        if (stream.avail_in == 0 && inAt < packed.size()) {
            const std::size_t n = std::min<std::size_t>(packed.size() - inAt, UINT_MAX);
            stream.next_in = const_cast<Bytef*>(packed.data() + inAt);
            stream.avail_in = static_cast<uInt>(n);
            inAt += n;
        }
        if (stream.avail_out == 0) {
            if (outAt < out.size()) {
                const std::size_t n = std::min<std::size_t>(out.size() - outAt, UINT_MAX);
                stream.next_out = out.data() + outAt;
                stream.avail_out = static_cast<uInt>(n);
                outAt += n;
            } else if (!past) {
                stream.next_out = &spare;
                stream.avail_out = 1;
                past = true;
            } else {
                break;
            }
        }
        status = inflate(&stream, Z_NO_FLUSH);
    }
    const bool whole = status == Z_STREAM_END && stream.total_out == out.size();
    inflateEnd(&stream);
    return whole;
}

}  // namespace

struct ZipReader::State {
    MemoryFile file;
    unzFile zip = nullptr;
    std::vector<unz64_file_pos> positions;  // of each entry, in Entries() order
    std::vector<std::uint32_t> checksums;

    ~State() {
        if (zip) unzClose(zip);
    }
};

ZipReader::ZipReader(std::unique_ptr<State> state) : state_(std::move(state)) {}
ZipReader::ZipReader(ZipReader&&) noexcept = default;
ZipReader& ZipReader::operator=(ZipReader&&) noexcept = default;
ZipReader::~ZipReader() = default;

Result<ZipReader> ZipReader::Open(std::span<const std::uint8_t> archive) {
    auto state = std::make_unique<State>();
    state->file.in = archive;
    zlib_filefunc64_def functions = MemoryFunctions(state->file);
    state->zip = unzOpen2_64("", &functions);
    if (!state->zip || !EndsWithItsEndRecord(archive)) return Fail("not a zip archive, or one cut short");
    unz_global_info64 global;
    if (unzGetGlobalInfo64(state->zip, &global) != UNZ_OK) return Fail("the archive's directory is damaged");
    // Counted from the end record before one entry is looked at.
    if (global.number_entry > kZipEntryLimit)
        return Fail("the archive declares " + std::to_string(global.number_entry) + " entries, more than the " +
                    std::to_string(kZipEntryLimit) + " a layered picture may have");

    ZipReader reader(std::move(state));
    State& s = *reader.state_;
    int status = unzGoToFirstFile(s.zip);
    for (std::uint64_t i = 0; i < global.number_entry; ++i) {
        if (i > 0) status = unzGoToNextFile(s.zip);
        unz_file_info64 info;
        if (status != UNZ_OK || unzGetCurrentFileInfo64(s.zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return Fail("the archive's directory is damaged");
        unz64_file_pos position;
        if (unzGetFilePos64(s.zip, &position) != UNZ_OK || position.pos_in_zip_directory > archive.size())
            return Fail("the archive's directory is damaged");
        if (i == 0) reader.directoryBytes_ = archive.size() - position.pos_in_zip_directory;
        // Entries follow one another: this one ends where the next begins. Its
        // name is not taken when it would end past the limit.
        const std::uint64_t into = position.pos_in_zip_directory - (archive.size() - reader.directoryBytes_);
        if (into + 46 + info.size_filename + info.size_file_extra + info.size_file_comment > kZipDirectoryLimit)
            return Fail("the archive's directory takes more than the " + std::to_string(kZipDirectoryLimit >> 20) +
                        " MiB a layered picture's may take");
        ZipEntry entry;
        entry.name.resize(info.size_filename);
        if (unzGetCurrentFileInfo64(s.zip, nullptr, entry.name.data(), info.size_filename, nullptr, 0, nullptr, 0) !=
            UNZ_OK)
            return Fail("the archive's directory is damaged");
        if (!IsSafeEntryName(entry.name)) return Fail(Quoted(entry.name) + " leads out of the archive");
        if (info.flag & kEncryptedFlag) return Fail(Quoted(entry.name) + " is encrypted");
        if (info.compression_method != 0 && info.compression_method != Z_DEFLATED)
            return Fail(Quoted(entry.name) + " is compressed with method " + std::to_string(info.compression_method) +
                        "; only stored and deflated entries are read");
        entry.size = info.uncompressed_size;
        entry.packedSize = info.compressed_size;
        entry.deflated = info.compression_method == Z_DEFLATED;
        if (!entry.deflated && entry.size != entry.packedSize)
            return Fail(Quoted(entry.name) + " is stored, yet declares two sizes");
        reader.entries_.push_back(std::move(entry));
        s.positions.push_back(position);
        s.checksums.push_back(static_cast<std::uint32_t>(info.crc));
    }
    return reader;
}

const ZipEntry* ZipReader::Find(std::string_view name) const {
    const auto at = std::find_if(entries_.begin(), entries_.end(), [&](const ZipEntry& e) { return e.name == name; });
    return at == entries_.end() ? nullptr : &*at;
}

Result<std::span<const std::uint8_t>> ZipReader::Packed(const ZipEntry& entry, std::uint64_t limit) const {
    assert(&entry >= entries_.data() && &entry < entries_.data() + entries_.size());
    // The declared size decides before anything is allocated or inflated.
    if (entry.size > limit)
        return Fail(Quoted(entry.name) + " declares " + std::to_string(entry.size) + " bytes, more than " +
                    std::to_string(limit));
    State& s = *state_;
    unz64_file_pos position = s.positions[Index(entry)];
    int method = 0, level = 0;
    // Raw: the entry's local header is checked against the directory, and the
    // packed bytes are inflated here, where their end is checked too.
    if (unzGoToFilePos64(s.zip, &position) != UNZ_OK || unzOpenCurrentFile2(s.zip, &method, &level, 1) != UNZ_OK)
        return Fail(Quoted(entry.name) + " cannot be read");
    const ZPOS64_T start = unzGetCurrentFileZStreamPos64(s.zip);
    unzCloseCurrentFile(s.zip);
    const std::span<const std::uint8_t> archive = s.file.in;
    if (start > archive.size() || entry.packedSize > archive.size() - start)
        return Fail(Quoted(entry.name) + " is cut short");
    return archive.subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(entry.packedSize));
}

bool ZipReader::HasItsChecksum(const ZipEntry& entry, std::span<const std::uint8_t> bytes) const {
    uLong checksum = crc32(0, nullptr, 0);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t n = std::min<std::size_t>(bytes.size() - at, UINT_MAX);
        checksum = crc32(checksum, bytes.data() + at, static_cast<uInt>(n));
        at += n;
    }
    return checksum == state_->checksums[Index(entry)];
}

Result<std::vector<std::uint8_t>> ZipReader::Read(const ZipEntry& entry, std::uint64_t limit) const {
    auto packed = Packed(entry, limit);
    if (!packed) return packed.Error();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(entry.size));
    const bool whole = entry.deflated ? InflateExactly(*packed, bytes) : (std::copy(packed->begin(), packed->end(), bytes.begin()), true);
    if (!whole || !HasItsChecksum(entry, bytes)) return Fail(Quoted(entry.name) + " is damaged or not the size it declares");
    return bytes;
}

Result<std::span<const std::uint8_t>> ZipReader::View(const ZipEntry& entry, std::uint64_t limit) const {
    assert(!entry.deflated);
    auto packed = Packed(entry, limit);
    if (packed && !HasItsChecksum(entry, *packed)) return Fail(Quoted(entry.name) + " is damaged or not the size it declares");
    return packed;
}

Result<std::vector<std::uint8_t>> WriteZip(std::span<const ZipFileToWrite> files) {
    std::vector<std::uint8_t> bytes;
    MemoryFile file;
    file.out = &bytes;
    zlib_filefunc64_def functions = MemoryFunctions(file);
    zipFile zip = zipOpen2_64("", APPEND_STATUS_CREATE, nullptr, &functions);
    if (!zip) return Fail("the archive cannot be written");
    // 1980-01-01 00:00, the first time a zip can hold, as an MS-DOS date and time.
    zip_fileinfo info{};
    info.dosDate = (1u << 5 | 1u) << 16;
    info.external_fa = 0100644u << 16;  // a plain file, readable by all once unpacked
    constexpr uLong kMadeOnUnix = 3 << 8 | 20;
    bool written = true;
    for (const ZipFileToWrite& entry : files) {
        const bool ascii = std::all_of(entry.name.begin(), entry.name.end(), [](char c) { return (c & 0x80) == 0; });
        const int zip64 = entry.bytes.size() >= 0xFFFFFFFFu ? 1 : 0;
        written = zipOpenNewFileInZip4_64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                          entry.store ? 0 : Z_DEFLATED, entry.store ? 0 : Z_DEFAULT_COMPRESSION, 0,
                                          -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, nullptr, 0, kMadeOnUnix,
                                          ascii ? 0 : kUtf8NameFlag, zip64) == ZIP_OK;
        for (std::size_t at = 0; written && at < entry.bytes.size();) {
            const std::size_t n = std::min<std::size_t>(entry.bytes.size() - at, 1u << 30);
            written = zipWriteInFileInZip(zip, entry.bytes.data() + at, static_cast<unsigned>(n)) == ZIP_OK;
            at += n;
        }
        if (written) written = zipCloseFileInZip(zip) == ZIP_OK;
        if (!written) break;
    }
    if (zipClose(zip, nullptr) != ZIP_OK || !written) return Fail("the archive cannot be written");
    return bytes;
}

bool IsSafeEntryName(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\') return false;
    if (name.size() >= 2 && name[1] == ':') return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find_first_of("/\\", start), name.size());
        if (name.substr(start, end - start) == "..") return false;
        start = end + 1;
    }
    return true;
}

}  // namespace corvane
