#include "browser_stand_in.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app_under_test.h"

namespace e2e {

namespace {

constexpr wchar_t kCommandKey[] = L"http\\shell\\open\\command";
constexpr wchar_t kDdeKey[] = L"http\\shell\\open\\ddeexec";

std::wstring LogPath() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  return std::wstring(temp) + L"tessafold-browser-log.txt";
}

// A command longer than the buffer is not put back; none is as long.
bool ReadDefault(std::wstring* value) {
  wchar_t text[4096] = {};
  DWORD size = sizeof text;
  if (RegGetValueW(HKEY_CLASSES_ROOT, kCommandKey, nullptr, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
    return false;
  }
  *value = text;
  return true;
}

// The key's default value; the key is made where there is none.
bool WriteDefault(const std::wstring& value, const wchar_t* keyName = kCommandKey) {
  return RegSetKeyValueW(HKEY_CLASSES_ROOT, keyName, nullptr, REG_SZ, value.c_str(),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

BrowserStandIn::BrowserStandIn() {
  DeleteFileW(LogPath().c_str());
  hadPrevious_ = ReadDefault(&previous_);
  const std::wstring recorder = ProgramPath(L"browser_recorder.exe");
  installed_ = WriteDefault(L"\"" + recorder + L"\" \"%1\"");
  // Registered the way browsers speaking DDE are: the shell then starts the
  // browser and waits until it is idle (the recorder ends instead), so the
  // request is on record before the shell call returns to the program.
  const std::wstring dde = kDdeKey;
  installed_ = installed_ && WriteDefault(L"%1", kDdeKey) &&
               WriteDefault(L"TessafoldBrowserStandIn", (dde + L"\\Application").c_str()) &&
               WriteDefault(L"WWW_OpenURL", (dde + L"\\Topic").c_str());
}

BrowserStandIn::~BrowserStandIn() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kDdeKey);
  if (hadPrevious_) WriteDefault(previous_);
}

std::vector<BrowserVisit> BrowserStandIn::Visits() const {
  std::vector<BrowserVisit> visits;
  std::ifstream log{std::filesystem::path(LogPath())};
  std::string line;
  while (std::getline(log, line)) {
    std::istringstream fields(line);
    BrowserVisit visit;
    std::string shown;
    std::getline(fields, visit.address, '\t');
    std::getline(fields, shown, '\t');
    std::getline(fields, visit.currentDirectory);
    visit.windowWasVisible = shown == "visible";
    visits.push_back(visit);
  }
  return visits;
}

}  // namespace e2e
