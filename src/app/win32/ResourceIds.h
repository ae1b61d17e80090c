#pragma once

// Resource numbers shared by the resource script and the window.
#define IDI_MAINICON 1
#define IDB_BANNER 100
