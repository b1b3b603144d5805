#include "framework/Dialog.h"

#include "common/HeapArray.h"
#include "common/ModuleName.h"
#include "common/ResourceBytes.h"
#include "framework/DataExchange.h"
#include "framework/ResourceTypes.h"

#include <cstddef>
#include <cstring>
#include <cwchar>

static_assert(sizeof(wchar_t) == sizeof(WORD), "the system's UTF-16 units");

namespace {

// The start of an extended dialog layout (DLGTEMPLATEEX, which the headers
// do not declare); a plain layout (DLGTEMPLATE) starts with its style.
struct ExtendedLayoutHeader {
    WORD version;
    WORD signature;
    DWORD helpId;
    DWORD extendedStyle;
    DWORD style;
};
// NOLINTNEXTLINE(readability-magic-numbers): the size itself is what is checked
static_assert(sizeof(ExtendedLayoutHeader) == 16, "the extended layout's header as Windows lays it out");
constexpr WORD kExtendedLayoutSignature = 0xFFFF;

// EM_SETSEL from the start to this end selects the whole text.
constexpr LPARAM kSelectionToEnd = -1;

// Each initial list entry starts with its control id and message.
constexpr DWORD kEntryHeaderSize = 2 * sizeof(WORD);

HINSTANCE ResourceInstance()
{
    return ::GetModuleHandleW(nullptr);
}

// Messages whose result a dialog procedure returns directly instead of
// through DWLP_MSGRESULT; WM_INITDIALOG too, which Dispatch answers first.
bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

} // namespace

CDialog::CDialog(UINT templateId, HWND parent)
    : m_hWnd(nullptr)
    , m_nTemplateId(templateId)
    , m_hParent(parent)
    , m_bModeless(false)
    , m_bEnded(false)
    , m_nResult(kDialogFailed)
{
}

CDialog::~CDialog()
{
    // A modeless dialog must not outlive its object. The derived part is
    // gone already, so the window is cut loose from the object before it is
    // destroyed rather than handing its last messages to a half-destroyed one.
    if (m_bModeless && m_hWnd) {
        ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        ::DestroyWindow(m_hWnd);
    }
}

INT_PTR CDialog::DoModal()
{
    m_bModeless = false;
    m_bEnded = false;
    return ::DialogBoxParamW(ResourceInstance(), MAKEINTRESOURCEW(m_nTemplateId), m_hParent, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

HWND CDialog::CreateHidden(HWND parent)
{
    const ResourceBytes layout = FindResourceBytes(ResourceInstance(), MAKEINTRESOURCEW(m_nTemplateId), RT_DIALOG);
    if (layout.size < sizeof(ExtendedLayoutHeader))
        return nullptr;
    // Copy the layout to clear WS_VISIBLE, in the style of either form.
    CHeapArray<DWORD> copy(layout.size / sizeof(DWORD) + 1);
    if (copy.Size() == 0)
        return nullptr;
    std::memcpy(copy.Data(), layout.data, layout.size);
    BYTE* bytes = reinterpret_cast<BYTE*>(copy.Data());
    WORD signature = 0;
    std::memcpy(&signature, bytes + offsetof(ExtendedLayoutHeader, signature), sizeof signature);
    BYTE* styleAt = bytes + (signature == kExtendedLayoutSignature ? offsetof(ExtendedLayoutHeader, style)
                                                                   : offsetof(DLGTEMPLATE, style));
    DWORD style = 0;
    std::memcpy(&style, styleAt, sizeof style);
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    std::memcpy(styleAt, &style, sizeof style);

    m_bModeless = true;
    m_bEnded = false;
    m_hParent = parent;
    return ::CreateDialogIndirectParamW(ResourceInstance(), reinterpret_cast<LPCDLGTEMPLATEW>(bytes), parent,
                                        DialogProc, reinterpret_cast<LPARAM>(this));
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(m_hWnd, saveAndValidate);
    DoDataExchange(dx);
    if (dx.Failed())
        OnExchangeFailure(dx.FailedControl(), dx.FailureMessage().GetString());
    return !dx.Failed();
}

void CDialog::EndDialog(INT_PTR result)
{
    m_bEnded = true;
    m_nResult = result;
    if (m_bModeless)
        ::DestroyWindow(m_hWnd);
    else
        ::EndDialog(m_hWnd, result);
}

void CDialog::OnExchangeFailure(int controlId, const wchar_t* message)
{
    ::MessageBoxW(m_hWnd, message, ApplicationName().GetString(), MB_OK | MB_ICONEXCLAMATION);
    const HWND control = GetDlgItem(controlId);
    if (control) {
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        ::SendMessageW(control, EM_SETSEL, 0, kSelectionToEnd);
    }
}

BOOL CDialog::OnInitDialog()
{
    LoadInitialEntries();
    if (!UpdateData(false))
        EndDialog(kDialogFailed);
    return TRUE;
}

bool CDialog::OnButtonClicked(int id)
{
    if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
    else
        return false;
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::LoadInitialEntries()
{
    const ResourceBytes entries =
        FindResourceBytes(ResourceInstance(), MAKEINTRESOURCEW(m_nTemplateId), MAKEINTRESOURCEW(RT_DIALOG_ENTRIES));
    DWORD offset = 0;
    // Each record: control id, message, zero-terminated UTF-16 text. Stop at
    // the closing zero id or at anything that would run past the resource.
    while (offset + kEntryHeaderSize <= entries.size) {
        WORD controlId = 0;
        WORD message = 0;
        std::memcpy(&controlId, entries.data + offset, sizeof controlId);
        if (controlId == 0)
            break;
        std::memcpy(&message, entries.data + offset + sizeof(WORD), sizeof message);
        offset += kEntryHeaderSize;
        // Resource data is aligned and the records are made of words, so the
        // text is a proper UTF-16 string.
        const wchar_t* text = reinterpret_cast<const wchar_t*>(entries.data + offset);
        const wchar_t* end = std::wmemchr(text, L'\0', (entries.size - offset) / sizeof(wchar_t));
        if (!end)
            break;
        ::SendDlgItemMessageW(m_hWnd, controlId, message, 0, reinterpret_cast<LPARAM>(text));
        offset += static_cast<DWORD>((end - text + 1) * sizeof(wchar_t));
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        dialog->m_hWnd = hWnd;
    } else {
        dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    }
    if (!dialog)
        return FALSE;
    // Nothing may unwind through Windows' own frames: the program is built
    // without exceptions, and none of its code throws.
    return dialog->Dispatch(message, wParam, lParam);
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    bool handled = false;
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        handled = code == BN_CLICKED ? OnButtonClicked(id) : OnCommand(id, code, reinterpret_cast<HWND>(lParam));
        break;
    }
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        break;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        break;
    case WM_SYSCOMMAND:
        handled = OnSysCommand(static_cast<UINT>(wParam), lParam);
        break;
    case WM_PAINT:
        handled = OnPaint();
        break;
    case WM_QUERYDRAGICON: {
        const HICON icon = OnQueryDragIcon();
        result = reinterpret_cast<LRESULT>(icon);
        handled = icon != nullptr;
        break;
    }
    case WM_SHOWWINDOW:
        OnShowWindow(wParam != FALSE);
        break;
    case WM_ENDSESSION:
        handled = OnEndSession(wParam != FALSE);
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam)); // the vertical scale, the same as the horizontal one
        break;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        m_hWnd = nullptr;
        break;
    default:
        handled = OnMessage(message, wParam, lParam, result);
        break;
    }
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}
