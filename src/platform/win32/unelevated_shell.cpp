// The desktop's shell is reached through its folder view: ShellWindows finds the desktop's
// browser, whose active view's background object leads to the Shell.Application of the shell's
// own process; its ShellExecute runs there.
#include "platform/win32/unelevated_shell.h"

#include <windows.h>

#include <exdisp.h>
#include <oleauto.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlobj.h>

#include "platform/win32/ansi_text.h"

namespace vekhor::platform {
namespace {

// Owns one reference to a COM object.
template <class Interface>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (object_ != nullptr) object_->Release();
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  Interface** Out() { return &object_; }
  void** OutVoid() { return reinterpret_cast<void**>(&object_); }
  Interface* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  Interface* object_ = nullptr;
};

// A VARIANT holding a BSTR or a number, cleared when it goes.
class Variant {
 public:
  Variant() { ::VariantInit(&value_); }
  explicit Variant(const std::string& text) : Variant() {
    value_.vt = VT_BSTR;
    value_.bstrVal = ::SysAllocString(FromAnsi(text).c_str());
  }
  explicit Variant(int number) : Variant() {
    value_.vt = VT_I4;
    value_.lVal = number;
  }
  ~Variant() { ::VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT& Get() { return value_; }

 private:
  VARIANT value_;
};

class ComApartment {
 public:
  ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

bool DesktopShell(Com<IShellDispatch2>& shell) {
  Com<IShellWindows> windows;
  if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                windows.OutVoid()))) {
    return false;
  }
  Variant desktop(CSIDL_DESKTOP);
  Variant none;
  long window = 0;
  Com<IDispatch> found;
  if (windows->FindWindowSW(&desktop.Get(), &none.Get(), SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                            found.Out()) != S_OK ||
      !found) {
    return false;
  }
  Com<IServiceProvider> provider;
  Com<IShellBrowser> browser;
  Com<IShellView> view;
  Com<IDispatch> background;
  Com<IShellFolderViewDual> folderView;
  Com<IDispatch> application;
  return SUCCEEDED(found->QueryInterface(IID_IServiceProvider, provider.OutVoid())) &&
         SUCCEEDED(
             provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.OutVoid())) &&
         SUCCEEDED(browser->QueryActiveShellView(view.Out())) && view &&
         SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutVoid())) &&
         SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.OutVoid())) &&
         SUCCEEDED(folderView->get_Application(application.Out())) && application &&
         SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.OutVoid())) && shell;
}

}  // namespace

bool RunsElevated() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  const BOOL read =
      ::GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size);
  ::CloseHandle(token);
  return read && elevation.TokenIsElevated != 0;
}

bool ExecuteThroughDesktopShell(const std::string& verb, const std::string& file,
                                const std::string& parameters, const std::string& directory,
                                int show) {
  const ComApartment apartment;
  Com<IShellDispatch2> shell;
  if (!DesktopShell(shell)) return false;
  BSTR target = ::SysAllocString(FromAnsi(file).c_str());
  Variant arguments(parameters), folder(directory), operation(verb), how(show);
  const HRESULT result =
      shell->ShellExecute(target, arguments.Get(), folder.Get(), operation.Get(), how.Get());
  ::SysFreeString(target);
  return SUCCEEDED(result);
}

}  // namespace vekhor::platform
