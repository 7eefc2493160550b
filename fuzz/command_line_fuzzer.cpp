// The converter's raw command line, as Windows or Wine hands it over. The first
// byte chooses the mode: parse the bytes as a whole line, or build a line from
// four pieces and check that parsing gives the same pieces back.
#include "fuzz_support.h"

#include "command_line.h"

#include <vector>

namespace {

const std::wstring kOwnPath = L"C:\\Users\\Ann Lee\\AppData\\Roaming\\Qorvic\\i__view32.exe";

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

// A piece the program can put on the line: not empty, no blank at either end
// (file systems drop them), and neither '/' nor '"', which Windows names cannot hold.
bool UsablePiece(const std::wstring& piece) {
    return !piece.empty() && !IsBlank(piece.front()) && !IsBlank(piece.back()) &&
           piece.find_first_of(L"/\"") == std::wstring::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::wstring text = fuzz::AsUtf16(data + 1, size - 1);

    if (data[0] & 1) {
        const std::wstring rest = conv::StripProgramPath(text, kOwnPath);
        FUZZ_CHECK(rest.size() <= text.size());
        if (const auto args = conv::ParseConverterArguments(rest)) {
            FUZZ_CHECK(!args->source.empty() && !args->target.empty());
            FUZZ_CHECK(args->source.size() + args->target.size() + args->ini.size() <= rest.size());
        }
        FUZZ_CHECK(conv::ParseSaveOption(rest).size() <= rest.size());
        return 0;
    }

    // Pieces separated by U+0001: the program path, bitmap, ini folder and target.
    std::vector<std::wstring> pieces(1);
    for (wchar_t c : text) {
        if (c == 1 && pieces.size() < 4)
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    if (pieces.size() != 4)
        return 0;
    for (const std::wstring& piece : pieces)
        if (!UsablePiece(piece))
            return 0;
    const std::wstring& exe = pieces[0];
    const std::wstring line = conv::BuildConverterCommandLine(exe, pieces[1], pieces[2], pieces[3]);
    // Windows passes the line verbatim; Wine quotes the program's path; a shell
    // quotes every argument, the marker included.
    auto q = [](const std::wstring& text) { return L"\"" + text + L"\""; };
    const std::wstring wineLine = q(exe) + line.substr(exe.size());
    const std::wstring shellLine = q(exe) + L" " + q(pieces[1]) + L" " + q(L"/ini=" + pieces[2]) +
                                   L" " + q(L"/convert=" + pieces[3]);
    for (const std::wstring& raw : {line, wineLine, shellLine}) {
        const auto args = conv::ParseConverterArguments(conv::StripProgramPath(raw, exe));
        FUZZ_CHECK(args.has_value());
        FUZZ_CHECK(args->source == pieces[1]);
        FUZZ_CHECK(args->ini == pieces[2]);
        FUZZ_CHECK(args->target == pieces[3]);
    }
    return 0;
}
