#include "common/Text.h"

#include <cstring>
#include <cwchar>
#include <utility>

CText::CText(const wchar_t* text)
    : CText(text, text ? std::wcslen(text) : 0)
{
}

CText::CText(const wchar_t* text, size_t length)
{
    if (length > 0 && m_buffer.Reset(length + 1))
        std::memcpy(m_buffer.Data(), text, length * sizeof(wchar_t));
}

CText& CText::operator=(const CText& other)
{
    if (this != &other)
        *this = CText(other);
    return *this;
}

CText& CText::Append(const wchar_t* text, size_t length)
{
    if (length == 0)
        return *this;
    CHeapArray<wchar_t> joined;
    if (!joined.Reset(GetLength() + length + 1))
        return *this;
    std::memcpy(joined.Data(), GetString(), GetLength() * sizeof(wchar_t));
    std::memcpy(joined.Data() + GetLength(), text, length * sizeof(wchar_t));
    m_buffer = std::move(joined);
    return *this;
}

CText CText::Decimal(int value)
{
    wchar_t digits[sizeof "-2147483648"]; // the longest, INT_MIN's
    size_t start = sizeof digits / sizeof digits[0];
    // Through unsigned, so that the most negative value has its digits too.
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[--start] = static_cast<wchar_t>(L'0' + magnitude % kDecimalBase);
        magnitude /= kDecimalBase;
    } while (magnitude != 0);
    if (value < 0)
        digits[--start] = L'-';
    return CText(digits + start, sizeof digits / sizeof digits[0] - start);
}
