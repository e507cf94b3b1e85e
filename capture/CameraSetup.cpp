#include "ui/CaptureDlg.h"

#include <olectl.h>
#include <wrl/client.h>

#include "snapshot/GrabBuffer.h"

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

// Opens the camera driver's own pages, modally, on a filter of its own: the running
// graph is left alone.
void CCaptureDlg::OnSetupCamera()
{
    ComPtr<IBaseFilter> camera;
    FindCamera(camera.GetAddressOf());
    if (!camera)
        return;
    ComPtr<ISpecifyPropertyPages> specify;
    if (FAILED(camera.As(&specify)))
        return;
    ComPtr<IUnknown> object;
    camera.As(&object);
    TaskPageList list;
    const HRESULT hr = specify->GetPages(&list.pages);
    specify.Reset();
    if (FAILED(hr) || list.pages.cElems == 0 || !list.pages.pElems)
        return;
    IUnknown* objects[] = {object.Get()};
    OleCreatePropertyFrame(GrabBuffer.ownerWindow, 30, 30, nullptr, 1, objects, list.pages.cElems,
                           list.pages.pElems, 0, 0, nullptr);
}
