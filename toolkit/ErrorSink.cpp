#include "toolkit/ErrorSink.h"

#include "toolkit/Exceptions.h"

#include <windows.h>

namespace {

TErrorSink* gSink = nullptr;

// The message of an error for the box: false for a quiet abort.
bool ErrorMessage(std::exception_ptr error, std::string& message)
{
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return false;
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "Unknown error";
    }
    return true;
}

} // namespace

void SetErrorSink(TErrorSink* sink)
{
    gSink = sink;
}

TErrorSink* CurrentErrorSink()
{
    return gSink;
}

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

void HandleCallbackException(std::exception_ptr error) noexcept
{
    if (!error)
        return;
    if (gSink) {
        gSink->ReportError(error);
        return;
    }
    try {
        std::string message;
        if (ErrorMessage(error, message))
            MessageBoxA(nullptr, ErrorBoxText(message).c_str(), "Error", MB_OK | MB_ICONERROR);
    } catch (...) {
        // Not even the text could be made; nothing sensible is left to do.
    }
}
