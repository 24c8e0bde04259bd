// Measures the byte shift, the whole file transform, the cost of large repeat
// counts and the peak memory. The yardsticks are what a user would compare
// with: memcpy for the shift, and an ordinary flushed copy of the file for the
// transform.
//
//   tessafold_bench [--shift-mib N] [--file-mib N[,N...]] [--rounds N] [--settle-ms N] [--folder PATH]
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
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "app/process/process_memory.h"
#include "cipher/byte_shift.h"
#include "cipher/transform_file.h"

namespace {

using tessafold::ShiftDirection;

constexpr int64_t kMiB = int64_t{1} << 20;

struct Settings {
  int64_t shiftBytes = 256 * kMiB;
  std::vector<int64_t> fileBytes{256 * kMiB};
  int rounds = 5;
  int settleMs = 1000;
  std::filesystem::path folder;
};

// "256,2300" -> the two sizes in bytes.
std::vector<int64_t> SizesInMiB(const char* list) {
  std::vector<int64_t> sizes;
  for (const char* at = list; *at;) {
    char* end = nullptr;
    sizes.push_back(std::strtoll(at, &end, 10) * kMiB);
    if (end == at) return {};
    at = *end == ',' ? end + 1 : end;
  }
  return sizes;
}

bool ParseSettings(int argc, char** argv, Settings* settings) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const char* value = argv[i + 1];
    if (name == "--shift-mib") settings->shiftBytes = std::atoll(value) * kMiB;
    else if (name == "--file-mib") settings->fileBytes = SizesInMiB(value);
    else if (name == "--rounds") settings->rounds = std::max(1, std::atoi(value));
    else if (name == "--settle-ms") settings->settleMs = std::max(0, std::atoi(value));
    else if (name == "--folder") settings->folder = std::filesystem::u8path(value);
    else return false;
  }
  if (argc % 2 == 0) return false;
  if (settings->folder.empty()) settings->folder = std::filesystem::temp_directory_path();
  return settings->shiftBytes > 0 && !settings->fileBytes.empty() &&
         std::all_of(settings->fileBytes.begin(), settings->fileBytes.end(), [](int64_t n) { return n > 0; });
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

#ifdef _WIN32
std::wstring Wide(const std::filesystem::path& path) { return path.wstring(); }

// Pushes the file's dirty pages to the disk.
void Flush(const std::filesystem::path& path) {
  const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  FlushFileBuffers(file);
  CloseHandle(file);
}

