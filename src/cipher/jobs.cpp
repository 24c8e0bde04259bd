#include "cipher/jobs.h"

#include "app/window/control_access.h"
#include "app/window/message_box.h"
#include "app/text/text_to_int.h"
#include "cipher/transform_file.h"
#include "ui/main_window_ids.h"

namespace tessafold {

namespace {

struct JobKind {
  ShiftDirection direction;
  std::string_view successText;
  std::string_view failureText;
  int button;
};

constexpr JobKind kEncrypt{ShiftDirection::Add, kEncryptSuccessText, kEncryptFailureText, encryptButton};
constexpr JobKind kDecrypt{ShiftDirection::Subtract, kDecryptSuccessText, kDecryptFailureText, decryptButton};

bool TransformChosenFile(ShiftDirection direction) {
  const int32_t key = TextToInt(GetControlText(kMainWindow, keyEdit));
  const int32_t repeat = TextToInt(GetControlText(kMainWindow, repeatEdit));
  const std::string path = GetControlText(kMainWindow, pathEdit);
  return TransformFile(path, key, repeat, direction);
}

void RunJob(const JobKind& job) {
  const bool ok = TransformChosenFile(job.direction);
  ShowMessage(ok ? job.successText : job.failureText);
  SetControlDisabled(kMainWindow, job.button, false);
}

}  // namespace

void RunEncryptJob() { RunJob(kEncrypt); }
void RunDecryptJob() { RunJob(kDecrypt); }

}  // namespace tessafold
