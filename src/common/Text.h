#pragma once
#include "common/HeapArray.h"

// A UTF-16 text of the program's own making (names, labels), on the process
// heap. The program's own small string, for the reason CHeapArray gives.
// When memory runs out a text keeps what it had.
class CText {
public:
    CText() = default;
    CText(const wchar_t* text); // implicit, as a literal stands for its text
    CText(const wchar_t* text, size_t length);
    CText(const CText& other) : CText(other.GetString(), other.GetLength()) {}
    CText(CText&&) noexcept = default;
    CText& operator=(const CText& other);
    CText& operator=(CText&&) noexcept = default;

    const wchar_t* GetString() const { return m_buffer.Size() ? m_buffer.Data() : L""; }
    size_t GetLength() const { return m_buffer.Size() ? m_buffer.Size() - 1 : 0; }

    CText& Append(const wchar_t* text, size_t length);
    CText& operator+=(const CText& text) { return Append(text.GetString(), text.GetLength()); }
    friend CText operator+(CText left, const CText& right) { return left += right; }

    // A signed decimal number, as "%d" prints it.
    static CText Decimal(int value);
    static constexpr unsigned kDecimalBase = 10;

private:
    CHeapArray<wchar_t> m_buffer; // the characters and a terminating zero, or nothing
};