// The yardstick: what a user does to copy a file, made as durable as the
// transform's result.
void CopyAndFlush(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (!CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE)) {
    std::fprintf(stderr, "CopyFileW failed: %lu\n", GetLastError());
    std::exit(1);
  }
  Flush(to);
}
#else
void Flush(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The yardstick: the kernel's own copy, then the same flush as the transform's.
void CopyAndFlush(const std::filesystem::path& from, const std::filesystem::path& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  bool copied = in >= 0 && out >= 0;
  while (copied) {
    const ssize_t moved = ::copy_file_range(in, nullptr, out, nullptr, size_t{1} << 30, 0);
    if (moved <= 0) copied = moved == 0;
    if (moved <= 0) break;
  }
  copied = copied && ::fsync(out) == 0;
  if (in >= 0) ::close(in);
  if (out >= 0) ::close(out);
  if (!copied) {
    std::fprintf(stderr, "copy to %s failed\n", to.c_str());
    std::exit(1);
  }
}
#endif

// Reads the whole file once, so that both sides of a comparison start with
// it in the page cache: otherwise the side that follows the other's run
// finds its file evicted and pays for the disk's reads alone.
void ReadThrough(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> piece(static_cast<size_t>(8 * kMiB));
  while (in.read(piece.data(), static_cast<std::streamsize>(piece.size()))) {
  }
}

// Before each timing: nothing of an earlier run still being written back or
// discarded, and the file on the disk and in the cache.
void Settle(const std::filesystem::path& file, int pauseMs) {
  Flush(file);
#ifndef _WIN32
  ::sync();
#endif
  ReadThrough(file);
  std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// "0.211 s (0.190-0.260)": the median with the spread of the runs.
std::string Spread(const std::vector<double>& values) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f s (%.3f-%.3f)", Median(values), *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()));
  return text;
}

double PercentMore(double seconds, double base) { return 100.0 * (seconds - base) / base; }

struct FileTimes {
  std::vector<double> transform, copy, repeatMax, removal;
  int64_t peakBefore = 0, peakAfter = 0;
};

FileTimes TimeFileWork(const Settings& settings, const std::filesystem::path& file,
                       const std::filesystem::path& copy) {
  FileTimes times;
  const std::string path = Utf8(file);
  times.peakBefore = tessafold::PeakMemoryBytes();
  const auto timeTransform = [&](int32_t repeat, std::vector<double>& into) {
    Settle(file, settings.settleMs);
    into.push_back(Seconds([&] { Transform(path, repeat, ShiftDirection::Add); }));
  };
  // The copy goes again at once, so that every run starts from the same
  // files on the disk and in the cache.
  const auto timeCopy = [&] {
    Settle(file, settings.settleMs);
    times.copy.push_back(Seconds([&] { CopyAndFlush(file, copy); }));
    times.removal.push_back(Seconds([&] { std::filesystem::remove(copy); }));
  };
  // Alternating the order keeps whatever a run leaves behind (freed blocks,
  // the disk's own cache) from favouring one side.
  for (int i = 0; i < settings.rounds; ++i) {
    if (i % 2 == 0) timeTransform(1, times.transform), timeCopy(), timeTransform(INT32_MAX, times.repeatMax);
    else timeTransform(INT32_MAX, times.repeatMax), timeCopy(), timeTransform(1, times.transform);
  }
  times.peakAfter = tessafold::PeakMemoryBytes();
  std::filesystem::remove(copy);
  return times;
}

void MeasureFileWork(const Settings& settings, int64_t fileBytes) {
  const std::filesystem::path base = settings.folder / "tessafold-bench.bin";
  const std::filesystem::path copy = settings.folder / "tessafold-bench-copy.bin";
  if (!MakeFile(base, fileBytes)) {
    std::fprintf(stderr, "cannot make the test file in %s\n", Utf8(settings.folder).c_str());
    std::exit(1);
  }
  const FileTimes times = TimeFileWork(settings, base, copy);
  std::filesystem::remove(base);

  const double fileMiB = static_cast<double>(fileBytes) / kMiB;
  const double transform = Median(times.transform), copied = Median(times.copy), repeatMax = Median(times.repeatMax);
  std::printf("%.0f MiB file, median of %d: TransformFile %s, CopyAndFlush %s, ratio %.2f (goal <= 1.15)\n", fileMiB,
              settings.rounds, Spread(times.transform).c_str(), Spread(times.copy).c_str(), transform / copied);
  // The replacement frees the old content as it takes the name; the copy
  // frees nothing, so this cost is the transform's alone.
  std::printf("%.0f MiB file, deleting a file of that size (freed by the transform, not by the copy): %s\n", fileMiB,
              Spread(times.removal).c_str());
  std::printf("%.0f MiB file, repeat count 1 vs 2147483647: %.3f s vs %s, %+.1f %% (goal within 5 %%)\n", fileMiB,
              transform, Spread(times.repeatMax).c_str(), PercentMore(repeatMax, transform));
  std::printf("%.0f MiB file, peak memory: %.1f MiB before, %.1f MiB after: +%.1f MiB (goal <= +32 MiB)\n", fileMiB,
              static_cast<double>(times.peakBefore) / kMiB, static_cast<double>(times.peakAfter) / kMiB,
              static_cast<double>(times.peakAfter - times.peakBefore) / kMiB);
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
    std::fprintf(stderr, "usage: tessafold_bench [--shift-mib N] [--file-mib N[,N...]] [--rounds N] [--settle-ms N] [--folder PATH]\n");
    return 2;
  }
  for (const int64_t bytes : settings.fileBytes) MeasureFileWork(settings, bytes);
  MeasureShift(settings);
  return 0;
}
