#include "Encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace dictionary {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
constexpr wchar_t kLastCodePoint = 0x10FFFF;

const char* iconvName(Encoding encoding) {
    return encoding == Encoding::Utf8 ? "UTF-8" : "CP1251";
}

bool hasNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The longest front of `bytes` within `maxBytes` that does not cut a UTF-8 character.
std::string_view front(std::string_view bytes, std::size_t maxBytes, Encoding encoding) {
    if (bytes.size() <= maxBytes) {
        return bytes;
    }
    std::size_t end = maxBytes;
    const auto continuation = [&](std::size_t i) {
        return (static_cast<unsigned char>(bytes[i]) & 0xC0) == 0x80;
    };
    for (int back = 0; encoding == Encoding::Utf8 && back < 3 && end > 0 && continuation(end);
         ++back) {
        --end;
    }
    return bytes.substr(0, end);
}

}  // namespace

std::string toUtf8(std::string_view bytes, Encoding encoding, std::size_t maxBytes) {
    bytes = front(bytes, maxBytes, encoding);
    if (!hasNonAscii(bytes)) {
        return std::string(bytes);
    }
    std::string out;
    const iconv_t cd = ::iconv_open("UTF-8", iconvName(encoding));
    if (cd == kNoConverter) {
        // Without a converter the ASCII letters still show; the rest cannot be read.
        for (const char c : bytes) {
            out += static_cast<unsigned char>(c) < 0x80 ? std::string_view(&c, 1) : kReplacement;
        }
        return out;
    }
    out.reserve(bytes.size() * 2);
    char buffer[4096];
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* next = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t done = ::iconv(cd, &in, &inLeft, &next, &room);
        const int error = errno;
        out.append(buffer, next);
        if (done != static_cast<std::size_t>(-1) || error == E2BIG) {
            continue;
        }
        // EILSEQ or EINVAL: one undefined or truncated byte.
        out += kReplacement;
        ++in;
        --inLeft;
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    ::iconv_close(cd);
    return out;
}

// Without a converter nothing can be shown to be UTF-8, and the file is read as Windows-1251.
Utf8Detector::Utf8Detector()
    : converter_(::iconv_open("WCHAR_T", "UTF-8")), valid_(converter_ != kNoConverter) {}

Utf8Detector::~Utf8Detector() {
    if (converter_ != kNoConverter) {
        ::iconv_close(static_cast<iconv_t>(converter_));
    }
}

void Utf8Detector::feed(std::string_view chunk) {
    if (!valid_) {
        return;
    }
    nonAscii_ = nonAscii_ || hasNonAscii(chunk);
    std::string joined;
    if (!carry_.empty()) {
        joined = carry_ + std::string(chunk);
        chunk = joined;
    }
    char* in = const_cast<char*>(chunk.data());
    std::size_t inLeft = chunk.size();
    wchar_t scratch[4096];
    while (inLeft > 0) {
        char* out = reinterpret_cast<char*>(scratch);
        std::size_t room = sizeof scratch;
        const std::size_t done =
            ::iconv(static_cast<iconv_t>(converter_), &in, &inLeft, &out, &room);
        const int error = errno;
        // glibc's decoder also takes the old 5- and 6-byte forms and values past U+10FFFF.
        const wchar_t* const decoded = reinterpret_cast<const wchar_t*>(out);
        const wchar_t* const first = scratch;
        if (std::any_of(first, decoded, [](wchar_t c) {
                return c > kLastCodePoint || (c >= 0xD800 && c <= 0xDFFF);
            })) {
            valid_ = false;
            return;
        }
        if (done != static_cast<std::size_t>(-1) || error == E2BIG) {
            continue;
        }
        if (error != EINVAL) {
            valid_ = false;
            return;
        }
        break;  // a sequence that the next chunk may complete
    }
    carry_.assign(in, inLeft);
}

bool Utf8Detector::finish() {
    return valid_ && carry_.empty() && nonAscii_;
}

}  // namespace dictionary
