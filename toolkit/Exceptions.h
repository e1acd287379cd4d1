#pragma once
// The program's failures. Every error a user can meet is one of these, carrying its exact
// message text; the application's loop catches them and shows the error box (ErrorBoxText).
//
// Messages with arguments are built with Format, which fills "%s" and "%d" in order and never
// reads past its arguments.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace toolkit {

using FormatArg = std::variant<std::string_view, std::int64_t>;

// Replaces each "%s" or "%d" in pattern by the next argument (strings as they are, numbers in
// decimal); "%%" gives "%". Placeholders without an argument stay as written.
std::string Format(std::string_view pattern, const std::vector<FormatArg>& args);

// The text of the error box for a message: the message, plus "." when its last byte sorts
// after "." (a letter or digit, for instance).
std::string ErrorBoxText(std::string_view message);

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Integer arithmetic.
class EIntError : public Exception {
    using Exception::Exception;
};
class EDivByZero : public EIntError {
public:
    EDivByZero() : EIntError("Division by zero") {}
};

class EConvertError : public Exception {
    using Exception::Exception;
};
// "'%s' is not a valid integer value"
EConvertError InvalidIntegerError(std::string_view text);
// "Cannot assign a %s to a %s"
EConvertError CannotAssignError(std::string_view sourceClass, std::string_view targetClass);

// Lists and grids.
class EListError : public Exception {
public:
    using Exception::Exception;
    // "List index out of bounds (%d)"
    static EListError IndexOutOfBounds(std::int64_t index);
};
class EInvalidGridOperation : public Exception {
public:
    using Exception::Exception;
    // "Grid too large for operation"
    static EInvalidGridOperation TooLarge();
};

// Streams and files.
class EStreamError : public Exception {
    using Exception::Exception;
};
class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("Stream read error") {}
};
class EWriteError : public EStreamError {
public:
    EWriteError() : EStreamError("Stream write error") {}
    // "Cannot write file "%s". %s": the system said why (a full disk, a size limit, ...).
    EWriteError(std::string_view fileName, std::string_view systemText);
};
class EFOpenError : public EStreamError {
public:
    // "Cannot open file "%s". %s"
    EFOpenError(std::string_view fileName, std::string_view systemText);
};
class EFCreateError : public EStreamError {
public:
    // "Cannot create file "%s". %s"
    EFCreateError(std::string_view fileName, std::string_view systemText);
};

// Objects used in a state that does not allow the operation.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
    // "Canvas does not allow drawing"
    static EInvalidOperation CanvasDoesNotAllowDrawing();
    // "Control '%s' has no parent window"
    static EInvalidOperation NoParentWindow(std::string_view controlName);
    // "Cannot make a visible window modal"
    static EInvalidOperation CannotMakeVisibleWindowModal();
    // "Cannot focus a disabled or invisible window"
    static EInvalidOperation CannotFocus();
};

// Pictures.
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};
class EInvalidGraphicOperation : public Exception {
    using Exception::Exception;
};

// Resources.
class EOutOfMemory : public Exception {
public:
    EOutOfMemory() : Exception("Out of memory") {}
};
class EOutOfResources : public Exception {
public:
    // "%s cannot be made"
    explicit EOutOfResources(std::string_view what);
};

// Components.
class EComponentError : public Exception {
public:
    using Exception::Exception;
    // "'%s' is not a valid component name"
    static EComponentError InvalidName(std::string_view name);
    // "A component named %s already exists"
    static EComponentError DuplicateName(std::string_view name);
};

} // namespace toolkit
