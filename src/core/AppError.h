#pragma once
// An error that ends the current user action and reaches the application's general error box.

#include <stdexcept>
#include <string>

namespace korvex {

class AppError : public std::runtime_error {
public:
    explicit AppError(std::wstring message) : std::runtime_error("Korvex error"), message_(std::move(message)) {}
    const std::wstring& Message() const noexcept { return message_; }

private:
    std::wstring message_;
};

}  // namespace korvex
