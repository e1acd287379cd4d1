#include "toolkit/Exceptions.h"

namespace toolkit {

std::string Format(std::string_view pattern, const std::vector<FormatArg>& args) {
    std::string out;
    out.reserve(pattern.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c != '%' || i + 1 == pattern.size()) {
            out += c;
            continue;
        }
        const char kind = pattern[i + 1];
        if (kind == '%') {
            out += '%';
            ++i;
        } else if ((kind == 's' || kind == 'd') && next < args.size()) {
            const FormatArg& arg = args[next++];
            if (const auto* text = std::get_if<std::string_view>(&arg))
                out += *text;
            else
                out += std::to_string(std::get<std::int64_t>(arg));
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

EConvertError InvalidIntegerError(std::string_view text) {
    return EConvertError(Format("'%s' is not a valid integer value", {text}));
}

EConvertError CannotAssignError(std::string_view sourceClass, std::string_view targetClass) {
    return EConvertError(Format("Cannot assign a %s to a %s", {sourceClass, targetClass}));
}

EListError EListError::IndexOutOfBounds(std::int64_t index) {
    return EListError(Format("List index out of bounds (%d)", {index}));
}

EInvalidGridOperation EInvalidGridOperation::TooLarge() {
    return EInvalidGridOperation("Grid too large for operation");
}

EFOpenError::EFOpenError(std::string_view fileName, std::string_view systemText)
    : EStreamError(Format("Cannot open file \"%s\". %s", {fileName, systemText})) {}

EFCreateError::EFCreateError(std::string_view fileName, std::string_view systemText)
    : EStreamError(Format("Cannot create file \"%s\". %s", {fileName, systemText})) {}

EWriteError::EWriteError(std::string_view fileName, std::string_view systemText)
    : EStreamError(Format("Cannot write file \"%s\". %s", {fileName, systemText})) {}

EInvalidOperation EInvalidOperation::CanvasDoesNotAllowDrawing() {
    return EInvalidOperation("Canvas does not allow drawing");
}

EInvalidOperation EInvalidOperation::NoParentWindow(std::string_view controlName) {
    return EInvalidOperation(Format("Control '%s' has no parent window", {controlName}));
}

EInvalidOperation EInvalidOperation::CannotMakeVisibleWindowModal() {
    return EInvalidOperation("Cannot make a visible window modal");
}

EInvalidOperation EInvalidOperation::CannotFocus() {
    return EInvalidOperation("Cannot focus a disabled or invisible window");
}

EOutOfResources::EOutOfResources(std::string_view what)
    : Exception(Format("%s cannot be made", {what})) {}

EComponentError EComponentError::InvalidName(std::string_view name) {
    return EComponentError(Format("'%s' is not a valid component name", {name}));
}

EComponentError EComponentError::DuplicateName(std::string_view name) {
    return EComponentError(Format("A component named %s already exists", {name}));
}

} // namespace toolkit
