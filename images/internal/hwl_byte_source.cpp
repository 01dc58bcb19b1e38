#include "images/internal/hwl_byte_source.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

FileSource::~FileSource() {
  if (file_) std::fclose(file_);
}

MaybeFailure FileSource::Open() {
  file_ = std::fopen(name_.c_str(), "rb");
  if (!file_) return Failure::IoFromErrno(name_, errno, IoAccess::Read);
  // fopen opens a folder too, whose first read would fail: refuse it by name, as the runtime does.
  struct stat info {};
  if (fstat(fileno(file_), &info) == 0 && S_ISDIR(info.st_mode)) return Failure::Io(IoErrorCode::AccessDenied, name_);
  return std::nullopt;
}

MaybeFailure FileSource::Read(void* destination, std::size_t size) {
  if (std::fread(destination, 1, size, file_) != size) return Failure::Io(IoErrorCode::ReadPastEnd, name_);
  return std::nullopt;
}

std::optional<std::uint64_t> FileSource::Remaining() {
  const long here = std::ftell(file_);
  struct stat info {};
  if (here < 0 || fstat(fileno(file_), &info) != 0 || info.st_size < here) return 0;
  return static_cast<std::uint64_t>(info.st_size - here);
}

MaybeFailure StreamSource::Read(void* destination, std::size_t size) {
  stream_.read(static_cast<char*>(destination), static_cast<std::streamsize>(size));
  if (static_cast<std::size_t>(stream_.gcount()) != size) return Failure::Io(IoErrorCode::ReadPastEnd, name_);
  return std::nullopt;
}

std::optional<std::uint64_t> StreamSource::Remaining() {
  const std::istream::pos_type here = stream_.tellg();
  if (here == std::istream::pos_type(-1)) return std::nullopt;
  stream_.seekg(0, std::ios::end);
  const std::istream::pos_type end = stream_.tellg();
  stream_.seekg(here);
  if (end == std::istream::pos_type(-1) || end < here) return std::nullopt;
  return static_cast<std::uint64_t>(end - here);
}

MaybeFailure ReadBlock(ByteSource& source, std::uint64_t size, std::vector<std::uint8_t>& block) {
  constexpr std::uint64_t kPiece = std::uint64_t{1} << 20;
  block.clear();
  while (block.size() < size) {
    const std::size_t piece = static_cast<std::size_t>(std::min(kPiece, size - block.size()));
    const std::size_t start = block.size();
    block.resize(start + piece);
    if (MaybeFailure failure = source.Read(block.data() + start, piece)) return failure;
  }
  return std::nullopt;
}
