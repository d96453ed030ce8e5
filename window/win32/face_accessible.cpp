#include "window/win32/face_accessible.h"

#include <oleacc.h>

#include <string>

#include "desktop/win32/platform_text.h"
#include "desktop/win32/window_dpi.h"
#include "window/face_scale.h"

namespace kelvo {
namespace {

// A face rectangle (in face units) on the screen, in pixels at the window's DPI.
RECT FaceRectToScreen(HWND hWnd, const Rect& face) {
  const Rect scaled = ScaleRect(face, WindowDpi(hWnd));
  POINT topLeft{scaled.Left, scaled.Top}, bottomRight{scaled.Right, scaled.Bottom};
  ClientToScreen(hWnd, &topLeft);
  ClientToScreen(hWnd, &bottomRight);
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

// The inverse, for the hit test: a screen point in face units.
POINT ScreenToFacePoint(HWND hWnd, POINT screen) {
  ScreenToClient(hWnd, &screen);
  const int dpi = WindowDpi(hWnd);
  return {FaceUnitAt(screen.x, dpi), FaceUnitAt(screen.y, dpi)};
}

LONG RoleOf(FaceRole role) {
  switch (role) {
    case FaceRole::DayCell:
      return ROLE_SYSTEM_CELL;
    case FaceRole::DropDownButton:
      return ROLE_SYSTEM_BUTTONDROPDOWN;
    case FaceRole::PushButton:
      return ROLE_SYSTEM_PUSHBUTTON;
    case FaceRole::Link:
      return ROLE_SYSTEM_LINK;
  }
  return ROLE_SYSTEM_CLIENT;
}

// The portable flags in the order of FaceState, beside their MSAA states.
constexpr std::pair<unsigned, LONG> StateMap[] = {
    {FaceSelected, STATE_SYSTEM_SELECTED},   {FaceFocused, STATE_SYSTEM_FOCUSED},
    {FaceFocusable, STATE_SYSTEM_FOCUSABLE}, {FaceSelectable, STATE_SYSTEM_SELECTABLE},
    {FaceLinked, STATE_SYSTEM_LINKED},       {FaceHasPopup, STATE_SYSTEM_HASPOPUP},
    {FaceExpanded, STATE_SYSTEM_EXPANDED},   {FaceOffscreen, STATE_SYSTEM_OFFSCREEN},
};

HRESULT Text(const std::string& utf8, BSTR* out) {
  if (!out) return E_POINTER;
  const std::wstring wide = ToWide(utf8);
  *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* out, LONG child) {
  out->vt = VT_I4;
  out->lVal = child;
}

}  // namespace

// One object for the whole face; its parts are simple children (VT_I4 ids),
// not objects of their own. Lives as long as a client holds it; after the
// window has gone, m_calendar is null and every call fails.
class FaceAccessible final : public IAccessible {
 public:
  FaceAccessible(HWND hWnd, CalendarWnd& calendar) : m_hWnd(hWnd), m_calendar(&calendar) {}
  void Disconnect() { m_calendar = nullptr, m_hWnd = nullptr; }

