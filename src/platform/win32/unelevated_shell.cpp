// The desktop's shell is reached through its folder view: ShellWindows finds the desktop's
// browser, whose active view's background object leads to the Shell.Application of the shell's
// own process; its ShellExecute runs there.
#include "platform/win32/unelevated_shell.h"

#include <windows.h>

#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlobj.h>

#include "platform/win32/ansi_text.h"
#include "platform/win32/system_library.h"

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

// COM from ole32 and oleaut32, loaded only when the program needs the desktop's shell: imported,
// they would add to every start.
struct ComRuntime {
  SystemLibrary ole32{L"ole32.dll"};
  SystemLibrary oleaut32{L"oleaut32.dll"};
  decltype(::CoInitializeEx)* initialize = ole32.Find<decltype(::CoInitializeEx)>("CoInitializeEx");
  decltype(::CoUninitialize)* uninitialize =
      ole32.Find<decltype(::CoUninitialize)>("CoUninitialize");
  decltype(::CoCreateInstance)* createInstance =
      ole32.Find<decltype(::CoCreateInstance)>("CoCreateInstance");
  decltype(::SysAllocString)* allocString =
      oleaut32.Find<decltype(::SysAllocString)>("SysAllocString");
  decltype(::SysFreeString)* freeString = oleaut32.Find<decltype(::SysFreeString)>("SysFreeString");

  bool Loaded() const {
    return initialize && uninitialize && createInstance && allocString && freeString;
  }
};

// A VARIANT holding a BSTR (from UTF-8) or a number, its string freed when it goes.
class Variant {
 public:
  explicit Variant(ComRuntime& com) : com_(com) { value_.vt = VT_EMPTY; }
  Variant(ComRuntime& com, const std::string& text) : com_(com) {
    value_.vt = VT_BSTR;
    value_.bstrVal = com.allocString(FromUtf8(text).c_str());
  }
  Variant(ComRuntime& com, int number) : com_(com) {
    value_.vt = VT_I4;
    value_.lVal = number;
  }
  ~Variant() {
    if (value_.vt == VT_BSTR) com_.freeString(value_.bstrVal);
  }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT& Get() { return value_; }

 private:
  ComRuntime& com_;
  VARIANT value_{};
};

class ComApartment {
 public:
  explicit ComApartment(ComRuntime& com)
      : com_(com), result_(com.initialize(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) com_.uninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  ComRuntime& com_;
  HRESULT result_;
};

bool DesktopShell(ComRuntime& com, Com<IShellDispatch2>& shell) {
  Com<IShellWindows> windows;
  if (FAILED(com.createInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                windows.OutVoid()))) {
    return false;
  }
  Variant desktop(com, CSIDL_DESKTOP);
  Variant none(com);
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
  ComRuntime com;
  if (!com.Loaded()) return false;
  const ComApartment apartment(com);
  Com<IShellDispatch2> shell;
  if (!DesktopShell(com, shell)) return false;
  BSTR target = com.allocString(FromUtf8(file).c_str());
  Variant arguments(com, parameters), folder(com, directory), operation(com, verb), how(com, show);
  const HRESULT result =
      shell->ShellExecute(target, arguments.Get(), folder.Get(), operation.Get(), how.Get());
  com.freeString(target);
  return SUCCEEDED(result);
}

}  // namespace vekhor::platform
