#include "command_line.h"

#include <cwctype>

namespace conv {

namespace {

const std::wstring kIniMarker = L" /ini=";
const std::wstring kConvertMarker = L" /convert=";

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

// Windows paths never start or end with blanks that matter (the file system drops
// trailing blanks), so blanks around a piece are separators, not part of a name.
std::wstring Trim(const std::wstring& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool StartsWithNoCase(const std::wstring& text, std::size_t at, const std::wstring& prefix) {
    if (prefix.empty() || at > text.size() || text.size() - at < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::towlower(text[at + i]) != std::towlower(prefix[i]))
            return false;
    }
    return true;
}

std::wstring RestAfter(const std::wstring& raw, std::size_t at) {
    return at >= raw.size() ? std::wstring() : raw.substr(at);
}

// Where a marker starts and where the path after it begins. A shell that quotes a
// whole argument puts the quote before the marker, as in "/ini=C:\a b\ini", so
// the marker is found with or without it.
struct Marker {
    std::size_t at = std::wstring::npos;
    std::size_t pathStart = std::wstring::npos;
};

Marker FindMarker(const std::wstring& line, const std::wstring& marker) {
    const std::size_t plain = line.find(marker);
    const std::size_t quoted = line.find(L" \"" + marker.substr(1));
    if (quoted != std::wstring::npos && (plain == std::wstring::npos || quoted < plain))
        return {quoted, quoted + marker.size() + 1};
    if (plain != std::wstring::npos)
        return {plain, plain + marker.size()};
    return {};
}

// One path of the line, its blanks and quotes removed. A Windows name cannot hold
// '"', so every quote there was put around the path or a part of it, by cmd, a
// shell or a user, and none belongs to the name.
std::wstring PathPiece(const std::wstring& line, std::size_t begin, std::size_t end) {
    std::wstring piece = line.substr(begin, end - begin);
    std::erase(piece, L'"');
    return Trim(piece);
}

} // namespace

std::wstring BuildConverterCommandLine(const std::wstring& exe, const std::wstring& bmp,
                                       const std::wstring& ini, const std::wstring& target) {
    return exe + L" " + bmp + kIniMarker + ini + kConvertMarker + target;
}

std::wstring StripProgramPath(const std::wstring& raw, const std::wstring& ownPath) {
    std::size_t start = 0;
    while (start < raw.size() && IsBlank(raw[start]))
        ++start;

    if (start < raw.size() && raw[start] == L'"') {
        std::size_t close = raw.find(L'"', start + 1);
        if (close == std::wstring::npos)
            return std::wstring();
        return RestAfter(raw, close + 1);
    }
    if (StartsWithNoCase(raw, start, ownPath))
        return RestAfter(raw, start + ownPath.size());

    // The path reached us in another spelling (short name, relative path): the
    // program's own name ends in ".exe", the first such token is ours.
    std::size_t limit = raw.find(kIniMarker);
    for (std::size_t i = start; i + 4 <= raw.size() && i < limit; ++i) {
        if (StartsWithNoCase(raw, i, L".exe") && (i + 4 == raw.size() || IsBlank(raw[i + 4])))
            return RestAfter(raw, i + 4);
    }
    std::size_t blank = start;
    while (blank < raw.size() && !IsBlank(raw[blank]))
        ++blank;
    return RestAfter(raw, blank);
}

std::optional<ConverterArguments> ParseConverterArguments(const std::wstring& arguments) {
    // A leading blank lets the markers match even when the source piece is empty.
    const std::wstring line = L" " + arguments;
    const Marker convert = FindMarker(line, kConvertMarker);
    if (convert.at == std::wstring::npos)
        return std::nullopt;
    const Marker ini = FindMarker(line, kIniMarker);

    ConverterArguments result;
    std::size_t sourceEnd = convert.at;
    std::size_t targetEnd = line.size();
    if (ini.at != std::wstring::npos && ini.at < convert.at) {
        result.ini = PathPiece(line, ini.pathStart, convert.at);
        sourceEnd = ini.at;
    } else if (ini.at != std::wstring::npos) {
        // The markers in the other order still split cleanly.
        result.ini = PathPiece(line, ini.pathStart, line.size());
        targetEnd = ini.at;
    }
    result.source = PathPiece(line, 0, sourceEnd);
    result.target = PathPiece(line, convert.pathStart, targetEnd);
    if (result.source.empty() || result.target.empty())
        return std::nullopt;
    return result;
}

std::wstring ParseSaveOption(const std::wstring& arguments) {
    const std::wstring marker = L"/save=";
    const std::size_t at = arguments.find(marker);
    if (at == std::wstring::npos)
        return std::wstring();
    std::wstring path = Trim(arguments.substr(at + marker.size()));
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
        path = path.substr(1, path.size() - 2);
    return path;
}

} // namespace conv
