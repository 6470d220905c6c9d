#include "platform/win32/Win32TextCompare.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/TextCompare.h"
#include "platform/win32/WideText.h"

namespace pellmark::win32 {

namespace {

using CompareStringOrdinalFunction = int(WINAPI*)(LPCWCH, int, LPCWCH, int, BOOL);

CompareStringOrdinalFunction compareStringOrdinal = nullptr;

int ThroughCompareStringOrdinal(std::u16string_view a, std::u16string_view b) {
    const int result =
        compareStringOrdinal(reinterpret_cast<LPCWCH>(a.data()), static_cast<int>(a.size()),
                             reinterpret_cast<LPCWCH>(b.data()), static_cast<int>(b.size()), TRUE);
    return result == CSTR_LESS_THAN ? -1 : (result == CSTR_GREATER_THAN ? 1 : 0);
}

int ThroughCharUpper(std::u16string_view a, std::u16string_view b) {
    std::wstring upperA(reinterpret_cast<const wchar_t*>(a.data()), a.size());
    std::wstring upperB(reinterpret_cast<const wchar_t*>(b.data()), b.size());
    ::CharUpperBuffW(upperA.data(), static_cast<DWORD>(upperA.size()));
    ::CharUpperBuffW(upperB.data(), static_cast<DWORD>(upperB.size()));
    const int order = upperA.compare(upperB);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace

void UseSystemCaseComparison() noexcept {
    compareStringOrdinal = reinterpret_cast<CompareStringOrdinalFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "CompareStringOrdinal")));
    if (compareStringOrdinal != nullptr) {
        platform::UseSystemCaseComparison(&ThroughCompareStringOrdinal);
    } else if (UsesWideApi()) {
        platform::UseSystemCaseComparison(&ThroughCharUpper);
    }
}

}  // namespace pellmark::win32
