// Shell link files through the system's shell-link object.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/exception.h"
#include "platform/services.h"
#include "platform/win32/handle.h"
#include "platform/win32/system_text.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

template <class Interface>
win32::ComPtr<Interface> Query(IUnknown& object, REFIID id) {
    win32::ComPtr<Interface> result;
    if (FAILED(object.QueryInterface(id, result.PutVoid()))) throw Exception("Interface not supported");
    return result;
}

}  // namespace

bool CreateShellLink(const std::string& target, const std::string& arguments, const std::string& workingDirectory,
                     const std::string& linkPath) {
    win32::ComPtr<IUnknown> object;
    const HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                             IID_IUnknown, object.PutVoid());
    if (FAILED(created)) throw Exception(win32::OleErrorText(created));

    auto link = Query<IShellLinkW>(*object.Get(), IID_IShellLinkW);
    link->SetArguments(win32::Widen(arguments).c_str());
    link->SetPath(win32::Widen(target).c_str());
    link->SetWorkingDirectory(win32::Widen(workingDirectory).c_str());

    auto file = Query<IPersistFile>(*object.Get(), IID_IPersistFile);
    const HRESULT saved = file->Save(win32::Widen(linkPath).c_str(), FALSE);
    if (SUCCEEDED(saved)) return true;
    win32::RememberFailure(win32::OleErrorText(saved));
    return false;
}

}  // namespace platform
