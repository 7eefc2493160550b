// 100 captures in a row on the real frame, clipboard copies and BMP quick saves
// alternating: the process's GDI and USER objects, kernel handles, private
// bytes and working set must end where they started. A leak per capture shows
// well above the slack after 100 as after 500, at a fifth of the time. Runs as
// its own CTest entry (win_soak); QORVIC_SOAK_CAPTURES asks for a longer run.
#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace qorvic;
using namespace qorvic::test;

namespace {

// Wine answers GetGuiResources with 0, so the GDI objects are counted in the
// process's GDI handle table, which the process block points to as on Windows
// (24-byte entries on x64, a type byte of 0 for a free entry).
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kGdiTableEntries = 0x10000;

const std::uint8_t* ProcessBlock() {
    struct BasicInformation {
        LONG exitStatus;
        void* processBlock;
        ULONG_PTR affinityMask;
        LONG basePriority;
        ULONG_PTR processId;
        ULONG_PTR parentProcessId;
    } info{};
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    if (!query || query(::GetCurrentProcess(), 0, &info, sizeof info, nullptr) != 0)
        return nullptr;
    return static_cast<const std::uint8_t*>(info.processBlock);
}

std::size_t GdiTableCount() {
    const std::uint8_t* peb = ProcessBlock();
    if (!peb)
        return 0;
    const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + 0xF8);
    if (!table)
        return 0;
    std::size_t live = 0;
    const auto* end = table + kGdiTableEntries;
    // Only committed pages of the table are read.
    for (const auto* page = reinterpret_cast<const std::uint8_t*>(table);
         page < reinterpret_cast<const std::uint8_t*>(end);) {
        MEMORY_BASIC_INFORMATION info{};
        if (!::VirtualQuery(page, &info, sizeof info))
            break;
        const auto* regionEnd =
            static_cast<const std::uint8_t*>(info.BaseAddress) + info.RegionSize;
        if (info.State == MEM_COMMIT) {
            for (auto* e = reinterpret_cast<const GdiHandleEntry*>(page);
                 e + 1 <= reinterpret_cast<const GdiHandleEntry*>(regionEnd) && e < end; ++e)
                live += e->type != 0;
        }
        page = regionEnd;
    }
    return live;
}

// Committed private memory, summed over the address space: the private bytes
// by their definition, also where the memory counters read 0 (Wine).
std::size_t CommittedPrivateBytes() {
    std::size_t total = 0;
    const std::uint8_t* at = nullptr;
    MEMORY_BASIC_INFORMATION info{};
    while (::VirtualQuery(at, &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += info.RegionSize;
        const std::uint8_t* next =
            static_cast<const std::uint8_t*>(info.BaseAddress) + info.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
}

// Kernel handles counted by asking each possible handle value for its flags,
// where GetProcessHandleCount reads 0 (Wine).
DWORD ProbedHandleCount() {
    DWORD count = 0;
    for (std::uintptr_t value = 4; value < 4 * 16384; value += 4) {
        DWORD flags = 0;
        count += ::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    }
    return count;
}

BOOL CALLBACK CountOwnWindow(HWND hwnd, LPARAM count) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == ::GetCurrentProcessId()) {
        ++*reinterpret_cast<std::size_t*>(count);
        ::EnumChildWindows(hwnd, CountOwnWindow, count);
    }
    return TRUE;
}

struct Usage {
    std::size_t gdi = 0;
    std::size_t user = 0; // the process's windows stand in for its USER objects
    DWORD handles = 0;
    std::size_t privateBytes = 0;
    std::size_t workingSet = 0; // Wine: the process's resident memory on the Linux side
};

Usage Measure() {
    Usage u;
    u.gdi = GdiTableCount();
    ::EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&u.user));
    if (!::GetProcessHandleCount(::GetCurrentProcess(), &u.handles) || u.handles == 0)
        u.handles = ProbedHandleCount();
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(),
                               reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                               sizeof memory)) {
        u.privateBytes = memory.PrivateUsage;
        u.workingSet = memory.WorkingSetSize;
    }
    if (u.privateBytes == 0)
        u.privateBytes = CommittedPrivateBytes();
    return u;
}

