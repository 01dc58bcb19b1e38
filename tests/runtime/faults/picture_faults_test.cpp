// Each of the demo's 22 pictures missing, cut at half its length, or with a header the reader must
// refuse: the first is the I/O error naming the file, the second the I/O error of a read past its
// end, the others the texture's fatal report.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "tests/runtime/faults/fault_run.h"

namespace {

using Pictures = OnContentCopy;

TEST_F(Pictures, TheContentHasTwentyTwoAndStartsIntact) {
  EXPECT_EQ(ContentPictures().size(), 22u);
  ExpectOutcome(kCleanRun);
}

struct Damage {
  const char* name;
  void (*change)(std::string& bytes);  // an emptied file is removed
  FaultOutcome (*outcome)(const std::string& picture);
};

FaultOutcome Refused(const std::string&) { return FatalReport("zenTexture", "Could not load Texture"); }

// Header fields: width at 3 and height at 5 (16 bits each, even, low byte first), lastLevel at 8,
// valueBits[0] at 33.
const Damage kDamages[] = {
    {"Missing", [](std::string& bytes) { bytes.clear(); },
     [](const std::string& picture) { return IoFailure(2, "file not found", picture); }},
    {"CutAtHalf", [](std::string& bytes) { bytes.resize(bytes.size() / 2); },
     [](const std::string& picture) { return IoFailure(100, "read past the end of the file", picture); }},
    {"LastLevel17", [](std::string& bytes) { bytes.at(8) = 17; }, Refused},
    {"ValueBits9", [](std::string& bytes) { bytes.at(33) = 9; }, Refused},
    {"OddWidth", [](std::string& bytes) { ++bytes.at(3); }, Refused},
    {"OddHeight", [](std::string& bytes) { ++bytes.at(5); }, Refused},
};

class DamagedPicture : public OnContentCopy, public ::testing::WithParamInterface<std::tuple<std::string, Damage>> {};

TEST_P(DamagedPicture, EndsTheDemoWithItsReport) {
  const auto& [picture, damage] = GetParam();
  std::string bytes = ReadWholeFile(content.File(picture));
  damage.change(bytes);
  if (bytes.empty()) std::filesystem::remove(content.File(picture));
  else WriteWholeFile(content.File(picture), bytes);
  ExpectOutcome(damage.outcome(picture));
}

std::string TestName(const ::testing::TestParamInfo<DamagedPicture::ParamType>& info) {
  return std::filesystem::path(std::get<0>(info.param)).stem().string() + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(EachOfThe22, DamagedPicture,
                         ::testing::Combine(::testing::ValuesIn(ContentPictures()), ::testing::ValuesIn(kDamages)),
                         TestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DamagedPicture);

}  // namespace
