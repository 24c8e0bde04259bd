// Measures the byte shift, the whole file transform, the cost of large repeat
// counts and the peak memory, against plain copies as the yardstick.
//
//   tessafold_bench [--shift-mib N] [--file-mib N] [--rounds N] [--folder PATH]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/file_primitives.h"
#include "app/process_memory.h"
#include "cipher/byte_shift.h"
#include "cipher/transform_file.h"

namespace {

using tessafold::ByteBuffer;
using tessafold::ShiftDirection;

constexpr int64_t kMiB = int64_t{1} << 20;

struct Settings {
  int64_t shiftBytes = 256 * kMiB;
  int64_t fileBytes = 512 * kMiB;
  int rounds = 5;
  std::filesystem::path folder;
};

bool ParseSettings(int argc, char** argv, Settings* settings) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const char* value = argv[i + 1];
    if (name == "--shift-mib") settings->shiftBytes = std::atoll(value) * kMiB;
    else if (name == "--file-mib") settings->fileBytes = std::atoll(value) * kMiB;
    else if (name == "--rounds") settings->rounds = std::max(1, std::atoi(value));
    else if (name == "--folder") settings->folder = std::filesystem::u8path(value);
    else return false;
  }
  if (argc % 2 == 0) return false;
  if (settings->folder.empty()) settings->folder = std::filesystem::temp_directory_path();
  return settings->shiftBytes > 0 && settings->fileBytes > 0;
}

