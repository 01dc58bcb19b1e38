// Each of the demo's 22 pictures missing, cut at half its length, or with a header the reader must
// refuse: the first is the I/O error naming the file, the second the I/O error of a read past its
// end, the others the texture's fatal report.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "tests/runtime/faults/fault_run.h"

namespace {

std::vector<std::string> PictureNames() {
  if (!ContentIsBuilt()) return {};
  return ContentPictures();
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = std::filesystem::path(info.param).stem().string();
  for (char& c : name) if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

// Header fields: width at 3 and height at 5 (16 bits each), lastLevel at 8, valueBits[0] at 33.
void PutByte(std::string& file, std::size_t offset, std::uint8_t value) { file.at(offset) = char(value); }
void MakeOdd(std::string& file, std::size_t offset) {
  std::uint16_t size = 0;
  std::memcpy(&size, file.data() + offset, 2);
  size = std::uint16_t(size + 1);
  std::memcpy(file.data() + offset, &size, 2);
}

const FaultOutcome kRefused = FatalReport("zenTexture", "Could not load Texture");

class DamagedPicture : public ::testing::TestWithParam<std::string> {
 protected:
  void Damage(void (*change)(std::string&)) {
    std::string bytes = ReadWholeFile(content.File(GetParam()));
    ASSERT_GT(bytes.size(), 36u);
    change(bytes);
    WriteWholeFile(content.File(GetParam()), bytes);
  }
  ContentCopy content;
};

}  // namespace

TEST(Pictures, TheContentHasTwentyTwoAndStartsIntact) {
  if (!ContentIsBuilt()) GTEST_SKIP() << "no demo content built";
  const ContentCopy content;
  EXPECT_EQ(ContentPictures().size(), 22u);
  ExpectOutcome(content, CleanRun());
}

TEST_P(DamagedPicture, Missing) {
  std::filesystem::remove(content.File(GetParam()));
  ExpectOutcome(content, IoFailure(2, "file not found", GetParam()));
}

TEST_P(DamagedPicture, CutAtHalf) {
  const std::string bytes = ReadWholeFile(content.File(GetParam()));
  WriteWholeFile(content.File(GetParam()), bytes.substr(0, bytes.size() / 2));
  ExpectOutcome(content, IoFailure(100, "read past the end of the file", GetParam()));
}

TEST_P(DamagedPicture, LastLevel17) {
  Damage([](std::string& file) { PutByte(file, 8, 17); });
  ExpectOutcome(content, kRefused);
}

TEST_P(DamagedPicture, ValueBits9) {
  Damage([](std::string& file) { PutByte(file, 33, 9); });
  ExpectOutcome(content, kRefused);
}

TEST_P(DamagedPicture, OddWidth) {
  Damage([](std::string& file) { MakeOdd(file, 3); });
  ExpectOutcome(content, kRefused);
}

TEST_P(DamagedPicture, OddHeight) {
  Damage([](std::string& file) { MakeOdd(file, 5); });
  ExpectOutcome(content, kRefused);
}

INSTANTIATE_TEST_SUITE_P(EachOfThe22, DamagedPicture, ::testing::ValuesIn(PictureNames()), TestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DamagedPicture);
