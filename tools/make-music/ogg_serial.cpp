#include "tools/make-music/ogg_serial.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr std::size_t kHeaderBytes = 27;
constexpr std::size_t kSerialAt = 14;
constexpr std::size_t kChecksumAt = 22;
constexpr std::size_t kSegmentCountAt = 26;

void PutLittleEndian(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::uint32_t OggChecksum(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= static_cast<std::uint32_t>(data[i]) << 24;
    for (int bit = 0; bit < 8; ++bit) crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

bool SetOggSerial(std::vector<std::uint8_t>& bytes, std::uint32_t serial) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (bytes.size() - at < kHeaderBytes || std::memcmp(&bytes[at], "OggS", 4) != 0) return false;
    const std::size_t segments = bytes[at + kSegmentCountAt];
    if (bytes.size() - at < kHeaderBytes + segments) return false;
    std::size_t body = 0;
    for (std::size_t s = 0; s < segments; ++s) body += bytes[at + kHeaderBytes + s];
    const std::size_t pageBytes = kHeaderBytes + segments + body;
    if (bytes.size() - at < pageBytes) return false;
    PutLittleEndian(&bytes[at + kSerialAt], serial);
    PutLittleEndian(&bytes[at + kChecksumAt], 0);
    PutLittleEndian(&bytes[at + kChecksumAt], OggChecksum(&bytes[at], pageBytes));
    at += pageBytes;
  }
  return true;
}

bool SetOggFileSerial(const std::string& path, std::uint32_t serial, std::string& error) {
  std::vector<std::uint8_t> bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (!SetOggSerial(bytes, serial)) {
    error = path + ": not a sequence of Ogg pages";
    return false;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) error = path + ": cannot write";
  return static_cast<bool>(out);
}
