#include "HandleMaps.h"

#include <memory>
#include <unordered_map>

#include "afxwnd.h"

namespace
{
// A wrapper that never owns its window.
class CTempWnd : public CWnd
{
public:
    explicit CTempWnd(HWND hWnd) { m_hWnd = hWnd; }
    ~CTempWnd() override { m_hWnd = nullptr; }
};

// Temporary wrappers are kept until their handle has gone; dead ones are dropped
// when the table has grown, so it stays as small as the set of live handles.
constexpr size_t kSweepThreshold = 64;

std::unordered_map<HWND, CWnd*>& PermanentWindows()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

std::unordered_map<HWND, std::unique_ptr<CTempWnd>>& TemporaryWindows()
{
    static std::unordered_map<HWND, std::unique_ptr<CTempWnd>> map;
    return map;
}

std::unordered_map<HMENU, std::unique_ptr<CMenu>>& TemporaryMenus()
{
    static std::unordered_map<HMENU, std::unique_ptr<CMenu>> map;
    return map;
}

template <typename Map, typename IsAlive>
void SweepDead(Map& map, IsAlive isAlive)
{
    if (map.size() < kSweepThreshold)
        return;
    for (auto it = map.begin(); it != map.end();)
        it = isAlive(it->first) ? std::next(it) : map.erase(it);
}
}  // namespace

void AfxMapPermanent(HWND hWnd, CWnd* pWnd)
{
    PermanentWindows()[hWnd] = pWnd;
}

void AfxUnmapPermanent(HWND hWnd)
{
    PermanentWindows().erase(hWnd);
}

CWnd* AfxLookupPermanent(HWND hWnd)
{
    auto& map = PermanentWindows();
    auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

CWnd* AfxTemporaryWnd(HWND hWnd)
{
    auto& map = TemporaryWindows();
    auto it = map.find(hWnd);
    if (it != map.end())
        return it->second.get();
    SweepDead(map, [](HWND h) { return ::IsWindow(h) != FALSE; });
    auto wrapper = std::make_unique<CTempWnd>(hWnd);
    CWnd* result = wrapper.get();
    map.emplace(hWnd, std::move(wrapper));
    return result;
}

CMenu* AfxTemporaryMenu(HMENU hMenu)
{
    auto& map = TemporaryMenus();
    auto it = map.find(hMenu);
    if (it != map.end())
        return it->second.get();
    SweepDead(map, [](HMENU h) { return ::IsMenu(h) != FALSE; });
    auto wrapper = std::make_unique<CMenu>();
    wrapper->m_hMenu = hMenu;
    CMenu* result = wrapper.get();
    map.emplace(hMenu, std::move(wrapper));
    return result;
}
