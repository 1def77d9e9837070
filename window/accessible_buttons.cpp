#include "window/accessible_buttons.h"

#include <commctrl.h>

#include <cstring>
#include <cwchar>
#include <new>
#include <utility>

namespace pinvale::window {
namespace {

bool IsSelf(const VARIANT& child) noexcept { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// A library from the system's own folder, never a copy beside the program.
HMODULE LoadSystemLibrary(const wchar_t* name) noexcept {
  wchar_t path[MAX_PATH];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  const std::size_t nameLength = wcslen(name) + 1;
  if (length == 0 || length + 1 + nameLength > MAX_PATH) return nullptr;
  path[length] = L'\\';
  std::memcpy(path + length + 1, name, nameLength * sizeof(wchar_t));
  return LoadLibraryW(path);
}

template <typename Function>
Function Find(HMODULE library, const char* name) noexcept {
  return library != nullptr
             ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)))
             : nullptr;
}

LRESULT CALLBACK PictureProc(HWND picture, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR buttons) {
  if (message == WM_GETOBJECT) {
    if (LRESULT answer = reinterpret_cast<AccessibleButtons*>(buttons)->Answer(picture, wParam, lParam)) {
      return answer;
    }
  }
  if (message == WM_NCDESTROY) {
    reinterpret_cast<AccessibleButtons*>(buttons)->Forget(picture);
    RemoveWindowSubclass(picture, PictureProc, 0);
  }
  return DefSubclassProc(picture, message, wParam, lParam);
}

}  // namespace

// COM interfaces have no virtual destructor: an object ends through Release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The system's accessible object for a picture, with what makes it a push
// button put over it; the rest of MSAA is the system's. The object is
// Pinvale's own, not oleacc's: UI Automation asks a wrapper that hands out
// the system object's IServiceProvider whether it is oleacc's proxy, gets
// yes, and then reads the plain static icon instead (Wine's UI Automation
// trusts such a wrapper; Windows' does not). A reader may keep the object
// after its picture is gone: COM then disconnects it from every reader, and
// its own answers say so to any caller in this process.
class PictureButton final : public IAccessible, public IOleWindow {
 public:
  static PictureButton* Create(IAccessible* standard, HWND picture, const SamplingCommand& command,
                               const wchar_t* description, AccessibleButtons::AllocText allocText) noexcept {
    void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(PictureButton));
    return memory != nullptr ? new (memory) PictureButton(standard, picture, command, description, allocText)
                             : nullptr;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
    } else if (id == __uuidof(IOleWindow)) {
      *object = static_cast<IOleWindow*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      this->~PictureButton();
      HeapFree(GetProcessHeap(), 0, this);
    }
    return left;
  }

  // Readers call IAccessible directly; through IDispatch the system's own
  // answers would bypass this object's.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // What a push button says of itself. It has no children to ask about.
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (!IsSelf(child)) return E_INVALIDARG;
    if (role == nullptr) return E_POINTER;
    role->vt = VT_I4;
    role->lVal = ROLE_SYSTEM_PUSHBUTTON;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Text(child, command_.name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return Text(child, description_, description);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return Text(child, command_.key, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Text(child, L"按下", action);
  }
  // Pressed as a click presses it: the same notification, to the window.
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (!IsSelf(child)) return E_INVALIDARG;
    return PostMessageW(GetParent(picture_), WM_COMMAND, MAKEWPARAM(command_.picture, STN_CLICKED),
                        reinterpret_cast<LPARAM>(picture_))
               ? S_OK
               : E_FAIL;
  }

  // The system's.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return standard_->get_accFocus(focus); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return standard_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
    return standard_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

  // The picture's window, for WindowFromAccessibleObject.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (window == nullptr) return E_POINTER;
    *window = picture_;
    return Connected() ? S_OK : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // The picture is gone: from now on the object answers nothing of it, nor
  // of a window that may get its handle.
  void Disconnect() noexcept { picture_ = nullptr; }
  [[nodiscard]] HWND Picture() const noexcept { return picture_; }

 private:
  PictureButton(IAccessible* standard, HWND picture, const SamplingCommand& command,
                const wchar_t* description, AccessibleButtons::AllocText allocText) noexcept
      : standard_(standard),
        picture_(picture),
        command_(command),
        description_(description),
        allocText_(allocText) {
    standard_->AddRef();
  }
  ~PictureButton() { standard_->Release(); }

  [[nodiscard]] bool Connected() const noexcept { return picture_ != nullptr; }

  HRESULT Text(const VARIANT& child, const wchar_t* text, BSTR* out) const noexcept {
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (!IsSelf(child)) return E_INVALIDARG;
    if (out == nullptr) return E_POINTER;
    *out = allocText_(text);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  IAccessible* standard_;
  HWND picture_;
  const SamplingCommand& command_;
  const wchar_t* description_;
  AccessibleButtons::AllocText allocText_;
  ULONG references_ = 1;
};

