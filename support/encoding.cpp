#include "support/encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

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

// Opening a converter costs more than converting a caption or a history line, and the window
// converts one for every text it shows: each direction is opened once per thread and kept, and
// its state is reset before every use.
iconv_t shared_converter(const char* to, const char* from) {
  struct Entry {
    std::string to;
    std::string from;
    IconvHandle handle;
  };
  thread_local std::vector<Entry> converters;
  for (Entry& entry : converters) {
    if (entry.to == to && entry.from == from) {
      iconv(entry.handle.get(), nullptr, nullptr, nullptr, nullptr);
      return entry.handle.get();
    }
  }
  IconvHandle handle = open_converter(to, from);
  if (!handle) return nullptr;
  converters.push_back({to, from, std::move(handle)});
  return converters.back().handle.get();
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
  iconv_t converter = shared_converter(to, from);
  if (!converter) return std::nullopt;
  std::string output;
  output.reserve(expected_size);
  char chunk[64 * 1024];
  char* in = const_cast<char*>(input.data());
  std::size_t in_left = input.size();
  for (;;) {
    char* out = chunk;
    std::size_t out_left = sizeof chunk;
    std::size_t result = iconv(converter, &in, &in_left, &out, &out_left);
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

// A UTF-8 character of n bytes becomes at most 2n bytes of GB18030, so this reserve is never
// outgrown. Only the pages the output fills are ever touched.
std::size_t gb18030_size_bound(std::size_t utf8_size) { return 2 * utf8_size; }

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

struct Utf8ToGb18030Stream::Converter {
  IconvHandle handle;
};

Utf8ToGb18030Stream::Utf8ToGb18030Stream(std::size_t expected_input_size)
    : converter_(new Converter{open_converter("GB18030", "UTF-8")}) {
  if (!converter_->handle) failed_ = true;
  output_.reserve(gb18030_size_bound(expected_input_size));
}

Utf8ToGb18030Stream::~Utf8ToGb18030Stream() = default;

bool Utf8ToGb18030Stream::fail() {
  failed_ = true;
  output_ = Bytes{};
  return false;
}

// Converts as much of the input as forms whole characters, through a small buffer that stays in
// the cache, as utf8_to_gb18030 always did in one piece. On `incomplete`, `in` points at the
// first byte of the cut-off character.
Utf8ToGb18030Stream::Outcome Utf8ToGb18030Stream::convert(const char*& in, std::size_t& in_left) {
  char chunk[64 * 1024];
  for (;;) {
    char* out = chunk;
    std::size_t out_left = sizeof chunk;
    char* input = const_cast<char*>(in);
    std::size_t result = iconv(converter_->handle.get(), &input, &in_left, &out, &out_left);
    int error = errno;
    in = input;
    output_.append(chunk, sizeof chunk - out_left);
    if (result != static_cast<std::size_t>(-1)) return Outcome::converted;
    if (error == E2BIG) continue;
    if (error == EINVAL) return Outcome::incomplete;
    // A character that the converter has no code for, though GB18030-2005 has one.
    std::optional<Substitute> substitute = private_use_code({in, in_left});
    if (!substitute) return Outcome::invalid;
    output_.append(substitute->output);
    in += substitute->input_length;
    in_left -= substitute->input_length;
  }
}

bool Utf8ToGb18030Stream::add(std::string_view piece) {
  if (failed_) return false;
  if (pending_size_ > 0) {
    // Finish the character that the previous piece cut off with the first bytes of this one.
    // Its bytes and those that follow are converted together; whatever of this piece they did
    // not use is converted with the rest of the piece below.
    const std::size_t taken = std::min(piece.size(), sizeof pending_ - pending_size_);
    std::memcpy(pending_ + pending_size_, piece.data(), taken);
    const std::size_t joined = pending_size_ + taken;
    const char* in = pending_;
    std::size_t in_left = joined;
    const Outcome outcome = convert(in, in_left);
    if (outcome == Outcome::invalid) return fail();
    const std::size_t used = joined - in_left;
    if (used < pending_size_) {
      // Still cut off: the whole piece was too short to finish it. A UTF-8 character is never
      // longer than the pending buffer, so anything else is not UTF-8.
      if (taken < piece.size()) return fail();
      pending_size_ = joined;
      return true;
    }
    piece.remove_prefix(used - pending_size_);
    pending_size_ = 0;
  }
  const char* in = piece.data();
  std::size_t in_left = piece.size();
  const Outcome outcome = convert(in, in_left);
  if (outcome == Outcome::invalid) return fail();
  if (outcome == Outcome::incomplete) {
    if (in_left > sizeof pending_) return fail();
    std::memcpy(pending_, in, in_left);
    pending_size_ = in_left;
  }
  return true;
}

std::optional<Bytes> Utf8ToGb18030Stream::finish() {
  if (failed_ || pending_size_ > 0) return std::nullopt;
  return std::move(output_);
}

std::optional<Bytes> utf8_to_gb18030(std::string_view utf8) {
  Utf8ToGb18030Stream stream(utf8.size());
  stream.add(utf8);
  return stream.finish();
}

std::optional<std::string> gb18030_to_utf8(std::string_view gb18030) {
  return convert(gb18030, "UTF-8", "GB18030", gb18030.size() + gb18030.size() / 2 + 4, nothing);
}

Text utf8_to_gb18030_lossy(std::string_view utf8) {
  return convert(utf8, "GB18030", "UTF-8", gb18030_size_bound(utf8.size()),
                 private_use_code_or_question_mark)
      .value_or(Text{});
}

std::string gb18030_to_utf8_lossy(std::string_view gb18030) {
  return convert(gb18030, "UTF-8", "GB18030", gb18030.size() * 2, replacement_character)
      .value_or(std::string{});
}

}  // namespace quiz
