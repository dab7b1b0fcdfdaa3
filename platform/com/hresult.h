// HRESULT values with their Windows numbers.
#pragma once

#include "platform/win/win_types.h"

using SCODE = LONG;

constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}
constexpr HRESULT MakeHresult(std::uint32_t value) {
    return static_cast<HRESULT>(value);
}
constexpr HRESULT HRESULT_FROM_WIN32(DWORD code) {
    return code == 0 || static_cast<HRESULT>(code) < 0
               ? static_cast<HRESULT>(code)
               : MakeHresult((code & 0x0000FFFFu) | (7u << 16) | 0x80000000u);
}
constexpr DWORD HRESULT_CODE(HRESULT hr) {
    return static_cast<DWORD>(hr) & 0xFFFFu;
}
constexpr DWORD HRESULT_FACILITY(HRESULT hr) {
    return (static_cast<DWORD>(hr) >> 16) & 0x1FFFu;
}

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = MakeHresult(0x80004001u);
constexpr HRESULT E_NOINTERFACE = MakeHresult(0x80004002u);
constexpr HRESULT E_POINTER = MakeHresult(0x80004003u);
constexpr HRESULT E_ABORT = MakeHresult(0x80004004u);
constexpr HRESULT E_FAIL = MakeHresult(0x80004005u);
constexpr HRESULT E_UNEXPECTED = MakeHresult(0x8000FFFFu);
constexpr HRESULT E_ACCESSDENIED = MakeHresult(0x80070005u);
constexpr HRESULT E_HANDLE = MakeHresult(0x80070006u);
constexpr HRESULT E_OUTOFMEMORY = MakeHresult(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = MakeHresult(0x80070057u);

constexpr HRESULT DISP_E_UNKNOWNINTERFACE = MakeHresult(0x80020001u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeHresult(0x80020003u);
constexpr HRESULT DISP_E_PARAMNOTFOUND = MakeHresult(0x80020004u);
constexpr HRESULT DISP_E_TYPEMISMATCH = MakeHresult(0x80020005u);
constexpr HRESULT DISP_E_UNKNOWNNAME = MakeHresult(0x80020006u);
constexpr HRESULT DISP_E_BADVARTYPE = MakeHresult(0x80020008u);
constexpr HRESULT DISP_E_EXCEPTION = MakeHresult(0x80020009u);
constexpr HRESULT DISP_E_OVERFLOW = MakeHresult(0x8002000Au);
constexpr HRESULT DISP_E_BADINDEX = MakeHresult(0x8002000Bu);
constexpr HRESULT DISP_E_ARRAYISLOCKED = MakeHresult(0x8002000Du);
constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeHresult(0x8002000Eu);
constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = MakeHresult(0x8002000Fu);
constexpr HRESULT TYPE_E_REGISTRYACCESS = MakeHresult(0x8002801Cu);
constexpr HRESULT TYPE_E_LIBNOTREGISTERED = MakeHresult(0x8002801Du);
constexpr HRESULT TYPE_E_INVALIDSTATE = MakeHresult(0x80028029u);
constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = MakeHresult(0x8002802Bu);
constexpr HRESULT TYPE_E_CANTLOADLIBRARY = MakeHresult(0x80029C4Au);

constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHresult(0x80040110u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHresult(0x80040111u);
constexpr HRESULT REGDB_E_READREGDB = MakeHresult(0x80040150u);
constexpr HRESULT REGDB_E_WRITEREGDB = MakeHresult(0x80040151u);
constexpr HRESULT REGDB_E_KEYMISSING = MakeHresult(0x80040152u);
constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHresult(0x80040154u);
constexpr HRESULT CONNECT_E_NOCONNECTION = MakeHresult(0x80040200u);
constexpr HRESULT CONNECT_E_ADVISELIMIT = MakeHresult(0x80040201u);
constexpr HRESULT CONNECT_E_CANNOTCONNECT = MakeHresult(0x80040202u);
constexpr HRESULT SELFREG_E_TYPELIB = MakeHresult(0x80040200u);
constexpr HRESULT SELFREG_E_CLASS = MakeHresult(0x80040201u);
constexpr HRESULT CO_E_NOTINITIALIZED = MakeHresult(0x800401F0u);
constexpr HRESULT CO_E_DLLNOTFOUND = MakeHresult(0x800401F8u);
constexpr HRESULT CO_E_ERRORINDLL = MakeHresult(0x800401F9u);
constexpr HRESULT RPC_E_CHANGED_MODE = MakeHresult(0x80010106u);
