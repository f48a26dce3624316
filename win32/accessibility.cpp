#include "win32/accessibility.h"

#include <oleacc.h>

#include "win32/wnd.h"

namespace tavo::win32 {
namespace {

// The elements of a window, looked up again at every question: the object
// may outlive the window it was made for.
AccessibleElements* ElementsOf(HWND window) {
  return dynamic_cast<AccessibleElements*>(Wnd::FromHandle(window));
}

// The number of child windows the standard object counts before the elements.
long StandardChildren(IAccessible* standard) {
  long n = 0;
  return SUCCEEDED(standard->get_accChildCount(&n)) ? n : 0;
}

// The standard object of a window with its own name and role for the object
// itself (CHILDID_SELF) and its elements after the standard children;
// everything else is the standard object's.
class NamedObject final : public IAccessible {
 public:
  NamedObject(IAccessible* standard, HWND window, const std::wstring& name, long role)
      : standard_(standard), window_(window), name_(name), role_(role) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = ::InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // Our own answers: the object's name and role, and the elements.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    AccessibleElement e;
    if (Element(child, &e)) return Answer(Utf16(e.name), name);
    if (!Self(child) || name_.empty()) return standard_->get_accName(child, name);
    return Answer(name_, name);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    AccessibleElement e;
    if (Element(child, &e)) return Answer(e.role, role);
    if (!Self(child) || role_ == 0) return standard_->get_accRole(child, role);
    return Answer(role_, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    AccessibleElement e;
    if (Element(child, &e)) return Answer(e.state, state);
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override {
    if (!n) return E_POINTER;
    AccessibleElements* elements = ElementsOf(window_);
    *n = StandardChildren(standard_) + (elements ? elements->ElementCount() : 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** d) override {
    if (!d) return E_POINTER;
    if (Element(child, nullptr)) {
      *d = nullptr;
      return S_FALSE;  // a simple element: asked through this object
    }
    return standard_->get_accChild(child, d);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override {
    AccessibleElement e;
    if (!Element(child, &e)) return standard_->accLocation(x, y, w, h, child);
    if (!x || !y || !w || !h) return E_POINTER;
    POINT origin{e.rect.left, e.rect.top};
    ::ClientToScreen(window_, &origin);
    *x = origin.x;
    *y = origin.y;
    *w = e.rect.right - e.rect.left;
    *h = e.rect.bottom - e.rect.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    if (!child) return E_POINTER;
    if (AccessibleElements* elements = ElementsOf(window_)) {
      POINT p{x, y};
      ::ScreenToClient(window_, &p);
      for (int i = 0; i < elements->ElementCount(); ++i) {
        const RECT rect = elements->Element(i).rect;
        if (::PtInRect(&rect, p)) {
          child->vt = VT_I4;
          child->lVal = StandardChildren(standard_) + 1 + i;
          return S_OK;
        }
      }
    }
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    if (!child) return E_POINTER;
    AccessibleElements* elements = ElementsOf(window_);
    const int focused = elements && ::GetFocus() == window_ ? elements->FocusedElement() : -1;
    if (focused < 0) return standard_->get_accFocus(child);
    child->vt = VT_I4;
    child->lVal = StandardChildren(standard_) + 1 + focused;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    if (Element(child, nullptr)) return Answer(L"Pressionar", action);
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    const int index = Index(child);
    if (index < 0) return standard_->accDoDefaultAction(child);
    // Run on the window's thread, as a click would.
    ::PostMessageW(window_, kPressElement, static_cast<WPARAM>(index), 0);
    return S_OK;
  }

  // The rest: the standard object's.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return standard_->GetTypeInfoCount(n); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override {
    return standard_->GetTypeInfo(i, l, t);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
    return standard_->GetIDsOfNames(r, n, c, l, d);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                   UINT* a) override {
    return standard_->Invoke(d, r, l, f, p, v, e, a);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return standard_->get_accParent(p); }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override { return standard_->get_accValue(c, v); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override {
    return standard_->get_accDescription(c, d);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override { return standard_->get_accHelp(c, h); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
    return standard_->get_accHelpTopic(f, c, t);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
    return standard_->get_accKeyboardShortcut(c, k);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* c) override { return standard_->get_accSelection(c); }
  HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override { return standard_->accSelect(f, c); }
  HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT s, VARIANT* e) override {
    return standard_->accNavigate(d, s, e);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override { return standard_->put_accName(c, n); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override { return standard_->put_accValue(c, v); }

 private:
  ~NamedObject() { standard_->Release(); }
  static bool Self(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
  static HRESULT Answer(const std::wstring& text, BSTR* out) {
    *out = ::SysAllocString(text.c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  static HRESULT Answer(long value, VARIANT* out) {
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
  }
  // The element a child id stands for: its index, or -1.
  int Index(const VARIANT& child) const {
    AccessibleElements* elements = ElementsOf(window_);
    if (!elements || child.vt != VT_I4) return -1;
    const long index = child.lVal - StandardChildren(standard_) - 1;
    return index >= 0 && index < elements->ElementCount() ? static_cast<int>(index) : -1;
  }
  bool Element(const VARIANT& child, AccessibleElement* element) const {
    const int index = Index(child);
    if (index < 0) return false;
    if (element) *element = ElementsOf(window_)->Element(index);
    return true;
  }

  LONG refs_ = 1;
  IAccessible* standard_;
  HWND window_;
  std::wstring name_;
  long role_;
};

}  // namespace

void NameLabel(HWND control, const std::string& text) {
  HWND label = ::CreateWindowExW(0, L"STATIC", Utf16(text).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0,
                                 0, 0, 0, ::GetParent(control), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  HWND before = ::GetWindow(control, GW_HWNDPREV);
  ::SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void AccessibleIdentity::Set(HWND window, const std::string& name, long role) {
  name_ = Utf16(name);
  role_ = role;
  if (window) ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

long ElementChildId(HWND window, int index) {
  IAccessible* standard = nullptr;
  long children = 0;
  if (SUCCEEDED(::CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&standard)))) {
    children = StandardChildren(standard);
    standard->Release();
  }
  return children + 1 + index;
}

bool PressElementMessage(HWND window, UINT msg, WPARAM wp) {
  if (msg != kPressElement) return false;
  if (AccessibleElements* elements = ElementsOf(window); elements && static_cast<int>(wp) < elements->ElementCount())
    elements->PressElement(static_cast<int>(wp));
  return true;
}

LRESULT AccessibleIdentity::Answer(HWND window, WPARAM wp, LPARAM lp) const {
  const auto object = static_cast<LONG>(lp);
  const bool elements = ElementsOf(window) != nullptr;
  if ((name_.empty() && !elements) || (object != OBJID_CLIENT && object != OBJID_WINDOW)) return 0;
  // The elements belong to the client object; the window object keeps its standard children.
  if (name_.empty() && object != OBJID_CLIENT) return 0;
  IAccessible* standard = nullptr;
  if (FAILED(::CreateStdAccessibleObject(window, object, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))))
    return 0;
  auto* named = new NamedObject(standard, object == OBJID_CLIENT ? window : nullptr, name_, role_);
  const LRESULT result = ::LresultFromObject(__uuidof(IAccessible), wp, named);
  named->Release();
  return result;
}

}  // namespace tavo::win32
