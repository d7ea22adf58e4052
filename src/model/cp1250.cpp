#include "model/cp1250.h"

#include <array>
#include <cstdint>

namespace wolterix::model {
namespace {

constexpr char32_t kUndefined = 0;

// Unicode code points of the bytes 0x80..0xFF; the lower half is ASCII.
constexpr std::array<char32_t, 128> kUpperHalf{
    0x20AC,     kUndefined, 0x201A, kUndefined, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    kUndefined, 0x2030,     0x0160, 0x2039,     0x015A, 0x0164, 0x017D, 0x0179,  // 0x88
    kUndefined, 0x2018,     0x2019, 0x201C,     0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    kUndefined, 0x2122,     0x0161, 0x203A,     0x015B, 0x0165, 0x017E, 0x017A,  // 0x98
    0x00A0,     0x02C7,     0x02D8, 0x0141,     0x00A4, 0x0104, 0x00A6, 0x00A7,  // 0xA0
    0x00A8,     0x00A9,     0x015E, 0x00AB,     0x00AC, 0x00AD, 0x00AE, 0x017B,  // 0xA8
    0x00B0,     0x00B1,     0x02DB, 0x0142,     0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8,     0x0105,     0x015F, 0x00BB,     0x013D, 0x02DD, 0x013E, 0x017C,  // 0xB8
    0x0154,     0x00C1,     0x00C2, 0x0102,     0x00C4, 0x0139, 0x0106, 0x00C7,  // 0xC0
    0x010C,     0x00C9,     0x0118, 0x00CB,     0x011A, 0x00CD, 0x00CE, 0x010E,  // 0xC8
    0x0110,     0x0143,     0x0147, 0x00D3,     0x00D4, 0x0150, 0x00D6, 0x00D7,  // 0xD0
    0x0158,     0x016E,     0x00DA, 0x0170,     0x00DC, 0x00DD, 0x0162, 0x00DF,  // 0xD8
    0x0155,     0x00E1,     0x00E2, 0x0103,     0x00E4, 0x013A, 0x0107, 0x00E7,  // 0xE0
    0x010D,     0x00E9,     0x0119, 0x00EB,     0x011B, 0x00ED, 0x00EE, 0x010F,  // 0xE8
    0x0111,     0x0144,     0x0148, 0x00F3,     0x00F4, 0x0151, 0x00F6, 0x00F7,  // 0xF0
    0x0159,     0x016F,     0x00FA, 0x0171,     0x00FC, 0x00FD, 0x0163, 0x02D9,  // 0xF8
};

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; advances i. Returns nullopt for a malformed one.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t c = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    c = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    c = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    c = lead & 0x07;
  } else {
    return std::nullopt;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size()) return std::nullopt;
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (next & 0x3F);
    ++i;
  }
  return c;
}

// The byte of every code point the upper half holds (0 for none); the highest is U+2122.
constexpr std::size_t kHighestCodePoint = 0x2122;
constexpr auto kByteOf = [] {
  std::array<unsigned char, kHighestCodePoint + 1> bytes{};
  for (std::size_t k = 0; k < kUpperHalf.size(); ++k)
    if (kUpperHalf[k] != kUndefined) bytes[kUpperHalf[k]] = static_cast<unsigned char>(0x80 + k);
  return bytes;
}();

std::optional<char> encodeCodePoint(char32_t c) {
  if (c < 0x80) return static_cast<char>(c);
  if (c > kHighestCodePoint || kByteOf[c] == 0) return std::nullopt;
  return static_cast<char>(kByteOf[c]);
}

// Length of the well-formed UTF-8 sequence of a non-ASCII lead at text[i], 0 when malformed:
// overlong forms, surrogates and code points beyond U+10FFFF are malformed too.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) {
    return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0u;
  };
  const auto continuation = [](unsigned b, unsigned low = 0x80, unsigned high = 0xBF) {
    return b >= low && b <= high;
  };
  const unsigned lead = byte(0);
  if (lead >= 0xC2 && lead <= 0xDF) return continuation(byte(1)) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    const unsigned low = lead == 0xE0 ? 0xA0 : 0x80;
    const unsigned high = lead == 0xED ? 0x9F : 0xBF;
    return continuation(byte(1), low, high) && continuation(byte(2)) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    const unsigned low = lead == 0xF0 ? 0x90 : 0x80;
    const unsigned high = lead == 0xF4 ? 0x8F : 0xBF;
    return continuation(byte(1), low, high) && continuation(byte(2)) && continuation(byte(3)) ? 4
                                                                                              : 0;
  }
  return 0;
}

// Any byte the code page leaves undefined.
constexpr char kRefusedByte = '\x81';

}  // namespace

std::optional<std::string> decodeCp1250(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x20 || b == 0x7F) return std::nullopt;
    if (b < 0x80) {
      out += ch;
      continue;
    }
    const char32_t c = kUpperHalf[b - 0x80];
    if (c == kUndefined) return std::nullopt;
    appendUtf8(out, c);
  }
  return out;
}

bool isCp1250Text(std::string_view bytes) {
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x20 || b == 0x7F) return false;
    if (b >= 0x80 && kUpperHalf[b - 0x80] == kUndefined) return false;
  }
  return true;
}

std::string encodeCp1250(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto c = nextCodePoint(utf8, i);
    if (!c) {
      out += '?';
      continue;
    }
    if (*c < 0x80) {
      out += static_cast<char>(*c);
      continue;
    }
    out += encodeCodePoint(*c).value_or('?');
  }
  return out;
}

bool isUtf8Text(std::string_view bytes) {
  bool multiByte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = sequenceLength(bytes, i);
    if (length == 0) return false;
    multiByte = true;
    i += length;
  }
  return multiByte;
}

std::string fileUtf8ToCp1250(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      out += utf8[i++];
      continue;
    }
    const std::size_t length = sequenceLength(utf8, i);
    if (length == 0) {
      out += kRefusedByte;
      ++i;
      continue;
    }
    const auto c = nextCodePoint(utf8, i);  // well-formed: advances i by length
    out += c ? encodeCodePoint(*c).value_or(kRefusedByte) : kRefusedByte;
  }
  return out;
}

}  // namespace wolterix::model
