#pragma once
// Every message number of the skinning layers, in one place, so that a
// skinned form (skinform/) and a skinned control (skinctrls/) agree on them
// without either including the other.

#include "WinMessages.h"
#include "WinTypes.h"

// Sent by a skin data component to every form when its skin or settings
// change. wParam is the sending component, lParam kSkinMessageLParam.
inline constexpr UINT SKINMSG_BEFORECHANGE = WM_USER + 201;
inline constexpr UINT SKINMSG_CHANGE = WM_USER + 202;
inline constexpr UINT SKINMSG_AFTERCHANGE = WM_USER + 203;
inline constexpr UINT SKINMSG_STRINGSCHANGE = WM_USER + 250;
inline constexpr UINT SKINMSG_SKINNABLECHANGE = WM_USER + 270;

// lParam of every message a skin data component sends.
inline constexpr LPARAM kSkinMessageLParam = 1000;

// Sent by the menu engine: to the control that opened a menu and to its form
// when the whole chain closed, and to the control that opened it after a
// command ran (a skinned edit frees its context menu then).
inline constexpr UINT SKINMSG_MENUCLOSED = WM_USER + 204;
inline constexpr UINT SKINMSG_MENUCOMMANDDONE = WM_USER + 205;

// Sent by a control to its children when the background under them changed
// (a stretched client picture was recomposed, a transparent panel moved), so
// that transparent children repaint. No parameters.
inline constexpr UINT SKINMSG_PARENTBGCHANGED = WM_USER + 260;

// Requests between skinned windows, answered by a skinned form.
inline constexpr UINT SKINMSG_QUERYSKINNED = 0xB1B2;
inline constexpr UINT SKINMSG_DRAWFRAME = 0xB1C9;
inline constexpr UINT SKINMSG_PRINTFRAME = 0xBC4B;

// Answers of a skinned form to the requests above.
inline constexpr LRESULT kQuerySkinnedYes = 0x3235;
inline constexpr LRESULT kQuerySkinnedNo = 0x3234;
inline constexpr LRESULT kDrawFrameDone = 0x3233;
// SKINMSG_PRINTFRAME is taken only with this lParam, which is also its answer.
inline constexpr LPARAM kPrintFrameTag = 0x41A2;
