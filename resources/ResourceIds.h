#pragma once
// Identifiers of the resources compiled into QLT.exe.
#define IDI_QLT 1
