// CAboutDlg: the About box, opened from the system menu.
#pragma once

#include <afxwin.h>

#include "ui/resource.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();
    ~CAboutDlg() override;

    enum
    {
        IDD = IDD_ABOUTBOX
    };

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
