#pragma once
#include <windows.h>

#include <cstdint>
#include <type_traits>

// An array of plain values on the process heap, zero-filled. The program's
// own: the standard containers would bring the C++ library's exception
// machinery, several times the program's own size, into a program that
// throws nothing. When memory runs out the array is empty, which every user
// of one checks.
template <typename T>
class CHeapArray {
    static_assert(std::is_trivially_copyable<T>::value, "plain values only: nothing is constructed");

public:
    CHeapArray() = default;
    explicit CHeapArray(size_t count) { Reset(count); }
    ~CHeapArray() { Reset(0); }
    CHeapArray(CHeapArray&& other) noexcept : m_p(other.m_p), m_nSize(other.m_nSize)
    {
        other.m_p = nullptr;
        other.m_nSize = 0;
    }
    CHeapArray& operator=(CHeapArray&& other) noexcept
    {
        if (this != &other) {
            Reset(0);
            m_p = other.m_p;
            m_nSize = other.m_nSize;
            other.m_p = nullptr;
            other.m_nSize = 0;
        }
        return *this;
    }
    CHeapArray(const CHeapArray&) = delete;
    CHeapArray& operator=(const CHeapArray&) = delete;

    // Replaces the contents by 'count' zeros; false, and empty, when memory
    // ran out.
    bool Reset(size_t count)
    {
        if (m_p)
            ::HeapFree(::GetProcessHeap(), 0, m_p);
        m_p = nullptr;
        m_nSize = 0;
        if (count == 0)
            return true;
        if (count > SIZE_MAX / sizeof(T))
            return false;
        m_p = static_cast<T*>(::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, count * sizeof(T)));
        m_nSize = m_p ? count : 0;
        return m_p != nullptr;
    }

    size_t Size() const { return m_nSize; }
    T* Data() { return m_p; }
    const T* Data() const { return m_p; }
    // Every user indexes an array only after a Reset that succeeded with a
    // count above zero; the analyzer reaches a null one only by taking a
    // picture's size in bytes to wrap round to zero, which no size shown can.
    // NOLINTNEXTLINE(clang-analyzer-core.uninitialized.UndefReturn)
    T& operator[](size_t index) { return m_p[index]; }
    const T& operator[](size_t index) const { return m_p[index]; }

private:
    T* m_p = nullptr;
    size_t m_nSize = 0;
};
