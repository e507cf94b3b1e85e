#pragma once

#define IDD_AFX_TEST       200
#define IDD_AFX_MISSING    299
#define IDC_TEST_FIRST     1100
#define IDC_TEST_SECOND    1101
#define IDC_TEST_LABEL     1102
#define IDC_TEST_OTHER     1103
