#include "app/process/fatal_error.h"

namespace tessafold {

std::string AllocationFailedMessage(int32_t byteCount) {
  return "分配 " + std::to_string(byteCount) + " 字节内存失败!";
}

std::string FatalErrorText(int32_t code, std::string_view message) {
  std::string text = "运行时出错!\r\n\r\n";
  if (code != 0) text += "错误代码：" + std::to_string(code) + "\r\n\r\n";
  if (!message.empty()) {
    text += "错误信息：";
    text += message;
    text += "\r\n";
  }
  return text;
}

}  // namespace tessafold
