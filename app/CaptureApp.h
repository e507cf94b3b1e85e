// CCaptureApp: Tarnview's application object. It runs the main dialog modally and
// ends the program when the dialog closes.
#pragma once

#include <afxwin.h>

class CCaptureApp : public CWinApp
{
public:
    CCaptureApp();

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CCaptureApp theApp;
