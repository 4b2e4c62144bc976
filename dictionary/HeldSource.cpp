#include <algorithm>
#include <cstring>

#include "SourceOpener.h"

namespace dictionary {
namespace {

class HeldSource final : public ByteSource {
public:
    explicit HeldSource(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}
    Read read(std::span<char> buffer) override {
        const std::size_t count = std::min(buffer.size(), bytes_->size() - position_);
        std::memcpy(buffer.data(), bytes_->data() + position_, count);
        position_ += count;
        return {count};
    }
    std::uint64_t sizeHint() const override { return bytes_->size(); }

private:
    std::shared_ptr<const std::string> bytes_;
    std::size_t position_ = 0;
};

}  // namespace

SourceOpener heldOpener(std::shared_ptr<const std::string> bytes) {
    return [bytes] {
        return OpenedSource{OpenStatus::Ok, std::make_unique<HeldSource>(bytes), {}};
    };
}

}  // namespace dictionary
