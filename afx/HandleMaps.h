// Which object stands for a window or menu handle. Permanent entries belong to objects
// that attached the handle; temporary wrappers stand in for handles nobody attached.
#pragma once

#include <windows.h>

class CWnd;
class CMenu;

void AfxMapPermanent(HWND hWnd, CWnd* pWnd);
void AfxUnmapPermanent(HWND hWnd);
CWnd* AfxLookupPermanent(HWND hWnd);
CWnd* AfxTemporaryWnd(HWND hWnd);
CMenu* AfxTemporaryMenu(HMENU hMenu);
