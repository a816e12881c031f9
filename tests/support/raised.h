#pragma once
// What an operation raised: its message, or a test failure at the caller's line.
#include <gtest/gtest.h>

#include <optional>
#include <source_location>
#include <string>

#include "platform/exception.h"

// The message of the error an operation raised, or nothing.
template <class Operation>
std::optional<std::string> RaisedMessage(Operation&& operation) {
    try {
        operation();
    } catch (const Exception& error) {
        return error.Message;
    }
    return std::nullopt;
}

// Fails unless the operation raises an Error with this message (and this class name, when
// one is given).
template <class Error = Exception, class Operation>
void ExpectRaised(Operation&& operation, const std::string& message, const char* className = nullptr,
                  std::source_location where = std::source_location::current()) {
    try {
        operation();
    } catch (const Error& error) {
        if (error.Message != message)
            ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
                << "raised \"" << error.Message << "\", expected \"" << message << '"';
        if (className && error.ClassName != className)
            ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
                << "raised a " << error.ClassName << ", expected a " << className;
        return;
    }
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
        << "nothing raised, expected \"" << message << '"';
}
