#pragma once
#include <string_view>

namespace tessafold {

// What the jobs tell the user, shown exactly as written.
inline constexpr std::string_view kEncryptSuccessText = "加密成功，请牢记密码!(PS:加密后建议不要再次加密了。)";
inline constexpr std::string_view kEncryptFailureText = "加密失败，请查看文件是否被打开了";
inline constexpr std::string_view kDecryptSuccessText = "解密成功!";
inline constexpr std::string_view kDecryptFailureText = "解密失败!";

// Worker bodies started by the encrypt and decrypt buttons: read key, repeat
// count and path from the main window, transform the file, report the outcome
// in a message box, then enable the job's button again.
void RunEncryptJob();
void RunDecryptJob();

}  // namespace tessafold
