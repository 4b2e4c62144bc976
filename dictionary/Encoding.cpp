#include "Encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace dictionary {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

iconv_t openConverter(const char* to, const char* from) {
    const iconv_t cd = ::iconv_open(to, from);
    if (cd == kNoConverter) {
        throw std::runtime_error(std::string("iconv cannot convert from ") + from);
    }
    return cd;
}

const char* iconvName(Encoding encoding) {
    return encoding == Encoding::Utf8 ? "UTF-8" : "CP1251";
}

bool hasNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

std::string toUtf8(std::string_view bytes, Encoding encoding) {
    if (!hasNonAscii(bytes)) {
        return std::string(bytes);
    }
    const iconv_t cd = openConverter("UTF-8", iconvName(encoding));
    std::string out;
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

Utf8Detector::Utf8Detector() : converter_(openConverter("WCHAR_T", "UTF-8")) {}

Utf8Detector::~Utf8Detector() {
    ::iconv_close(static_cast<iconv_t>(converter_));
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
        if (::iconv(static_cast<iconv_t>(converter_), &in, &inLeft, &out, &room) !=
                static_cast<std::size_t>(-1) ||
            errno == E2BIG) {
            continue;
        }
        if (errno != EINVAL) {
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
