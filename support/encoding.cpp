#include "support/encoding.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <type_traits>

namespace quiz {
namespace {

struct IconvCloser {
  void operator()(iconv_t handle) const { iconv_close(handle); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

IconvHandle open_converter(const char* to, const char* from) {
  iconv_t handle = iconv_open(to, from);
  return IconvHandle(handle == reinterpret_cast<iconv_t>(-1) ? nullptr : handle);
}

// What to do with input that the converter cannot take at the given point: the bytes to write
// instead and how many input bytes they stand for, or nothing to fail the whole conversion.
struct Substitute {
  std::string_view output;
  std::size_t input_length{};
};
using Fallback = std::optional<Substitute> (*)(std::string_view rest);

// The 24 private-use characters that GB18030-2005 codes in two bytes. Later versions of the
// standard gave those codes to standard characters, and the system's converter may then have no
// code at all for the private-use character (glibc before 2.38 has none). They are written with
// their GB18030-2005 codes, as Windows code page 54936 writes them, so that valid UTF-8 always
// converts completely.
struct PrivateUseCode {
  std::string_view utf8;
  std::string_view gb18030;
};
constexpr PrivateUseCode kPrivateUseCodes[] = {
    {"\xEE\x9E\x8D", "\xA6\xD9"}, {"\xEE\x9E\x8E", "\xA6\xDA"}, {"\xEE\x9E\x8F", "\xA6\xDB"},
    {"\xEE\x9E\x90", "\xA6\xDC"}, {"\xEE\x9E\x91", "\xA6\xDD"}, {"\xEE\x9E\x92", "\xA6\xDE"},
    {"\xEE\x9E\x93", "\xA6\xDF"}, {"\xEE\x9E\x94", "\xA6\xEC"}, {"\xEE\x9E\x95", "\xA6\xED"},
    {"\xEE\x9E\x96", "\xA6\xF3"}, {"\xEE\xA0\x96", "\xFE\x51"}, {"\xEE\xA0\x97", "\xFE\x52"},
    {"\xEE\xA0\x98", "\xFE\x53"}, {"\xEE\xA0\x9E", "\xFE\x59"}, {"\xEE\xA0\xA6", "\xFE\x61"},
    {"\xEE\xA0\xAB", "\xFE\x66"}, {"\xEE\xA0\xAC", "\xFE\x67"}, {"\xEE\xA0\xB1", "\xFE\x6C"},
    {"\xEE\xA0\xB2", "\xFE\x6D"}, {"\xEE\xA0\xBB", "\xFE\x76"}, {"\xEE\xA1\x83", "\xFE\x7E"},
    {"\xEE\xA1\x94", "\xFE\x90"}, {"\xEE\xA1\x95", "\xFE\x91"}, {"\xEE\xA1\xA4", "\xFE\xA0"},
};

std::optional<Substitute> private_use_code(std::string_view rest) {
  for (const PrivateUseCode& code : kPrivateUseCodes) {
    if (rest.starts_with(code.utf8)) return Substitute{code.gb18030, code.utf8.size()};
  }
  return std::nullopt;
}

// Converts all of `input`. The result reserves `expected_size` bytes up front and is filled
// through a small buffer, so a large conversion makes one allocation and touches only the pages
// it writes. Input that the converter rejects is handed to `fallback`; without a substitute from
// it the conversion ends with no result.
std::optional<std::string> convert(std::string_view input, const char* to, const char* from,
                                   std::size_t expected_size, Fallback fallback) {
  IconvHandle converter = open_converter(to, from);
  if (!converter) return std::nullopt;
  std::string output;
  output.reserve(expected_size);
  char chunk[64 * 1024];
  char* in = const_cast<char*>(input.data());
  std::size_t in_left = input.size();
  for (;;) {
    char* out = chunk;
    std::size_t out_left = sizeof chunk;
    std::size_t result = iconv(converter.get(), &in, &in_left, &out, &out_left);
    int error = errno;
    output.append(chunk, sizeof chunk - out_left);
    if (result != static_cast<std::size_t>(-1)) return output;
    if (error == E2BIG) continue;
    std::optional<Substitute> substitute = fallback({in, in_left});
    if (!substitute) return std::nullopt;
    output.append(substitute->output);
    in += substitute->input_length;
    in_left -= substitute->input_length;
  }
}

std::optional<Substitute> nothing(std::string_view) { return std::nullopt; }

// Each byte that does not decode becomes one replacement character.
std::optional<Substitute> question_mark(std::string_view rest) {
  if (rest.empty()) return std::nullopt;
  return Substitute{"?", 1};
}
std::optional<Substitute> replacement_character(std::string_view rest) {
  if (rest.empty()) return std::nullopt;
  return Substitute{"\xEF\xBF\xBD", 1};
}
std::optional<Substitute> private_use_code_or_question_mark(std::string_view rest) {
  if (std::optional<Substitute> code = private_use_code(rest)) return code;
  return question_mark(rest);
}

}  // namespace

std::optional<Bytes> utf8_to_gb18030(std::string_view utf8) {
  // A UTF-8 character of n bytes becomes at most 2n bytes of GB18030, so this never grows.
  return convert(utf8, "GB18030", "UTF-8", 2 * utf8.size(), private_use_code);
}

std::optional<std::string> gb18030_to_utf8(std::string_view gb18030) {
  return convert(gb18030, "UTF-8", "GB18030", gb18030.size() + gb18030.size() / 2 + 4, nothing);
}

Text utf8_to_gb18030_lossy(std::string_view utf8) {
  return convert(utf8, "GB18030", "UTF-8", 2 * utf8.size(), private_use_code_or_question_mark)
      .value_or(Text{});
}

std::string gb18030_to_utf8_lossy(std::string_view gb18030) {
  return convert(gb18030, "UTF-8", "GB18030", gb18030.size() * 2, replacement_character)
      .value_or(std::string{});
}

}  // namespace quiz
