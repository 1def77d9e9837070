#pragma once
// The start and pause pictures as push buttons for screen readers. A static
// icon control tells Microsoft Active Accessibility (and UI Automation, which
// reads it) nothing: no name, the role of a plain client area, no action.
// Asked through WM_GETOBJECT, each picture answers with the system's own
// accessible object for it, wrapped to say "push button", its name, its
// description, its key and "press", and to press when a reader does.

#include <windows.h>
// oleacc.h needs windows.h first.
#include <oleacc.h>

#include "window/sampling_commands.h"

namespace pinvale::window {

class PictureButton;

class AccessibleButtons {
 public:
  AccessibleButtons() noexcept = default;
  ~AccessibleButtons();
  AccessibleButtons(const AccessibleButtons&) = delete;
  AccessibleButtons& operator=(const AccessibleButtons&) = delete;

  // Makes a start or pause picture answer screen readers as its button, for
  // as long as it lives. The accessibility libraries are loaded at the first
  // question, so that a run no reader asks pays nothing for them.
  void Attach(HWND picture) noexcept;

  // The answer to WM_GETOBJECT for an attached picture, or 0 where there is
  // none (another object asked for, or any step failed): the control's own
  // answer then stands.
  [[nodiscard]] LRESULT Answer(HWND picture, WPARAM flags, LPARAM objectId) noexcept;
  // The picture is being destroyed: its object, which a reader may keep,
  // stops answering for it.
  void Forget(HWND picture) noexcept;

  using AllocText = BSTR(WINAPI*)(const OLECHAR*);

 private:
  bool Load() noexcept;

  using CreateStandard = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  using ResultFromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);

  using StopCom = void(WINAPI*)();
  using Disconnect = HRESULT(WINAPI*)(LPUNKNOWN, DWORD);

  enum class Loaded : unsigned char { NotYet, Yes, Failed };
  Loaded loaded_ = Loaded::NotYet;
  StopCom stopCom_ = nullptr;  // set once COM is started, to end it with the window
  CreateStandard createStandard_ = nullptr;
  ResultFromObject resultFromObject_ = nullptr;
  AllocText allocText_ = nullptr;
  Disconnect disconnect_ = nullptr;
  PictureButton* buttons_[2] = {};  // the start picture's and the pause picture's, once asked for
};

}  // namespace pinvale::window
