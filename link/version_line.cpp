#include "link/version_line.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace {

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Formatted input as far as the text matches the format (literal characters,
// blanks, %d and %*d). Each %d is handed to take, which may refuse it; the
// scan ends at the first mismatch or refusal.
class FormattedInput
{
public:
    explicit FormattedInput(std::string_view text) : rest_(text) {}

    void scan(std::string_view format, const std::function<bool(int64_t)> &take)
    {
        while (!format.empty()) {
            if (format.starts_with("%*d")) {
                if (!number())
                    return;
                format.remove_prefix(3);
            } else if (format.starts_with("%d")) {
                const std::optional<int64_t> value = number();
                if (!value || !take(*value))
                    return;
                format.remove_prefix(2);
            } else if (isWhiteSpace(format.front())) {
                skipWhiteSpace();
                format.remove_prefix(1);
            } else {
                if (rest_.empty() || rest_.front() != format.front())
                    return;
                rest_.remove_prefix(1);
                format.remove_prefix(1);
            }
        }
    }

private:
    void skipWhiteSpace()
    {
        while (!rest_.empty() && isWhiteSpace(rest_.front()))
            rest_.remove_prefix(1);
    }

    // A number too long for 32 bits comes back as one that no check passes.
    std::optional<int64_t> number()
    {
        skipWhiteSpace();
        bool negative = false;
        if (!rest_.empty() && (rest_.front() == '+' || rest_.front() == '-')) {
            negative = rest_.front() == '-';
            rest_.remove_prefix(1);
        }
        constexpr int64_t kBeyond32Bits = int64_t{1} << 40;
        int64_t value = 0;
        size_t digits = 0;
        for (; digits < rest_.size() && rest_[digits] >= '0' && rest_[digits] <= '9'; ++digits)
            value = std::min(value * 10 + (rest_[digits] - '0'), kBeyond32Bits);
        if (digits == 0)
            return std::nullopt;
        rest_.remove_prefix(digits);
        return negative ? -value : value;
    }

    std::string_view rest_;
};

bool within(int64_t value, int32_t lowest, int32_t highest)
{
    return value >= lowest && value <= highest;
}

} // namespace

int readVersionLine(std::string_view text, DeviceProfile &profile)
{
    int stored = 0;
    FormattedInput(text).scan(kVersionLineFormat, [&](int64_t value) {
        switch (stored) {
        case 0:
            if (!within(value, kSmallestPageCount, kLargestPageCount))
                return false;
            profile.pageCount = int32_t(value);
            break;
        case 1:
            if (!within(value, 1, kLargestPageSize))
                return false;
            profile.pageSize = int32_t(value);
            break;
        default:
            if (!within(value, 1, kLargestMaxRecords))
                return false;
            profile.maxRecords = int32_t(value);
            break;
        }
        ++stored;
        return true;
    });
    return stored;
}
