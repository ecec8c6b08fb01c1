// The only file that includes StormLib: its header brings the Windows types along.
#include "saves/SaveArchive.h"

#include <StormLib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/FileSystem.h"

namespace relicor::saves {

namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::uint32_t kSignature = 0x1A51504D;  // "MPQ\x1A"
constexpr std::size_t kTableEntry = 16;

std::uint32_t LE32(const std::string& s, std::size_t at) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(s.data() + at);
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t LE16(const std::string& s, std::size_t at) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(s.data() + at);
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::string StormReason() {
  return SystemErrorText(static_cast<int>(GetLastError()));
}

// The size of the file as StormLib's own stream sees it.
std::optional<std::uint64_t> StreamSize(const std::string& path) {
  TFileStream* stream = FileStream_OpenFile(path.c_str(), STREAM_FLAG_READ_ONLY);
  if (stream == nullptr) return std::nullopt;
  ULONGLONG size = 0;
  const bool ok = FileStream_GetSize(stream, &size);
  FileStream_Close(stream);
  if (!ok) return std::nullopt;
  return size;
}

}  // namespace

Result<SaveArchive> SaveArchive::Open(const std::string& path) {
  auto head = ReadFileHead(path, kHeaderSize);
  if (!head) return head.failure();
  if (head->size() < kHeaderSize || LE32(*head, 0) != kSignature)
    return MakeError(path + ": not a save game (no archive of the game's kind)");
  const std::uint32_t headerSize = LE32(*head, 4);
  const std::uint32_t archiveSize = LE32(*head, 8);
  const std::uint16_t version = LE16(*head, 12);
  const std::uint16_t sectorShift = LE16(*head, 14);
  const std::uint64_t hashEnd = std::uint64_t{LE32(*head, 16)} + std::uint64_t{LE32(*head, 24)} * kTableEntry;
  const std::uint64_t blockEnd =
      std::uint64_t{LE32(*head, 20)} + std::uint64_t{LE32(*head, 28)} * kTableEntry;
  if (headerSize < kHeaderSize || version != 0 || sectorShift > 15)
    return MakeError(path + ": not a save game (an archive of another version)");
  const auto size = StreamSize(path);
  if (!size) return MakeError(path + ": cannot read: " + StormReason());
  const std::uint64_t needed = std::max<std::uint64_t>({archiveSize, hashEnd, blockEnd});
  if (*size < needed) {
    return MakeError(path + ": cut short: the archive needs " + std::to_string(needed) +
                     " bytes, the file has " + std::to_string(*size) +
                     " (copied while the game was writing it?)");
  }

  HANDLE handle = nullptr;
  const DWORD flags =
      STREAM_FLAG_READ_ONLY | MPQ_OPEN_NO_LISTFILE | MPQ_OPEN_NO_ATTRIBUTES | MPQ_OPEN_FORCE_MPQ_V1;
  if (!SFileOpenArchive(path.c_str(), 0, flags, &handle))
    return MakeError(path + ": not a save game (the archive cannot be opened: " + StormReason() + ")");
  return SaveArchive(path, handle);
}

bool StartsLikeSaveArchive(const std::string& path) {
  auto head = ReadFileHead(path, 4);
  return head && head->size() == 4 && LE32(*head, 0) == kSignature;
}

SaveArchive::SaveArchive(SaveArchive&& other) noexcept
    : path_(std::move(other.path_)), handle_(std::exchange(other.handle_, nullptr)) {}

SaveArchive& SaveArchive::operator=(SaveArchive&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) SFileCloseArchive(handle_);
    path_ = std::move(other.path_);
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

SaveArchive::~SaveArchive() {
  if (handle_ != nullptr) SFileCloseArchive(handle_);
}

bool SaveArchive::Has(std::string_view name) const {
  return SFileHasFile(handle_, std::string(name).c_str());
}

Result<std::optional<std::string>> SaveArchive::Read(std::string_view name, std::size_t maxBytes) const {
  const std::string file(name);
  HANDLE handle = nullptr;
  if (!SFileOpenFileEx(handle_, file.c_str(), SFILE_OPEN_FROM_MPQ, &handle)) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return std::optional<std::string>();
    return MakeError(path_ + ": cannot read " + file + ": " + StormReason());
  }
  std::optional<std::string> data;
  std::string error;
  const DWORD size = SFileGetFileSize(handle, nullptr);
  if (size == SFILE_INVALID_SIZE) {
    error = path_ + ": cannot read " + file + ": " + StormReason();
  } else if (size > maxBytes) {
    error =
        path_ + ": " + file + " holds " + std::to_string(size) + " bytes, more than a save game's file may";
  } else {
    data.emplace(size, '\0');
    DWORD read = 0;
    if (size > 0 && (!SFileReadFile(handle, data->data(), size, &read, nullptr) || read != size)) {
      error = path_ + ": cannot read " + file + ": the archive is damaged or cut short";
      data.reset();
    }
  }
  SFileCloseFile(handle);
  if (!error.empty()) return MakeError(error);
  return data;
}

Status WriteSaveArchive(const std::string& path, const std::vector<ArchiveEntry>& files,
                        std::size_t hashTableSize) {
  SFILE_CREATE_MPQ create{};
  create.cbSize = sizeof(create);
  create.dwMpqVersion = MPQ_FORMAT_VERSION_1;
  create.dwStreamFlags = STREAM_PROVIDER_FLAT | BASE_PROVIDER_FILE;
  create.dwSectorSize = 4096;
  create.dwMaxFileCount = static_cast<DWORD>(hashTableSize);
  HANDLE archive = nullptr;
  if (!SFileCreateArchive2(path.c_str(), &create, &archive))
    return MakeError(path + ": cannot create the archive: " + StormReason());
  std::string error;
  for (const ArchiveEntry& entry : files) {
    HANDLE file = nullptr;
    if (!SFileCreateFile(archive, entry.name.c_str(), 0, static_cast<DWORD>(entry.data.size()), 0,
                         MPQ_FILE_IMPLODE, &file)) {
      error = path + ": cannot add " + entry.name + ": " + StormReason();
      break;
    }
    const bool written =
        entry.data.empty() || SFileWriteFile(file, entry.data.data(), static_cast<DWORD>(entry.data.size()),
                                             MPQ_COMPRESSION_PKWARE);
    const bool finished = SFileFinishFile(file);
    if (!written || !finished) {
      error = path + ": cannot add " + entry.name + ": " + StormReason();
      break;
    }
  }
  if (!SFileCloseArchive(archive) && error.empty())
    error = path + ": cannot write the archive: " + StormReason();
  if (!error.empty()) return MakeError(error);
  return {};
}

}  // namespace relicor::saves
