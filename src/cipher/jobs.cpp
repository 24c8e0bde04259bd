#include "cipher/jobs.h"

#include <string_view>

#include "app/services.h"
#include "app/text_to_int.h"
#include "cipher/file_turn.h"
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

constexpr JobKind kEncrypt{ShiftDirection::Add, "加密成功，请牢记密码!(PS:加密后建议不要再次加密了。)",
                           "加密失败，请查看文件是否被打开了", encryptButton};
constexpr JobKind kDecrypt{ShiftDirection::Subtract, "解密成功!", "解密失败!", decryptButton};

bool TransformChosenFile(ShiftDirection direction) {
  const int32_t key = TextToInt(GetControlText(kMainWindow, keyEdit));
  const int32_t repeat = TextToInt(GetControlText(kMainWindow, repeatEdit));
  const std::string path = GetControlText(kMainWindow, pathEdit);
  const FileTurn turn(path);
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
