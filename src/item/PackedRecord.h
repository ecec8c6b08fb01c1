#pragma once
// An item record packed for keeping many of them: most of a record's 400 bytes are zero (unused
// fields, the rest of the name texts, the high bytes of small numbers), so runs of zeros are
// kept as counts.
//
// The packed form is a row of pieces, each: one byte with the count of zero bytes, one byte with
// the count of the bytes that follow as they are, then those bytes. The pieces together give
// exactly 400 bytes.

#include <cstddef>
#include <cstdint>

#include "item/ItemRecord.h"

namespace relicor {

// Room enough for the packed form of any record: one piece per 255 bytes at the very worst.
inline constexpr std::size_t kMaxPackedRecordSize = kItemRecordSize + 2 * (kItemRecordSize / 255 + 2);

// The size of the packed form of `record`.
std::size_t PackedRecordSize(const ItemRecord& record);

// Writes the packed form of `record` to `out`, which has room for kMaxPackedRecordSize bytes,
// and returns its size.
std::size_t PackRecord(const ItemRecord& record, std::uint8_t* out);

// The record that `packed` (`size` bytes, as PackRecord wrote them) holds.
ItemRecord UnpackRecord(const std::uint8_t* packed, std::size_t size);
// The same for a packed form as PackRecord wrote it, read up to its end (400 record bytes).
ItemRecord UnpackRecord(const std::uint8_t* packed);
// The size of a packed form as PackRecord wrote it, read up to its end.
std::size_t PackedRecordLength(const std::uint8_t* packed);
// Copies the `count` record bytes from `offset` on (offset + count <= 400) out of a packed form as
// PackRecord wrote it, reading it only up to them: a field or two without unpacking the record.
void PackedRecordBytes(const std::uint8_t* packed, std::size_t offset, std::size_t count, std::uint8_t* out);

}  // namespace relicor
