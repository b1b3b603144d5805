// Resource types of the framework's own, readable by the resource compiler.
#pragma once

// Initial list entries stored beside a dialog layout under the layout's id:
// records of (control id WORD, message WORD, zero-terminated 8-bit text),
// closed by a zero WORD. The dialog sends each text to its control when it
// is created.
#define RT_DIALOG_ENTRIES 240

// Message of an entry that adds a text to a drop-down list (CB_ADDSTRING,
// which the resource compiler does not see).
#define DIALOG_ENTRY_ADDSTRING 0x0143
