// Failures of the model kernel: what went wrong and how a caller should classify it. The COM
// shell turns each one into a failing HRESULT with error information carrying the message.
#pragma once

#include <stdexcept>
#include <string>

namespace zk {

enum class ErrorKind {
    InvalidArgument, // a bad name, position, handle or value given by the caller
    NotFound,        // a named object the operation needs does not exist
    Removed,         // the object was removed from its model (or the model was reloaded)
    BadFile,         // a structure file that cannot be read
    Failed,          // anything else (storage, state)
};

class KernelError : public std::runtime_error {
public:
    KernelError(ErrorKind kind, const std::string& message)
        : std::runtime_error(message), kind_(kind) {}
    ErrorKind kind() const noexcept { return kind_; }

private:
    ErrorKind kind_;
};

[[noreturn]] inline void Fail(ErrorKind kind, const std::string& message) {
    throw KernelError(kind, message);
}

} // namespace zk
