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

// The size of the packed form of `record`: a few bytes over 400 at the very worst.
std::size_t PackedRecordSize(const ItemRecord& record);

// Writes the packed form of `record` to `out`, which has room for PackedRecordSize bytes.
void PackRecord(const ItemRecord& record, std::uint8_t* out);

// The record that `packed` (`size` bytes, as PackRecord wrote them) holds.
ItemRecord UnpackRecord(const std::uint8_t* packed, std::size_t size);

}  // namespace relicor
