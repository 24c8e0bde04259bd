#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tessafold {

// Messages of the fatal conditions; the box shows them exactly as written.
inline constexpr std::string_view kIndexAboveCountMessage = "数组成员引用下标超出定义范围";
inline constexpr std::string_view kIndexBelowOneMessage = "数组成员引用下标必须大于等于1";
inline constexpr std::string_view kLayoutUnreadableMessage = "载入窗口模板数据段出错!";
inline constexpr std::string_view kStartupWindowFailedMessage = "载入启动窗口失败";
inline constexpr std::string_view kWindowNotLoadedMessage = "未载入欲访问窗口组件所在的窗口";
inline constexpr std::string_view kControlWindowMissingMessage = "指定窗口尚未载入";
inline constexpr std::string_view kFatalErrorTitle = "错误";
inline constexpr uint32_t kFatalExitCode = 0xFFFFFFFFu;

// "分配 N 字节内存失败!" for a block of N bytes.
std::string AllocationFailedMessage(int32_t byteCount);

// The text of the fatal error box (UTF-8, CR LF line ends); code 0 means no code.
std::string FatalErrorText(int32_t code, std::string_view message);

// Shows the fatal error box on the calling thread, then ends the process with
// kFatalExitCode. Any thread may call it.
[[noreturn]] void FatalRuntimeError(int32_t code, std::string_view message);

}  // namespace tessafold
