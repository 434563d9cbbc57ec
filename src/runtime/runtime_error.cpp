#include "runtime/runtime_error.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/gbk.hpp"
#include "runtime/message_box.hpp"
#include "runtime/runtime.hpp"

namespace tav {

Text ErrorBoxText(std::string_view message_gbk, std::int32_t code) {
    std::string text(Gbk("运行时出错!").view());
    text += "\r\n\r\n";
    if (code != 0) {
        text += Gbk("错误代码：").view();
        text += std::to_string(code);
        text += "\r\n\r\n";
    }
    if (!message_gbk.empty()) {
        text += Gbk("错误信息：").view();
        text += message_gbk;
        text += "\r\n";
    }
    return Text(text);
}

Text AllocationFailureMessage(std::size_t bytes) {
    std::string text(Gbk("分配 ").view());
    text += std::to_string(bytes);
    text += Gbk(" 字节内存失败!").view();
    return Text(text);
}

void Runtime::ReportRuntimeError(std::string_view message_gbk, std::int32_t code) {
    ++suppress_events_; // never lowered again: no handler runs once the box is up
    if (!reporting_) {
        reporting_ = true;
        const Text text = ErrorBoxText(message_gbk, code);
        RunMessageBox(text, Gbk(kErrorCaption), kErrorBoxStyle);
    }
    EndProgram();
    std::fflush(nullptr);
    std::exit(kFatalExitCode);
}

void Runtime::Fatal(std::string_view message_utf8) { ReportRuntimeError(Gbk(message_utf8).view()); }

void ReportRuntimeError(std::string_view message_gbk, std::int32_t code) {
    if (Runtime* rt = Runtime::Current()) rt->ReportRuntimeError(message_gbk, code);
    std::fflush(nullptr);
    std::exit(kFatalExitCode);
}

} // namespace tav
