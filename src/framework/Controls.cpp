#include "framework/Controls.h"

#include <commctrl.h>

int CComboBox::AddString(const char* text) const
{
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

void CSpinButton::SetRange(int lower, int upper) const
{
    Send(UDM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
}

int CSpinButton::GetPos() const
{
    return static_cast<int>(Send(UDM_GETPOS32));
}
