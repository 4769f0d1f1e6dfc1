#pragma once
// Every error the engine or the game raises is an exception that carries the
// class name of the error (for reports) and a player-readable message.

#include <stdexcept>
#include <string>

namespace bd {

class EError : public std::runtime_error {
 public:
  EError(std::string className, const std::string& message)
      : std::runtime_error(message), message_(message), className_(std::move(className)) {}
  const std::string& ClassName() const { return className_; }
  const char* what() const noexcept override { return message_.c_str(); }
  // Replaces the message, keeping the error's class, so that a caller who
  // knows more (the file being read, say) can add it before passing the
  // error on.
  void SetMessage(std::string message) { message_ = std::move(message); }

 private:
  std::string message_;
  std::string className_;
};

// Declares an error class whose ClassName() is its own name.
#define BD_DECLARE_ERROR(Name)                                                 \
  class Name : public ::bd::EError {                                           \
   public:                                                                     \
    explicit Name(const std::string& message) : ::bd::EError(#Name, message) {} \
  }

// The general error of an index outside a list.
BD_DECLARE_ERROR(EListError);

// A file that cannot be opened: "Cannot open file "%s". <reason>".
BD_DECLARE_ERROR(EFOpenError);

// printf-style formatting into a std::string, for messages with placeholders
// such as "Image '%s' not found".
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace bd
