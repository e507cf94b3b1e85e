#include "capture/CameraSetup.h"

#include <olectl.h>
#include <wrl/client.h>

#include "comkit/TaskMemory.h"

using Microsoft::WRL::ComPtr;

void ShowCameraPages(IBaseFilter* camera, HWND owner)
{
    ComPtr<ISpecifyPropertyPages> specify;
    if (!camera || FAILED(camera->QueryInterface(IID_PPV_ARGS(&specify))))
        return;
    ComPtr<IUnknown> object;
    camera->QueryInterface(IID_PPV_ARGS(&object));
    CAUUID pages{};
    const HRESULT hr = specify->GetPages(&pages);
    const comkit::TaskMemory<GUID> pageIds(pages.pElems);
    specify.Reset();
    if (FAILED(hr) || pages.cElems == 0 || !pageIds)
        return;
    IUnknown* objects[] = {object.Get()};
    OleCreatePropertyFrame(owner, 30, 30, nullptr, 1, objects, pages.cElems, pageIds.get(), 0, 0, nullptr);
}
