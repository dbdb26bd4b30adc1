#include "numbers.h"
#include "fileio/errors.h"

std::optional<std::int32_t> parseInt32(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == n)
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t StrToInt(const QString &text, const QString &where)
{
    if (const auto v = parseInt32(text))
        return *v;
    throw TError::notAnInteger(text, where);
}

std::int32_t checkedAdd(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_add_overflow(a, b, &r))
        throw TError(Msg::IntegerOverflow);
    return r;
}

std::int32_t checkedSub(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_sub_overflow(a, b, &r))
        throw TError(Msg::IntegerOverflow);
    return r;
}

std::int32_t checkedMul(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_mul_overflow(a, b, &r))
        throw TError(Msg::IntegerOverflow);
    return r;
}