template <typename Work>
double Seconds(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of several runs: the least disturbed by the rest of the machine.
template <typename Work>
double BestSeconds(int rounds, Work&& work) {
  double best = 1e300;
  for (int i = 0; i < rounds; ++i) best = std::min(best, Seconds(work));
  return best;
}

double GigabytesPerSecond(int64_t bytes, double seconds) { return static_cast<double>(bytes) / seconds / 1e9; }

std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// A file of varied bytes, written a piece at a time so that making it does
// not raise the peak memory figure.
bool MakeFile(const std::filesystem::path& path, int64_t bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::vector<char> piece(static_cast<size_t>(kMiB));
  uint32_t state = 12345;
  for (char& c : piece) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
  for (int64_t left = bytes; left > 0 && out; left -= static_cast<int64_t>(piece.size())) {
    out.write(piece.data(), static_cast<std::streamsize>(std::min<int64_t>(left, static_cast<int64_t>(piece.size()))));
  }
  return static_cast<bool>(out.flush());
}

bool Transform(const std::string& path, int32_t repeat, ShiftDirection direction) {
  if (tessafold::TransformFile(path, 7, repeat, direction)) return true;
  std::fprintf(stderr, "TransformFile failed on %s\n", path.c_str());
  std::exit(1);
}

// The yardstick for the transform: the same read and the same flushed
// replacement, without the shift.
void CopyFile(const std::string& from, const std::string& to) {
  const ByteBuffer content = tessafold::ReadWholeFile(from);
  if (!tessafold::ReplaceWholeFile(to, content)) {
    std::fprintf(stderr, "copy to %s failed\n", to.c_str());
    std::exit(1);
  }
}

double PercentMore(double seconds, double base) { return 100.0 * (seconds - base) / base; }

struct FileTimes {
  double transform = 1e300, copy = 1e300, repeatOne = 1e300, repeatMax = 1e300;
  int64_t peakBefore = 0, peakAfter = 0;
};

FileTimes TimeFileWork(const Settings& settings, const std::string& path, const std::string& copy) {
  FileTimes times;
  // First, before any other large buffer exists, so the peak is the transform's.
  times.peakBefore = tessafold::PeakMemoryBytes();
  times.transform = Seconds([&] { Transform(path, 1, ShiftDirection::Add); });
  times.peakAfter = tessafold::PeakMemoryBytes();

  const auto repeatOne = [&] {
    times.repeatOne = std::min(times.repeatOne, Seconds([&] { Transform(path, 1, ShiftDirection::Add); }));
  };
  const auto repeatMax = [&] {
    times.repeatMax = std::min(times.repeatMax, Seconds([&] { Transform(path, INT32_MAX, ShiftDirection::Subtract); }));
  };
  for (int i = 0; i < settings.rounds; ++i) {
    times.copy = std::min(times.copy, Seconds([&] { CopyFile(path, copy); }));
    // Alternating the order keeps whatever the previous run left behind
    // (dirty pages, freed blocks) from favouring one repeat count.
    if (i % 2 == 0) repeatOne(), repeatMax();
    else repeatMax(), repeatOne();
  }
  times.transform = std::min(times.transform, times.repeatOne);
  return times;
}

void MeasureFileWork(const Settings& settings) {
  const std::filesystem::path base = settings.folder / "tessafold-bench.bin";
  const std::filesystem::path copy = settings.folder / "tessafold-bench-copy.bin";
  if (!MakeFile(base, settings.fileBytes) || !MakeFile(copy, 0)) {
    std::fprintf(stderr, "cannot make the test files in %s\n", Utf8(settings.folder).c_str());
    std::exit(1);
  }
  const FileTimes times = TimeFileWork(settings, Utf8(base), Utf8(copy));
  tessafold::DeleteFileAt(Utf8(base));
  tessafold::DeleteFileAt(Utf8(copy));

  const double fileMiB = static_cast<double>(settings.fileBytes) / kMiB;
  std::printf("end to end, %.0f MiB file: TransformFile %.3f s, read-then-write copy %.3f s, ratio %.2f (goal <= 1.25)\n",
              fileMiB, times.transform, times.copy, times.transform / times.copy);
  std::printf("repeat count 1 vs 2147483647, TransformFile end to end: %.3f s vs %.3f s, %+.1f %% (goal within 5 %%)\n",
              times.repeatOne, times.repeatMax, PercentMore(times.repeatMax, times.repeatOne));
  std::printf("peak memory: %.1f MiB before, %.1f MiB after TransformFile of a %.0f MiB file: file + %.1f MiB "
              "(goal <= file + 16 MiB)\n",
              static_cast<double>(times.peakBefore) / kMiB, static_cast<double>(times.peakAfter) / kMiB, fileMiB,
              static_cast<double>(times.peakAfter - settings.fileBytes) / kMiB);
}

void MeasureShift(const Settings& settings) {
  const size_t bytes = static_cast<size_t>(settings.shiftBytes);
  std::unique_ptr<uint8_t[]> source(new uint8_t[bytes]);
  std::unique_ptr<uint8_t[]> target(new uint8_t[bytes]);
  std::memset(source.get(), 0x5A, bytes);
  std::memset(target.get(), 0, bytes);

  const double copySeconds = BestSeconds(settings.rounds + 2, [&] { std::memcpy(target.get(), source.get(), bytes); });
  const double shiftSeconds = BestSeconds(settings.rounds + 2, [&] { tessafold::ShiftBytes(source.get(), bytes, 7); });
  // Keeps both results alive so neither loop can be dropped.
  volatile uint8_t sink = static_cast<uint8_t>(source[bytes / 2] + target[bytes / 3]);
  (void)sink;

  // The repeat count's own cost, free of the disk's noise: the shift it asks for.
  const auto shiftFor = [&](int32_t repeat) {
    return BestSeconds(settings.rounds + 2, [&] {
      tessafold::ShiftBytes(source.get(), bytes, tessafold::EffectiveShift(7, repeat, ShiftDirection::Add));
    });
  };
  const double repeatOneSeconds = shiftFor(1);
  const double repeatMaxSeconds = shiftFor(INT32_MAX);

  const double shiftRate = GigabytesPerSecond(settings.shiftBytes, shiftSeconds);
  const double copyRate = GigabytesPerSecond(settings.shiftBytes, copySeconds);
  std::printf("shift pass, %.0f MiB buffer: ShiftBytes %.2f GB/s, memcpy %.2f GB/s, ratio %.2f (goal >= 1.2)\n",
              static_cast<double>(settings.shiftBytes) / kMiB, shiftRate, copyRate, shiftRate / copyRate);
  std::printf("repeat count 1 vs 2147483647, shift pass only: %.4f s vs %.4f s, %+.1f %% (goal within 5 %%)\n",
              repeatOneSeconds, repeatMaxSeconds, PercentMore(repeatMaxSeconds, repeatOneSeconds));
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  if (!ParseSettings(argc, argv, &settings)) {
    std::fprintf(stderr, "usage: tessafold_bench [--shift-mib N] [--file-mib N] [--rounds N] [--folder PATH]\n");
    return 2;
  }
  MeasureFileWork(settings);
  MeasureShift(settings);
  return 0;
}
