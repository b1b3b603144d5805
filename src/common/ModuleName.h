#pragma once
#include "common/Text.h"

// The running executable's file name without directory and extension. It names
// the program's mutex, window property and settings file, and captions its
// message boxes, so a copy of the exe under another name is another program.
// Taken from the wide file name: the 8-bit one turns every character outside
// the system's code page into '?', and no file named "??.INI" can exist.
CText ApplicationName();

// The running executable's full path, however long.
CText ModulePath();
