// Where the reader's bytes come from: a named file or an open stream. Reads are exact: a source that
// ends early, or cannot be read, gives the runtime I/O failure naming it (code 100), and the reader
// hands that failure back to its caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/diagnostics.h"

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual MaybeFailure Read(void* destination, std::size_t size) = 0;
  // Bytes left to read, when the source can tell.
  virtual std::optional<std::uint64_t> Remaining() = 0;
  virtual const std::string& name() const = 0;
};

class FileSource final : public ByteSource {
 public:
  explicit FileSource(std::string_view fileName) : name_(fileName) {}
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  // The runtime's codes: 2 for a missing file, 3 for a missing folder, 5 for a folder or a file that
  // may not be read.
  MaybeFailure Open();
  MaybeFailure Read(void* destination, std::size_t size) override;
  std::optional<std::uint64_t> Remaining() override;
  const std::string& name() const override { return name_; }

 private:
  std::string name_;
  std::FILE* file_ = nullptr;
};

class StreamSource final : public ByteSource {
 public:
  StreamSource(std::istream& stream, std::string_view name) : stream_(stream), name_(name) {}
  MaybeFailure Read(void* destination, std::size_t size) override;
  std::optional<std::uint64_t> Remaining() override;
  const std::string& name() const override { return name_; }

 private:
  std::istream& stream_;
  std::string name_;
};

// Reads a block of `size` bytes into `block` in pieces, growing the buffer only as bytes arrive, so a
// header that claims a huge stream in a short stream of unknown length fails on the first missing
// piece, not on allocation.
MaybeFailure ReadBlock(ByteSource& source, std::uint64_t size, std::vector<std::uint8_t>& block);
