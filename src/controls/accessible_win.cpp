// The interface's id comes from __uuidof: the import library's IID_IAccessible
// links to a code thunk, not to the id.
// One IAccessible per request, over the system's standard object for the
// window: the standard object serves the parent, navigation, hit testing and
// the IDispatch plumbing; what only our window knows comes from its source.
#include "controls/accessible_win.h"

#include "base/handles_win.h"

namespace qorvic {

namespace {

class AccessibleProxy final : public IAccessible {
public:
    AccessibleProxy(std::shared_ptr<AccessibleSource*> source, HWND window,
                    ComRef<IAccessible> standard)
        : source_(std::move(source)), window_(window), standard_(std::move(standard)) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: the standard object's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_ ? standard_->GetTypeInfoCount(count) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return standard_ ? standard_->GetTypeInfo(index, lcid, info) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override {
        return standard_ ? standard_->GetIDsOfNames(iid, names, count, lcid, ids) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override {
        return standard_
                   ? standard_->Invoke(id, iid, lcid, flags, params, result, exception, argError)
                   : E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!Alive())
            return RPC_E_DISCONNECTED;
        return standard_ ? standard_->get_accParent(parent) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!Alive())
            return RPC_E_DISCONNECTED;
        if (!count)
            return E_POINTER;
        *count = Source().AccChildCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        // Rows are simple elements: no object of their own.
        return Child(child) > 0 ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Text(child, name, [this](long id) { return Source().AccName(id); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Text(child, value, [this](long id) { return Source().AccValue(id); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Nothing(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Number(child, role, [this](long id) { return Source().AccRole(id); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return Number(child, state, [this](long id) {
            return (id == 0 ? WindowState() : 0) | Source().AccState(id);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return Nothing(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file)
            *file = nullptr;
        if (topic)
            *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return Nothing(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!Alive())
            return RPC_E_DISCONNECTED;
        if (!focus)
            return E_POINTER;
        const long row = Source().AccFocusedChild();
        focus->vt = VT_EMPTY;
        if (row > 0) {
            focus->vt = VT_I4;
            focus->lVal = row;
        } else if (::GetFocus() == window_) {
            focus->vt = VT_I4;
            focus->lVal = CHILDID_SELF;
        }
        return focus->vt == VT_EMPTY ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection)
            selection->vt = VT_EMPTY;
        return Alive() ? S_FALSE : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Text(child, action, [this](long id) {
            const std::wstring text = Source().AccDefaultAction(id);
            return text.empty() ? std::nullopt : std::optional<std::wstring>(text);
        });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_ && Child(child) == 0 ? standard_->accSelect(flags, child)
                                              : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        const long id = Child(child);
        if (id < 0)
            return Alive() ? E_INVALIDARG : RPC_E_DISCONNECTED;
        if (!left || !top || !width || !height)
            return E_POINTER;
        RECT r{};
        if (id == 0)
            ::GetWindowRect(window_, &r);
        else if (const std::optional<RECT> row = Source().AccChildLocation(id))
            r = *row;
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!Alive())
            return RPC_E_DISCONNECTED;
        if (Child(start) == 0 && standard_ && Source().AccChildCount() == 0)
            return standard_->accNavigate(direction, start, end);
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* at) override {
        if (!Alive())
            return RPC_E_DISCONNECTED;
        if (!at)
            return E_POINTER;
        for (long id = 1; id <= Source().AccChildCount(); ++id) {
            const std::optional<RECT> row = Source().AccChildLocation(id);
            if (row && ::PtInRect(&*row, POINT{x, y})) {
                at->vt = VT_I4;
                at->lVal = id;
                return S_OK;
            }
        }
        RECT r{};
        ::GetWindowRect(window_, &r);
        at->vt = VT_EMPTY;
        if (!::PtInRect(&r, POINT{x, y}))
            return S_FALSE;
        at->vt = VT_I4;
        at->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const long id = Child(child);
        if (id < 0)
            return Alive() ? E_INVALIDARG : RPC_E_DISCONNECTED;
        return Source().AccDoDefaultAction(id) ? S_OK : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    bool Alive() const { return *source_ != nullptr && ::IsWindow(window_); }
    AccessibleSource& Source() const { return **source_; }

    // The child id, or -1 when it is not ours or the window is gone.
    long Child(const VARIANT& child) const {
        if (!Alive() || child.vt != VT_I4)
            return -1;
        return child.lVal >= 0 && child.lVal <= Source().AccChildCount() ? child.lVal : -1;
    }

    template <typename Read> HRESULT Text(const VARIANT& child, BSTR* out, const Read& read) {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        const long id = Child(child);
        if (id < 0)
            return Alive() ? E_INVALIDARG : RPC_E_DISCONNECTED;
        const std::optional<std::wstring> text = read(id);
        if (!text)
            return S_FALSE;
        *out = ::SysAllocStringLen(text->data(), static_cast<UINT>(text->size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    template <typename Read> HRESULT Number(const VARIANT& child, VARIANT* out, const Read& read) {
        const long id = Child(child);
        if (id < 0)
            return Alive() ? E_INVALIDARG : RPC_E_DISCONNECTED;
        if (!out)
            return E_POINTER;
        out->vt = VT_I4;
        out->lVal = read(id);
        return S_OK;
    }
    HRESULT Nothing(const VARIANT& child, BSTR* out) {
        return Text(child, out, [](long) { return std::optional<std::wstring>(); });
    }

    // What the window's styles and the focus say.
    long WindowState() const {
        const LONG_PTR style = ::GetWindowLongPtrW(window_, GWL_STYLE);
        long state = 0;
        if (!::IsWindowVisible(window_))
            state |= STATE_SYSTEM_INVISIBLE;
        if (!::IsWindowEnabled(window_))
            state |= STATE_SYSTEM_UNAVAILABLE;
        if (style & WS_TABSTOP)
            state |= STATE_SYSTEM_FOCUSABLE;
        if (::GetFocus() == window_)
            state |= STATE_SYSTEM_FOCUSED;
        return state;
    }

    LONG refs_ = 1;
    std::shared_ptr<AccessibleSource*> source_;
    HWND window_;
    ComRef<IAccessible> standard_;
};

// COM on the window's thread from its first accessibility request to the
// thread's end: handing an object to a client marshals it.
class ThreadCom {
public:
    ThreadCom() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ThreadCom() {
        if (initialised_)
            ::CoUninitialize();
    }
    ThreadCom(const ThreadCom&) = delete;
    ThreadCom& operator=(const ThreadCom&) = delete;

private:
    bool initialised_;
};

} // namespace

std::optional<LRESULT> AccessibleLink::Answer(HWND window, WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT || !*source_)
        return std::nullopt;
    static thread_local ThreadCom com;
    IAccessible* standard = nullptr;
    if (FAILED(::CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&standard))))
        standard = nullptr;
    ComRef<IAccessible> proxy(new AccessibleProxy(source_, window, ComRef<IAccessible>(standard)));
    return ::LresultFromObject(__uuidof(IAccessible), wParam, proxy.get());
}

} // namespace qorvic
