// Message maps: a class's table of handlers, walked in order, derived class first.
// Each entry carries a small dispatcher made inside the class's own map function, so
// it calls the handler with MFC's signature and may reach protected handlers.
#pragma once

#include <windows.h>

#define afx_msg

class CCmdTarget;

// Calls one handler; the value is the message's result.
typedef LRESULT (*AFX_PMSGDISPATCH)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;  // window message; 0 ends the table
    UINT nCode;     // notification code, for WM_COMMAND
    UINT nID;       // first control or command id, for WM_COMMAND
    UINT nLastID;   // last id of the range
    AFX_PMSGDISPATCH pfn;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Finds the first entry, in this map and then its bases, that takes the message.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id);

// The macros keep their hand-made layout.
// clang-format off
#define DECLARE_MESSAGE_MAP()                                          \
protected:                                                             \
    static const AFX_MSGMAP* GetThisMessageMap();                      \
    const AFX_MSGMAP* GetMessageMap() const override;                  \
protected:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const                  \
    {                                                                  \
        return GetThisMessageMap();                                    \
    }                                                                  \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                    \
    {                                                                  \
        using ThisClass [[maybe_unused]] = theClass;                   \
        using TheBaseClass = baseClass;                                \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                              \
            { 0, 0, 0, 0, nullptr }                                    \
        };                                                             \
        static const AFX_MSGMAP messageMap = {                         \
            &TheBaseClass::GetThisMessageMap, &_messageEntries[0] };   \
        return &messageMap;                                            \
    }

// void OnPaint()
#define ON_WM_PAINT()                                                          \
    { WM_PAINT, 0, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {        \
        static_cast<ThisClass*>(t)->OnPaint(); return 0; } },

// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND()                                                     \
    { WM_SYSCOMMAND, 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM l) -> LRESULT { \
        static_cast<ThisClass*>(t)->OnSysCommand(static_cast<UINT>(w), l); return 0; } },

// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON()                                                  \
    { WM_QUERYDRAGICON, 0, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT { \
        return reinterpret_cast<LRESULT>(static_cast<ThisClass*>(t)->OnQueryDragIcon()); } },

// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER()                                                          \
    { WM_TIMER, 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM) -> LRESULT {      \
        static_cast<ThisClass*>(t)->OnTimer(static_cast<UINT_PTR>(w)); return 0; } },

// void OnClose()
#define ON_WM_CLOSE()                                                          \
    { WM_CLOSE, 0, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {        \
        static_cast<ThisClass*>(t)->OnClose(); return 0; } },

// void memberFxn()
#define ON_COMMAND(id, memberFxn)                                              \
    { WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id),             \
      [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {                           \
        (static_cast<ThisClass*>(t)->*(memberFxn))(); return 0; } },

// void memberFxn()
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                 \
    { WM_COMMAND, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id),       \
      static_cast<UINT>(id), [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {    \
        (static_cast<ThisClass*>(t)->*(memberFxn))(); return 0; } },

// void memberFxn()
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

// LRESULT memberFxn(WPARAM wParam, LPARAM lParam)
#define ON_MESSAGE(message, memberFxn)                                         \
    { static_cast<UINT>(message), 0, 0, 0,                                     \
      [](CCmdTarget* t, WPARAM w, LPARAM l) -> LRESULT {                       \
        return (static_cast<ThisClass*>(t)->*(memberFxn))(w, l); } },
// clang-format on
