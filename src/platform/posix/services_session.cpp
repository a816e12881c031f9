// Recorded shell executions, scripted message boxes, the settable locale, and COM.
#include <iostream>

#include "platform/posix/standin_state.h"

namespace platform {
namespace {

using standin::detail::Current;

bool IsButtonOf(MessageBoxKind kind, MessageBoxAnswer answer) {
    if (kind == MessageBoxKind::Error) return answer == MessageBoxAnswer::Ok;
    return answer == MessageBoxAnswer::Yes || answer == MessageBoxAnswer::No;
}

}  // namespace

void ExecuteShell(const ShellExecuteCall& call) { Current().Executions.push_back(call); }

MessageBoxAnswer ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxKind kind) {
    auto& state = Current();
    state.Boxes.push_back({text, caption, kind, std::nullopt});
    if (state.Answers.empty() || !IsButtonOf(kind, state.Answers.front())) {
        const std::string problem = (state.Answers.empty() ? "message box with no scripted answer: "
                                                           : "scripted answer is not a button of the message box: ") +
                                    caption + ": " + text;
        std::cerr << "stand-in: " << problem << '\n';
        throw standin::UnscriptedMessageBox(problem);
    }
    const MessageBoxAnswer answer = state.Answers.front();
    state.Answers.pop_front();
    state.Boxes.back().Answer = answer;
    return answer;
}

int PrimaryLanguage() { return Current().Language; }
char DecimalSeparator() { return Current().Decimal; }
std::string ModuleName() { return "C:\\quorvane-setup.exe"; }

ComScope::ComScope() : initialized_(!Current().Refused.ComInitialization) {
    if (initialized_) ++Current().ComUsers;
}

ComScope::~ComScope() {
    if (initialized_) --Current().ComUsers;
}

}  // namespace platform
