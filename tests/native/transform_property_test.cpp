// Random contents, keys and repeat counts against the reference of literal
// passes: the single pass must always give the same bytes, and Subtract must
// always undo Add.
#include <gtest/gtest.h>

#include <random>

#include "cipher/byte_shift.h"
#include "cipher/transform_file.h"
#include "common/file_test_support.h"
#include "common/shift_reference.h"

namespace tessafold {
namespace {

using testing::Bytes;

constexpr uint32_t kSeed = 20240611;

class RandomCases {
 public:
  explicit RandomCases(uint32_t seed) : random_(seed) {}

  int32_t Key() {
    switch (Pick(4)) {
      case 0: return Uniform(-600, 600);
      case 1: return Uniform(-2, 2) * 256 + Uniform(-1, 1);
      default: return static_cast<int32_t>(random_());
    }
  }
  // Small counts are made literally by the reference; the rest test the
  // wrap-around of large and negative counts.
  int32_t Repeat() {
    constexpr int32_t kSpecial[] = {0, 1, -1, 255, 256, 257, 512, INT32_MAX, INT32_MIN, INT32_MAX - 255};
    switch (Pick(4)) {
      case 0: return kSpecial[Pick(std::size(kSpecial))];
      case 1: return static_cast<int32_t>(random_());
      default: return Uniform(-5, 1000);
    }
  }
  ShiftDirection Direction() { return Pick(2) ? ShiftDirection::Add : ShiftDirection::Subtract; }
  // Mostly short, sometimes past the vector blocks' edges, now and then MiB.
  size_t Size() {
    switch (Pick(10)) {
      case 0: return 0;
      case 1: return static_cast<size_t>(Uniform(1 << 20, 3 << 20));
      default: return static_cast<size_t>(Uniform(1, 300));
    }
  }
  Bytes Content(size_t size) {
    Bytes bytes(size);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random_());
    return bytes;
  }
  size_t Pick(size_t count) { return static_cast<size_t>(random_() % count); }

 private:
  int32_t Uniform(int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random_); }
  std::mt19937 random_;
};

std::string Describe(size_t size, int32_t key, int32_t repeat, ShiftDirection direction) {
  return std::to_string(size) + " bytes, key " + std::to_string(key) + ", repeat " + std::to_string(repeat) +
         (direction == ShiftDirection::Add ? ", Add" : ", Subtract") + " (seed " + std::to_string(kSeed) + ")";
}

TEST(TransformProperty, TheSinglePassMatchesLiteralPassesAndSubtractUndoesAdd) {
  RandomCases cases(kSeed);
  for (int i = 0; i < 400; ++i) {
    const size_t size = cases.Size();
    const int32_t key = cases.Key(), repeat = cases.Repeat();
    const ShiftDirection direction = cases.Direction();
    const Bytes content = cases.Content(size);
    // An odd start: the shift must not rely on the buffer's alignment.
    Bytes shifted(size + 1);
    std::copy(content.begin(), content.end(), shifted.begin() + 1);
    ShiftBytes(shifted.data() + 1, size, EffectiveShift(key, repeat, direction));
    ASSERT_TRUE(Bytes(shifted.begin() + 1, shifted.end()) == testing::ReferencePasses(content, key, repeat, direction))
        << Describe(size, key, repeat, direction);
  }
}

TEST(TransformProperty, FilesTransformLikeTheReferenceAndComeBackWhole) {
  RandomCases cases(kSeed + 1);
  testing::ScratchFolder folder;
  const auto file = folder.Path("random.bin");
  for (int i = 0; i < 40; ++i) {
    const size_t size = cases.Size();
    const int32_t key = cases.Key(), repeat = cases.Repeat();
    const Bytes content = cases.Content(size);
    testing::WriteBytes(file, content);
    const std::string path = testing::Utf8(file);

    ASSERT_TRUE(TransformFile(path, key, repeat, ShiftDirection::Add)) << Describe(size, key, repeat, ShiftDirection::Add);
    ASSERT_TRUE(testing::ReadBytes(file) == testing::ReferencePasses(content, key, repeat, ShiftDirection::Add))
        << Describe(size, key, repeat, ShiftDirection::Add);
    ASSERT_TRUE(TransformFile(path, key, repeat, ShiftDirection::Subtract));
    ASSERT_TRUE(testing::ReadBytes(file) == content) << Describe(size, key, repeat, ShiftDirection::Subtract);
  }
  EXPECT_EQ(testing::NamesIn(folder), (std::vector<std::string>{"random.bin"}));
}

}  // namespace
}  // namespace tessafold
