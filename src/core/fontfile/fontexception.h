#pragma once
// Error types of the font model.
#include <stdexcept>
#include <string>

namespace tsy {

// A font-format failure; the message is shown to the user as it stands.
class FontException : public std::runtime_error {
public:
  explicit FontException(const std::string& message) : std::runtime_error(message) {}
};

// A value that does not fit the field it is written to. Nothing is clamped.
class ERangeError : public std::range_error {
public:
  explicit ERangeError(const std::string& message) : std::range_error(message) {}
};

// A stream that could not deliver or take the bytes asked for.
class EStreamError : public std::runtime_error {
public:
  explicit EStreamError(const std::string& message) : std::runtime_error(message) {}
};

// printf-style formatting for the messages of the model ("Table %s already exists!").
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tsy
