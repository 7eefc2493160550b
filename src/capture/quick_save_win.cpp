// Quick save on the desktop, the temporary bitmap and the converter run, as
// members of Form1.
#include "base/file_io_win.h"
#include "bmp_writer.h"
#include "capture/quick_save.h"
#include "mainwindow/form1_win.h"

#include <shlobj.h>

#include <stdexcept>

namespace qorvic {

namespace {

void ProcessPendingMessagesOnce() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace

std::string Form1::OutputPictureAsBmp() const {
    conv::Image image;
    image.width = picDest.Width();
    image.height = picDest.Height();
    const std::string rgb = picDest.ToRgb();
    image.rgb.assign(rgb.begin(), rgb.end());
    if (image.rgb.empty())
        return {};
    try {
        const std::vector<std::uint8_t> bmp = conv::EncodeBmp(image);
        return std::string(bmp.begin(), bmp.end());
    } catch (const std::length_error&) {
        return {};
    }
}

std::wstring Form1::TempBitmap() const {
    return state_.DataFolder + L"\\Temp.bmp";
}

bool Form1::WriteTempBitmap() {
    const std::string bmp = OutputPictureAsBmp();
    return !bmp.empty() && WriteFileAtomically(TempBitmap(), bmp);
}

void Form1::WaitForEnd(HANDLE process) {
    // The wait cursor tells the user why the frame does not answer.
    HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    ProcessPendingMessagesOnce();
    ProcessPendingMessagesOnce();
    if (process)
        ::WaitForSingleObject(process, 5000);
    ProcessPendingMessagesOnce();
    ::SetCursor(previous);
}

bool Form1::ConvertTempBitmap(const std::wstring& target) {
    std::wstring commandLine = ConverterCommandLine(state_.DataFolder, target);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE; // minimised, the frame keeps the focus
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        return false;
    KernelHandle process(info.hProcess);
    KernelHandle thread(info.hThread);
    WaitForEnd(process.get());
    return true;
}

void Form1::TellSaveFailed(const std::wstring& target) {
    if (showMessage)
        showMessage(L"Qorvic could not write " + target);
}

void Form1::MnuExtClick(std::int16_t index, const std::wstring& cap) {
    (void)index;
    if (onCloseMenus)
        onCloseMenus();
    CaptureFrame();
    const bool tempWritten = WriteTempBitmap();
    const std::wstring folder = fGetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    const std::wstring extension = LowerExtension(cap);
    const std::wstring target = NextFreeQuickSaveName(
        folder, extension, [](const std::wstring& name) { return PathExists(name); });
    bool saved = false;
    if (tempWritten) {
        if (extension == L"bmp")
            saved = ::CopyFileW(TempBitmap().c_str(), target.c_str(), TRUE) != FALSE;
        else
            saved = ConvertTempBitmap(target) && PathExists(target);
    }
    if (!saved)
        TellSaveFailed(target);
}

} // namespace qorvic
