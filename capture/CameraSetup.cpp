#include "capture/CameraSetup.h"

#include <olectl.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace
{
class TaskPageList
{
public:
    TaskPageList() : pages{} {}
    ~TaskPageList() { CoTaskMemFree(pages.pElems); }
    TaskPageList(const TaskPageList&) = delete;
    TaskPageList& operator=(const TaskPageList&) = delete;
    CAUUID pages;
};
}  // namespace

void ShowCameraPages(IBaseFilter* camera, HWND owner)
{
    ComPtr<ISpecifyPropertyPages> specify;
    if (!camera || FAILED(camera->QueryInterface(IID_PPV_ARGS(&specify))))
        return;
    ComPtr<IUnknown> object;
    camera->QueryInterface(IID_PPV_ARGS(&object));
    TaskPageList list;
    const HRESULT hr = specify->GetPages(&list.pages);
    specify.Reset();
    if (FAILED(hr) || list.pages.cElems == 0 || !list.pages.pElems)
        return;
    IUnknown* objects[] = {object.Get()};
    OleCreatePropertyFrame(owner, 30, 30, nullptr, 1, objects, list.pages.cElems, list.pages.pElems, 0, 0,
                           nullptr);
}
