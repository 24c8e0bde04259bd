#include "app/files/byte_buffer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "app/process/fatal_error.h"

namespace tessafold {
namespace {

TEST(ByteBuffer, IndexesRunFromOneToTheLength) {
  ByteBuffer buffer = ByteBuffer::Allocate(3);
  ASSERT_EQ(ByteCount(buffer), 3);
  for (int32_t i = 1; i <= 3; ++i) buffer.Set(i, static_cast<uint8_t>(0x40 + i));
  EXPECT_EQ(buffer.At(1), 0x41);
  EXPECT_EQ(buffer.At(3), 0x43);
  EXPECT_EQ(buffer.Data()[0], 0x41);  // index 1 is the first byte

  buffer.Truncate(2);
  EXPECT_EQ(ByteCount(buffer), 2);
  EXPECT_EQ(buffer.At(2), 0x42);
  buffer.Truncate(0);
  EXPECT_TRUE(buffer.Empty());
  EXPECT_EQ(buffer.Data(), nullptr);
}

TEST(ByteBuffer, NoBufferHasNoBytes) {
  EXPECT_EQ(ByteCount(ByteBuffer()), 0);
  EXPECT_EQ(ByteCount(ByteBuffer::Allocate(0)), 0);
  EXPECT_EQ(ByteCount(ByteBuffer::Allocate(-5)), 0);
}

// The whole report as it reaches standard error: the title line, then the text.
std::string Report(int32_t code, std::string_view message) {
  return "^" + std::string(kFatalErrorTitle) + "\n" + FatalErrorText(code, message) + "$";
}

const auto kFatalExit = ::testing::ExitedWithCode(static_cast<int>(kFatalExitCode & 0xFF));

TEST(ByteBufferDeathTest, AnIndexBelowOneIsFatalWithCode4) {
  const std::string report = Report(4, kIndexBelowOneMessage);
  EXPECT_EXIT(ByteBuffer::Allocate(1).At(0), kFatalExit, report);
  EXPECT_EXIT(ByteBuffer::Allocate(5).Set(-1, 0), kFatalExit, report);
  EXPECT_EXIT(ByteBuffer::Allocate(5).At(INT32_MIN), kFatalExit, report);
  EXPECT_EXIT(ByteBuffer().At(0), kFatalExit, report);
}

TEST(ByteBufferDeathTest, AnIndexAboveTheLengthIsFatalWithCode1) {
  const std::string report = Report(1, kIndexAboveCountMessage);
  EXPECT_EXIT(ByteBuffer::Allocate(1).At(2), kFatalExit, report);
  EXPECT_EXIT(ByteBuffer::Allocate(5).Set(6, 0), kFatalExit, report);
  EXPECT_EXIT(ByteBuffer::Allocate(5).At(INT32_MAX), kFatalExit, report);
  EXPECT_EXIT(ByteBuffer().At(1), kFatalExit, report);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderSanitizer = true;
#else
constexpr bool kUnderSanitizer = false;
#endif

TEST(ByteBufferDeathTest, MemoryThatCannotBeHadIsFatalWithTheBlockSize) {
  if (kUnderSanitizer) GTEST_SKIP() << "the sanitizer's allocator reports the failure itself";
  const auto allocateUnderLimit = [] {
    const rlimit limit{size_t{256} << 20, size_t{256} << 20};
    setrlimit(RLIMIT_AS, &limit);
    ByteBuffer::Allocate(1 << 30);
  };
  EXPECT_EXIT(allocateUnderLimit(), kFatalExit, Report(0, AllocationFailedMessage((1 << 30) + 8)));
}

}  // namespace
}  // namespace tessafold
