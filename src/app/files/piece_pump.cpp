#include "app/files/piece_pump.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "app/files/blocking_call.h"
#include "app/process/shutdown_hold.h"

namespace tessafold {

namespace {

class Pump {
 public:
  Pump(int64_t total, std::span<uint8_t> buffer, const PieceStreams& streams)
      : total_(total), pieceBytes_(static_cast<int64_t>(buffer.size() / 2)), buffer_(buffer), streams_(streams) {}

  PumpOutcome Run(const PieceChange& change) {
    std::thread reader, flusher;
    try {
      reader = std::thread([this] { ReadAll(); });
      flusher = std::thread([this] { FlushWhileWriting(); });
    } catch (const std::system_error&) {
      Stop();
      if (reader.joinable()) reader.join();
      return {};
    }
    bool ok;
    {
      const CutShortOnEnd cut(*this);
      ok = WriteAll(change);
    }
    Stop();
    reader.join();
    flusher.join();
    std::lock_guard lock(mutex_);
    return {ok && !flushFailed_, error_};
  }

 private:
  // While it lives, the end of the process wakes the pump's waits and cuts
  // short the read, write or flush the calling thread is in, so that a drive
  // that stops answering cannot hold the end up; the rewrite then fails.
  class CutShortOnEnd {
   public:
    explicit CutShortOnEnd(Pump& pump) : cancel_([this, &pump] {
      pump.Wake();
      thread_.Cancel();
    }) {}

   private:
    const BlockingCallCanceller thread_;
    const ShutdownCancel cancel_;
  };

  void Wake() {
    std::lock_guard lock(mutex_);
    changed_.notify_all();
  }

  int64_t Pieces() const { return (total_ + pieceBytes_ - 1) / pieceBytes_; }
  std::span<uint8_t> Half(int64_t piece) const {
    const int64_t count = std::min(total_ - piece * pieceBytes_, pieceBytes_);
    return buffer_.subspan(static_cast<size_t>((piece % 2) * pieceBytes_), static_cast<size_t>(count));
  }

  void ReadAll() {
    const CutShortOnEnd cut(*this);
    for (int64_t piece = 0; piece < Pieces(); ++piece) {
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stop_ || piece - written_ < 2; });
        if (stop_) return;
      }
      const std::span<uint8_t> half = Half(piece);
      const bool ok = streams_.read(half.data(), half.size());
      const uint32_t error = ok ? 0 : ErrorOfThisThread();
      std::lock_guard lock(mutex_);
      if (ok) {
        ++filled_;
      } else {
        readFailed_ = true;
        Failed(error);
      }
      changed_.notify_all();
      if (!ok) return;
    }
  }

  bool WriteAll(const PieceChange& change) {
    int64_t unflushed = 0;
    for (int64_t piece = 0; piece < Pieces(); ++piece) {
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return readFailed_ || filled_ > piece || ShutdownBegun(); });
        if (filled_ <= piece || ShutdownBegun()) return false;
      }
      const std::span<uint8_t> half = Half(piece);
      change(half, RewriteProgress{piece * pieceBytes_ + static_cast<int64_t>(half.size()), total_});
      if (!streams_.write(half.data(), half.size())) {
        const uint32_t error = ErrorOfThisThread();
        std::lock_guard lock(mutex_);
        Failed(error);
        return false;
      }
      unflushed += static_cast<int64_t>(half.size());
      std::lock_guard lock(mutex_);
      ++written_;
      if (unflushed >= kFlushEveryBytes && !flushWanted_) {
        flushWanted_ = true;
        unflushed = 0;
      }
      changed_.notify_all();
    }
    return true;
  }

  void FlushWhileWriting() {
    const CutShortOnEnd cut(*this);
    for (;;) {
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stop_ || flushWanted_; });
        if (stop_) return;
      }
      const bool ok = streams_.flush();
      const uint32_t error = ok ? 0 : ErrorOfThisThread();
      std::lock_guard lock(mutex_);
      flushWanted_ = false;
      if (!ok) {
        flushFailed_ = true;
        Failed(error);
      }
    }
  }

  // Read on the thread whose call failed, before anything else there can
  // change it.
  uint32_t ErrorOfThisThread() const { return streams_.error ? streams_.error() : 0; }
  // The first failure is the one that stopped the others; under mutex_.
  void Failed(uint32_t error) {
    if (!failedOnce_) error_ = error;
    failedOnce_ = true;
  }

  void Stop() {
    std::lock_guard lock(mutex_);
    stop_ = true;
    changed_.notify_all();
  }

  const int64_t total_;
  const int64_t pieceBytes_;
  const std::span<uint8_t> buffer_;
  const PieceStreams& streams_;

  std::mutex mutex_;
  std::condition_variable changed_;
  int64_t filled_ = 0;   // pieces the reader has delivered
  int64_t written_ = 0;  // pieces the writer is done with
  bool readFailed_ = false, flushWanted_ = false, flushFailed_ = false, stop_ = false, failedOnce_ = false;
  uint32_t error_ = 0;  // of the first call that failed
};

}  // namespace

PumpOutcome PumpPieces(int64_t total, std::span<uint8_t> buffer, const PieceStreams& streams,
                       const PieceChange& change) {
  if (total <= 0) return {.done = true};
  return Pump(total, buffer, streams).Run(change);
}

}  // namespace tessafold
