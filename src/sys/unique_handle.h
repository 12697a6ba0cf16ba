// One owner per Win32 handle: a move-only wrapper parameterised by its close function and by the
// value that means "no handle", plus a scope guard for paired calls (CoUninitialize, WSACleanup).
#pragma once
#include "sys/win32.h"

#include <utility>

template <typename Traits> class UniqueHandle {
  public:
    using Type = typename Traits::Type;
    UniqueHandle() noexcept : value_(Traits::Invalid()) {}
    explicit UniqueHandle(Type value) noexcept : value_(value) {}
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return value_; }
    bool valid() const noexcept { return value_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return valid(); }
    Type release() noexcept { return std::exchange(value_, Traits::Invalid()); }
    void reset(Type value = Traits::Invalid()) noexcept {
        if (valid()) Traits::Close(value_);
        value_ = value;
    }
    // For out-parameters of the API: closes what is held and hands out the slot.
    Type* put() noexcept {
        reset();
        return &value_;
    }

  private:
    Type value_;
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::FindClose(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::RegCloseKey(h); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::FreeLibrary(h); }
};

// A mutex this thread owns: given up before its handle is closed, so that the next waiter gets it
// now rather than as abandoned.
struct OwnedMutexTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) {
        ::ReleaseMutex(h);
        ::CloseHandle(h);
    }
};

struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>; // events, mutexes, processes, threads
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>; // fonts, brushes, bitmaps
using UniqueOwnedMutex = UniqueHandle<OwnedMutexTraits>;

// Owner of a handle whose close function is bound at run time from a library the launcher may not
// find (HINTERNET from WINHTTP.DLL or WININET.DLL, MSIHANDLE from MSI.DLL): the function travels
// with the handle, and 0 means "no handle". The library must outlive its handles.
template <typename T, typename CloseFunction> class UniqueBoundHandle {
  public:
    UniqueBoundHandle() noexcept = default;
    explicit UniqueBoundHandle(CloseFunction close, T value = T()) noexcept
        : close_(close), value_(value) {}
    UniqueBoundHandle(UniqueBoundHandle&& other) noexcept
        : close_(other.close_), value_(other.release()) {}
    UniqueBoundHandle& operator=(UniqueBoundHandle&& other) noexcept {
        if (this != &other) {
            reset();
            close_ = other.close_;
            value_ = other.release();
        }
        return *this;
    }
    UniqueBoundHandle(const UniqueBoundHandle&) = delete;
    UniqueBoundHandle& operator=(const UniqueBoundHandle&) = delete;
    ~UniqueBoundHandle() { reset(); }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != T(); }
    T release() noexcept { return std::exchange(value_, T()); }
    void reset(T value = T()) noexcept {
        if (value_ != T() && close_) close_(value_);
        value_ = value;
    }
    // For out-parameters of the API: closes what is held and hands out the slot.
    T* put() noexcept {
        reset();
        return &value_;
    }

  private:
    CloseFunction close_ = nullptr;
    T value_ = T();
};

// Owning pointer to a COM interface (Release on destruction).
template <typename T> class ComPtr {
  public:
    ComPtr() noexcept = default;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }
    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset() noexcept {
        if (p_) p_->Release();
        p_ = nullptr;
    }
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

  private:
    T* p_ = nullptr;
};

// Runs a function when the scope ends (paired calls such as CoInitialize/CoUninitialize).
template <typename F> class ScopeGuard {
  public:
    explicit ScopeGuard(F f) : f_(std::move(f)) {}
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    ~ScopeGuard() {
        if (active_) f_();
    }
    void dismiss() { active_ = false; }

  private:
    F f_;
    bool active_ = true;
};
