// libsndfile gives every Ogg stream it writes a random serial number, so two runs on the same
// samples differ in the serial and the page checksums. Setting a fixed serial on every page (and
// computing each page's checksum again) makes the file the same on every build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Rewrites the pages in `bytes`; false when they are not a sequence of whole Ogg pages.
bool SetOggSerial(std::vector<std::uint8_t>& bytes, std::uint32_t serial);
// The same on a file, in place.
bool SetOggFileSerial(const std::string& path, std::uint32_t serial, std::string& error);
// Ogg's page checksum: CRC-32 with polynomial 0x04C11DB7, no reflection, starting from 0.
std::uint32_t OggChecksum(const std::uint8_t* data, std::size_t size);
