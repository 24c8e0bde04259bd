#pragma once
// Registers browser_recorder.exe (beside the test program) as the handler of
// web addresses for as long as the object lives, and reads what it recorded.
#include <string>
#include <vector>

namespace e2e {

struct BrowserVisit {
  std::string address;
  bool windowWasVisible;
  std::string currentDirectory;  // of the program that asked, inherited by the browser
};

class BrowserStandIn {
 public:
  BrowserStandIn();   // registers the recorder and starts an empty log
  ~BrowserStandIn();  // puts the previous handler back
  BrowserStandIn(const BrowserStandIn&) = delete;
  BrowserStandIn& operator=(const BrowserStandIn&) = delete;

  bool Installed() const { return installed_; }
  std::vector<BrowserVisit> Visits() const;

 private:
  bool installed_ = false;
  bool hadPrevious_ = false;
  std::wstring previous_;
};

}  // namespace e2e
