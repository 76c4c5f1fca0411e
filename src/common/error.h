#pragma once
// The program's one error class: a message text, shown to the user as it stands.

#include <stdexcept>
#include <string>

class EError : public std::runtime_error {
public:
    explicit EError(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// printf-style formatting into a std::string, for the program's message formats.
std::string StrFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
