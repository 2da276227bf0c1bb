#pragma once
// OLE or COM joined by the calling thread for the life of the object, and left again at its end
// (only when joining succeeded). Joining OLE joins COM's single-threaded apartment too: a thread
// that needs OLE needs no COM session of its own.

#include <objbase.h>
#include <ole2.h>

namespace korvex::platform {

class OleSession {
public:
    OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (ok_) OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool ok_;
};

class ComSession {
public:
    explicit ComSession(DWORD model = COINIT_APARTMENTTHREADED) : ok_(SUCCEEDED(CoInitializeEx(nullptr, model))) {}
    ~ComSession() {
        if (ok_) CoUninitialize();
    }
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;

private:
    bool ok_;
};

}  // namespace korvex::platform
