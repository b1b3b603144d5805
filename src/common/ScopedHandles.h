#pragma once
#include <windows.h>

// Owners of the handles the program must give back: each releases its handle
// when it goes or takes another one, and none can be copied.
template <typename Handle, typename Release>
class CScopedHandle {
public:
    explicit CScopedHandle(Handle handle = nullptr) : m_handle(handle) {}
    ~CScopedHandle() { Reset(); }
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;

    void Reset(Handle handle = nullptr)
    {
        if (m_handle)
            Release()(m_handle);
        m_handle = handle;
    }
    Handle Get() const { return m_handle; }

private:
    Handle m_handle;
};

struct IconRelease {
    void operator()(HICON icon) const { ::DestroyIcon(icon); }
};
struct BitmapRelease {
    void operator()(HBITMAP bitmap) const { ::DeleteObject(bitmap); }
};
struct MenuRelease {
    void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};

// An icon loaded at a size of its own, not the system's shared copy.
using CIconHandle = CScopedHandle<HICON, IconRelease>;
// A bitmap handed to a control: STM_SETIMAGE does not pass ownership.
using CBitmapHandle = CScopedHandle<HBITMAP, BitmapRelease>;
// A menu loaded from the resources for one use.
using CMenuHandle = CScopedHandle<HMENU, MenuRelease>;

// A COM interface pointer released when it goes.
template <typename Interface>
class CComRef {
public:
    CComRef() = default;
    ~CComRef()
    {
        if (m_p)
            m_p->Release();
    }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;
    Interface** Out() { return &m_p; }
    Interface* operator->() const { return m_p; }
    Interface* Get() const { return m_p; }

private:
    Interface* m_p = nullptr;
};
