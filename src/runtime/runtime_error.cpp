// The error box's text, and a fatal error shown once before the program ends with the fatal exit code.
#include "runtime/runtime_error.hpp"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "core/gbk.hpp"
#include "runtime/runtime.hpp"
#include "ui/message_box.hpp"

namespace tav {

Text error_box_text(std::string_view message_gbk, std::int32_t code) {
    std::string text(gbk("运行时出错!").view());
    text += "\r\n\r\n";
    if (code != 0) {
        text += gbk("错误代码：").view();
        text += std::to_string(code);
        text += "\r\n\r\n";
    }
    if (!message_gbk.empty()) {
        text += gbk("错误信息：").view();
        text += message_gbk;
        text += "\r\n";
    }
    return Text(text);
}

Text allocation_failure_message(std::size_t bytes) {
    std::string text(gbk("分配 ").view());
    text += std::to_string(bytes);
    text += gbk(" 字节内存失败!").view();
    return Text(text);
}

void Runtime::report_runtime_error(std::string_view message_gbk, std::int32_t code) {
    ++suppress_events_; // never lowered again: no handler runs once the box is up
    if (!reporting_) {
        reporting_ = true;
        // With memory short the box itself may fail to show; the program still ends with −1.
        try {
            const Text text = error_box_text(message_gbk, code);
            ui::run_message_box(*system_, services_, text, gbk(kErrorCaption), kErrorBoxStyle);
        } catch (const std::bad_alloc&) {
            std::fputs("fatal runtime error; out of memory for its box\n", stderr);
        }
    }
    end_program();
    std::fflush(nullptr);
    std::exit(kFatalExitCode);
}

void Runtime::fatal(std::string_view message_utf8) { report_runtime_error(gbk(message_utf8).view()); }

void Runtime::report_allocation_failure(std::size_t bytes) {
    report_runtime_error(allocation_failure_message(bytes).view());
}

void report_runtime_error(std::string_view message_gbk, std::int32_t code) {
    if (Runtime* rt = Runtime::current()) rt->report_runtime_error(message_gbk, code);
    std::fflush(nullptr);
    std::exit(kFatalExitCode);
}

} // namespace tav
