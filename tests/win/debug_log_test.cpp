// The line a quiet fallback leaves for a debugger: its shape, that it reaches a
// debugger at all, and that the program's fallbacks leave one naming their cause.
#include "base/debug_log_win.h"

#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

std::vector<std::wstring> caught;

void Collect(const std::wstring& line) {
    caught.push_back(line);
}

// Collects the lines for as long as it lives.
struct CollectedLines {
    CollectedLines() : previous(SetDebugLogSink(&Collect)) { caught.clear(); }
    ~CollectedLines() { SetDebugLogSink(previous); }
    std::wstring All() const {
        std::wstring all;
        for (const std::wstring& line : caught)
            all += line + L"\n";
        return all;
    }
    bool Has(std::wstring_view part) const { return All().find(part) != std::wstring::npos; }
    DebugLogSink previous;
};

// With no debugger attached OutputDebugString raises a printing exception
// first; a vectored handler sees it as a debugger would.
std::wstring printed;

LONG CALLBACK NotePrinted(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& r = *info->ExceptionRecord;
    if (r.ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C && r.NumberParameters >= 2) {
        printed = reinterpret_cast<const wchar_t*>(r.ExceptionInformation[1]);
    } else if (r.ExceptionCode == DBG_PRINTEXCEPTION_C && r.NumberParameters >= 2 &&
               printed.empty()) {
        const std::string narrow = reinterpret_cast<const char*>(r.ExceptionInformation[1]);
        printed = AnsiToWide(narrow);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

TEST(DebugLog, ReachesADebuggerAsOnePrefixedLineWithTheSystemsText) {
    PVOID handler = ::AddVectoredExceptionHandler(1, &NotePrinted);
    ASSERT_NE(handler, nullptr);
    printed.clear();
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    DebugLogLastError(L"cannot open x.cfg");
    ::RemoveVectoredExceptionHandler(handler);

    ASSERT_FALSE(printed.empty()) << "nothing reached a debugger";
    EXPECT_EQ(printed.rfind(L"Qorvic: cannot open x.cfg: error 2 (", 0), 0u) << printed;
    EXPECT_EQ(printed.substr(printed.size() - 2), L")\n") << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), L'\n'), 1) << "one line";
}

TEST(DebugLog, QuietFallbacksLeaveALineNamingTheirCause) {
    {
        // No data folder can be made: start-up, a conversion and the exit fall back quietly.
        CollectedLines lines;
        const std::wstring appData = FreshFolder(L"log no parent") + L"gone\\";
        TestFrame frame;
        ASSERT_TRUE(frame.Start(appData, FreshFolder(L"log desktop")));
        EXPECT_TRUE(lines.Has(L"cannot create the data folder " + appData + L"Qorvic: error 3"))
            << lines.All();
        EXPECT_TRUE(lines.Has(L"cannot open " + appData + L"Qorvic\\Qorvic.cfg")) << lines.All();
        caught.clear();
        QuickSave(*frame.form, ImageFormat::Png);
        EXPECT_TRUE(lines.Has(L"Temp.bmp")) << lines.All();
        caught.clear();
        frame.form->Shutdown();
        EXPECT_TRUE(lines.Has(L"Qorvic.cfg: error 3")) << lines.All();
    }
    {
        // The data folder is there but the converter is not.
        CollectedLines lines;
        TestFrame frame;
        ASSERT_TRUE(frame.Start());
        caught.clear();
        QuickSave(*frame.form, ImageFormat::Png);
        EXPECT_TRUE(lines.Has(L"cannot start " + frame.form->State().DataFolder +
                              L"\\i__view32.exe: error 2"))
            << lines.All();
    }
}