void Print(int captures, const Usage& u) {
    std::printf("soak after %d: GDI %zu, USER %zu, kernel handles %lu, private bytes %zu, working "
                "set %zu\n",
                captures, u.gdi, u.user, static_cast<unsigned long>(u.handles), u.privateBytes,
                u.workingSet);
    std::fflush(stdout);
}

} // namespace

TEST(Soak, AHundredCapturesLeaveObjectsAndMemoryFlat) {
    TestFrame frame;
    ASSERT_TRUE(frame.Start());
    const std::wstring desktop = frame.Desktop();
    FrameWindow& form = *frame.form;

    // The meter must see objects come and go, or flat figures would prove nothing.
    {
        const Usage before = Measure();
        std::vector<Brush> brushes;
        for (int i = 0; i < 8; ++i)
            brushes.emplace_back(::CreateSolidBrush(RGB(i, 0, 0)));
        HWND probe = ::CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, nullptr, nullptr);
        std::vector<KernelHandle> events;
        for (int i = 0; i < 4; ++i)
            events.emplace_back(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::vector<char> block(32u << 20, 1);
        const Usage during = Measure();
        ::DestroyWindow(probe);
        brushes.clear();
        events.clear();
        const Usage after = Measure();
        ASSERT_EQ(during.gdi, before.gdi + 8) << "the GDI count follows eight new brushes";
        ASSERT_EQ(during.user, before.user + 1) << "the USER count follows a new window";
        ASSERT_EQ(during.handles, before.handles + 4) << "the handle count follows four events";
        ASSERT_GE(during.privateBytes, before.privateBytes + (32u << 20) - (1u << 20))
            << "private bytes follow a 32 MB block";
        ASSERT_GE(during.workingSet, before.workingSet + (32u << 20) - (1u << 20))
            << "the working set follows a 32 MB block";
        ASSERT_EQ(after.gdi, before.gdi);
        ASSERT_EQ(after.user, before.user);
        ASSERT_EQ(after.handles, before.handles);
    }

    auto capture = [&](int i) {
        if (i % 2 == 0) {
            Choose(form, menus::OptionsRow::Copy);
        } else {
            QuickSave(form, ImageFormat::Bmp);
            ASSERT_TRUE(::DeleteFileW((desktop + L"Qorvic_1.bmp").c_str()))
                << "quick save " << i << " wrote its file";
        }
        Pump();
    };
    // First uses (clipboard, fonts, caches) settle before the start figures.
    for (int i = 0; i < 10; ++i)
        capture(i);
    const Usage start = Measure();
    Print(0, start);
    const char* asked = std::getenv("QORVIC_SOAK_CAPTURES");
    const int captures = asked ? std::max(100, std::atoi(asked)) : 100;
    for (int i = 1; i <= captures; ++i) {
        capture(i);
        if (::testing::Test::HasFatalFailure())
            return;
        if (i % 100 == 0 && i < captures)
            Print(i, Measure());
    }
    const Usage end = Measure();
    Print(captures, end);

    EXPECT_TRUE(frame.messages.empty());
    EXPECT_LE(end.gdi, start.gdi + 2) << "GDI objects grew";
    EXPECT_LE(end.user, start.user + 1) << "USER objects grew";
    EXPECT_LE(end.handles, start.handles + 4) << "kernel handles grew";
    // One leaked picture per capture would be 100 x ~200 KB; allow the heap some
    // slack. The working set also sees a leaked mapped view, which is not private.
    EXPECT_LE(end.privateBytes, start.privateBytes + (8u << 20)) << "private bytes grew";
    EXPECT_LE(end.workingSet, start.workingSet + (8u << 20)) << "the working set grew";
}
