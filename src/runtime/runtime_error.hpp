#pragma once
// The fatal runtime errors: their fixed messages and the text of the error box.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/value.hpp"

namespace tav {

// The fixed messages (UTF-8 here; shown in GBK).
namespace fatal {
inline constexpr std::string_view kLayoutUnreadable = "载入窗口模板数据段出错!";
inline constexpr std::string_view kStartupWindowFailed = "载入启动窗口失败";
inline constexpr std::string_view kWindowNotLoaded = "未载入欲访问窗口组件所在的窗口";
inline constexpr std::string_view kControlWindowMissing = "指定窗口尚未载入";
inline constexpr std::string_view kControlNotFound = "指定窗口或窗口组件不存在或尚未载入";
inline constexpr std::string_view kEventWindowNotFound = "未找到引发事件的窗口";
inline constexpr std::string_view kEventControlNotFound = "未找到引发事件的窗口组件";
inline constexpr std::string_view kEventControlInvalid = "引发事件的窗口组件无效";
} // namespace fatal

// The exit code of a program ended by a fatal error (255 as a POSIX status).
inline constexpr int kFatalExitCode = -1;
// Caption (UTF-8) and style (error icon) of the fatal error box.
inline constexpr std::string_view kErrorCaption = "错误";
inline constexpr std::uint32_t kErrorBoxStyle = 0x10;

// The box text: "运行时出错!" CR LF CR LF, then "错误代码：" code CR LF CR LF when the code is
// not 0, then "错误信息：" message CR LF when the message is not empty (GBK).
Text error_box_text(std::string_view message_gbk, std::int32_t code);

// The message of a failed allocation of `bytes` bytes (GBK).
Text allocation_failure_message(std::size_t bytes);

} // namespace tav
