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

// Converts all of `input`. The result reserves `expected_size` bytes up front and is filled
// through a small buffer, so a large conversion makes one allocation and touches only the pages
// it writes. Given a `replacement`, each undecodable byte is replaced by it and the conversion
// goes on; without one, such a byte ends the conversion with no result.
std::optional<std::string> convert(std::string_view input, const char* to, const char* from,
                                   std::size_t expected_size,
                                   std::optional<std::string_view> replacement = std::nullopt) {
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
    if (!replacement || in_left == 0) return std::nullopt;
    output.append(*replacement);
    ++in;
    --in_left;
  }
}

}  // namespace

std::optional<Bytes> utf8_to_gb18030(std::string_view utf8) {
  // A UTF-8 character of n bytes becomes at most 2n bytes of GB18030, so this never grows.
  return convert(utf8, "GB18030", "UTF-8", 2 * utf8.size());
}

std::optional<std::string> gb18030_to_utf8(std::string_view gb18030) {
  return convert(gb18030, "UTF-8", "GB18030", gb18030.size() + gb18030.size() / 2 + 4);
}

Text utf8_to_gb18030_lossy(std::string_view utf8) {
  return convert(utf8, "GB18030", "UTF-8", 2 * utf8.size(), "?").value_or(Text{});
}

std::string gb18030_to_utf8_lossy(std::string_view gb18030) {
  return convert(gb18030, "UTF-8", "GB18030", gb18030.size() * 2, "\xEF\xBF\xBD")
      .value_or(std::string{});
}

}  // namespace quiz
