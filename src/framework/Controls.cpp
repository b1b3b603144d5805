#include "framework/Controls.h"

#include <commctrl.h>

void CSpinButton::SetRange(int lower, int upper) const
{
    Send(UDM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
}
