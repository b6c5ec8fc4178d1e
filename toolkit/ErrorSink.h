#pragma once
// The one place every part of the program hands an error to when it has
// nowhere else to go: an exception that reached a window procedure, a hook,
// a posted-message handler or another platform or library callback, which
// it must not leave. The application object is the sink while it lives and
// shows the error box; before it exists and after it is gone, a plain
// message box does. Controls, forms, menus, the settings store and the
// page bar all report here, so none of them depends on the application.
#include <exception>
#include <string>

class TErrorSink {
public:
    // Reports one error; never throws. A quiet abort shows nothing.
    virtual void ReportError(std::exception_ptr error) noexcept = 0;

protected:
    ~TErrorSink() = default;
};

// Makes `sink` the one that is told (nullptr: the plain message box).
void SetErrorSink(TErrorSink* sink);
TErrorSink* CurrentErrorSink();

// The boundary's report: `catch (...) { HandleCallbackException(std::current_exception()); }`.
// Never throws; a null error is ignored.
void HandleCallbackException(std::exception_ptr error) noexcept;
// The same from inside a catch block, for the exception being handled;
// outside one there is none, and nothing is reported.
inline void HandleCallbackException() noexcept
{
    HandleCallbackException(std::current_exception());
}

// The error box's text for a message: a full stop is appended when the
// message's last character sorts after ".".
std::string ErrorBoxText(const std::string& message);
