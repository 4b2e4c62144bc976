#pragma once

#include <string>
#include <string_view>

namespace dictionary {

enum class Encoding {
    Windows1251,
    Utf8,
};

// Decodes dictionary bytes to UTF-8; a byte the encoding does not define becomes U+FFFD. Only
// the first `maxBytes` are decoded, never cutting a character.
std::string toUtf8(std::string_view bytes, Encoding encoding,
                   std::size_t maxBytes = std::string_view::npos);

// Tells, chunk by chunk, whether a byte stream is valid UTF-8 that holds non-ASCII text.
class Utf8Detector {
public:
    Utf8Detector();
    Utf8Detector(const Utf8Detector&) = delete;
    Utf8Detector& operator=(const Utf8Detector&) = delete;
    ~Utf8Detector();

    void feed(std::string_view chunk);
    // True when every byte fed was valid UTF-8 and some were not ASCII.
    bool finish();

private:
    void* converter_;
    bool valid_;
    std::string carry_;  // an incomplete sequence at the end of the last chunk
    bool nonAscii_ = false;
};

}  // namespace dictionary
