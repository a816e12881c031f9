#pragma once
// The error kinds that travel through the program. Every error that escapes an event
// handler is shown by the application's error box; the silent kind is not.
#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
public:
    explicit Exception(std::string message, std::string className = "Exception")
        : Message(std::move(message)), ClassName(std::move(className)) {}
    const char* what() const noexcept override { return Message.c_str(); }

    std::string Message;
    std::string ClassName;
};

// Ends the handler it is raised in without any message to the user.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted", "EAbort") {}
};