  // IUnknown. The interface ids come from __uuidof: mingw-w64's oleacc
  // import library binds IID_IAccessible to an import thunk, not the GUID.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
        riid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_references); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: clients of a native server call the vtable, not scripts.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
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

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!m_calendar) return RPC_E_DISCONNECTED;
    return AccessibleObjectFromWindow(m_hWnd, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                      reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    if (!m_calendar) return RPC_E_DISCONNECTED;
    *count = FaceChildCount(*m_calendar);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    LONG id = 0;
    if (const HRESULT bad = Child(child, &id, false)) return bad;
    return S_FALSE;  // a simple child: its parent answers for it
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (name) *name = nullptr;
    LONG id = 0;
    if (const HRESULT bad = Child(child, &id, true)) return bad;
    if (id == CHILDID_SELF) {
      wchar_t caption[64] = {};
      GetWindowTextW(m_hWnd, caption, 64);
      return Text(FromWide(caption), name);
    }
    return Text(FaceChildOf(*m_calendar, id)->Name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    VariantInit(role);
    LONG id = 0;
    if (const HRESULT bad = Child(child, &id, true)) return bad;
    role->vt = VT_I4;
    role->lVal =
        id == CHILDID_SELF ? ROLE_SYSTEM_CLIENT : RoleOf(FaceChildOf(*m_calendar, id)->Role);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    VariantInit(state);
    LONG id = 0;
    if (const HRESULT bad = Child(child, &id, true)) return bad;
    LONG flags = 0;
    if (id == CHILDID_SELF) {
      flags = STATE_SYSTEM_FOCUSABLE;
      if (GetFocus() == m_hWnd) flags |= STATE_SYSTEM_FOCUSED;
    } else {
      const unsigned face = FaceChildOf(*m_calendar, id)->States;
      for (const auto& [portable, msaa] : StateMap) {
        if (face & portable) flags |= msaa;
      }
    }
    if (!IsWindowVisible(m_hWnd)) flags |= STATE_SYSTEM_INVISIBLE;
    state->vt = VT_I4;
    state->lVal = flags;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (action) *action = nullptr;
    LONG id = 0;
    if (const HRESULT bad = Child(child, &id, true)) return bad;
    if (id == CHILDID_SELF) return DISP_E_MEMBERNOTFOUND;
    return Text(std::string(FaceChildOf(*m_calendar, id)->DefaultAction), action);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    LONG id = 0;
    if (const HRESULT bad = Child(child, &id, false)) return bad;
    DoFaceChildDefaultAction(*m_calendar, id);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    LONG id = 0;
    if (const HRESULT bad = Child(child, &id, false)) return bad;
    // Taking the selection or the focus is a click on the day.
    if (FaceChildOf(*m_calendar, id)->Role != FaceRole::DayCell) return DISP_E_MEMBERNOTFOUND;
    if (flags & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS))
      DoFaceChildDefaultAction(*m_calendar, id);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return Selected(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* child) override { return Selected(child); }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    LONG id = 0;
    if (const HRESULT bad = Child(child, &id, true)) return bad;
    RECT screen{};
    if (id == CHILDID_SELF) {
      RECT client{};
      GetClientRect(m_hWnd, &client);
      POINT origin{0, 0};
      ClientToScreen(m_hWnd, &origin);
      OffsetRect(&client, origin.x, origin.y);
      screen = client;
    } else {
      screen = FaceRectToScreen(m_hWnd, FaceChildOf(*m_calendar, id)->Location);
    }
    *left = screen.left;
    *top = screen.top;
    *width = screen.right - screen.left;
    *height = screen.bottom - screen.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    VariantInit(end);
    LONG id = 0;
    if (const HRESULT bad = Child(start, &id, true)) return bad;
    const LONG count = FaceChildCount(*m_calendar);
    LONG to = 0;
    switch (direction) {
      case NAVDIR_FIRSTCHILD:
        to = id == CHILDID_SELF ? 1 : 0;
        break;
      case NAVDIR_LASTCHILD:
        to = id == CHILDID_SELF ? count : 0;
        break;
      case NAVDIR_NEXT:
        to = id == CHILDID_SELF || id == count ? 0 : id + 1;
        break;
      case NAVDIR_PREVIOUS:
        to = id == CHILDID_SELF ? 0 : id - 1;
        break;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
    if (to < 1 || to > count) return S_FALSE;
    SetChild(end, to);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!m_calendar) return RPC_E_DISCONNECTED;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const POINT face = ScreenToFacePoint(m_hWnd, {x, y});
    if (!PtInRect(&client, face)) return S_FALSE;
    SetChild(child, FaceChildAt(*m_calendar, face.x, face.y));
    return S_OK;
  }

  // Texts the face does not have.
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* text) override {
    return Missing(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return Missing(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return Missing(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
    return Missing(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    if (topic) *topic = 0;
    return Missing(child, file);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

 private:
  ~FaceAccessible() = default;

  // 0 when `child` names a child (or the face itself, where allowed);
  // the error to return otherwise.
  HRESULT Child(const VARIANT& child, LONG* id, bool selfAllowed) const {
    if (!m_calendar) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    *id = child.lVal;
    if (*id == CHILDID_SELF) return selfAllowed ? S_OK : E_INVALIDARG;
    return FaceChildOf(*m_calendar, *id) ? S_OK : E_INVALIDARG;
  }
  HRESULT Missing(const VARIANT& child, BSTR* text) const {
    if (text) *text = nullptr;
    LONG id = 0;
    if (const HRESULT bad = Child(child, &id, true)) return bad;
    return DISP_E_MEMBERNOTFOUND;
  }
  // The selected day is both the focus and the selection.
  HRESULT Selected(VARIANT* child) const {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!m_calendar) return RPC_E_DISCONNECTED;
    const int selected = SelectedFaceChild(*m_calendar);
    if (selected == 0) return S_FALSE;
    SetChild(child, selected);
    return S_OK;
  }

  LONG m_references = 1;
  HWND m_hWnd;
  CalendarWnd* m_calendar;
};

FaceAccessibility::~FaceAccessibility() {
  Disconnect();
}

LRESULT FaceAccessibility::OnGetObject(HWND hWnd, CalendarWnd& calendar, WPARAM wParam,
                                       LPARAM lParam) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT || m_disconnected) return 0;
  if (!m_object) {
    // The object is marshalled into the client's process through COM.
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    m_comStarted = SUCCEEDED(started);
    m_object = new FaceAccessible(hWnd, calendar);
  }
  const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, m_object);
  return result > 0 ? result : 0;
}

void FaceAccessibility::OnSurfaceChanged(HWND hWnd, const CalendarWnd& calendar) {
  if (!hWnd || m_disconnected) return;
  if (const int child = m_announcement.Take(calendar)) {
    NotifyWinEvent(EVENT_OBJECT_FOCUS, hWnd, OBJID_CLIENT, child);
    NotifyWinEvent(EVENT_OBJECT_SELECTION, hWnd, OBJID_CLIENT, child);
  }
}

void FaceAccessibility::Disconnect() {
  m_disconnected = true;
  if (m_object) {
    m_object->Disconnect();
    // Clients in other processes hold proxies: cut them off from the object.
    CoDisconnectObject(m_object, 0);
    m_object->Release();
    m_object = nullptr;
  }
  if (m_comStarted) CoUninitialize();
  m_comStarted = false;
}

}  // namespace kelvo
