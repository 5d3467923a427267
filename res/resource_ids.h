#pragma once
// Resource identifiers shared by the .rc script and the code.
#define IDI_TARNWELL 1
#define IDR_BANNER 100
#define IDR_NOTICE 101
