#pragma once
// Exceptions of the framework with their message texts, and the text/number conversions that raise
// them. Portable: no <windows.h>. Messages are UTF-16 (they end up in message boxes); what() gives
// the same text in UTF-8.
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

namespace qlt {

class Exception : public std::exception {
 public:
  explicit Exception(std::u16string message);
  const std::u16string& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::u16string message_;
  std::string utf8_;
};

// A text that is not the value it should be ("'abc' is not a valid integer value").
class EConvertError : public Exception {
  using Exception::Exception;
};
// A file that cannot be created or opened for writing.
class EFCreateError : public Exception {
  using Exception::Exception;
};
// Registry access refused or failed.
class ERegistryException : public Exception {
  using Exception::Exception;
};
// A form description that cannot be parsed or does not fit the classes it names.
class EReadError : public Exception {
  using Exception::Exception;
};
// A list index outside the list.
class EListError : public Exception {
  using Exception::Exception;
};
// A Win32 call that the framework cannot do without failed (window creation, class registration).
class EWin32Error : public Exception {
  using Exception::Exception;
};

// The framework's message texts; "%s" places are filled in order by Format.
namespace msg {
inline constexpr std::u16string_view kInvalidInteger = u"'%s' is not a valid integer value";
inline constexpr std::u16string_view kCannotCreateFile = u"Cannot create file \"%s\". %s";
inline constexpr std::u16string_view kCannotOpenFile = u"Cannot open file \"%s\". %s";
inline constexpr std::u16string_view kFailedToSetData = u"Failed to set data for '%s'";
inline constexpr std::u16string_view kFailedToCreateKey = u"Failed to create key %s";
inline constexpr std::u16string_view kListIndexError = u"List index out of bounds (%s)";
inline constexpr std::u16string_view kClassNotFound = u"Class %s not found";
inline constexpr std::u16string_view kPropertyNotFound = u"Property %s does not exist";
inline constexpr std::u16string_view kInvalidPropertyValue = u"Invalid property value";
inline constexpr std::u16string_view kErrorReading = u"Error reading %s: %s";
inline constexpr std::u16string_view kResourceNotFound = u"Resource %s not found";
inline constexpr std::u16string_view kDuplicateName = u"A component named %s already exists";
inline constexpr std::u16string_view kInvalidName = u"''%s'' is not a valid component name";
inline constexpr std::u16string_view kStreamRead = u"Stream read error";
inline constexpr std::u16string_view kWindowCreate = u"Error creating window: %s";
}  // namespace msg

// Replaces each "%s" of the pattern by the next argument; surplus places stay empty.
std::u16string Format(std::u16string_view pattern, std::initializer_list<std::u16string_view> args);

// Decimal with an optional sign, or hexadecimal after "$" or "0x"; blanks before the number are
// allowed, anything after it is not; the value must fit 32 bits.
bool TryStrToInt(std::u16string_view text, int32_t& value);
int32_t StrToInt(std::u16string_view text);  // EConvertError with kInvalidInteger
int32_t StrToIntDef(std::u16string_view text, int32_t fallback);
std::u16string IntToStr(int64_t value);

// Removes characters up to and including the blank (control characters too) at the ends.
std::u16string Trim(std::u16string_view text);
std::u16string TrimLeft(std::u16string_view text);
std::u16string TrimRight(std::u16string_view text);

// ASCII-only case mapping: identifiers and class names, never user text.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
std::u16string AsciiLower(std::u16string_view text);
bool SameText(std::string_view a, std::string_view b);
bool SameText(std::u16string_view a, std::u16string_view b);

// ASCII conversions for identifiers (names of components, classes and properties).
std::u16string Widen(std::string_view ascii);
std::string Narrow(std::u16string_view ascii);

}  // namespace qlt
