#include "fakes/fake_services.h"

#include <algorithm>

#include "app/window/message_box.h"
#include "app/window/web_page.h"
#include "ui/main_window_ids.h"

namespace tessafold {

namespace fake {

namespace {

std::string Address(int window, int control, int property) {
  return std::to_string(window) + "/" + std::to_string(control) + "/" + std::to_string(property);
}

bool IsTextProperty(int property) { return property == kPropertyTag || property >= kPropertyEditText; }

}  // namespace

Services& Services::Instance() {
  static Services services;
  return services;
}

void Services::Reset() {
  std::lock_guard lock(mutex_);
  state_ = {};
}

void Services::SetText(int window, int control, ControlProperty property, const std::string& text) {
  std::lock_guard lock(mutex_);
  state_.values[{window, control, property}] = text;
}

std::string Services::Text(int window, int control, ControlProperty property) const {
  std::lock_guard lock(mutex_);
  const auto found = state_.values.find({window, control, property});
  return found == state_.values.end() ? std::string{} : std::get<std::string>(found->second);
}

bool Services::Disabled(int window, int control) const {
  std::lock_guard lock(mutex_);
  const auto found = state_.values.find({window, control, kPropertyDisabled});
  return found != state_.values.end() && std::get<int32_t>(found->second) != 0;
}

std::vector<std::string> Services::Log() const {
  std::lock_guard lock(mutex_);
  return state_.log;
}

std::vector<std::string> Services::Logged(std::string_view verb) const {
  std::vector<std::string> entries;
  for (const std::string& entry : Log()) {
    if (entry.starts_with(verb)) entries.push_back(entry.substr(verb.size()));
  }
  return entries;
}

void Services::SetWorkerMode(WorkerMode mode) {
  std::lock_guard lock(mutex_);
  state_.workerMode = mode;
}

void Services::JoinWorkers() {
  std::vector<std::thread> threads;
  {
    std::lock_guard lock(mutex_);
    threads.swap(state_.threads);
  }
  for (std::thread& thread : threads) thread.join();
}

void Services::RunKeptWorkers() {
  std::vector<std::function<void()>> kept;
  {
    std::lock_guard lock(mutex_);
    kept.swap(state_.keptWorkers);
  }
  for (auto& worker : kept) worker();
}

void Services::QueueDialogAnswer(std::optional<std::string> chosenPath) {
  std::lock_guard lock(mutex_);
  state_.dialogAnswers.push_back(std::move(chosenPath));
}

std::vector<FileDialogRequest> Services::DialogRequests() const {
  std::lock_guard lock(mutex_);
  return state_.dialogRequests;
}

ControlValue Services::Get(int window, int control, ControlProperty property) {
  std::lock_guard lock(mutex_);
  state_.log.push_back("get " + Address(window, control, property));
  const auto found = state_.values.find({window, control, property});
  if (found != state_.values.end()) return found->second;
  return IsTextProperty(property) ? ControlValue{std::string{}} : ControlValue{int32_t{0}};
}

void Services::Set(int window, int control, ControlProperty property, const ControlValue& value) {
  std::lock_guard lock(mutex_);
  state_.log.push_back("set " + Address(window, control, property) + "=" + ControlValueText(value));
  state_.values[{window, control, property}] = value;
}

void Services::Message(std::string_view text) {
  std::lock_guard lock(mutex_);
  state_.log.push_back("message " + std::string(text));
}

bool Services::Start(WorkerRoutine routine, void* parameter) {
  std::unique_lock lock(mutex_);
  state_.log.push_back("worker");
  switch (state_.workerMode) {
    case WorkerMode::RunAtOnce:
      lock.unlock();
      routine(parameter);
      return true;
    case WorkerMode::Thread:
      state_.threads.emplace_back(routine, parameter);
      return true;
    case WorkerMode::Keep:
      state_.keptWorkers.emplace_back([routine, parameter] { routine(parameter); });
      return true;
    case WorkerMode::Refuse:
      return false;
  }
  return false;
}

void Services::Web(std::string_view address) {
  std::lock_guard lock(mutex_);
  state_.log.push_back("web " + std::string(address));
}

std::optional<std::string> Services::Dialog(const FileDialogRequest& request) {
  std::lock_guard lock(mutex_);
  state_.log.push_back("dialog");
  state_.dialogRequests.push_back(request);
  if (state_.dialogAnswers.empty()) return std::nullopt;
  std::optional<std::string> answer = state_.dialogAnswers.front();
  state_.dialogAnswers.erase(state_.dialogAnswers.begin());
  return answer;
}

std::string LogEntry(const char* verb, int control, ControlProperty property) {
  return std::string(verb) + " " + Address(kMainWindow, control, property);
}

int IndexOf(const std::vector<std::string>& log, const std::string& entry) {
  const auto found = std::find(log.begin(), log.end(), entry);
  return found == log.end() ? -1 : static_cast<int>(found - log.begin());
}

}  // namespace fake

// The services as the portable code sees them, all answered by the fake.

int ShowMessage(std::string_view text, uint32_t, std::string_view) {
  fake::Services::Instance().Message(text);
  return kMessageOk;
}

bool StartWorker(WorkerRoutine routine, void* parameter) { return fake::Services::Instance().Start(routine, parameter); }

void OpenWebPage(std::string_view address) { fake::Services::Instance().Web(address); }

ControlValue GetControlProperty(int windowId, int controlId, ControlProperty property) {
  return fake::Services::Instance().Get(windowId, controlId, property);
}

void SetControlProperty(int windowId, int controlId, ControlProperty property, const ControlValue& value) {
  fake::Services::Instance().Set(windowId, controlId, property, value);
}

std::optional<std::string> ShowPlatformFileDialog(const FileDialogRequest& request) {
  return fake::Services::Instance().Dialog(request);
}

}  // namespace tessafold
