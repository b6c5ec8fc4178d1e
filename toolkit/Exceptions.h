#pragma once
// Failures are exceptions carrying a message. The application's top-level
// handler shows the message in the error box; EAbort is the quiet kind that
// ends an action without telling the user anything.
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// Ends the current action silently: the error box ignores it.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// A file could not be opened, created, read or written.
class EFileError : public Exception {
public:
    using Exception::Exception;
};

// An operation was asked of an object in a state that does not allow it.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// A property was given a value its type cannot hold, or named wrongly.
class EPropertyError : public Exception {
public:
    using Exception::Exception;
};

// A list was asked for an index it does not have, or a duplicate it forbids.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// Replaces the first "%s" of a message pattern with an argument, the way
// the user-visible messages ("Cannot open file %s") are filled in.
std::string FormatMessage1(const std::string& pattern, const std::string& arg);

[[noreturn]] void Abort();
