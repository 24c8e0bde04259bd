#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "app/process/worker.h"
#include "app/window/control_access.h"
#include "app/window/open_file_dialog.h"

namespace tessafold::fake {

// How the fake StartWorker treats a routine.
enum class WorkerMode {
  RunAtOnce,  // runs it before StartWorker returns
  Thread,     // runs it on a std::thread that JoinWorkers() joins
  Keep,       // keeps it for RunKeptWorkers()
  Refuse,     // starts nothing and returns false
};

// A recording stand-in for the window's services and the platform file
// dialog. Every call is appended to the log in the order it happened, as
//   "get W/C/P", "set W/C/P=V", "message TEXT", "worker", "web ADDRESS", "dialog".
class Services {
 public:
  static Services& Instance();

  void Reset();  // forgets everything; workers must have been joined

  // Control state, as the window would hold it.
  void SetText(int window, int control, ControlProperty property, const std::string& text);
  std::string Text(int window, int control, ControlProperty property = kPropertyEditText) const;
  bool Disabled(int window, int control) const;

  std::vector<std::string> Log() const;
  std::vector<std::string> Messages() const { return Logged("message "); }
  std::vector<std::string> WebPages() const { return Logged("web "); }

  void SetWorkerMode(WorkerMode mode);
  void JoinWorkers();
  void RunKeptWorkers();

  // The next platform dialogs answer with these, in order (nothing = cancel);
  // with none queued the dialog is cancelled.
  void QueueDialogAnswer(std::optional<std::string> chosenPath);
  std::vector<FileDialogRequest> DialogRequests() const;

  // Called by the fake service functions.
  ControlValue Get(int window, int control, ControlProperty property);
  void Set(int window, int control, ControlProperty property, const ControlValue& value);
  void Message(std::string_view text);
  bool Start(WorkerRoutine routine, void* parameter);
  void Web(std::string_view address);
  std::optional<std::string> Dialog(const FileDialogRequest& request);

 private:
  using Key = std::tuple<int, int, int>;
  // The log's entries that begin with `verb`, without it.
  std::vector<std::string> Logged(std::string_view verb) const;
  mutable std::mutex mutex_;
  // Everything Reset() forgets.
  struct State {
    std::map<Key, ControlValue> values;
    std::vector<std::string> log;
    WorkerMode workerMode = WorkerMode::RunAtOnce;
    std::vector<std::thread> threads;
    std::vector<std::function<void()>> keptWorkers;
    std::vector<std::optional<std::string>> dialogAnswers;
    std::vector<FileDialogRequest> dialogRequests;
  } state_;
};

// The log entry of a get or set of a main window control's property: "get 1/5/8".
std::string LogEntry(const char* verb, int control, ControlProperty property);

// Index of the first log entry equal to `entry`, or -1.
int IndexOf(const std::vector<std::string>& log, const std::string& entry);

// The fixture of the tests that drive the portable code through the fakes:
// nothing recorded before each test, its worker threads joined after it.
class ServicesTest : public ::testing::Test {
 protected:
  void SetUp() override { services.Reset(); }
  void TearDown() override { services.JoinWorkers(); }

  Services& services = Services::Instance();
};

}  // namespace tessafold::fake
