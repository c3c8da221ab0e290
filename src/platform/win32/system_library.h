// A DLL that is not one of Windows' KnownDLLs, loaded from the system folder alone. Imported the
// usual way, the loader would look for it first in the program's folder, so that a DLL of that
// name dropped beside a downloaded Vekhor.exe would run inside it, elevated when the program is.
// No windows.h here: it would turn names like CreateFile in the platform interfaces into macros.
#pragma once

namespace vekhor::platform {

// Loaded at its first use, so that a start pays only for what it uses.
class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name) : name_(name) {}
  ~SystemLibrary();
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  // The exported function `name` as a `Function*`, or null when the DLL or the export is missing.
  template <class Function>
  Function* Find(const char* name) {
    return reinterpret_cast<Function*>(Address(name));
  }

 private:
  void* Address(const char* name);

  const wchar_t* name_;
  bool tried_ = false;
  void* module_ = nullptr;
};

}  // namespace vekhor::platform
