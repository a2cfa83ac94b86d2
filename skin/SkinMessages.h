#pragma once
// The messages a skin data component sends to the application's forms when
// its skin or its settings change. Each carries the sending component as
// wParam and kSkinMessageLParam as lParam; the forms' window procedures
// (and through them the skinned frame components) handle them.

#include "WinMessages.h"
#include "WinTypes.h"

inline constexpr UINT SKINMSG_BEFORECHANGE = WM_USER + 201;
inline constexpr UINT SKINMSG_CHANGE = WM_USER + 202;
inline constexpr UINT SKINMSG_AFTERCHANGE = WM_USER + 203;
inline constexpr UINT SKINMSG_STRINGSCHANGE = WM_USER + 250;
inline constexpr UINT SKINMSG_SKINNABLECHANGE = WM_USER + 270;

// lParam of every message a skin data component sends.
inline constexpr LPARAM kSkinMessageLParam = 1000;