#pragma GCC diagnostic pop

// The pictures' objects went with the pictures (Forget), before the window
// that owns this; ending COM disconnects whatever a reader still holds.
AccessibleButtons::~AccessibleButtons() {
  if (stopCom_ != nullptr) stopCom_();
}

void AccessibleButtons::Forget(HWND picture) noexcept {
  for (PictureButton*& button : buttons_) {
    if (button == nullptr || button->Picture() != picture) continue;
    button->Disconnect();
    disconnect_(static_cast<IAccessible*>(button), 0);  // readers now get CO_E_OBJNOTCONNECTED
    std::exchange(button, nullptr)->Release();
  }
}

// The libraries and COM, once: a reader's calls come to this thread, an
// apartment of its own, through the message loop.
bool AccessibleButtons::Load() noexcept {
  if (loaded_ != Loaded::NotYet) return loaded_ == Loaded::Yes;
  loaded_ = Loaded::Failed;
  HMODULE accessibility = LoadSystemLibrary(L"oleacc.dll");
  createStandard_ = Find<CreateStandard>(accessibility, "CreateStdAccessibleObject");
  resultFromObject_ = Find<ResultFromObject>(accessibility, "LresultFromObject");
  allocText_ = Find<AllocText>(LoadSystemLibrary(L"oleaut32.dll"), "SysAllocString");
  HMODULE com = LoadSystemLibrary(L"ole32.dll");
  using StartCom = HRESULT(WINAPI*)(void*, DWORD);
  const auto startCom = Find<StartCom>(com, "CoInitializeEx");
  const auto stopCom = Find<StopCom>(com, "CoUninitialize");
  disconnect_ = Find<Disconnect>(com, "CoDisconnectObject");
  if (createStandard_ == nullptr || resultFromObject_ == nullptr || allocText_ == nullptr ||
      startCom == nullptr || stopCom == nullptr || disconnect_ == nullptr ||
      FAILED(startCom(nullptr, COINIT_APARTMENTTHREADED))) {
    return false;
  }
  stopCom_ = stopCom;
  loaded_ = Loaded::Yes;
  return true;
}

void AccessibleButtons::Attach(HWND picture) noexcept {
  SetWindowSubclass(picture, PictureProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT AccessibleButtons::Answer(HWND picture, WPARAM flags, LPARAM objectId) noexcept {
  // Compared as a DWORD: the id comes sign-extended on 64-bit Windows.
  if (static_cast<DWORD>(objectId) != static_cast<DWORD>(OBJID_CLIENT) || !Load()) return 0;
  const auto id = static_cast<ControlId>(GetWindowLongW(picture, GWL_ID));
  // One object a picture, for as long as it lives: the same one for every
  // question, and one that can be told when the picture is gone.
  PictureButton*& button = buttons_[id == kImage1 ? 0 : 1];
  if (button == nullptr) {
    IAccessible* standard = nullptr;
    if (FAILED(createStandard_(picture, OBJID_CLIENT, __uuidof(IAccessible),
                               reinterpret_cast<void**>(&standard))))
      return 0;
    button = PictureButton::Create(standard, picture, CommandOfPicture(id), kControls[IndexOf(id)].tooltip,
                                   allocText_);
    standard->Release();
    if (button == nullptr) return 0;
  }
  const LRESULT answer = resultFromObject_(__uuidof(IAccessible), flags, static_cast<IAccessible*>(button));
  return answer > 0 ? answer : 0;
}

}  // namespace pinvale::window
