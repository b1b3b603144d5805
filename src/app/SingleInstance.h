#pragma once
#include <windows.h>

#include "common/Text.h"

class IDesktop;

// One copy per desktop: the first creates a mutex named after the program
// and holds it for the life of its process. A copy that finds the name
// taken is a second copy, and so is one that Windows refuses the mutex: a
// copy run as administrator, or under another account, made it with its
// own token's security, which keeps this one out. Fills 'mutex' with the
// handle to hold, or null.
bool ClaimFirstInstance(IDesktop& desktop, const CText& appName, HANDLE& mutex);
