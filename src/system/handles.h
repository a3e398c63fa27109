// Thin owners for Windows handles: move-only, closed once, get() and release().
#pragma once
#include <windows.h>

template <typename T, typename Traits>
class Unique {
public:
    Unique() = default;
    explicit Unique(T value) : value_(value) {}
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::invalid(); }
    T release() {
        T value = value_;
        value_ = Traits::invalid();
        return value;
    }
    void reset(T value = Traits::invalid()) {
        if (value_ != Traits::invalid()) Traits::close(value_);
        value_ = value;
    }

private:
    T value_ = Traits::invalid();
};

struct FileTraits {  // CreateFile: INVALID_HANDLE_VALUE when it failed
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct HandleTraits {  // processes, threads, events: NULL when absent
    static HANDLE invalid() { return nullptr; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { FindClose(h); }
};
struct KeyTraits {
    static HKEY invalid() { return nullptr; }
    static void close(HKEY k) { RegCloseKey(k); }
};
template <typename G>
struct GdiTraits {
    static G invalid() { return nullptr; }
    static void close(G g) { DeleteObject(g); }
};

using UniqueFile = Unique<HANDLE, FileTraits>;
using UniqueHandle = Unique<HANDLE, HandleTraits>;
using UniqueFind = Unique<HANDLE, FindTraits>;
using UniqueKey = Unique<HKEY, KeyTraits>;
using UniqueFont = Unique<HFONT, GdiTraits<HFONT>>;
using UniqueBrush = Unique<HBRUSH, GdiTraits<HBRUSH>>;
using UniquePen = Unique<HPEN, GdiTraits<HPEN>>;
using UniqueBitmap = Unique<HBITMAP, GdiTraits<HBITMAP>>;

// Selects a GDI object into a DC for one scope and puts the old one back.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~ScopedSelect() { SelectObject(dc_, old_); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
