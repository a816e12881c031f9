#pragma once
// The boundary every dispatched message runs behind: nothing unwinds into the system's
// frames. The application frame installs the handler that shows what was caught.
#include <exception>
#include <functional>

namespace platform {

using ErrorHandler = std::function<void(std::exception_ptr)>;

inline ErrorHandler& CurrentErrorHandler() {
    static ErrorHandler handler;
    return handler;
}

template <class Work>
void Guarded(Work&& work) noexcept {
    try {
        work();
    } catch (...) {
        try {
            if (CurrentErrorHandler()) CurrentErrorHandler()(std::current_exception());
        } catch (...) {
            // The error box itself failed; there is nobody left to tell.
        }
    }
}

}  // namespace platform
