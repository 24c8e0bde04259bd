#include "app/window/win/screen_reader_names.h"

#include <commctrl.h>
// IID_IAccessible is defined here, so no import library's copy is needed.
#include <initguid.h>
#include <oleacc.h>

#include <string>

#include "app/text/win/wide_text.h"

namespace tessafold {

namespace {

struct SpokenTexts {
  std::wstring name;
  std::wstring description;
};

// The platform's object for a control with a name and a description of our
// own; everything else is the platform's.
class NamedAccessible final : public IAccessible {
 public:
  explicit NamedAccessible(const SpokenTexts& texts) : texts_(texts) {}
  // Where the platform's object is put.
  void** Platform() { return inner_.Put(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return inner_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return inner_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
    return inner_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
    return inner_->Invoke(id, iid, locale, flags, parameters, result, exception, argument);
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Spoken(child, texts_.name, name) ? S_OK : inner_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return Spoken(child, texts_.description, description) ? S_OK : inner_->get_accDescription(child, description);
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return inner_->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return inner_->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return inner_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override { return inner_->get_accValue(child, value); }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override { return inner_->get_accRole(child, role); }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return inner_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return inner_->get_accHelp(child, help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return inner_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return inner_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return inner_->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return inner_->get_accSelection(children); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return inner_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override { return inner_->accSelect(flags, child); }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    return inner_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return inner_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
    return inner_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return inner_->accDoDefaultAction(child); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return inner_->put_accName(child, name); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return inner_->put_accValue(child, value);
  }

 private:
  ~NamedAccessible() = default;

  static bool Spoken(const VARIANT& child, const std::wstring& text, BSTR* out) {
    if (text.empty() || child.vt != VT_I4 || child.lVal != CHILDID_SELF) return false;
    *out = SysAllocString(text.c_str());
    return *out != nullptr;
  }

  ComPtr<IAccessible> inner_;
  SpokenTexts texts_;
  LONG references_ = 1;
};

constexpr UINT_PTR kSubclassId = 0x5EAD;

LRESULT CALLBACK AnswerForScreenReaders(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
  const auto* texts = reinterpret_cast<const SpokenTexts*>(data);
  if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
    auto* named = new NamedAccessible(*texts);
    const LRESULT answer = SUCCEEDED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, IID_IAccessible, named->Platform()))
                               ? LresultFromObject(IID_IAccessible, wParam, named)
                               : 0;
    named->Release();  // the answer holds its own reference
    if (answer > 0) return answer;
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, AnswerForScreenReaders, kSubclassId);
    delete texts;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

void NameForScreenReaders(const LoadedWindow& window) {
  std::string_view label;
  for (const LoadedControl& control : window.controls) {
    const ControlRecord& record = *control.record;
    const bool labelled = record.kind == ControlKind::EditBox && record.accessibleName.empty();
    const std::string_view name = labelled ? label : record.accessibleName;
    label = record.kind == ControlKind::Label ? record.text : std::string_view{};
    if (!control.hwnd || (name.empty() && record.accessibleDescription.empty())) continue;
    auto* texts = new SpokenTexts{Widen(name), Widen(record.accessibleDescription)};
    if (!SetWindowSubclass(control.hwnd, AnswerForScreenReaders, kSubclassId, reinterpret_cast<DWORD_PTR>(texts))) {
      delete texts;
    }
  }
}

}  // namespace tessafold
